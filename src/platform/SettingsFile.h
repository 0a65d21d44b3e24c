// Reading one of the program's settings files (RigCntrl.txt, CW.txt,
// wave2.txt) for its loader, with what went wrong said in the words of a
// start-up message: the file's path first, then the fault, then what the
// program does about it.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace tenlog::platform {

// Reads path and hands its bytes to parse, which leaves the first fault it
// finds in its second argument ("<path> line 7: ..."). Returns the fault:
// the file unreadable ("<path> is a folder"), what parse found, or, when
// missingIsFault, "<path> was not found"; empty when all is well.
QString readSettingsFile(const QString& path, const std::function<void(const QByteArray&, QString&)>& parse,
                         bool missingIsFault);

// fault followed by what the program does: whenAtLine when the fault names a
// line of the file (the values before it are kept), whenWhole otherwise,
// then how the operator puts it right. Empty when there is no fault.
QString faultWithRemedy(const QString& fault, const QString& path, const QString& whenAtLine, const QString& whenWhole,
                        const QString& remedy);

} // namespace tenlog::platform
