// A keying line: the output that keys the transmitter for CW or its PTT for
// voice. Implementations are called from the keying thread while an element
// is timed, so setting the line must be quick and must never wait on the
// user-interface thread.
#pragma once

#include <QString>

namespace tenlog::platform {

class KeyLine {
public:
    virtual ~KeyLine() = default;

    // Key down (true) or up (false). False when the line could not be set
    // (the device went away); errorString() then says why.
    virtual bool setKeyDown(bool down) = 0;
    virtual QString errorString() const = 0;
};

// The line that keys nothing: CW is timed in full with no output.
class NoKeyLine final : public KeyLine {
public:
    bool setKeyDown(bool) override { return true; }
    QString errorString() const override { return {}; }
};

} // namespace tenlog::platform
