#include "common/ui/OptionGroupTabbing.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QHash>
#include <QRadioButton>
#include <QWidget>

namespace tenlog::common {

namespace {

// The focus policy a button had before it was taken off the Tab chain, so
// it can have it back when it becomes the chosen option.
constexpr char kOwnPolicy[] = "tenlogOwnFocusPolicy";

// The buttons that are one choice: those of an exclusive button group, or
// the auto-exclusive ones sharing a parent, in the order they were made.
QList<QAbstractButton*> groupOf(QAbstractButton* button)
{
    if (QButtonGroup* group = button->group())
        return group->exclusive() ? group->buttons() : QList<QAbstractButton*>{};
    if (!button->autoExclusive() || !button->parentWidget())
        return {};
    QList<QAbstractButton*> siblings;
    for (auto* sibling : button->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        if (sibling->autoExclusive() && !sibling->group())
            siblings.append(sibling);
    return siblings;
}

void placeTabStop(const QList<QAbstractButton*>& options)
{
    auto ownPolicy = [](QAbstractButton* option) {
        return Qt::FocusPolicy(option->property(kOwnPolicy).toInt());
    };
    QAbstractButton* stop = nullptr;
    for (QAbstractButton* option : options)
        if (option->isChecked() && option->isEnabled())
            stop = option;
    for (QAbstractButton* option : options)
        if (!stop && option->isEnabled() && (ownPolicy(option) & Qt::TabFocus))
            stop = option;
    // A whole group turned off (its frame disabled until another choice
    // needs it) keeps its stop on the chosen option, ready for when it is
    // turned on again: Tab skips it meanwhile as it skips anything disabled.
    for (QAbstractButton* option : options)
        if (!stop && option->isChecked())
            stop = option;
    for (QAbstractButton* option : options)
        if (!stop && (ownPolicy(option) & Qt::TabFocus))
            stop = option;
    for (QAbstractButton* option : options) {
        const Qt::FocusPolicy own = ownPolicy(option);
        option->setFocusPolicy(option == stop ? own : Qt::FocusPolicy(own & ~Qt::TabFocus));
    }
}

} // namespace

OptionGroupTabbing::OptionGroupTabbing(QObject* parent)
    : QObject(parent)
{
}

void OptionGroupTabbing::applyTo(QWidget* window)
{
    for (QRadioButton* button : window->findChildren<QRadioButton*>()) {
        const QList<QAbstractButton*> options = groupOf(button);
        if (options.size() < 2)
            continue;
        for (QAbstractButton* option : options) {
            if (option->property(kOwnPolicy).isValid())
                continue;
            option->setProperty(kOwnPolicy, int(option->focusPolicy()));
            // A choice made by mouse, arrow key or program moves the tab stop.
            QObject::connect(option, &QAbstractButton::toggled, option, [option] {
                const QList<QAbstractButton*> group = groupOf(option);
                for (QAbstractButton* member : group)
                    if (!member->property(kOwnPolicy).isValid())
                        return; // a member added since; the next Show takes it in
                placeTabStop(group);
            });
        }
        placeTabStop(options);
    }
}

bool OptionGroupTabbing::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow())
            applyTo(widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tenlog::common
