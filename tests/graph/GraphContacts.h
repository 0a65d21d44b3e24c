// Contacts for the rate graph tests: each at a number of seconds after
// 2013/12/14 14:00:00 UTC, on CW unless a mode is given.
#pragma once

#include "log/ContactLog.h"

#include <QDateTime>

#include <initializer_list>
#include <utility>

namespace tenlog::testing {

inline const QDateTime kGraphStart(QDate(2013, 12, 14), QTime(14, 0), Qt::UTC);

inline log::QsoRecord contactAt(qint64 seconds, const char* mode = "CW", int number = 0)
{
    const QDateTime at = kGraphStart.addSecs(seconds);
    return {QStringLiteral("K%1ABC").arg(number), QStringLiteral("599"), QStringLiteral("CT"), QStringLiteral("599"),
            QStringLiteral("USA"), at.toString(QStringLiteral("yyyy/MM/dd")), at.toString(QStringLiteral("HH:mm:ss")),
            QString::fromLatin1(mode), QString()};
}

inline QList<log::QsoRecord> contactsAt(std::initializer_list<std::pair<qint64, const char*>> moments)
{
    QList<log::QsoRecord> contacts;
    for (const auto& [seconds, mode] : moments)
        contacts << contactAt(seconds, mode, int(contacts.size()) + 1);
    return contacts;
}

// Seven contacts over 1500 seconds, one second a slot: at slots 1, 100,
// 200, 300, 400 and 500 (rates 6 to 36, modes alternating, the first on CW)
// and alone at slot 1500. Every pause between them is longer than 15 slots.
inline QList<log::QsoRecord> sevenSpacedContacts()
{
    return contactsAt({{0, "CW"}, {100, "PH"}, {200, "CW"}, {300, "PH"}, {400, "CW"}, {500, "PH"}, {1500, "CW"}});
}

} // namespace tenlog::testing
