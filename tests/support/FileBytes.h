// A whole file's bytes, for tests that look at what was really written; empty
// when there is no file to read.
#pragma once

#include "platform/DurableFile.h"

namespace tenlog::testing {

inline QByteArray fileBytes(const QString& path)
{
    QByteArray data;
    platform::readWholeFile(path, &data);
    return data;
}

} // namespace tenlog::testing
