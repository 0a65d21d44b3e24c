#include "rig/RigParsers.h"

#include "rig/HexByteText.h"

#include "platform/DurableFile.h"
#include "text/NumberText.h"
#include "text/QuotedValues.h"

#include <array>
#include <optional>

namespace tenlog::rig {

namespace {

const QString kCw = QStringLiteral("CW");
const QString kPhone = QStringLiteral("PH");

// The decimal number a field holds, or nothing when it is not a number.
std::optional<double> numberIn(QByteArrayView field)
{
    const QString text = QString::fromLatin1(field);
    if (!text::isNumeric(text))
        return std::nullopt;
    return text::val(text);
}

// A field of length characters at 0-based index from, or nothing when it runs
// past the end of the reply.
std::optional<QByteArrayView> fieldAt(const QByteArray& reply, qsizetype from, qsizetype length)
{
    if (from < 0 || from + length > reply.size())
        return std::nullopt;
    return QByteArrayView(reply).sliced(from, length);
}

// Frequencies given in a unit finer than MHz are rounded to 5 decimals.
float megahertz(double units, double unitsPerMHz)
{
    return text::toSingle(text::roundHalfEven(units / unitsPerMHz, 5));
}

// Sets the frequency from a decimal field of Hz; false when it is no number.
bool setFromHzField(const QByteArray& reply, qsizetype from, qsizetype length, RigReading& reading)
{
    const auto field = fieldAt(reply, from, length);
    const auto hz = field ? numberIn(*field) : std::nullopt;
    if (!hz)
        return false;
    reading.frequencyMHz = megahertz(*hz, 1e6);
    return true;
}

// Digits d1.. (most significant first) laid out as MHz: wholeDigits before
// the point, of which leading zeros among the first three are left out, then
// up to decimals digits: "02847500" with 3 and 5 gives "28.47500".
QByteArray megahertzText(QByteArrayView digits, qsizetype wholeDigits, qsizetype decimals)
{
    const QByteArrayView whole = digits.first(qMin(wholeDigits, digits.size()));
    qsizetype skip = 0;
    while (skip < qMin<qsizetype>(3, whole.size()) && whole[skip] == '0')
        ++skip;
    QByteArray text = whole.sliced(skip).toByteArray();
    text += '.';
    if (digits.size() > wholeDigits)
        text += digits.sliced(wholeDigits, qMin(decimals, digits.size() - wholeDigits)).toByteArray();
    return text;
}

bool allDecimal(QByteArrayView digits)
{
    for (const char digit : digits) {
        if (digit < '0' || digit > '9')
            return false;
    }
    return !digits.isEmpty();
}

// CI-V frames FE FE <to> <from> <command> <data...> FD: the data bytes of
// every frame with the given command, in the order found.
enum class CivState { Idle, GotFirstFe, GotSecondFe, WaitForFd };

template <typename OnData>
void scanCivFrames(const QByteArray& reply, char command, OnData onData)
{
    CivState state = CivState::Idle;
    for (qsizetype i = 0; i < reply.size(); ++i) {
        const char byte = reply.at(i);
        switch (state) {
        case CivState::Idle:
            if (byte == char(0xFE))
                state = CivState::GotFirstFe;
            break;
        case CivState::GotFirstFe:
            if (byte == char(0xFE)) {
                state = CivState::GotSecondFe;
                i += 2; // the two address bytes
            } else {
                state = CivState::Idle;
            }
            break;
        case CivState::GotSecondFe:
            state = byte == command ? CivState::WaitForFd : CivState::Idle;
            break;
        case CivState::WaitForFd:
            if (byte == char(0xFD))
                state = CivState::Idle;
            else if (!onData(byte))
                return;
            break;
        }
    }
}

struct BinaryRow {
    YaesuBinaryModel model;
    qsizetype firstDigit; // 1-based in the hex digits
    qsizetype digits;
    double divisor;
    bool cwOnOne; // the FT-920 rule; otherwise 2 is CW, 0, 1, 3..7 phone
};

constexpr std::array kBinaryRows = {
    BinaryRow{YaesuBinaryModel::Ft890, 5, 6, 100000, false},
    BinaryRow{YaesuBinaryModel::Ft1000, 4, 6, 100000, false},
    BinaryRow{YaesuBinaryModel::Ft920, 3, 8, 1000000, true},
    BinaryRow{YaesuBinaryModel::Ft990, 3, 6, 100000, false},
};

struct Segment {
    float low;
    float high;
    const QString* mode;
};

const std::array kSegments = {
    Segment{3.5f, 3.6f, &kCw},       Segment{3.6f, 4.0f, &kPhone},     Segment{7.0f, 7.125f, &kCw},
    Segment{7.125f, 7.3f, &kPhone},  Segment{10.1f, 10.15f, &kCw},     Segment{14.0f, 14.15f, &kCw},
    Segment{14.15f, 14.35f, &kPhone}, Segment{18.068f, 18.11f, &kCw},  Segment{18.11f, 18.168f, &kPhone},
    Segment{21.0f, 21.2f, &kCw},     Segment{21.2f, 21.45f, &kPhone},  Segment{24.89f, 24.93f, &kCw},
    Segment{24.93f, 24.99f, &kPhone}, Segment{28.0f, 28.3f, &kCw},     Segment{28.3f, 29.7f, &kPhone},
    Segment{50.0f, 50.1f, &kCw},     Segment{50.1f, 54.0f, &kPhone},   Segment{144.0f, 144.1f, &kCw},
    Segment{144.1f, 148.0f, &kPhone},
};

} // namespace

void parseKenwoodFrequency(const QByteArray& reply, const QString& frequencyQuery, RigReading& reading)
{
    if (frequencyQuery.size() < 3)
        return;
    const qsizetype at = reply.indexOf(frequencyQuery.left(2).toLatin1());
    if (at >= 0 && reply.size() > at + 13)
        setFromHzField(reply, at + 2, 11, reading);
}

void parseKenwoodMode(const QByteArray& reply, RigReading& reading)
{
    const qsizetype at = reply.indexOf("MD");
    if (at < 0 || reply.size() <= at + 2)
        return;
    const char digit = reply.at(at + 2);
    reading.mode = digit == '3' || digit == '7' ? kCw : kPhone;
}

void parseKenwoodInfo(const QByteArray& reply, RigReading& reading)
{
    const qsizetype at = reply.indexOf("IF");
    if (at < 0 || reply.size() <= at + 13 || !setFromHzField(reply, at + 2, 11, reading))
        return;
    if (reply.size() <= at + 29)
        return;
    reading.mode = reply.at(at + 29) == '3' ? kCw : kPhone;
    if (reply.size() <= at + 30)
        return;
    const char vfo = reply.at(at + 30);
    if (vfo >= '0' && vfo <= '9')
        reading.kenwoodVfo = vfo - '0';
}

void parseFtdxReply(const QByteArray& reply, const QString& frequencyQuery, const QString& modeQuery,
                    RigReading& reading)
{
    if (frequencyQuery.size() >= 2) {
        const qsizetype at = reply.indexOf(frequencyQuery.left(2).toLatin1());
        if (at >= 0 && reply.size() > at + 8 && !setFromHzField(reply, at + 2, 8, reading))
            return;
    }
    if (modeQuery.size() >= 3) {
        const qsizetype at = reply.indexOf(modeQuery.left(3).toLatin1());
        if (at >= 0 && reply.size() > at + 3)
            reading.mode = reply.at(at + 3) == '3' ? kCw : kPhone;
    }
}

void parseCivFrequency(const QByteArray& reply, bool fourByteFrequency, RigReading& reading)
{
    QByteArray digits; // most significant first
    scanCivFrames(reply, 0x03, [&digits](char byte) {
        digits.prepend(QByteArray(1, byte).toHex().toUpper());
        return true;
    });
    if (!allDecimal(digits))
        return;
    const QByteArray text = megahertzText(digits.left(10), 4, 6);
    const QString asText = QString::fromLatin1(text);
    if (!text::isNumeric(asText))
        return;
    const double value = text::val(asText);
    reading.frequencyMHz = fourByteFrequency ? text::toSingle(value / 100) : text::valSingle(asText);
}

void parseCivMode(const QByteArray& reply, RigReading& reading)
{
    std::optional<char> code;
    scanCivFrames(reply, 0x04, [&code](char byte) {
        code = byte;
        return false;
    });
    if (code)
        reading.mode = *code == 0x03 ? kCw : kPhone;
}

void parseYaesuStatus(const QByteArray& reply, RigReading& reading)
{
    if (reply.size() < 5)
        return;
    const QByteArray digits = hexDigits(reply.left(5));
    const char high = digits.at(8);
    const char low = digits.at(9);
    if (high < '0' || high > '9' || low < '0' || low > '9')
        return;
    const int code = (high - '0') * 10 + (low - '0');
    if (!allDecimal(QByteArrayView(digits).first(8)))
        return;
    const QString text = QString::fromLatin1(megahertzText(QByteArrayView(digits).first(8), 3, 5));
    if (!text::isNumeric(text))
        return;
    reading.frequencyMHz = text::valSingle(text);
    switch (code) {
    case 0: case 1: case 4: case 8: case 84: case 88:
        reading.mode = kPhone;
        break;
    case 2: case 3: case 82: case 83:
        reading.mode = kCw;
        break;
    default:
        break;
    }
}

void parseYaesu757Status(const QByteArray& reply, RigReading& reading)
{
    if (reply.size() < 5)
        return;
    const QByteArray digits = hexDigits(reply);
    QByteArray frequency;
    for (qsizetype byte : {9, 8, 7, 6}) {
        const auto pair = fieldAt(digits, byte * 2 - 2, 2);
        if (!pair)
            return;
        frequency += pair->toByteArray();
    }
    if (!allDecimal(frequency))
        return;
    reading.frequencyMHz = megahertz(frequency.toDouble(), 100000);
    const auto modePair = fieldAt(digits, 18, 2);
    if (!modePair)
        return;
    switch (int(text::val(QString::fromLatin1(*modePair)))) {
    case 0: case 1: reading.mode = kPhone; break;
    case 2: case 3: reading.mode = kCw; break;
    case 4: reading.mode = QStringLiteral("AM"); break;
    case 5: reading.mode = QStringLiteral("FM"); break;
    default: break;
    }
}

void parseYaesuBinaryStatus(const QByteArray& reply, YaesuBinaryModel model, RigReading& reading)
{
    if (reply.size() < 5)
        return;
    const BinaryRow* row = nullptr;
    for (const BinaryRow& candidate : kBinaryRows) {
        if (candidate.model == model)
            row = &candidate;
    }
    if (!row)
        return;
    const QByteArray digits = hexDigits(reply);
    const auto run = fieldAt(digits, row->firstDigit - 1, row->digits);
    if (!run)
        return;
    bool ok = false;
    const qulonglong units = run->toByteArray().toULongLong(&ok, 16);
    if (!ok)
        return;
    reading.frequencyMHz = megahertz(double(units), row->divisor);
    if (digits.size() < 16)
        return;
    const int modeDigit = QByteArray(1, digits.at(15)).toInt(&ok, 16);
    if (row->cwOnOne) {
        reading.mode = modeDigit == 1 ? kCw : kPhone;
    } else if (modeDigit == 2) {
        reading.mode = kCw;
    } else if (modeDigit <= 7) {
        reading.mode = kPhone;
    }
}

void parseTenTecFrequency(const QByteArray& reply, RigReading& reading)
{
    const QByteArray digits = hexDigits(reply);
    const auto run = fieldAt(digits, 2, 8);
    if (!run)
        return;
    bool ok = false;
    const qulonglong hz = run->toByteArray().toULongLong(&ok, 16);
    if (ok)
        reading.frequencyMHz = megahertz(double(hz), 1e6);
}

void parseTenTecMode(const QByteArray& reply, RigReading& reading)
{
    if (reply.size() < 3)
        return;
    switch (reply.at(1) & 0x0F) {
    case 0: case 1: case 2: case 4: reading.mode = kPhone; break;
    case 3: reading.mode = kCw; break;
    default: break;
    }
}

void parseOrionFrequency(const QByteArray& reply, RigReading& reading)
{
    const qsizetype at = reply.indexOf("@AF");
    if (at < 0)
        return;
    const qsizetype end = reply.indexOf('\r', at + 3);
    if (end < 0)
        return;
    setFromHzField(reply, at + 3, end - at - 3, reading);
}

void parseOrionMode(const QByteArray& reply, RigReading& reading)
{
    const qsizetype at = reply.indexOf("@RMM");
    if (at < 0 || reply.size() <= at + 4)
        return;
    const char digit = reply.at(at + 4);
    reading.mode = digit == '2' || digit == '3' ? kCw : kPhone;
}

void readPegasusFile(const QString& folder, RigReading& reading)
{
    QByteArray data;
    if (!platform::readWholeFile(platform::fileInFolder(folder, QStringLiteral("PEGASUS.OUT")), &data))
        return;
    text::QuotedValueReader reader(data);
    text::QuotedValue value;
    if (!reader.read(value))
        return;
    bool ok = false;
    const float frequency = value.toSingle(&ok);
    if (!ok)
        return;
    reading.frequencyMHz = frequency;
    if (!reader.read(value))
        return;
    const QString mode = value.toText();
    reading.mode = mode.isEmpty() || mode == kCw ? mode : kPhone;
}

void modeFromFrequency(float frequencyMHz, QString& mode)
{
    for (const Segment& segment : kSegments) {
        if (frequencyMHz > segment.low && frequencyMHz < segment.high) {
            mode = *segment.mode;
            return;
        }
    }
}

void parseReply(const QByteArray& reply, const ParseContext& context, RigReading& reading)
{
    switch (context.profile.parser) {
    case ReplyParser::None:
    case ReplyParser::Rigctld:
        break;
    case ReplyParser::Kenwood:
        parseKenwoodFrequency(reply, context.frequencyQuery, reading);
        parseKenwoodMode(reply, reading);
        break;
    case ReplyParser::KenwoodInfo:
        parseKenwoodInfo(reply, reading);
        break;
    case ReplyParser::Ftdx:
        parseFtdxReply(reply, context.frequencyQuery, context.modeQuery, reading);
        break;
    case ReplyParser::Civ:
        if (context.lastRequestWasFrequency)
            parseCivFrequency(reply, context.profile.civFourByteFrequency, reading);
        else
            parseCivMode(reply, reading);
        break;
    case ReplyParser::YaesuStatus:
        parseYaesuStatus(reply, reading);
        break;
    case ReplyParser::Yaesu757Status:
        parseYaesu757Status(reply, reading);
        break;
    case ReplyParser::YaesuBinaryStatus:
        parseYaesuBinaryStatus(reply, context.profile.yaesuModel, reading);
        break;
    case ReplyParser::TenTecFrontPanel:
        if (context.lastRequestWasFrequency)
            parseTenTecFrequency(reply, reading);
        else
            parseTenTecMode(reply, reading);
        break;
    case ReplyParser::Orion:
        parseOrionFrequency(reply, reading);
        parseOrionMode(reply, reading);
        break;
    case ReplyParser::PegasusFile:
        readPegasusFile(context.pegasusFolder, reading);
        break;
    }
}

} // namespace tenlog::rig
