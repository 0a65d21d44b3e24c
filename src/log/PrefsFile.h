// tnpref.txt as the running program keeps it: read once at start-up, with
// the defaults standing in for whatever is missing or damaged so that the log
// still loads, and saved whole after every change. A damaged file is never
// overwritten: the first save renames it to
// "tnpref.txt.damaged-yyyymmdd-hhnnss" (local time) beside the new one, so
// the operator can still see what it held.
#pragma once

#include "log/Prefs.h"

#include <QDateTime>
#include <QString>

namespace tenlog::log {

class PrefsFile {
public:
    explicit PrefsFile(QString folder);

    // The preferences to run with. problem() says what was wrong with the
    // file and what that means, for the operator; empty when it was whole.
    Prefs load();
    const QString& problem() const { return m_problem; }

    // Writes prefs. When the file load() read was damaged, it is first set
    // aside (takeSetAsideNotice() says where); when that fails nothing is
    // written and *error says why.
    bool save(const Prefs& prefs, const QDateTime& localNow, QString* error);
    // Where the damaged file went, once; empty when nothing was set aside.
    QString takeSetAsideNotice();

private:
    QString path() const;

    QString m_folder;
    QString m_problem;
    bool m_damagedOnDisk = false;
    QString m_setAsideNotice;
};

} // namespace tenlog::log
