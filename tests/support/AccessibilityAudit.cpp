// The accessibility walk behind controlsWithoutAccessibleName().
#include "AccessibilityAudit.h"

#include <QAccessible>
#include <QLabel>
#include <QMetaEnum>
#include <QWidget>

namespace tenlog::testing {

namespace {

bool isControlRole(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::PushButton:
    case QAccessible::RadioButton:
    case QAccessible::CheckBox:
    case QAccessible::ComboBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
        return true;
    default:
        return false;
    }
}

// A label without an objectName that shows nothing is layout filler; one
// with an objectName or with something on it is information for the operator.
// A label showing a picture has the Graphic role.
bool isInformativeLabel(QAccessibleInterface* item)
{
    if (item->role() != QAccessible::StaticText && item->role() != QAccessible::Graphic)
        return false;
    const QObject* object = item->object();
    if (object && !object->objectName().isEmpty())
        return true;
    if (const auto* label = qobject_cast<const QLabel*>(object))
        return !label->text().isEmpty() || !label->pixmap().isNull();
    return false;
}

QString describe(QAccessibleInterface* item)
{
    const QObject* object = item->object();
    const QString name = object && !object->objectName().isEmpty() ? object->objectName()
                                                                   : QStringLiteral("<no objectName>");
    const char* className = object ? object->metaObject()->className() : "?";
    const char* role = QMetaEnum::fromType<QAccessible::Role>().valueToKey(item->role());
    return QStringLiteral("%1 (%2, %3)")
        .arg(name, QString::fromLatin1(className), role ? QString::fromLatin1(role) : QString::number(item->role()));
}

void walk(QAccessibleInterface* item, QStringList& unnamed)
{
    if (!item || !item->isValid() || item->state().invisible)
        return;
    if ((isControlRole(item->role()) || isInformativeLabel(item)) && item->text(QAccessible::Name).isEmpty())
        unnamed << describe(item);
    for (int i = 0; i < item->childCount(); ++i)
        walk(item->child(i), unnamed);
}

} // namespace

QStringList controlsWithoutAccessibleName(QWidget* root)
{
    QStringList unnamed;
    walk(QAccessible::queryAccessibleInterface(root), unnamed);
    return unnamed;
}

} // namespace tenlog::testing
