#include "cw/CwSettings.h"

#include "platform/DurableFile.h"
#include "platform/SettingsFile.h"
#include "text/QuotedValues.h"
#include "text/SettingsValues.h"

#include <QDir>

namespace tenlog::cw {

namespace {

QString textOf(const text::QuotedValue& value)
{
    return value.toText();
}

bool outputFromCode(double code, KeyOutput& output)
{
    for (KeyOutput known : {KeyOutput::None, KeyOutput::Rts, KeyOutput::Dtr, KeyOutput::Parallel, KeyOutput::WinKey}) {
        if (code == double(int(known))) {
            output = known;
            return true;
        }
    }
    return false;
}

} // namespace

bool readCwSettings(const QByteArray& data, CwSettings& settings, QString* damage, const QString& fileName)
{
    const QString name = fileName.isEmpty() ? QString::fromLatin1(cwSettingsFileName) : fileName;
    text::SettingsValues values(name, data, kCwSettingsValueCount);
    text::QuotedValue value;
    for (int line = 1; line <= kCwSettingsValueCount && values.next(value); ++line) {
        // Every line but the keying output and the display switch holds text.
        QString why;
        if (line != 15 && line != 17 && !text::isQuotedText(value)) {
            values.refuse(QStringLiteral("the value is %1, not text in quotes").arg(text::shownValue(value.toText())));
            break;
        }
        switch (line) {
        case 10: settings.port = textOf(value); break;
        case 11: settings.wpm = textOf(value); break;
        case 12: settings.messages[9] = textOf(value); break;
        case 13: settings.messages[10] = textOf(value); break;
        case 14: settings.wordSpace = textOf(value); break;
        case 15: {
            bool ok = false;
            const double code = value.toDouble(&ok);
            // An output code the program does not know keys nothing.
            if (!ok)
                why = QStringLiteral("the keying output is \"%1\", not a number").arg(value.toText());
            else if (!outputFromCode(code, settings.output))
                settings.output = KeyOutput::None;
            break;
        }
        case 16: settings.parallelAddress = textOf(value); break;
        case 17: {
            bool ok = false;
            const double shown = value.toDouble(&ok);
            if (!ok)
                why = QStringLiteral("the main window display switch is \"%1\", not a number").arg(value.toText());
            else
                settings.showOnMainWindow = shown != 0;
            break;
        }
        case 18: settings.repeatSeconds = textOf(value); break;
        default:
            settings.messages[size_t(line - 1)] = textOf(value);
            if (line == 9 && settings.messages[8].isEmpty())
                settings.messages[8] = QStringLiteral("VVV DE ");
        }
        if (!why.isEmpty()) {
            values.refuse(why);
            break;
        }
    }
    QString fault = values.damage();
    if (fault.isEmpty() && values.endedShort())
        fault = QStringLiteral("%1 ends after %2 of its %3 values").arg(name).arg(values.taken()).arg(kCwSettingsValueCount);
    if (damage)
        *damage = fault;
    return fault.isEmpty();
}

QByteArray writeCwSettings(const CwSettings& settings)
{
    text::QuotedValueWriter out;
    const auto text = [&out](const QString& value) {
        QString clean = value;
        clean.remove(QLatin1Char('"'));
        // Characters outside Latin-1 have no Morse pattern either.
        for (QChar& c : clean) {
            if (c.unicode() > 255)
                c = QLatin1Char('?');
        }
        out.writeText(clean);
        out.endLine();
    };
    for (int i = 0; i < 9; ++i)
        text(settings.messages[size_t(i)]);
    text(settings.port);
    text(settings.wpm);
    text(settings.messages[9]);
    text(settings.messages[10]);
    text(settings.wordSpace);
    out.writeNumber(int(settings.output));
    out.endLine();
    text(settings.parallelAddress);
    out.writeNumber(settings.showOnMainWindow ? 1 : 0);
    out.endLine();
    text(settings.repeatSeconds);
    return out.data();
}

QString cwSettingsPath(const QString& folder)
{
    return platform::fileInFolder(folder, QString::fromLatin1(cwSettingsFileName));
}

bool loadCwSettings(const QString& folder, CwSettings& settings, QString* problem)
{
    const QString path = cwSettingsPath(folder);
    const QString fault = platform::readSettingsFile(
        path, [&](const QByteArray& data, QString& found) { readCwSettings(data, settings, &found, QDir::toNativeSeparators(path)); },
        true);
    if (problem)
        *problem = platform::faultWithRemedy(
            fault, path, QStringLiteral(". CW takes the settings before this line and keeps its defaults from there on."),
            QStringLiteral(". CW starts with its defaults: empty messages, no keying output."),
            QStringLiteral(" Check CW Setup; its Done button writes the file whole again."));
    return fault.isEmpty();
}

bool saveCwSettings(const QString& folder, const CwSettings& settings, QString* error)
{
    return platform::writeFileAtomically(cwSettingsPath(folder), writeCwSettings(settings), error);
}

} // namespace tenlog::cw
