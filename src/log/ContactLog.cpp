// The contact record and the log file.
#include "log/ContactLog.h"

#include "log/MultTable.h"
#include "platform/DurableFile.h"
#include "text/QuotedValues.h"


namespace tenlog::log {

namespace {

QList<const QString*> fieldsOf(const QsoRecord& r)
{
    return {&r.Call, &r.RstRcvd, &r.SecSer, &r.RstSnt, &r.Country, &r.QsoDate, &r.QsoTime, &r.Mode, &r.Freq};
}

bool containsCi(const QStringList& list, const QString& value)
{
    return list.contains(value, Qt::CaseInsensitive);
}

// A field no operator could have typed: far too long, or holding a control character.
bool isSoundRecord(const QsoRecord& r)
{
    for (const QString* field : fieldsOf(r)) {
        if (field->size() > kLongestField)
            return false;
        for (QChar c : *field)
            if (c.unicode() < 32 || c.unicode() == 127)
                return false;
    }
    return true;
}

} // namespace

QString unstorableFieldMessage(const QsoRecord& record)
{
    static const char* const names[] = {"call",    "report received", "exchange", "report sent", "country",
                                         "date",    "time",            "mode",     "frequency"};
    const QList<const QString*> fields = fieldsOf(record);
    for (int i = 0; i < fields.size(); ++i) {
        if (text::QuotedValueWriter().writeText(*fields.at(i)))
            continue;
        return QStringLiteral("the %1 \"%2\" holds a character the log file cannot keep")
            .arg(QLatin1String(names[i]), *fields.at(i));
    }
    return QStringLiteral("a field holds a character the log file cannot keep");
}

bool isCw(const QString& mode)
{
    return mode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0;
}

bool isPhone(const QString& mode)
{
    return mode.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0;
}

std::optional<QByteArray> recordLine(const QsoRecord& record)
{
    text::QuotedValueWriter writer;
    for (const QString* field : fieldsOf(record))
        if (!writer.writeText(*field))
            return std::nullopt;
    writer.endLine();
    return writer.data();
}

LogParse parseLog(const QByteArray& data)
{
    LogParse result;
    text::QuotedValueReader reader(data);
    while (!reader.atEnd()) {
        if (result.records.size() >= kLogCapacity) {
            result.error = QStringLiteral("more than %1 records").arg(kLogCapacity);
            break;
        }
        QsoRecord r;
        for (QString* field : {&r.Call, &r.RstRcvd, &r.SecSer, &r.RstSnt, &r.Country, &r.QsoDate,
                               &r.QsoTime, &r.Mode, &r.Freq})
            *field = reader.next().toText();
        if (reader.failed()) {
            result.error = QStringLiteral("record %1 is incomplete").arg(result.records.size() + 1);
            result.incomplete = true;
            break;
        }
        if (!isSoundRecord(r)) {
            result.error = QStringLiteral("record %1 is damaged").arg(result.records.size() + 1);
            break;
        }
        result.records.append(r);
    }
    return result;
}

std::optional<TornTail> findTornTail(const QByteArray& data)
{
    if (parseLog(data).error.isEmpty())
        return std::nullopt;
    // The last line is what follows the last line end before the data's own end.
    QByteArray body = data;
    while (body.endsWith('\n') || body.endsWith('\r'))
        body.chop(1);
    const qsizetype cut = body.lastIndexOf('\n') + 1;
    TornTail torn{data.left(cut), data.mid(cut)};
    // Only a line that stops inside its record is torn; a whole record that
    // fails (too many records, a damaged field) is damage.
    const LogParse last = parseLog(torn.fragment);
    if (!last.incomplete || !last.records.isEmpty() || !parseLog(torn.complete).error.isEmpty())
        return std::nullopt;
    return torn;
}

LogTally tallyLog(const QList<QsoRecord>& records)
{
    LogTally t;
    for (const QsoRecord& r : records) {
        const int c = multIndex(r.SecSer);
        if (c > 0) {
            if (isCw(r.Mode) && ++t.cwMultHits[c] == 1)
                ++t.cwMultsWorked;
            else if (isPhone(r.Mode) && ++t.phMultHits[c] == 1)
                ++t.phMultsWorked;
        }
        if (isCw(r.Mode) && (r.Call.endsWith(QLatin1String("/N"), Qt::CaseInsensitive)
                             || r.Call.endsWith(QLatin1String("/T"), Qt::CaseInsensitive)))
            ++t.cwNtCount;
    }
    for (const QsoRecord& r : records) {
        if (!isDxContact(r.Country, r.SecSer))
            continue;
        QStringList* list = isCw(r.Mode) ? &t.cwDxCountries : isPhone(r.Mode) ? &t.phDxCountries : nullptr;
        if (!list || containsCi(*list, r.Country))
            continue;
        if (list->size() >= kDxListCapacity) {
            t.error = QStringLiteral("more than %1 DX countries").arg(kDxListCapacity);
            return t;
        }
        list->append(r.Country);
    }
    return t;
}

LogParse LogFile::load() const
{
    QByteArray data;
    QString error;
    if (!platform::readWholeFile(m_path, &data, &error))
        return {{}, error};
    return parseLog(data);
}

bool LogFile::append(const QsoRecord& record, QString* error) const
{
    if (m_mayEndWithPartialRecord) {
        if (error)
            *error = QStringLiteral("an earlier write failed and could not be undone, so log.txt may end with a "
                                    "partial record. Check the end of log.txt with a text editor and restart the "
                                    "program before logging more contacts");
        return false;
    }
    const auto line = recordLine(record);
    if (!line) {
        if (error)
            *error = unstorableFieldMessage(record);
        return false;
    }
    // An editor may have dropped the final line end; a record glued onto that
    // line would make the whole log unreadable at the next start.
    const platform::AppendResult result =
        platform::appendDurably(m_path, *line, error, platform::LineStart::OwnLine, *m_calls);
    if (result == platform::AppendResult::MayHoldPartialData)
        m_mayEndWithPartialRecord = true;
    return result == platform::AppendResult::Appended;
}

bool LogFile::rewrite(const QList<QsoRecord>& records, QString* error) const
{
    QByteArray data;
    for (const QsoRecord& r : records) {
        const auto line = recordLine(r);
        if (!line) {
            if (error)
                *error = QStringLiteral("record of %1 holds a character the log file cannot keep").arg(r.Call);
            return false;
        }
        data += *line;
    }
    if (!platform::writeFileAtomically(m_path, data, error, *m_calls))
        return false;
    m_mayEndWithPartialRecord = false;
    return true;
}

bool LogFile::truncate(QString* error) const
{
    if (!platform::writeFileAtomically(m_path, QByteArray(), error, *m_calls))
        return false;
    m_mayEndWithPartialRecord = false;
    return true;
}

QString LogFile::pathIn(const QString& folder)
{
    return platform::fileInFolder(folder, QStringLiteral("log.txt"));
}

} // namespace tenlog::log
