// Makes a folder unwritable for the life of the object, even for root (the
// CI user): with the immutable attribute when running as root, with the
// permission bits otherwise. available() is false where neither works.
#pragma once

#include <QString>

namespace tenlog::testing {

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool available() const { return m_applied; }

private:
    QString m_path;
    bool m_applied = false;
    bool m_immutable = false;
};

} // namespace tenlog::testing
