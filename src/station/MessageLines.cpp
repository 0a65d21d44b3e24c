// The message line and the partial-duplicate line.
#include "station/MessageLines.h"

#include "station/AreaWidgets.h"

#include <QFontMetrics>
#include <QLabel>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace tenlog::station {

namespace {

// Text from the log or the network can be any length; a line shows what fits.
constexpr int kLongestShown = 400;

QString shown(const QString& text)
{
    return text.size() > kLongestShown ? text.left(kLongestShown) + QChar(0x2026) : text;
}

// What of text the label can show whole in its fixed lines: a text that
// would wrap past them is cut at a word and ends in an ellipsis (the full
// text stays in the tooltip and the accessible name), rather than being
// clipped at the top and bottom.
QString fitted(const QLabel* label, const QString& text)
{
    const QRect room = label->contentsRect();
    if (text.isEmpty() || room.width() <= 0)
        return text;
    const QFontMetrics metrics(label->font());
    const auto fits = [&](const QString& candidate) {
        return metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap, candidate).height()
            <= room.height();
    };
    if (fits(text))
        return text;
    qsizetype low = 0;
    qsizetype high = text.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (fits(text.left(middle) + QChar(0x2026)))
            low = middle;
        else
            high = middle - 1;
    }
    const qsizetype space = text.left(low).lastIndexOf(QLatin1Char(' '));
    return text.left(space > low / 2 ? space : low).trimmed() + QChar(0x2026);
}

} // namespace

MessageLines::MessageLines(QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    m_message = makeLabel(this, QStringLiteral("lblDialog"), QString(), QStringLiteral("Message"));
    const QFont big = headlineFont(m_message->font());
    m_message->setFont(big);
    m_message->setWordWrap(true);
    // Two lines of the big font: a long message wraps without moving what is below.
    m_message->setFixedHeight(QFontMetrics(big).height() * 2 + 6);
    setBackground(m_message, lineTeal());
    // However long the text, the line never widens the window.
    m_message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    column->addWidget(m_message);

    column->addWidget(makeLabel(this, QStringLiteral("lblPossDup"), QStringLiteral("               Possible Duplicates"),
                                QStringLiteral("Possible duplicates")));
    m_dupeLine = makeLabel(this, QStringLiteral("lblDupe"), QString(), QStringLiteral("Possible duplicates list"));
    m_dupeLine->setAccessibleDescription(
        QStringLiteral("Calls already worked on this mode that begin with the call being typed; also the details "
                       "of a multiplier under the mouse."));
    m_dupeLine->setWordWrap(true);
    m_dupeLine->setFixedHeight(m_dupeLine->fontMetrics().height() * 3 + 4);
    setBackground(m_dupeLine, palette().color(QPalette::Button));
    m_dupeLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    column->addWidget(m_dupeLine);
}

QString MessageLines::message() const
{
    return m_messageText;
}

void MessageLines::setMessage(const QString& text, bool red)
{
    setMessageRed(red);
    if (m_messageText == shown(text))
        return;
    m_messageText = shown(text);
    showFitted();
    m_message->setAccessibleName(text.trimmed().isEmpty() ? QStringLiteral("Message") : shown(text));
    if (!text.trimmed().isEmpty())
        announce(m_message);
}

void MessageLines::showFitted()
{
    const QString visible = fitted(m_message, m_messageText);
    m_message->setText(visible);
    m_message->setToolTip(visible == m_messageText ? QString() : m_messageText);
}

void MessageLines::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    showFitted();
}

void MessageLines::setMessageRed(bool red)
{
    setBackground(m_message, red ? QColor(255, 0, 0) : lineTeal());
}

void MessageLines::whitenBoth()
{
    setBackground(m_message, Qt::white);
    setBackground(m_dupeLine, Qt::white);
}

void MessageLines::setKeyboardCwShown(bool on)
{
    setBackground(m_message, on ? QColor(255, 255, 192) : lineTeal());
}

void MessageLines::setDupeLine(const QString& text)
{
    setBackground(m_dupeLine, text.isEmpty() ? palette().color(QPalette::Button) : lineTeal());
    if (m_dupeLine->text() == shown(text))
        return;
    m_dupeLine->setText(shown(text));
    m_dupeLine->setAccessibleName(text.isEmpty() ? QStringLiteral("Possible duplicates list")
                                                 : QStringLiteral("Possible duplicates: ") + shown(text));
}

} // namespace tenlog::station
