#include "voice/VoiceKeyerSettings.h"

#include "platform/DurableFile.h"
#include "text/QuotedValues.h"

#include <QDir>
#include <QFile>

namespace tenlog::voice {

namespace {

QString pathIn(const QString& folder)
{
    const QDir dir(folder);
    const QString wanted = QString::fromLatin1(voiceKeyerFileName);
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return dir.filePath(wanted);
}

} // namespace

bool readVoiceKeyerSettings(const QByteArray& data, VoiceKeyerSettings& settings)
{
    text::QuotedValueReader reader(data);
    text::QuotedValue value;
    for (int line = 1; line <= 13; ++line) {
        if (!reader.read(value))
            return false;
        const QString textValue = value.toText();
        if (line <= 9)
            settings.files[size_t(line - 1)] = textValue.trimmed();
        else if (line == 10)
            settings.port = textValue;
        else if (line == 11)
            settings.line = textValue == QLatin1String("0")   ? PttLine::Rts
                            : textValue == QLatin1String("1") ? PttLine::Dtr
                            : textValue == QLatin1String("2") ? PttLine::Parallel
                                                              : PttLine::None;
        else if (line == 12)
            settings.repeatSeconds = textValue;
        else
            settings.parallelAddress = textValue;
    }
    return true;
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
    QFile file(pathIn(folder));
    const bool opened = file.open(QIODevice::ReadOnly);
    if (opened && readVoiceKeyerSettings(file.readAll(), settings))
        return true;
    if (problem) {
        const QString path = QDir::toNativeSeparators(file.fileName());
        *problem = opened ? path + QStringLiteral(" is damaged: it ends before its last setting. The voice keyer uses its defaults for what could not be read.")
                          : path + QStringLiteral(" could not be read (") + file.errorString()
                                + QStringLiteral("). The voice keyer starts with no messages and no PTT port.");
        *problem += QStringLiteral(" Check Voice Setup; its Done button writes the file whole again.");
    }
    return false;
}

bool saveVoiceKeyerSettings(const QString& folder, const VoiceKeyerSettings& settings, QString* error)
{
    return platform::writeFileAtomically(pathIn(folder), writeVoiceKeyerSettings(settings), error);
}

} // namespace tenlog::voice
