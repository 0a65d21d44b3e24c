#include "cw/WinKeySettings.h"

#include "platform/DurableFile.h"
#include "platform/SettingsFile.h"
#include "text/NumberText.h"
#include "text/QuotedValues.h"
#include "text/SettingsValues.h"

#include <QDir>

#include <cmath>

namespace tenlog::cw {

namespace {

constexpr int valueCount = 8;
constexpr int firstOptionalLine = 7;

// A whole number that fits a byte, as the keyer takes it (halves to even).
std::optional<int> asByte(const QString& text)
{
    if (!text::isNumeric(text))
        return std::nullopt;
    const double value = text::roundHalfEven(text::val(text));
    if (!(value >= 0 && value <= 255))
        return std::nullopt;
    return int(value);
}

FieldCheck checkRange(const QString& text, int low, int high, const char* fallback)
{
    if (!text::isNumeric(text))
        return {QString::fromLatin1(fallback), std::nullopt};
    const double value = text::val(text);
    if (value < low || value > high)
        return {text, std::nullopt};
    return {text, asByte(text)};
}

} // namespace

bool isKnownMode(int value)
{
    return value == winKeyMode::iambicA || value == winKeyMode::iambicB || value == winKeyMode::ultimatic
        || value == winKeyMode::bug;
}

bool isKnownPinConfig(int value)
{
    return value == winKeyPins::p5OffP3Key || value == winKeyPins::ptt || value == winKeyPins::tone
        || value == winKeyPins::p5KeyP3Off;
}

bool readWinKeySettings(const QByteArray& data, WinKeySettings& settings, QString* damage, const QString& fileName)
{
    const QString name = fileName.isEmpty() ? QString::fromLatin1(winKeySettingsFileName) : fileName;
    text::SettingsValues values(name, data, valueCount);
    text::QuotedValue value;
    WinKeySettings read = settings;
    for (int line = 1; line <= valueCount && values.next(value); ++line) {
        QString why;
        const bool bare = line == 1 || line >= firstOptionalLine;
        if (bare) {
            bool ok = false;
            const double number = value.toDouble(&ok);
            const bool whole = ok && value.kind() == text::QuotedValue::Kind::Number && number == std::floor(number);
            if (line == 1) {
                if (!whole || number < 0 || number > 255)
                    why = QStringLiteral("the keyer's port is %1, not a port number").arg(text::shownValue(value.toText()));
                else
                    read.port = int(number);
            } else if (line == 7) {
                if (!whole || !isKnownPinConfig(int(number)))
                    why = QStringLiteral("the pin configuration is %1, not 4, 5, 6 or 8").arg(text::shownValue(value.toText()));
                else
                    read.pinConfig = int(number);
            } else {
                if (!whole || !isKnownMode(int(number)))
                    why = QStringLiteral("the keyer mode is %1, not 0, 16, 32 or 48").arg(text::shownValue(value.toText()));
                else
                    read.mode = int(number);
            }
        } else if (!text::isQuotedText(value)) {
            why = QStringLiteral("the value is %1, not text in quotes").arg(text::shownValue(value.toText()));
        } else {
            QString* fields[] = {&read.wpm, &read.weight, &read.leadIn, &read.tail, &read.ratio};
            *fields[line - 2] = value.toText();
        }
        if (!why.isEmpty()) {
            values.refuse(why);
            break;
        }
        // Lines 7 and 8 may be missing: a whole file may end after line 6.
        settings = read;
    }
    QString fault = values.damage();
    if (fault.isEmpty() && values.endedShort() && values.taken() < firstOptionalLine - 1)
        fault = QStringLiteral("%1 ends after %2 of its %3 values").arg(name).arg(values.taken()).arg(firstOptionalLine - 1);
    if (damage)
        *damage = fault;
    return fault.isEmpty();
}

QByteArray writeWinKeySettings(const WinKeySettings& settings)
{
    text::QuotedValueWriter out;
    out.writeNumber(settings.port);
    out.endLine();
    for (const QString& field : {settings.wpm, settings.weight, settings.leadIn, settings.tail, settings.ratio}) {
        // The fields take digits only; anything else could not be read back.
        QString clean;
        for (QChar c : field) {
            if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != QLatin1Char('"'))
                clean += c;
        }
        out.writeText(clean);
        out.endLine();
    }
    out.writeNumber(settings.pinConfig);
    out.endLine();
    out.writeNumber(settings.mode);
    out.endLine();
    return out.data();
}

QString winKeySettingsPath(const QString& userDataFolder)
{
    return platform::fileInFolder(userDataFolder, QString::fromLatin1(winKeySettingsFileName));
}

bool loadWinKeySettings(const QString& userDataFolder, WinKeySettings& settings, QString* problem)
{
    const QString path = winKeySettingsPath(userDataFolder);
    const QString fault = platform::readSettingsFile(
        path,
        [&](const QByteArray& data, QString& found) {
            readWinKeySettings(data, settings, &found, QDir::toNativeSeparators(path));
        },
        false);
    if (problem)
        *problem = platform::faultWithRemedy(
            fault, path, QStringLiteral(". The WinKey keyer takes the settings before this line and its defaults from there on."),
            QStringLiteral(". The WinKey keyer starts with its defaults."),
            QStringLiteral(" Check WinKey Setup; its Done button writes the file whole again."));
    return fault.isEmpty();
}

bool saveWinKeySettings(const QString& userDataFolder, const WinKeySettings& settings, QString* error)
{
    return platform::writeFileAtomically(winKeySettingsPath(userDataFolder), writeWinKeySettings(settings), error);
}

FieldCheck checkWpm(const QString& text)
{
    return checkRange(text, 0, 99, "18");
}

FieldCheck checkWeight(const QString& text)
{
    return checkRange(text, 0, 99, "50");
}

FieldCheck checkRatio(const QString& text)
{
    return checkRange(text, 32, 67, "50");
}

LeadTailCheck checkLeadIn(const QString& leadIn, const QString& tail)
{
    const std::optional<int> lead = asByte(leadIn);
    const std::optional<int> after = asByte(tail);
    if (lead && after)
        return {leadIn, tail, std::make_pair(*lead, *after)};
    return {QStringLiteral("0"), tail, std::nullopt};
}

LeadTailCheck checkTail(const QString& leadIn, const QString& tail)
{
    const std::optional<int> lead = asByte(leadIn);
    const std::optional<int> after = asByte(tail);
    if (lead && after)
        return {leadIn, tail, std::make_pair(*lead, *after)};
    return {leadIn, QStringLiteral("0"), std::nullopt};
}

PortCheck checkPort(const QString& text)
{
    if (!text::isNumeric(text))
        return {QStringLiteral("0"), 0};
    const std::optional<int> port = asByte(text);
    return {text, port.value_or(0)};
}

} // namespace tenlog::cw
