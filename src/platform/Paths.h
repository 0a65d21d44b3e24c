// Where the program's folders are on this machine. The Windows locations the
// program was designed around map to Linux as follows:
//   profile folder       -> $HOME
//   "My Documents"       -> the user's documents folder (XDG_DOCUMENTS_DIR, else ~/Documents)
//   "Documents"          -> $HOME/Documents
//   application data     -> the data home ($XDG_DATA_HOME, else ~/.local/share)
// The working folder is the current folder at start-up; the shipped-data
// folder holds the files installed beside the program.
#pragma once

#include <QString>

namespace tenlog::platform {

class Paths {
public:
    virtual ~Paths() = default;
    virtual QString profileFolder() const = 0;
    virtual QString myDocumentsFolder() const = 0;
    virtual QString documentsFolder() const = 0;
    virtual QString appDataFolder() const = 0;
    virtual QString workingFolder() const = 0;
    virtual QString shippedDataFolder() const = 0;
};

} // namespace tenlog::platform
