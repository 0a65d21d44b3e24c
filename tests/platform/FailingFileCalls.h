// A disk that fills up or fails on cue, for testing how writes recover.
// Writes go to the real file until the byte budget runs out: the write that
// crosses it is cut short, as the kernel does on a full disk, and the next
// one fails with ENOSPC.
#pragma once

#include "platform/DurableFile.h"

#include <algorithm>
#include <cerrno>

namespace tenlog::testing {

class FailingFileCalls : public platform::FileCalls {
public:
    long long bytesLeft = -1; // negative: no limit
    int failingSync = 0;      // which fsync call (1-based) fails with EIO; 0: none
    bool truncateFails = false;
    int syncCalls = 0;

    ssize_t write(int fd, const void* data, size_t size) override
    {
        if (bytesLeft < 0)
            return FileCalls::write(fd, data, size);
        if (bytesLeft == 0) {
            errno = ENOSPC;
            return -1;
        }
        const ssize_t n = FileCalls::write(fd, data, std::min<size_t>(size, static_cast<size_t>(bytesLeft)));
        if (n > 0)
            bytesLeft -= n;
        return n;
    }

    int fsync(int fd) override
    {
        if (++syncCalls == failingSync) {
            errno = EIO;
            return -1;
        }
        return FileCalls::fsync(fd);
    }

    int ftruncate(int fd, off_t size) override
    {
        if (truncateFails) {
            errno = EIO;
            return -1;
        }
        return FileCalls::ftruncate(fd, size);
    }
};

} // namespace tenlog::testing
