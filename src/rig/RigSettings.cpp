#include "rig/RigSettings.h"

#include "platform/DurableFile.h"
#include "text/NumberText.h"
#include "text/QuotedValues.h"

#include <cmath>
#include <functional>
#include <vector>

namespace tenlog::rig {

namespace {

// A whole number from a value, or nothing when it is not one in [min, max].
std::optional<int> wholeNumber(const text::QuotedValue& value, int min, int max)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const double whole = text::roundHalfEven(number);
    if (whole < min || whole > max)
        return std::nullopt;
    return int(whole);
}

using Assign = std::function<bool(const text::QuotedValue&, RigSettings&)>;

Assign textField(QString RigSettings::*member, int width = 0)
{
    return [member, width](const text::QuotedValue& value, RigSettings& settings) {
        settings.*member = width > 0 ? fixedWidth(value.toText(), width) : value.toText();
        return true;
    };
}

Assign checkBox(bool RigSettings::*member)
{
    return [member](const text::QuotedValue& value, RigSettings& settings) {
        const std::optional<int> number = wholeNumber(value, 0, 1);
        if (!number)
            return false;
        settings.*member = *number == 1;
        return true;
    };
}

const std::vector<Assign>& fileOrder()
{
    static const std::vector<Assign> order = {
        textField(&RigSettings::baudRate, 5),
        textField(&RigSettings::parityCode, 1),
        textField(&RigSettings::dataBits, 1),
        textField(&RigSettings::stopBits, 1),
        textField(&RigSettings::modeQuery),
        textField(&RigSettings::frequencyQuery),
        textField(&RigSettings::commSettings),
        [](const text::QuotedValue& value, RigSettings& settings) {
            const std::optional<int> number = wholeNumber(value, 0, 255);
            if (number)
                settings.commPortNumber = *number;
            return number.has_value();
        },
        textField(&RigSettings::powerCode),
        textField(&RigSettings::pollRateCode),
        textField(&RigSettings::rigName),
        checkBox(&RigSettings::convertToHex),
        checkBox(&RigSettings::useFrequency),
        [](const text::QuotedValue& value, RigSettings& settings) {
            const std::optional<int> number = wholeNumber(value, -32768, 32767);
            // A number that names no option leaves the choice as it was.
            if (number && *number >= 1 && *number <= 3)
                settings.modeBy = ModeBy(*number);
            return number.has_value();
        },
        textField(&RigSettings::rigctldHost),
        [](const text::QuotedValue& value, RigSettings& settings) {
            const std::optional<int> number = wholeNumber(value, 1, 65535);
            if (number)
                settings.rigctldPort = quint16(*number);
            return number.has_value();
        },
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

int readRigSettings(const QByteArray& data, RigSettings& settings)
{
    text::QuotedValueReader reader(data);
    int taken = 0;
    for (const Assign& assign : fileOrder()) {
        text::QuotedValue value;
        if (!reader.read(value) || !assign(value, settings))
            break;
        ++taken;
    }
    return taken;
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
    if (writer.failed()) {
        if (error)
            *error = QStringLiteral("%1 cannot be saved, %2").arg(rigSettingsFileName(), writer.errorText());
        return {};
    }
    return writer.data();
}

int loadRigSettings(const QString& folder, RigSettings& settings)
{
    QByteArray data;
    if (!platform::readWholeFile(platform::fileInFolder(folder, rigSettingsFileName()), &data))
        return 0;
    return readRigSettings(data, settings);
}

bool saveRigSettings(const QString& folder, const RigSettings& settings, QString* error)
{
    const QByteArray data = rigSettingsBytes(settings, error);
    if (data.isEmpty())
        return false;
    return platform::writeFileAtomically(platform::fileInFolder(folder, rigSettingsFileName()), data, error);
}

} // namespace tenlog::rig
