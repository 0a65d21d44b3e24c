// The ADIF export's table and file text.
#include "export/Adif.h"

#include "export/Cabrillo.h"

#include "platform/DurableFile.h"
#include "text/DateText.h"
#include "text/NumberText.h"
#include "text/QuotedValues.h"

#include <QFileInfo>

#include <cmath>

namespace tenlog::exports {

namespace {

// Trimming takes blanks only, never tabs or line ends.
QString trimBlanks(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == u' ')
        ++begin;
    while (end > begin && s.at(end - 1) == u' ')
        --end;
    return s.mid(begin, end - begin);
}

QString trimTrailingBlanks(const QString& s)
{
    qsizetype end = s.size();
    while (end > 0 && s.at(end - 1) == u' ')
        --end;
    return s.left(end);
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// "<Name:length>data"
void appendField(QString& out, QLatin1StringView name, const QString& data)
{
    out += u'<';
    out += name;
    out += u':';
    out += QString::number(data.size());
    out += u'>';
    out += data;
}

} // namespace

bool DxccTable::loadData(const QByteArray& data, QString* error)
{
    m_entries.clear();
    m_firstByName.clear();
    QList<DxccEntry> entries;
    text::QuotedValueReader reader(data);
    while (!reader.atEnd()) {
        if (entries.size() == kCapacity) {
            setError(error, QStringLiteral("%1 holds more than %2 countries.")
                                .arg(QLatin1String(kDxccFileName)).arg(kCapacity));
            return false;
        }
        const int line = reader.lineNumber();
        const QString name = reader.next().toText();
        if (reader.atEnd()) {
            setError(error, QStringLiteral("%1, line %2: \"%3\" has no DXCC number.")
                                .arg(QLatin1String(kDxccFileName)).arg(line).arg(name));
            return false;
        }
        const text::QuotedValue value = reader.next();
        bool ok = false;
        const double raw = value.toDouble(&ok);
        // The number is a 16-bit integer; anything else is a damaged file.
        if (!ok || value.isEmpty() || !std::isfinite(raw) || raw <= -32768.5 || raw >= 32767.5) {
            setError(error, QStringLiteral("%1, line %2: \"%3\" is not a DXCC number.")
                                .arg(QLatin1String(kDxccFileName)).arg(line).arg(value.toText()));
            return false;
        }
        entries.append({name, static_cast<int>(text::roundHalfEven(raw))});
    }
    m_entries = std::move(entries);
    for (const DxccEntry& e : std::as_const(m_entries)) {
        const QString key = e.country.toCaseFolded();
        if (!m_firstByName.contains(key))
            m_firstByName.insert(key, e.number);
    }
    return true;
}

bool DxccTable::loadFirstFound(const QStringList& folders, QString* error)
{
    m_entries.clear();
    m_firstByName.clear();
    const QString name = QLatin1String(kDxccFileName);
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString path = platform::fileInFolder(folder, name);
        if (!QFileInfo(path).isFile())
            continue;
        QByteArray data;
        QString readError;
        if (!platform::readWholeFile(path, &data, &readError)) {
            setError(error, path + QStringLiteral(": ") + readError);
            return false;
        }
        return loadData(data, error);
    }
    setError(error, QStringLiteral("File not found: %1 is in none of the folders %2.")
                        .arg(name, folders.join(QStringLiteral(", "))));
    return false;
}

int DxccTable::lookup(const QString& country) const
{
    if (country.size() <= 2)
        return 0;
    return m_firstByName.value(trimBlanks(country).toCaseFolded(), 0);
}

bool isAdifNumber(const QString& text)
{
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

std::optional<QString> adifPower(const QString& typed)
{
    const QString power = trimBlanks(typed);
    if (power.isEmpty() || (isAdifNumber(power) && !power.startsWith(u'-')))
        return power;
    return std::nullopt;
}

QByteArray adifHeader(const QString& caption, const QString& exportedOn, const QDateTime& createdUtc)
{
    QString out;
    out += QStringLiteral("ADIF Export from ") + trimBlanks(caption.left(52)) + QStringLiteral("\r\n");
    out += QStringLiteral("TenLog, a logging program for the ARRL 10 Meter Contest, version " TENLOG_VERSION
                          "\r\n");
    out += QStringLiteral("Contacts of one contest for import into a general-purpose logging program\r\n");
    out += QStringLiteral("Log exported on: ") + exportedOn + QStringLiteral("\r\n");
    const auto headerField = [&out](QLatin1StringView name, const QString& data) {
        appendField(out, name, data);
        out += QStringLiteral("\r\n");
    };
    headerField(QLatin1StringView("ADIF_Ver"), QLatin1String(kAdifVersion));
    headerField(QLatin1StringView("ProgramID"), QStringLiteral("TenLog"));
    headerField(QLatin1StringView("ProgramVersion"), QStringLiteral(TENLOG_VERSION));
    if (createdUtc.isValid()) {
        headerField(QLatin1StringView("Created_Timestamp"),
                    createdUtc.toUTC().toString(QStringLiteral("yyyyMMdd HHmmss")));
    }
    out += QStringLiteral("\r\n<EOH>\r\n\r\n");
    return out.toLatin1();
}

QString adifTimeOn(const QString& qsoTime)
{
    QString time = trimBlanks(qsoTime);
    const qsizetype colon = time.indexOf(u':');
    if (colon >= 0)
        time = time.left(colon) + time.mid(colon + 1, 2);
    return time.left(4).rightJustified(4, u'0');
}

std::optional<QString> adifState(const log::QsoRecord& record)
{
    const QString& country = record.Country;
    if (country.compare(QLatin1String("Alaska"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("AK");
    if (country.compare(QLatin1String("Hawaii"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("HI");
    if (country.compare(QLatin1String("USA"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QString& section = record.SecSer;
    // Maritime mobiles send their ITU region, which is no state; an empty
    // exchange names none either.
    if (section.isEmpty())
        return std::nullopt;
    for (const char* region : {"R1", "R2", "R3"})
        if (section.compare(QLatin1String(region), Qt::CaseInsensitive) == 0)
            return std::nullopt;
    // The District of Columbia counts with Maryland in this contest.
    if (section.compare(QLatin1String("DC"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("MD");
    return section;
}

namespace {

void appendRecord(QString& out, const log::QsoRecord& r, const DxccTable& dxcc, const AdifExtras& extras,
                  const AdifStation& station, int position)
{
    if (!r.Call.isEmpty()) {
        appendField(out, QLatin1StringView("Call"), r.Call);
        out += u' ';
    }
    if (const auto date = text::parseDate(r.QsoDate)) {
        out += QStringLiteral("<Qso_Date:8:d>") + date->toString(QStringLiteral("yyyyMMdd")) + u' ';
    }
    out += QStringLiteral("<Band:3>10M ");
    if (const QString freq = trimBlanks(r.Freq); isAdifNumber(freq)) {
        appendField(out, QLatin1StringView("Freq"), freq);
        out += u' ';
    }
    const bool phone = r.Mode.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0;
    out += phone ? QStringLiteral("<Mode:3>SSB\r\n") : QStringLiteral("<Mode:2>CW\r\n");

    if (const auto power = adifPower(extras.power); power && !power->isEmpty()) {
        appendField(out, QLatin1StringView("Tx_Pwr"), *power);
        out += u' ';
    }
    appendField(out, QLatin1StringView("Time_On"), adifTimeOn(r.QsoTime));
    out += u' ';
    if (const int number = dxcc.lookup(r.Country); number > 0) {
        appendField(out, QLatin1StringView("DXCC"), QString::number(number));
        out += u' ';
    }
    if (const auto state = adifState(r)) {
        appendField(out, QLatin1StringView("State"), *state);
        out += u' ';
    }
    if (const QString sent = trimTrailingBlanks(r.RstSnt); !sent.isEmpty()) {
        appendField(out, QLatin1StringView("RST_Sent"), sent);
        out += u' ';
    }
    if (const QString received = trimTrailingBlanks(r.RstRcvd); !received.isEmpty()) {
        appendField(out, QLatin1StringView("RST_Rcvd"), received);
        out += u' ';
    }
    if (!extras.comment.isEmpty())
        appendField(out, QLatin1StringView("Comment"), extras.comment);
    else
        out.chop(1); // the blank after the line's last field
    out += QStringLiteral("\r\n");

    appendField(out, QLatin1StringView("Contest_ID"), QLatin1String(kAdifContestId));
    out += u' ';
    const auto optional = [&out](QLatin1StringView name, const QString& data) {
        if (data.isEmpty())
            return;
        appendField(out, name, data);
        out += u' ';
    };
    optional(QLatin1StringView("STX_String"),
             trimBlanks(cabrilloSentExchange(station.section, station.ownState, position)));
    optional(QLatin1StringView("SRX_String"), trimBlanks(r.SecSer));
    optional(QLatin1StringView("Station_Callsign"), trimBlanks(station.ownCall));
    out += QStringLiteral("<eor>\r\n\r\n");
}

} // namespace

QByteArray adifRecord(const log::QsoRecord& record, const DxccTable& dxcc, const AdifExtras& extras,
                      const AdifStation& station, int position)
{
    QString out;
    appendRecord(out, record, dxcc, extras, station, position);
    return out.toLatin1();
}

QByteArray adifFile(const QByteArray& header, const QList<log::QsoRecord>& records, const DxccTable& dxcc,
                    const AdifExtras& extras, const AdifStation& station)
{
    QString out;
    out.reserve(records.size() * 280);
    for (qsizetype i = 0; i < records.size(); ++i)
        appendRecord(out, records.at(i), dxcc, extras, station, static_cast<int>(i + 1));
    return header + out.toLatin1();
}

} // namespace tenlog::exports
