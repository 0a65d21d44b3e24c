#include "common/ui/PortDeviceRow.h"

#include "common/ui/NamedWidget.h"
#include "common/ui/SerialDeviceChooser.h"
#include "platform/ComPortMapFile.h"
#include "platform/Dialogs.h"
#include "platform/SerialDevices.h"
#include "text/NumberText.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tenlog::common {

namespace {

QString capitalised(const QString& text)
{
    return text.isEmpty() ? text : text.left(1).toUpper() + text.mid(1);
}

void addAtEnd(QLayout* layout, QWidget* row)
{
    if (auto* grid = qobject_cast<QGridLayout*>(layout))
        grid->addWidget(row, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    else
        layout->addWidget(row);
}

} // namespace

PortDeviceRow::PortDeviceRow(PortDevices& devices, platform::Dialogs& dialogs, std::function<int()> portNumber,
                             const QString& purpose, QWidget* follows, QWidget* parent)
    : QWidget(parent)
    , m_devices(devices)
    , m_dialogs(dialogs)
    , m_portNumber(std::move(portNumber))
    , m_purpose(purpose)
    , m_follows(follows)
{
    setObjectName(QStringLiteral("portDevice"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_device = named(new QLabel(this), QStringLiteral("lblPortDevice"), capitalised(purpose) + QStringLiteral(" port device"));
    m_device->setTextFormat(Qt::PlainText);
    m_device->setWordWrap(true);
    // A long device name wraps or is cut, and never widens the window; the
    // tooltip and the spoken name keep all of it.
    m_device->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_choose = named(new QPushButton(QStringLiteral("C&hoose..."), this), QStringLiteral("cmdChoosePortDevice"),
                     QStringLiteral("Choose the device for the %1 port").arg(purpose));
    m_choose->setAutoDefault(false);
    layout->addWidget(m_device, 1);
    layout->addWidget(m_choose);
    connect(m_choose, &QPushButton::clicked, this, &PortDeviceRow::choose);
    if (m_follows) {
        setEnabled(m_follows->isEnabled());
        m_follows->installEventFilter(this);
    }
}

bool PortDeviceRow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_follows && event->type() == QEvent::EnabledChange)
        setEnabled(m_follows->isEnabled());
    return QWidget::eventFilter(watched, event);
}

void PortDeviceRow::refresh()
{
    const int number = m_portNumber();
    const platform::ComPortMap& map = *m_devices.mapping.map();
    const QString text = platform::portDeviceText(number, map, m_devices.devices);
    m_device->setText(text);
    m_device->setAccessibleName(capitalised(m_purpose) + QStringLiteral(" port: ") + text);
    const QString mapped = map.devicePathFor(number);
    m_device->setToolTip(mapped.isEmpty() || text.contains(mapped)
                             ? text
                             : text + QStringLiteral("\nMapped as ") + mapped + QStringLiteral(" in ") + map.filePath());
    m_choose->setEnabled(!mapped.isEmpty());
}

void PortDeviceRow::showEvent(QShowEvent* event)
{
    refresh();
    QWidget::showEvent(event);
}

void PortDeviceRow::choose()
{
    const int number = m_portNumber();
    if (m_devices.mapping.map()->devicePathFor(number).isEmpty())
        return;
    SerialDeviceChooser chooser(m_devices, number, window());
    if (m_dialogs.runModal(&chooser) != QDialog::Accepted)
        return;
    refresh();
    emit mapped(number);
}

PortDeviceRow* addPortDeviceRow(QLayout* layout, QButtonGroup* choice, PortDevices* devices,
                                platform::Dialogs& dialogs, const QString& purpose, std::function<void()> whenMapped)
{
    if (!devices)
        return nullptr;
    QWidget* buttons = choice->buttons().isEmpty() ? nullptr : choice->buttons().front()->parentWidget();
    auto* row = new PortDeviceRow(*devices, dialogs, [choice] { return choice->checkedId() + 1; }, purpose, buttons,
                                  layout->parentWidget());
    QObject::connect(choice, &QButtonGroup::idToggled, row, [row](int, bool on) {
        if (on && row->isVisible())
            row->refresh();
    });
    QObject::connect(row, &PortDeviceRow::mapped, row, [whenMapped = std::move(whenMapped)] { whenMapped(); });
    addAtEnd(layout, row);
    return row;
}

PortDeviceRow* addPortDeviceRow(QLayout* layout, QLineEdit* choice, PortDevices* devices, platform::Dialogs& dialogs,
                                const QString& purpose, std::function<void()> whenMapped)
{
    if (!devices)
        return nullptr;
    // The keyers take the number as typed, whole ports only ("3.7" is 3).
    const auto number = [choice] {
        const double value = text::val(choice->text());
        return value >= 1 && value < 11 ? static_cast<int>(value) : 0;
    };
    auto* row = new PortDeviceRow(*devices, dialogs, number, purpose, choice, layout->parentWidget());
    QObject::connect(choice, &QLineEdit::textChanged, row, [row] {
        if (row->isVisible())
            row->refresh();
    });
    QObject::connect(row, &PortDeviceRow::mapped, row, [whenMapped = std::move(whenMapped)] { whenMapped(); });
    addAtEnd(layout, row);
    return row;
}

} // namespace tenlog::common
