#include "voice/VoiceKeyerSettings.h"

#include "platform/DurableFile.h"
#include "platform/SettingsFile.h"
#include "platform/ParallelKeyLine.h"
#include "text/NumberText.h"
#include "text/QuotedValues.h"
#include "text/SettingsValues.h"

#include <QDir>

#include <cmath>

namespace tenlog::voice {

namespace {

QString pathIn(const QString& folder)
{
    return platform::fileInFolder(folder, QString::fromLatin1(voiceKeyerFileName));
}

QString quoted(const QString& text)
{
    return text::shownValue(text);
}

bool isWholeNumberIn(const QString& text, double min, double max)
{
    if (!text::isNumeric(text))
        return false;
    const double number = text::val(text);
    return number == std::trunc(number) && number >= min && number <= max;
}

// Takes one line's value into settings; the reason, in words, when it does not fit.
QString take(int line, const QString& value, VoiceKeyerSettings& settings)
{
    if (line <= 9) {
        settings.files[size_t(line - 1)] = value.trimmed();
    } else if (line == 10) {
        if (!isWholeNumberIn(value.trimmed(), 0, 10))
            return QStringLiteral("the PTT port is %1, not a port number from 1 to 10 (or 0 for none)").arg(quoted(value));
        settings.port = value;
    } else if (line == 11) {
        if (value.isEmpty())
            settings.line = PttLine::None;
        else if (value == QLatin1String("0"))
            settings.line = PttLine::Rts;
        else if (value == QLatin1String("1"))
            settings.line = PttLine::Dtr;
        else if (value == QLatin1String("2"))
            settings.line = PttLine::Parallel;
        else {
            // Nothing keys the transmitter on a line the file does not name.
            settings.line = PttLine::None;
            return QStringLiteral("the PTT line is %1, not 0 (RTS), 1 (DTR) or 2 (Parallel)").arg(quoted(value));
        }
    } else if (line == 12) {
        const double seconds = text::val(value);
        if (!text::isNumeric(value) || seconds < 0 || seconds >= 60)
            return QStringLiteral("the repeat pause is %1, not a number of seconds from 0 to 59").arg(quoted(value));
        settings.repeatSeconds = value;
    } else {
        if (!value.isEmpty() && !platform::ParallelKeyLine::parseAddress(value))
            return QStringLiteral("the parallel port address is %1, not an address such as &H378").arg(quoted(value));
        settings.parallelAddress = value;
    }
    return {};
}

} // namespace

bool readVoiceKeyerSettings(const QByteArray& data, VoiceKeyerSettings& settings, QString* damage,
                            const QString& fileName)
{
    const QString name = fileName.isEmpty() ? QString::fromLatin1(voiceKeyerFileName) : fileName;
    text::SettingsValues values(name, data, kVoiceKeyerValueCount);
    text::QuotedValue value;
    for (int line = 1; line <= kVoiceKeyerValueCount && values.next(value); ++line) {
        // Every line but the PTT line's code holds text.
        const QString why = line != 11 && !text::isQuotedText(value)
            ? QStringLiteral("the value is %1, not text in quotes").arg(quoted(value.toText()))
            : take(line, value.toText(), settings);
        if (!why.isEmpty()) {
            values.refuse(why);
            break;
        }
    }
    QString fault = values.damage();
    if (fault.isEmpty() && values.endedShort())
        fault = QStringLiteral("%1 ends after %2 of its %3 values").arg(name).arg(values.taken()).arg(kVoiceKeyerValueCount);
    if (damage)
        *damage = fault;
    return fault.isEmpty();
}

QByteArray writeVoiceKeyerSettings(const VoiceKeyerSettings& settings)
{
    text::QuotedValueWriter out;
    const auto text = [&out](QString value) {
        value.remove(QLatin1Char('"')); // a quoted field cannot hold one
        out.writeText(value);
        out.endLine();
    };
    for (const QString& file : settings.files)
        text(file.trimmed());
    text(settings.port);
    switch (settings.line) {
    case PttLine::Rts: out.writeNumber(0); break;
    case PttLine::Dtr: out.writeNumber(1); break;
    case PttLine::Parallel: out.writeNumber(2); break;
    case PttLine::None: out.writeEmpty(); break;
    }
    out.endLine();
    text(settings.repeatSeconds);
    text(settings.parallelAddress);
    return out.data();
}

bool loadVoiceKeyerSettings(const QString& folder, VoiceKeyerSettings& settings, QString* problem)
{
    const QString path = pathIn(folder);
    const QString fault = platform::readSettingsFile(
        path,
        [&](const QByteArray& data, QString& found) {
            readVoiceKeyerSettings(data, settings, &found, QDir::toNativeSeparators(path));
        },
        true);
    if (problem)
        *problem = platform::faultWithRemedy(
            fault, path,
            QStringLiteral(". The voice keyer takes the settings before this line and keeps its defaults from there on."),
            QStringLiteral(". The voice keyer starts with its defaults: no message files, no PTT port."),
            QStringLiteral(" Check Voice Setup; its Done button writes the file whole again."));
    return fault.isEmpty();
}

bool saveVoiceKeyerSettings(const QString& folder, const VoiceKeyerSettings& settings, QString* error)
{
    return platform::writeFileAtomically(pathIn(folder), writeVoiceKeyerSettings(settings), error);
}

} // namespace tenlog::voice
