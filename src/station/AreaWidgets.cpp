// Helpers shared by the main window's areas.
#include "station/AreaWidgets.h"

#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include <cmath>

namespace tenlog::station {

FixedWidthLabel::FixedWidthLabel(const QString& widestText, QWidget* parent)
    : QLabel(parent)
    , m_widestText(widestText)
{
    setTextFormat(Qt::PlainText);
    fitToWidestText();
}

void FixedWidthLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitToWidestText();
}

void FixedWidthLabel::fitToWidestText()
{
    const QMargins margins = contentsMargins();
    const QSize text = fontMetrics().size(Qt::TextSingleLine, m_widestText);
    setFixedSize(text.width() + margins.left() + margins.right() + 2 * margin() + 2,
                 text.height() + margins.top() + margins.bottom() + 2 * margin());
}

QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& text, const QString& accessibleName)
{
    auto* label = new QLabel(text, parent);
    if (!objectName.isEmpty())
        label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    if (!accessibleName.isEmpty())
        label->setAccessibleName(accessibleName);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& caption, const QString& tip,
                        const QString& accessibleName)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setToolTip(tip);
    button->setAccessibleName(accessibleName);
    if (!tip.isEmpty())
        button->setAccessibleDescription(tip);
    button->setFocusPolicy(Qt::NoFocus); // the entry line keeps the keyboard
    return button;
}

QFont headlineFont(const QFont& base)
{
    QFont big = base;
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    return big;
}

QColor textColourFor(const QColor& background)
{
    // Relative luminance as the contrast guidelines define it; black text
    // wins above about 0.18, where both choices give equal contrast.
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * channel(background.red()) + 0.7152 * channel(background.green())
                           + 0.0722 * channel(background.blue());
    return luminance > 0.179 ? QColor(Qt::black) : QColor(Qt::white);
}

void setBackground(QLabel* label, const QColor& background)
{
    if (label->autoFillBackground() && label->palette().color(QPalette::Window) == background)
        return;
    QPalette p = label->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, textColourFor(background));
    label->setPalette(p);
    label->setAutoFillBackground(true);
}

void announce(QLabel* label)
{
    // Setting the accessible name has already reported the new name; the
    // alert asks a screen reader to speak it although the focus is elsewhere.
    QAccessibleEvent alert(label, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

QColor lineTeal()
{
    return QColor(0, 192, 192);
}

} // namespace tenlog::station
