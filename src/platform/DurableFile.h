// File writes that survive a crash or a full disk. A whole-file write goes to
// a temporary file in the same folder, is synced and renamed over the target,
// so the target is always either the old file or the new one. An append is
// synced before it returns. Errors come back as the system's description.
#pragma once

#include <QByteArray>
#include <QString>

namespace tenlog::platform {

// Replaces (or creates) path with data. On failure the old file is untouched
// and no temporary file is left behind.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// Appends data to path (created when missing) and syncs it to disk.
bool appendDurably(const QString& path, const QByteArray& data, QString* error = nullptr);

// Copies source to target through writeFileAtomically.
bool copyFileAtomically(const QString& source, const QString& target, QString* error = nullptr);

// The program's files are matched without regard to letter case: the path of
// the file in folder whose name equals name ignoring case, or folder/name
// when there is none.
QString fileInFolder(const QString& folder, const QString& name);

// Reads a whole file; false (with the reason) when it cannot be read.
bool readWholeFile(const QString& path, QByteArray* data, QString* error = nullptr);

} // namespace tenlog::platform
