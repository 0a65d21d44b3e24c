// cty.csv to arrlpre2.txt and ADIFCnt.txt.
#include "geo/CountryFile.h"

#include "text/QuotedValues.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace tenlog::geo {

namespace {

// (n) [n] <lat/lon> {cc} ~n~ after a prefix.
const QRegularExpression kOverrides(QStringLiteral(R"(\([^)]*\)|\[[^\]]*\]|<[^>]*>|\{[^}]*\}|~[^~]*~)"));

bool toInt(const QString& s, int* out)
{
    bool ok = false;
    *out = s.trimmed().toInt(&ok);
    return ok;
}

bool toDouble(const QString& s, double* out)
{
    bool ok = false;
    *out = s.trimmed().toDouble(&ok);
    return ok;
}

} // namespace

QString contestCountryName(const QString& ctyName)
{
    if (ctyName == QLatin1String("United States"))
        return QStringLiteral("USA");
    return ctyName;
}

CtyParseResult parseCtyCsv(const QByteArray& data)
{
    CtyParseResult result;
    const QList<QByteArray> lines = data.split('\n');
    int lineNumber = 0;
    for (QByteArray line : lines) {
        ++lineNumber;
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        // Entity names hold no commas; the prefix list is the tenth field on.
        const QStringList fields = QString::fromLatin1(line).split(QLatin1Char(','));
        CtyEntity e;
        if (fields.size() < 10 || !toInt(fields[2], &e.dxcc) || !toInt(fields[4], &e.cqZone)
            || !toInt(fields[5], &e.ituZone) || !toDouble(fields[6], &e.latitude)
            || !toDouble(fields[7], &e.longitudeWest) || !toDouble(fields[8], &e.utcOffset)) {
            result.error = QStringLiteral("line %1 is not a country line").arg(lineNumber);
            return result;
        }
        e.primaryPrefix = fields[0].trimmed();
        e.name = fields[1].trimmed();
        e.continent = fields[3].trimmed();
        QString list = fields.mid(9).join(QLatin1Char(','));
        list.remove(QLatin1Char(';'));
        for (QString p : list.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (p.startsWith(QLatin1Char('=')))
                continue;
            p.remove(kOverrides);
            if (!p.isEmpty())
                e.prefixes << p.toUpper();
        }
        result.entities << e;
    }
    return result;
}

QList<PrefixFileEntry> buildPrefixEntries(const QList<CtyEntity>& entities, QString* error)
{
    QList<PrefixFileEntry> entries;
    QSet<QString> seen;
    for (const CtyEntity& e : entities) {
        if (!e.isDxcc())
            continue; // its prefixes fall back to the DXCC entity's shorter ones
        for (const QString& prefix : e.prefixes) {
            if (seen.contains(prefix))
                continue;
            seen.insert(prefix);
            entries.append({prefix, contestCountryName(e.name), e.continent, e.longitudeWest,
                            e.latitude, e.cqZone, e.ituZone, e.utcOffset});
        }
    }
    if (entries.size() > kMaxPrefixEntries) {
        if (error)
            *error = QStringLiteral("%1 prefixes, more than the %2 the program can hold")
                         .arg(entries.size()).arg(kMaxPrefixEntries);
        return {};
    }
    std::stable_sort(entries.begin(), entries.end(), [](const PrefixFileEntry& a, const PrefixFileEntry& b) {
        return a.prefix.toLatin1().toUpper() < b.prefix.toLatin1().toUpper();
    });
    return entries;
}

QByteArray writePrefixFile(const QList<PrefixFileEntry>& entries)
{
    text::QuotedValueWriter w;
    for (const PrefixFileEntry& e : entries) {
        w.writeText(e.prefix);
        w.writeText(e.country);
        w.writeText(e.continent);
        w.writeNumber(static_cast<float>(e.longitudeWest));
        w.writeNumber(static_cast<float>(e.latitude));
        w.writeNumber(e.cqZone);
        w.writeNumber(e.ituZone);
        w.writeNumber(static_cast<float>(e.utcOffset));
        w.endLine();
    }
    return w.data();
}

QList<DxccFileEntry> buildDxccEntries(const QList<CtyEntity>& entities, const QList<PrefixFileEntry>& prefixes)
{
    QSet<QString> named;
    for (const PrefixFileEntry& p : prefixes)
        named.insert(p.country);
    QList<DxccFileEntry> entries;
    QSet<QString> seen;
    for (const CtyEntity& e : entities) {
        const QString country = contestCountryName(e.name);
        if (!e.isDxcc() || !named.contains(country) || seen.contains(country))
            continue;
        seen.insert(country);
        entries.append({country, e.dxcc});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const DxccFileEntry& a, const DxccFileEntry& b) {
        return a.country.toLatin1().toUpper() < b.country.toLatin1().toUpper();
    });
    return entries;
}

QByteArray writeDxccFile(const QList<DxccFileEntry>& entries)
{
    text::QuotedValueWriter w;
    for (const DxccFileEntry& e : entries) {
        w.writeText(e.country);
        w.writeNumber(e.dxcc);
        w.endLine();
    }
    return w.data();
}

} // namespace tenlog::geo
