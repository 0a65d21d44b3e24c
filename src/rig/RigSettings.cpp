#include "rig/RigSettings.h"

#include "platform/DurableFile.h"
#include "platform/SettingsFile.h"
#include "text/NumberText.h"
#include "text/QuotedValues.h"
#include "text/SettingsValues.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace tenlog::rig {

namespace {

// A whole number from a value, or nothing when it is not one in [min, max].
// No rounding: "0.3" in a check box's place is damage, not "off".
std::optional<int> wholeNumber(const text::QuotedValue& value, int min, int max)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number) || number != std::trunc(number) || number < min || number > max)
        return std::nullopt;
    return int(number);
}

// Takes a value into the settings; the reason, in words, when it does not fit its field.
using Assign = std::function<QString(const text::QuotedValue&, RigSettings&)>;

QString quoted(const text::QuotedValue& value)
{
    return text::shownValue(value.toText());
}

// A text field, cut or padded to width as the fixed-width fields of the
// file's origin read it, and then one of the codes when codes are given.
Assign textField(QString RigSettings::*member, const char* what, int width = 0, QStringList codes = {})
{
    return [=](const text::QuotedValue& value, RigSettings& settings) -> QString {
        if (!text::isQuotedText(value))
            return QStringLiteral("%1 is %2, not text in quotes").arg(QLatin1String(what), quoted(value));
        const QString text = width > 0 ? fixedWidth(value.toText(), width) : value.toText();
        if (!codes.isEmpty() && !codes.contains(text))
            return QStringLiteral("%1 is %2, not one of %3").arg(QLatin1String(what), quoted(value), codes.join(QStringLiteral(", ")));
        settings.*member = text;
        return {};
    };
}

Assign checkBox(bool RigSettings::*member, const char* what)
{
    return [=](const text::QuotedValue& value, RigSettings& settings) -> QString {
        const std::optional<int> number = wholeNumber(value, 0, 1);
        if (!number)
            return QStringLiteral("\"%1\" is %2, not 0 or 1").arg(QLatin1String(what), quoted(value));
        settings.*member = *number == 1;
        return {};
    };
}

// A whole number from min to max; notWhat finishes the reason ("not 1 to 10").
Assign numberField(int RigSettings::*member, const char* what, int min, int max, const char* notWhat)
{
    return [=](const text::QuotedValue& value, RigSettings& settings) -> QString {
        const std::optional<int> number = wholeNumber(value, min, max);
        if (!number)
            return QStringLiteral("%1 is %2, %3").arg(QLatin1String(what), quoted(value), QLatin1String(notWhat));
        settings.*member = *number;
        return {};
    };
}

const std::vector<Assign>& fileOrder()
{
    static const std::vector<Assign> order = {
        [](const text::QuotedValue& value, RigSettings& settings) -> QString {
            // Any rate the port takes may stand here; the window only shows the usual ones.
            const QString baud = fixedWidth(value.toText(), 5);
            const QString digits = baud.trimmed();
            if (!text::isQuotedText(value) || digits.isEmpty()
                || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
                return QStringLiteral("the bit rate is %1, not a number").arg(quoted(value));
            settings.baudRate = baud;
            return {};
        },
        textField(&RigSettings::parityCode, "the parity", 1, {QStringLiteral("O"), QStringLiteral("N"), QStringLiteral("E")}),
        textField(&RigSettings::dataBits, "the data bits value", 1, {QStringLiteral("7"), QStringLiteral("8")}),
        textField(&RigSettings::stopBits, "the stop bits value", 1, {QStringLiteral("1"), QStringLiteral("2")}),
        textField(&RigSettings::modeQuery, "the mode request"),
        textField(&RigSettings::frequencyQuery, "the frequency request"),
        // Built again from the four fields above whenever the link opens.
        textField(&RigSettings::commSettings, "the port parameters"),
        numberField(&RigSettings::commPortNumber, "the port number", 1, 10, "not 1 to 10"),
        textField(&RigSettings::powerCode, "the connection power", 0, {QStringLiteral("N"), QStringLiteral("R"), QStringLiteral("D")}),
        textField(&RigSettings::pollRateCode, "the polling rate", 0,
                  {QStringLiteral("F"), QStringLiteral("M"), QStringLiteral("S"), QStringLiteral("R")}),
        // A radio this version does not list is kept: the window shows none chosen.
        textField(&RigSettings::rigName, "the radio"),
        checkBox(&RigSettings::convertToHex, "Convert to Hex"),
        checkBox(&RigSettings::useFrequency, "Use Frequency"),
        [](const text::QuotedValue& value, RigSettings& settings) -> QString {
            const std::optional<int> number = wholeNumber(value, 1, 3);
            if (!number)
                return QStringLiteral("\"Mode by\" is %1, not 1 (Rig), 2 (Frequency) or 3 (Don't Use)").arg(quoted(value));
            settings.modeBy = ModeBy(*number);
            return {};
        },
        [](const text::QuotedValue& value, RigSettings& settings) -> QString {
            const QString host = value.toText().trimmed();
            if (!text::isQuotedText(value) || host.isEmpty() || host.contains(QLatin1Char(' ')))
                return QStringLiteral("the rigctld host is %1, not a host name or address").arg(quoted(value));
            settings.rigctldHost = value.toText();
            return {};
        },
        [](const text::QuotedValue& value, RigSettings& settings) -> QString {
            const std::optional<int> number = wholeNumber(value, 1, 65535);
            if (!number)
                return QStringLiteral("the rigctld port is %1, not 1 to 65535").arg(quoted(value));
            settings.rigctldPort = quint16(*number);
            return {};
        },
        // Hamlib numbers its models below a million; 0 is none.
        numberField(&RigSettings::hamlibModel, "the Hamlib model", 0, 999999, "not a model number"),
        [](const text::QuotedValue& value, RigSettings& settings) -> QString {
            // Handed to rigctld as one argument: no blanks, no control characters.
            const QString device = value.toText();
            const bool plain = std::all_of(device.begin(), device.end(), [](QChar c) { return c.isPrint() && !c.isSpace(); });
            if (!text::isQuotedText(value) || !plain)
                return QStringLiteral("the Hamlib serial device is %1, not a device path").arg(quoted(value));
            settings.hamlibDevice = device;
            return {};
        },
        numberField(&RigSettings::hamlibSpeed, "the Hamlib speed", 0, 4000000, "not a number of bits per second"),
    };
    return order;
}

} // namespace

QString rigSettingsFileName()
{
    return QStringLiteral("RigCntrl.txt");
}

QString fixedWidth(const QString& text, int width)
{
    return text.left(width).leftJustified(width, u' ');
}

QString commSettingsText(const RigSettings& settings)
{
    QString baud = settings.baudRate;
    while (baud.endsWith(u' '))
        baud.chop(1);
    return QStringLiteral("%1,%2,%3,%4").arg(baud, settings.parityCode, settings.dataBits, settings.stopBits);
}

void applyRigProfile(RigSettings& settings, const RigProfile& profile)
{
    settings.rigName = profile.name;
    settings.frequencyQuery = profile.frequencyQuery;
    settings.modeQuery = profile.modeQuery;
    settings.convertToHex = profile.convertToHex;
    if (profile.baudRate)
        settings.baudRate = fixedWidth(*profile.baudRate, 5);
    if (profile.dataBits)
        settings.dataBits = *profile.dataBits;
    if (profile.stopBits)
        settings.stopBits = *profile.stopBits;
    if (profile.parityCode)
        settings.parityCode = *profile.parityCode;
}

int readRigSettings(const QByteArray& data, RigSettings& settings, QString* damage, const QString& fileName)
{
    text::SettingsValues values(fileName.isEmpty() ? rigSettingsFileName() : fileName, data, kRigSettingsLines);
    for (const Assign& assign : fileOrder()) {
        text::QuotedValue value;
        if (!values.next(value))
            break;
        const QString why = assign(value, settings);
        if (!why.isEmpty()) {
            values.refuse(why);
            break;
        }
    }
    if (damage)
        *damage = values.damage();
    return values.taken();
}

QByteArray rigSettingsBytes(const RigSettings& settings, QString* error)
{
    text::QuotedValueWriter writer;
    auto line = [&writer](const auto& value) {
        using T = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<T, QString>)
            writer.writeText(value);
        else
            writer.writeNumber(value);
        writer.endLine();
    };
    line(fixedWidth(settings.baudRate, 5));
    line(settings.parityCode);
    line(settings.dataBits);
    line(settings.stopBits);
    line(settings.modeQuery);
    line(settings.frequencyQuery);
    line(settings.commSettings);
    line(settings.commPortNumber);
    line(settings.powerCode);
    line(settings.pollRateCode);
    line(settings.rigName);
    line(settings.convertToHex ? 1 : 0);
    line(settings.useFrequency ? 1 : 0);
    line(int(settings.modeBy));
    line(settings.rigctldHost);
    line(int(settings.rigctldPort));
    line(settings.hamlibModel);
    line(settings.hamlibDevice);
    line(settings.hamlibSpeed);
    if (writer.failed()) {
        if (error)
            *error = QStringLiteral("%1 cannot be saved, %2").arg(rigSettingsFileName(), writer.errorText());
        return {};
    }
    return writer.data();
}

int loadRigSettings(const QString& folder, RigSettings& settings, QString* problem)
{
    const QString path = platform::fileInFolder(folder, rigSettingsFileName());
    int taken = 0;
    // A missing file, or one that ends cleanly after some whole values
    // (written by an older version), is no fault.
    const QString fault = platform::readSettingsFile(
        path,
        [&](const QByteArray& data, QString& found) {
            taken = readRigSettings(data, settings, &found, QDir::toNativeSeparators(path));
        },
        false);
    if (problem)
        *problem = platform::faultWithRemedy(
            fault, path,
            QStringLiteral(". The rig interface takes the settings before this line and keeps its defaults from there on"),
            QStringLiteral(". The rig interface starts with its defaults"),
            QStringLiteral(" (\"Use Frequency\" on, \"Mode by\" Rig). Check Options > Rig Interface; its Done button "
                           "writes the file whole again."));
    return taken;
}

bool saveRigSettings(const QString& folder, const RigSettings& settings, QString* error)
{
    const QByteArray data = rigSettingsBytes(settings, error);
    if (data.isEmpty())
        return false;
    return platform::writeFileAtomically(platform::fileInFolder(folder, rigSettingsFileName()), data, error);
}

} // namespace tenlog::rig
