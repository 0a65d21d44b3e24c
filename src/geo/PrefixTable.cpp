// The prefix table and lookups.
#include "geo/PrefixTable.h"

#include "platform/DurableFile.h"
#include "text/QuotedValues.h"

#include <QFileInfo>

#include <algorithm>

namespace tenlog::geo {

namespace {

const QString kFileName = QStringLiteral("arrlpre2.txt");

char upperByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z')
        return static_cast<char>(u - 32);
    return u < 256 ? static_cast<char>(u) : '\xff';
}

} // namespace

PrefixTable::LoadResult PrefixTable::loadFirstFound(const QStringList& folders, QString* error, QString* foundPath)
{
    m_entries.clear();
    m_upperPrefixes.clear();
    for (const QString& folder : folders) {
        const QString path = platform::fileInFolder(folder, kFileName);
        if (!QFileInfo(path).isFile())
            continue;
        if (foundPath)
            *foundPath = path;
        QByteArray data;
        if (!platform::readWholeFile(path, &data, error))
            return LoadResult::Error;
        return loadData(data, error) ? LoadResult::Loaded : LoadResult::Error;
    }
    return LoadResult::Missing;
}

bool PrefixTable::loadData(const QByteArray& data, QString* error)
{
    m_entries.clear();
    m_upperPrefixes.clear();
    text::QuotedValueReader reader(data);
    QList<PrefixEntry> entries;
    while (!reader.atEnd()) {
        if (entries.size() >= kCapacity) {
            if (error)
                *error = QStringLiteral("more than %1 prefixes").arg(kCapacity);
            return false;
        }
        PrefixEntry e;
        const int entryLine = reader.lineNumber();
        text::QuotedValue v[8];
        for (auto& value : v)
            reader.read(value);
        if (reader.failed()) {
            if (error)
                *error = QStringLiteral("the last entry, from line %1 on, is incomplete").arg(entryLine);
            return false;
        }
        e.Prefix = v[0].toText();
        e.CountryName = v[1].toText();
        e.Continent = v[2].toText();
        e.Longitude = v[3].toSingle();
        e.Latitude = v[4].toSingle();
        entries.append(e);
    }
    if (entries.isEmpty()) {
        // Every call would come out "Not Found": an empty file is a damaged one.
        if (error)
            *error = QStringLiteral("the prefix file holds no prefixes");
        return false;
    }
    m_entries = std::move(entries);
    m_upperPrefixes.reserve(m_entries.size());
    for (const PrefixEntry& e : m_entries)
        m_upperPrefixes.append(e.Prefix.toLatin1().toUpper());
    return true;
}

QString PrefixTable::workText(const QString& call)
{
    const qsizetype slash = call.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return call;
    const qsizetype after = call.size() - (slash + 1);
    if (after > 1 && after * 2 < call.size())
        return call.right(after);
    return call;
}

int PrefixTable::longestPrefix(const QString& work, Qt::CaseSensitivity cs) const
{
    if (work.isEmpty() || m_entries.isEmpty())
        return -1;
    // The start of the block of prefixes that share the call's first character
    // (letter case ignored, as the file is sorted). Every entry of the block is
    // considered, so where a guess would land cannot hide a match.
    const char first = upperByte(work.at(0));
    const auto begin = std::lower_bound(m_upperPrefixes.cbegin(), m_upperPrefixes.cend(), first,
                                        [](const QByteArray& p, char c) {
                                            return p.isEmpty() || static_cast<unsigned char>(p.at(0)) < static_cast<unsigned char>(c);
                                        });
    int best = -1;
    qsizetype bestLength = 0;
    for (auto it = begin; it != m_upperPrefixes.cend() && !it->isEmpty() && it->at(0) == first; ++it) {
        const int i = static_cast<int>(it - m_upperPrefixes.cbegin());
        const QString& prefix = m_entries.at(i).Prefix;
        if (prefix.size() > bestLength && work.startsWith(prefix, cs)) {
            best = i;
            bestLength = prefix.size();
        }
    }
    return best;
}

CallLookup PrefixTable::lookupCall(const QString& callBoxText) const
{
    CallLookup result;
    // A maritime or aeronautical mobile station is in no country: "MM" is not
    // a prefix. The box is left for the operator (the multiplier is the
    // region sent).
    if (callBoxText.endsWith(QLatin1String("/MM"), Qt::CaseInsensitive)
        || callBoxText.endsWith(QLatin1String("/AM"), Qt::CaseInsensitive))
        return result;
    result.country = QStringLiteral("Not Found");
    const int best = longestPrefix(workText(callBoxText), Qt::CaseInsensitive);
    if (best < 0)
        return result;
    result.found = true;
    result.country = m_entries.at(best).CountryName;
    result.entry = &m_entries.at(best);

    // Guantanamo's KG4 plus a two-letter suffix stays; other KG4 calls are stateside.
    const qsizetype n = callBoxText.size();
    if (callBoxText.startsWith(QLatin1String("KG4"), Qt::CaseInsensitive) && (n == 4 || n > 5)) {
        result.country = QStringLiteral("USA");
        const auto usa = std::find_if(m_entries.cbegin(), m_entries.cend(), [](const PrefixEntry& e) {
            return e.CountryName.compare(QLatin1String("USA"), Qt::CaseInsensitive) == 0;
        });
        if (usa != m_entries.cend())
            result.entry = &*usa;
    }
    return result;
}

QString PrefixTable::lookupSpotCountry(const QString& call) const
{
    const QString work = workText(call);
    const int best = longestPrefix(work, Qt::CaseSensitive);
    if (best < 0)
        return {};
    if (work.startsWith(QLatin1String("KG4")) && work.size() > 5)
        return QStringLiteral("USA");
    return m_entries.at(best).CountryName;
}

} // namespace tenlog::geo
