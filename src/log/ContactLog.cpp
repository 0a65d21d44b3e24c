// The contact record and the log file.
#include "log/ContactLog.h"

#include "log/MultTable.h"
#include "platform/DurableFile.h"
#include "text/QuotedValues.h"

#include <QFileInfo>

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

const char* const kFieldNames[] = {"call",    "report received", "exchange", "report sent", "country",
                                   "date",    "time",            "mode",     "frequency"};

// Why a field is one no operator could have typed (far too long, or holding
// a control character); empty when it is sound.
QString fieldFault(const QsoRecord& r)
{
    const QList<const QString*> fields = fieldsOf(r);
    for (int i = 0; i < fields.size(); ++i) {
        const QString& field = *fields.at(i);
        if (field.size() > kLongestField)
            return QStringLiteral("the %1 is %2 characters long, and no field of a contact is longer than %3")
                .arg(QLatin1String(kFieldNames[i]))
                .arg(field.size())
                .arg(kLongestField);
        for (QChar c : field)
            if (c.unicode() < 32 || c.unicode() == 127)
                return QStringLiteral("the %1 holds the control character 0x%2")
                    .arg(QLatin1String(kFieldNames[i]))
                    .arg(c.unicode(), 2, 16, QLatin1Char('0'));
    }
    return {};
}

bool holdsLineEnd(const text::QuotedValue& value)
{
    return value.kind() == text::QuotedValue::Kind::Text
        && (value.raw().contains(QLatin1Char('\n')) || value.raw().contains(QLatin1Char('\r')));
}

} // namespace

QString unstorableFieldMessage(const QsoRecord& record)
{
    const QList<const QString*> fields = fieldsOf(record);
    for (int i = 0; i < fields.size(); ++i) {
        if (text::QuotedValueWriter().writeText(*fields.at(i)))
            continue;
        return QStringLiteral("the %1 \"%2\" holds a character the log file cannot keep")
            .arg(QLatin1String(kFieldNames[i]), *fields.at(i));
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
        const int line = reader.lineNumber();
        if (result.records.size() >= kLogCapacity) {
            result.error = QStringLiteral("line %1: more than %2 contacts, the most one log can hold")
                               .arg(line)
                               .arg(kLogCapacity);
            break;
        }
        // Every record is one line of nine values. Reading the file as a
        // plain stream of values would let a line with a value missing shift
        // every field after it into the wrong place without a word.
        QsoRecord r;
        text::QuotedValue value;
        int count = 0;
        bool lineEnded = false;
        for (QString* field : {&r.Call, &r.RstRcvd, &r.SecSer, &r.RstSnt, &r.Country, &r.QsoDate, &r.QsoTime,
                               &r.Mode, &r.Freq}) {
            const int valueLine = reader.lineNumber();
            reader.read(value);
            ++count;
            *field = value.toText();
            // A quote left open runs on into the next lines; one that runs to
            // the end of the data is a record cut short instead.
            if (holdsLineEnd(value) && !reader.atEnd()) {
                result.error = QStringLiteral("line %1: a quote is not closed on the line").arg(valueLine);
                return result;
            }
            if (value.endsLine()) {
                lineEnded = true;
                break;
            }
        }
        if (count < 9) {
            result.incomplete = reader.atEnd();
            const bool blank = count == 1 && value.isEmpty();
            result.error = blank ? QStringLiteral("line %1 is blank").arg(line)
                                 : QStringLiteral("line %1: the record has %2 %3, not 9")
                                       .arg(line)
                                       .arg(count)
                                       .arg(count == 1 ? QStringLiteral("value") : QStringLiteral("values"));
            if (result.incomplete)
                result.error += QStringLiteral(" (the file ends there)");
            break;
        }
        if (!lineEnded) {
            while (!value.endsLine() && reader.read(value))
                ++count;
            result.error = QStringLiteral("line %1: the record has %2 values, not 9").arg(line).arg(count);
            break;
        }
        const QString fault = fieldFault(r);
        if (!fault.isEmpty()) {
            result.error = QStringLiteral("line %1: %2").arg(line).arg(fault);
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
            t.error = QStringLiteral("line %1: more than %2 DX countries on %3, the most one log can hold")
                          .arg(&r - records.constData() + 1)
                          .arg(kDxListCapacity)
                          .arg(isCw(r.Mode) ? QStringLiteral("CW") : QStringLiteral("phone"));
            return t;
        }
        list->append(r.Country);
    }
    return t;
}

LogParse LogFile::load() const
{
    const QString name = QFileInfo(m_path).fileName();
    const platform::OwnFileRead read = platform::readOwnFile(m_path, kLogFileMaxBytes);
    LogParse parsed;
    switch (read.result) {
    case platform::OwnFileRead::Result::Missing:
        parsed.error = name + QStringLiteral(" was not found");
        parsed.fileUnreadable = true;
        return parsed;
    case platform::OwnFileRead::Result::Failed:
        parsed.error = name + QLatin1Char(' ') + read.problem;
        parsed.fileUnreadable = true;
        return parsed;
    case platform::OwnFileRead::Result::Read:
        break;
    }
    parsed = parseLog(read.data);
    if (!parsed.error.isEmpty())
        parsed.error = name + QLatin1Char(' ') + parsed.error;
    return parsed;
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
