// Builds the Cabrillo entry file; the layout and the rules for values that do
// not fit it are described in Cabrillo.h.
#include "export/Cabrillo.h"

#include "log/ContestLog.h"
#include "log/MultTable.h"
#include "text/DateText.h"
#include "text/NumberText.h"

#include <functional>

namespace tenlog::exports {

const std::array<RememberedDetail, 6> kRememberedDetails{{
    {&CabrilloDetails::name, "Text5", "UserAddressName", "OWN_ADDRESS_NAME"},
    {&CabrilloDetails::address1, "Text6", "UserAddressLine1", "OWN_ADDRESS_Line1"},
    {&CabrilloDetails::address2, "Text7", "UserAddressLine2", "OWN_ADDRESS_Line2"},
    {&CabrilloDetails::email, "Text8", "UserEMail", "OWN_EMAIL"},
    {&CabrilloDetails::section, "Text1", "UserARRLSection", "OWN_ARRL_SECTION"},
    {&CabrilloDetails::club, "Text10", "UserClubName", "OWN_CLUB_NAME"},
}};

namespace {

constexpr QChar kBlank = u' ';
// Stands for an empty field so that the tokens after it keep their places.
const QString kEmptyField = QStringLiteral("-");

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

// A field as exactly one white-space-free token.
QString fieldToken(const QString& value)
{
    QString token;
    token.reserve(value.size());
    for (const QChar c : value) {
        if (!c.isSpace() && !isControl(c))
            token += c;
    }
    return token.isEmpty() ? kEmptyField : token;
}

QString oneLine(QString value)
{
    for (QChar& c : value) {
        if (isControl(c))
            c = kBlank;
    }
    return value;
}

QString dateField(const QString& stored)
{
    if (const auto date = text::parseDate(stored))
        return text::formatDate(*date, QStringLiteral("yyyy-mm-dd"));
    return fieldToken(stored);
}

QString timeField(const QString& stored)
{
    if (const auto time = text::parseTime(stored))
        return text::formatTime(*time, QStringLiteral("hhnn"));
    // Hours and minutes by position, which keeps an odd "hh:mm" text to four characters.
    return fieldToken(stored.left(2) + stored.mid(3, 2));
}

// Puts the field at its 1-based column, or one blank after the line when an
// earlier field has already run into that column.
void placeAt(QString& line, const QString& field, qsizetype column)
{
    const qsizetype start = column - 1;
    if (line.size() < start)
        line.resize(start, kBlank);
    else
        line += kBlank;
    line += field;
}

void placeEndingAt(QString& line, const QString& field, qsizetype lastColumn)
{
    placeAt(line, field, lastColumn + 1 - field.size());
}

QStringList soapboxLines(const QString& soapbox)
{
    QString text = soapbox;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    while (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString powerWord(CabrilloPower power)
{
    switch (power) {
    case CabrilloPower::High: return QStringLiteral("HIGH");
    case CabrilloPower::Qrp: return QStringLiteral("QRP");
    case CabrilloPower::Low: break;
    }
    return QStringLiteral("LOW");
}

QString modeWord(CabrilloMode mode)
{
    switch (mode) {
    case CabrilloMode::Phone: return QStringLiteral("SSB");
    case CabrilloMode::Cw: return QStringLiteral("CW");
    case CabrilloMode::Mixed: break;
    }
    return QStringLiteral("MIXED");
}

using LineWriter = std::function<void(const QString&)>;

void writeHeaderV2(const LineWriter& line, const CabrilloDetails& details, const CabrilloStation& station,
                   const QString& ownCall, qint64 claimedScore)
{
    line(QStringLiteral("START-OF-LOG: 2.0"));
    line(QStringLiteral("CREATED-BY: ") + blankTrimmed(oneLine(station.createdBy.left(50))));
    line(QStringLiteral("ARRL-SECTION: ") + blankTrimmed(oneLine(details.section)));
    line(QStringLiteral("CONTEST: ARRL-10"));
    line(QStringLiteral("CALLSIGN: ") + ownCall);
    line(QStringLiteral("CATEGORY: ") + cabrilloCategory(details));
    line(QStringLiteral("CLAIMED-SCORE: ") + text::linePrinted(claimedScore));
    line(QStringLiteral("OPERATORS: ") + (details.operators.isEmpty() ? ownCall : oneLine(details.operators)));
    line(QStringLiteral("CLUB: ") + oneLine(details.club));
    line(QStringLiteral("NAME: ") + oneLine(details.name));
    line(QStringLiteral("ADDRESS: ") + oneLine(details.address1));
    line(QStringLiteral("ADDRESS: ") + oneLine(details.address2));
    line(QStringLiteral("ADDRESS: (e-mail) ") + oneLine(details.email));
    for (const QString& text : soapboxLines(details.soapbox))
        line(QStringLiteral("SOAPBOX: ") + oneLine(text));
}

void writeHeaderV3(const LineWriter& line, const CabrilloDetails& details, const CabrilloStation& station,
                   const QString& ownCall, qint64 claimedScore)
{
    const auto optional = [&line](const char* tag, const QString& value) {
        const QString text = blankTrimmed(oneLine(value));
        if (!text.isEmpty())
            line(QLatin1String(tag) + QStringLiteral(": ") + text);
    };
    line(QStringLiteral("START-OF-LOG: 3.0"));
    line(QStringLiteral("CONTEST: ARRL-10"));
    line(QStringLiteral("CALLSIGN: ") + ownCall);
    for (const auto& [tag, value] : cabrilloCategoryTags(details))
        line(tag + QStringLiteral(": ") + value);
    optional("LOCATION", cabrilloLocation(details.section, station.ownState));
    optional("EMAIL", details.email);
    optional("NAME", details.name);
    optional("ADDRESS", details.address1);
    optional("ADDRESS", details.address2);
    line(QStringLiteral("CLAIMED-SCORE: ") + QString::number(claimedScore));
    line(QStringLiteral("OPERATORS: ")
         + (details.operators.isEmpty() ? ownCall : blankTrimmed(oneLine(details.operators))));
    optional("CLUB", details.club);
    const QStringList soapbox = soapboxLines(details.soapbox);
    if (soapbox != QStringList{QString()}) {
        for (const QString& text : soapbox)
            line(QStringLiteral("SOAPBOX: ") + oneLine(text));
    }
    line(QStringLiteral("CREATED-BY: ") + blankTrimmed(oneLine(station.createdBy.left(50))));
}

} // namespace

QString blankTrimmed(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == kBlank)
        ++from;
    while (to > from && text.at(to - 1) == kBlank)
        --to;
    return text.mid(from, to - from);
}

QString cabrilloCategory(const CabrilloDetails& details)
{
    const QString op = details.op == CabrilloOperator::Multiple ? QStringLiteral("MULTI-ONE")
                                                                 : QStringLiteral("SINGLE-OP");
    return op + QStringLiteral(" 10M ") + powerWord(details.power) + kBlank + modeWord(details.mode);
}

QList<std::pair<QString, QString>> cabrilloCategoryTags(const CabrilloDetails& details)
{
    // 3.0 spells the multi-operator entry by the operator count alone; the
    // single transmitter comes on a line of its own.
    const QString op = details.op == CabrilloOperator::Multiple ? QStringLiteral("MULTI-OP")
                                                                 : QStringLiteral("SINGLE-OP");
    return {
        {QStringLiteral("CATEGORY-OPERATOR"), op},
        {QStringLiteral("CATEGORY-MODE"), modeWord(details.mode)},
        {QStringLiteral("CATEGORY-POWER"), powerWord(details.power)},
        {QStringLiteral("CATEGORY-BAND"), QStringLiteral("10M")},
        {QStringLiteral("CATEGORY-TRANSMITTER"), QStringLiteral("ONE")},
        {QStringLiteral("CATEGORY-ASSISTED"), QStringLiteral("NON-ASSISTED")},
    };
}

QString cabrilloFormatSetting(CabrilloFormat format)
{
    return format == CabrilloFormat::V3 ? QStringLiteral("3.0") : QStringLiteral("2.0");
}

CabrilloFormat cabrilloFormatFromSetting(const QString& value)
{
    return value == QStringLiteral("3.0") ? CabrilloFormat::V3 : CabrilloFormat::V2;
}

QString sectionOfOwnState(const QString& ownState)
{
    const QString state = ownState.trimmed().toUpper();
    if (state == u"DX")
        return state;
    const int index = log::multIndex(state);
    if (index == 0)
        return {};
    const QLatin1String heading(log::multEntry(index).heading);
    // US call areas stand under a digit, Canada under "Can".
    const bool usOrCanada = heading == QLatin1String("Can")
        || (heading.size() == 1 && heading.front() >= QLatin1Char('0') && heading.front() <= QLatin1Char('9'));
    return usOrCanada ? QString::fromLatin1(log::multEntry(index).Abbrev) : QString();
}

QString cabrilloLocation(const QString& section, const QString& ownState)
{
    const QString typed = blankTrimmed(oneLine(section));
    if (!typed.isEmpty())
        return typed;
    const QString own = sectionOfOwnState(ownState);
    if (!own.isEmpty())
        return own;
    // Mexican states and maritime regions are outside the ARRL and RAC sections.
    return log::multIndex(ownState.trimmed()) != 0 ? QStringLiteral("DX") : QString();
}

QString cabrilloSentExchange(const QString& section, const QString& ownState, int position)
{
    // The blank that precedes the serial number in the column layout is the
    // gap before the field, so only the digits are the field.
    if (section == QStringLiteral("DX"))
        return QString::number(position);
    return ownState;
}

QString cabrilloQsoLine(const log::QsoRecord& record, const QString& ownCall, const QString& sentExchange)
{
    QString line = QStringLiteral("QSO:");
    line.reserve(96);
    placeAt(line, QStringLiteral("28000"), 6);
    placeAt(line, fieldToken(record.Mode), 12);
    placeAt(line, dateField(record.QsoDate), 15);
    placeAt(line, timeField(record.QsoTime), 26);
    placeAt(line, fieldToken(ownCall), 31);
    placeAt(line, fieldToken(record.RstSnt), 45);
    placeEndingAt(line, fieldToken(sentExchange), 54);
    placeAt(line, fieldToken(record.Call), 56);
    placeAt(line, fieldToken(record.RstRcvd), 70);
    placeEndingAt(line, fieldToken(record.SecSer), 79);
    line += QStringLiteral("  ");
    return line;
}

QByteArray cabrilloFile(const CabrilloDetails& details, const CabrilloStation& station,
                        const QList<log::QsoRecord>& records, qint64 claimedScore)
{
    QString out;
    out.reserve((records.size() + 20) * 88);
    const auto line = [&out](const QString& text) {
        out += text;
        out += QStringLiteral("\r\n");
    };
    const QString ownCall = oneLine(station.ownCall);

    if (details.format == CabrilloFormat::V3)
        writeHeaderV3(line, details, station, ownCall, claimedScore);
    else
        writeHeaderV2(line, details, station, ownCall, claimedScore);

    for (qsizetype i = 0; i < records.size(); ++i) {
        const QString sent = cabrilloSentExchange(details.section, station.ownState, static_cast<int>(i + 1));
        line(cabrilloQsoLine(records.at(i), station.ownCall, sent));
    }
    line(QStringLiteral("END-OF-LOG:"));
    return out.toLatin1();
}

QByteArray cabrilloFile(const CabrilloDetails& details, const CabrilloStation& station,
                        const log::ContestLog& contest)
{
    return cabrilloFile(details, station, contest.records(), contest.currentScore().score);
}

} // namespace tenlog::exports
