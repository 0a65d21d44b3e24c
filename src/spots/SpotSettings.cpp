#include "spots/SpotSettings.h"

#include "platform/DurableFile.h"
#include "text/QuotedValues.h"

namespace tenlog::spots {

namespace {

constexpr int kValueCount = 14;

template <typename T>
std::optional<T> fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

} // namespace

QString spotSettingsFileName()
{
    return QStringLiteral("PackSpot.txt");
}

std::optional<SpotSettings> parseSpotSettings(const QByteArray& data, QString* error)
{
    const QList<text::QuotedValue> values = text::QuotedValueReader::readAll(data);
    if (values.size() < kValueCount)
        return fail<SpotSettings>(error, QStringLiteral("%1 holds %2 of its %3 values")
                                             .arg(spotSettingsFileName())
                                             .arg(values.size())
                                             .arg(kValueCount));
    bool ok = true;
    const auto whole = [&](int i, int low, int high) {
        bool numeric = false;
        const double value = values.at(i).toDouble(&numeric);
        ok = ok && numeric && value >= low && value <= high;
        return static_cast<int>(value);
    };
    SpotSettings s;
    s.baud = values.at(0).toText();
    s.parity = values.at(1).toText();
    s.dataBits = values.at(2).toText();
    s.stopBits = values.at(3).toText();
    s.port = whole(4, 0, 255);
    s.power = values.at(5).toText();
    s.source = values.at(6).toText();
    s.convertToHex = whole(7, -32768, 32767);
    s.handshake = whole(8, 0, 255);
    bool isBool = false;
    s.listDisplay = values.at(10).toBool(&isBool);
    ok = ok && isBool;
    s.commandCharacter = values.at(11).toText();
    s.telnetPort = values.at(12).toText();
    s.telnetHost = values.at(13).toText();
    if (!ok)
        return fail<SpotSettings>(error, spotSettingsFileName() + QStringLiteral(" holds a value of the wrong kind"));
    return s;
}

std::optional<QByteArray> spotSettingsBytes(const SpotSettings& s, QString* error)
{
    text::QuotedValueWriter writer;
    const auto line = [&](auto write) {
        write();
        writer.endLine();
    };
    line([&] { writer.writeText(s.baud); });
    line([&] { writer.writeText(s.parity); });
    line([&] { writer.writeText(s.dataBits); });
    line([&] { writer.writeText(s.stopBits); });
    line([&] { writer.writeNumber(s.port); });
    line([&] { writer.writeText(s.power); });
    line([&] { writer.writeText(s.source); });
    line([&] { writer.writeNumber(s.convertToHex); });
    line([&] { writer.writeNumber(s.handshake); });
    line([&] { writer.writeNumber(s.listDxOnly); });
    line([&] { writer.writeBool(s.listDisplay); });
    line([&] { writer.writeText(s.commandCharacter); });
    line([&] { writer.writeText(s.telnetPort); });
    line([&] { writer.writeText(s.telnetHost); });
    if (writer.failed())
        return fail<QByteArray>(error, spotSettingsFileName() + QStringLiteral(" cannot be saved, ") + writer.errorText());
    return writer.data();
}

std::optional<SpotSettings> loadSpotSettings(const QString& folder, QString* error)
{
    QByteArray data;
    if (!platform::readWholeFile(platform::fileInFolder(folder, spotSettingsFileName()), &data, error))
        return std::nullopt;
    return parseSpotSettings(data, error);
}

bool saveSpotSettings(const QString& folder, const SpotSettings& settings, QString* error)
{
    const std::optional<QByteArray> bytes = spotSettingsBytes(settings, error);
    return bytes && platform::writeFileAtomically(platform::fileInFolder(folder, spotSettingsFileName()), *bytes, error);
}

} // namespace tenlog::spots
