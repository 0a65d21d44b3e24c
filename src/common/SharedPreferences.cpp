// The shared preferences document, edited as text.
#include "common/SharedPreferences.h"

#include "platform/DurableFile.h"

#include <QFileInfo>

namespace tenlog::common {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Values are operator text (names, addresses); escape what would break the
// element structure for the XML readers of the other programs.
QString escapeValue(const QString& value)
{
    QString out = value;
    out.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    out.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    out.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return out;
}

} // namespace

QString SharedPreferences::declaration()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
}

void SharedPreferences::load(const QString& path)
{
    m_path = path;
    QByteArray data;
    if (!QFileInfo(path).isFile() || !platform::readWholeFile(path, &data)) {
        m_text = declaration();
        return;
    }
    // The save adds one line end; take it off again so a load and a save give
    // the same bytes. Only a real line end is removed: a file written by
    // another program may end without one.
    if (data.endsWith("\r\n"))
        data.chop(2);
    else if (data.endsWith('\n'))
        data.chop(1);
    // Held byte for byte (Latin-1 maps each byte to one character), so bytes
    // this program does not understand are written back unchanged.
    m_text = QString::fromLatin1(data);
    // An empty file would otherwise become a document without its declaration.
    if (m_text.isEmpty())
        m_text = declaration();
}

bool SharedPreferences::setValue(const QString& tag, const QString& value, bool saveNow)
{
    const QString name = tag.toUpper();
    const QString open = QLatin1Char('<') + name + QLatin1Char('>');
    const QString close = QStringLiteral("</") + name + QLatin1Char('>');
    // The document declares UTF-8: store the value's UTF-8 bytes.
    const QString escaped = QString::fromLatin1(escapeValue(value).toUtf8());

    const qsizetype at = m_text.indexOf(open);
    if (at >= 0) {
        const qsizetype valueStart = at + open.size();
        qsizetype closeAt = m_text.indexOf(close, valueStart);
        if (closeAt < 0) {
            // A damaged element without its closing tag: rewrite the rest of its line.
            qsizetype lineEnd = m_text.indexOf(kLineEnd, valueStart);
            if (lineEnd < 0)
                lineEnd = m_text.size();
            m_text = m_text.left(valueStart) + escaped + close + m_text.mid(lineEnd);
        } else {
            m_text = m_text.left(valueStart) + escaped + m_text.mid(closeAt);
        }
    } else {
        m_text += kLineEnd + open + escaped + close;
    }
    if (saveNow)
        return save(m_path);
    return true;
}

bool SharedPreferences::save(const QString& path)
{
    m_path = path;
    m_lastError.clear();
    return platform::writeFileAtomically(path, (m_text + kLineEnd).toLatin1(), &m_lastError);
}

QString callSignFileStem(const QString& callSign)
{
    qsizetype length = 0;
    for (const QChar c : callSign) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z')))
            break;
        ++length;
    }
    if (length == 0)
        return QStringLiteral("YourCall");
    return callSign.left(length);
}

} // namespace tenlog::common
