#include "spots/SpotText.h"

#include <QStringList>

#include <array>
#include <utility>

namespace tenlog::spots {

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString characters(const QString& text, int from, int to)
{
    if (from > text.size() || to < from)
        return {};
    return text.mid(from - 1, to - from + 1);
}

SpotFields spotFields(const QString& line)
{
    return {trimBlanks(characters(line, 16, 24)), trimBlanks(characters(line, 27, 39))};
}

QString spotRecord(const QString& line)
{
    return trimBlanks(line.mid(3));
}

QString spotComment(const QString& record)
{
    return trimBlanks(characters(record, 35, 59));
}

bool mayCarryRegion(const QString& call)
{
    return !call.isEmpty() && QStringLiteral("KANWVCX").contains(call.at(0).toUpper());
}

QString spotRegion(const QString& call)
{
    static const std::array<std::pair<const char*, const char*>, 18> kRegions{{
        {"VE9 CY9", " NB "},
        {"VE1 VA1", " NS "},
        {"VE2 VA2", " QC "},
        {"VE3 VA3", " ON "},
        {"VE4 VA4", " MB "},
        {"VE5 VA5", " SK "},
        {"VE6 VA6", " AB "},
        {"VE7 VA7", " BC "},
        {"VE8", " NWT "},
        {"VY1", " YT "},
        {"VO1", " NF "},
        {"VO2", " LB "},
        {"VY2", " PE "},
        {"VY0", " NU "},
        {"AH6 KH6 NH6 WH6 KH7 WH7", " HI "},
        {"AH7 NH7", " PAC "},
        {"KP3 KP4 NP3 NP4 WP3 WP4", " PR "},
        {"KP2 NP2 WP2", " VI "},
    }};
    const QString start = call.left(3).toUpper();
    if (start.size() == 3) {
        for (const auto& [prefixes, region] : kRegions) {
            if (QString::fromLatin1(prefixes).split(QLatin1Char(' ')).contains(start))
                return QString::fromLatin1(region);
        }
    }
    static const QStringList kAlaska{QStringLiteral("AL"), QStringLiteral("KL"), QStringLiteral("NL"),
                                     QStringLiteral("WL")};
    if (kAlaska.contains(call.left(2).toUpper()))
        return QStringLiteral(" AK ");
    return {};
}

bool isSpotRequest(const QString& record)
{
    static const QStringList kWords{QStringLiteral(" NEED "), QStringLiteral(" SPOT "), QStringLiteral(" POST "),
                                    QStringLiteral(" PSE "), QStringLiteral(" PLEASE ")};
    const QString upper = record.toUpper();
    for (const QString& word : kWords) {
        if (upper.contains(word))
            return true;
    }
    return false;
}

QString bandMapPrefix(const QString& call)
{
    if (call.size() < 3)
        return {};
    qsizetype lastDigit = -1;
    for (qsizetype i = 0; i < call.size(); ++i) {
        if (call.at(i).isDigit() && call.at(i).unicode() < 128)
            lastDigit = i;
    }
    const qsizetype slash = call.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return lastDigit < 0 ? call : call.left(lastDigit + 1);

    // A prefix written before the call ("VE3/K1ABC") stands in the first
    // half; a portable suffix ("K1ABC/4", "K1ABC/VE3") in the second.
    const qsizetype half = call.size() / 2 + 1; // 1-based, as the position
    if (slash + 1 < half)
        return call.left(slash);
    const QString after = call.mid(slash + 1, lastDigit + 1);
    bool allDigits = !after.isEmpty();
    for (const QChar c : after)
        allDigits = allDigits && c.isDigit() && c.unicode() < 128;
    if (!allDigits)
        return after;
    qsizetype firstDigit = 0;
    while (firstDigit < call.size() && !(call.at(firstDigit).isDigit() && call.at(firstDigit).unicode() < 128))
        ++firstDigit;
    return call.left(firstDigit) + after;
}

} // namespace tenlog::spots
