// The link status lines beside the mode.
#include "station/LinkStatusArea.h"

#include "station/AreaWidgets.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace tenlog::station {

namespace {

QColor backgroundFor(common::LinkHealth health)
{
    switch (health) {
    case common::LinkHealth::Up:
        return QColor(192, 255, 192);
    case common::LinkHealth::Waiting:
        return QColor(255, 255, 192);
    case common::LinkHealth::Trouble:
        return QColor(255, 0, 0);
    case common::LinkHealth::Off:
        break;
    }
    return {};
}

} // namespace

LinkStatusArea::LinkStatusArea(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("linkStatusArea"));
    setAccessibleName(QStringLiteral("Link status"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    const struct {
        Link link;
        const char* objectName;
        const char* idleName;
    } lines[] = {{Link::Radio, "radioLinkStatus", "Radio link"},
                 {Link::Spots, "spotLinkStatus", "Spot source link"},
                 {Link::Keyer, "keyerLinkStatus", "Keyer link"}};
    for (const auto& made : lines) {
        Line& shown = line(made.link);
        shown.idleName = QString::fromLatin1(made.idleName);
        shown.label = makeLabel(this, QString::fromLatin1(made.objectName), QString(), shown.idleName);
        // However long the words, the line never widens the window.
        shown.label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        shown.label->setMargin(2);
        shown.label->hide();
        shown.label->installEventFilter(this); // a new width shows more or less of the text
        column->addWidget(shown.label);
    }
    column->addStretch(1);
}

void LinkStatusArea::showLink(Link link, const common::LinkStatus& status)
{
    Line& shown = line(link);
    QLabel* label = shown.label;
    const bool off = status.health == common::LinkHealth::Off || status.text.isEmpty();
    const bool healthChanged = status.health != shown.health;
    shown.health = status.health;
    shown.text = off ? QString() : status.text;
    if (off) {
        label->clear();
        label->setToolTip(QString());
        label->setAccessibleName(shown.idleName);
        label->setAccessibleDescription(QString());
        label->hide();
        return;
    }
    setBackground(label, backgroundFor(status.health));
    const bool bold = status.health == common::LinkHealth::Trouble;
    if (label->font().bold() != bold) {
        QFont font = label->font();
        font.setBold(bold);
        label->setFont(font);
    }
    fit(shown);
    label->setToolTip(status.detail.isEmpty() ? status.text : status.text + u'\n' + status.detail);
    label->setAccessibleName(status.text);
    label->setAccessibleDescription(status.detail);
    label->show();
    // Every poll may bring a new frequency: only a change of health is
    // worth interrupting the operator for.
    if (healthChanged)
        announce(label);
}

QString LinkStatusArea::text(Link link) const
{
    const Line& shown = line(link);
    return shown.label->isHidden() ? QString() : shown.text;
}

void LinkStatusArea::fit(Line& shown)
{
    const int room = shown.label->contentsRect().width() - 2 * shown.label->margin();
    const QFontMetrics metrics(shown.label->font());
    shown.label->setText(room > 0 ? metrics.elidedText(shown.text, Qt::ElideRight, room) : shown.text);
}

bool LinkStatusArea::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        for (Line& shown : m_lines) {
            if (shown.label == watched && !shown.text.isEmpty())
                fit(shown);
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tenlog::station
