#include "rig/ui/HamlibRadioFrame.h"

#include "platform/SerialDevices.h"
#include "rig/HamlibModels.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>

namespace tenlog::rig {

namespace {

enum Source { Running = 0, StartHere = 1 };

QLabel* captionFor(QWidget* buddy, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

HamlibRadioFrame::HamlibRadioFrame(HamlibModelCatalog* catalog, const platform::SerialDeviceList* devices,
                                   QWidget* parent)
    : QGroupBox(QStringLiteral("Hamlib rigctld:"), parent)
    , m_catalog(catalog)
    , m_devices(devices)
{
    setObjectName(QStringLiteral("fraRigctld"));
    setAccessibleName(QStringLiteral("Hamlib rigctld"));
    auto* grid = new QGridLayout(this);

    m_source = new QButtonGroup(this);
    auto* running = new QRadioButton(QStringLiteral("A rigctld already running"), this);
    running->setObjectName(QStringLiteral("optRigctldRunning"));
    running->setAccessibleName(QStringLiteral("Poll a rigctld already running"));
    auto* startHere = new QRadioButton(QStringLiteral("Start rigctld for this radio:"), this);
    startHere->setObjectName(QStringLiteral("optRigctldStart"));
    startHere->setAccessibleName(QStringLiteral("Start rigctld for a Hamlib radio"));
    m_source->addButton(running, Running);
    m_source->addButton(startHere, StartHere);

    m_host = new QLineEdit(this);
    m_host->setObjectName(QStringLiteral("txtRigctldHost"));
    m_host->setAccessibleName(QStringLiteral("rigctld host"));
    m_port = new QLineEdit(this);
    m_port->setObjectName(QStringLiteral("txtRigctldPort"));
    m_port->setAccessibleName(QStringLiteral("rigctld port"));
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_port->setMaxLength(5);

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtHamlibFind"));
    m_search->setAccessibleName(QStringLiteral("Find Hamlib model"));
    m_search->setPlaceholderText(QStringLiteral("maker, model or number"));
    m_search->setClearButtonEnabled(true);
    m_search->installEventFilter(this); // Up and Down choose among the matches
    m_models = new QListWidget(this);
    m_models->setObjectName(QStringLiteral("lstHamlibModels"));
    m_models->setAccessibleName(QStringLiteral("Hamlib radio model"));
    // The list scrolls rather than setting the window's height.
    m_models->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    m_models->setMinimumHeight(4 * m_models->fontMetrics().height());
    // A long name is shortened in its middle, keeping the maker and the
    // model number in sight, rather than scrolling the list sideways; the
    // whole name is in the item's tooltip and read by a screen reader.
    m_models->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_models->setTextElideMode(Qt::ElideMiddle);

    m_device = new QComboBox(this);
    m_device->setObjectName(QStringLiteral("cboHamlibDevice"));
    m_device->setAccessibleName(QStringLiteral("Radio serial device"));
    m_device->setEditable(true);
    // The typing goes to the combo's own box: a screen reader names it too.
    m_device->lineEdit()->setObjectName(QStringLiteral("txtHamlibDevice"));
    m_device->lineEdit()->setAccessibleName(QStringLiteral("Radio serial device path"));
    // A long by-id path must not widen the window.
    m_device->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_device->setMinimumContentsLength(12);
    m_speed = new QComboBox(this);
    m_speed->setObjectName(QStringLiteral("cboHamlibSpeed"));
    m_speed->setAccessibleName(QStringLiteral("Radio serial speed"));
    for (const int speed : kHamlibSpeeds)
        m_speed->addItem(speed == 0 ? QStringLiteral("Model's own") : QString::number(speed), speed);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblHamlibNote"));
    m_note->setAccessibleName(QStringLiteral("Hamlib status"));
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::PlainText);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // Captions in one column, fields in the other: the frame stays as narrow
    // as the serial options it stands in for.
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field) {
        grid->addWidget(captionFor(field, caption, this), row, 0);
        grid->addWidget(field, row++, 1);
    };
    grid->addWidget(running, row++, 0, 1, 2);
    addRow(QStringLiteral("Host:"), m_host);
    addRow(QStringLiteral("Port:"), m_port);
    grid->addWidget(startHere, row++, 0, 1, 2);
    addRow(QStringLiteral("Find model:"), m_search);
    grid->addWidget(m_models, row, 0, 1, 2);
    grid->setRowStretch(row++, 1);
    addRow(QStringLiteral("Device:"), m_device);
    addRow(QStringLiteral("Speed:"), m_speed);
    grid->addWidget(m_note, row++, 0, 1, 2);

    connect(m_source, &QButtonGroup::idClicked, this, [this] {
        showSource();
        emit changed();
    });
    connect(m_search, &QLineEdit::textChanged, this, &HamlibRadioFrame::filterModels);
    connect(m_models, &QListWidget::currentRowChanged, this, &HamlibRadioFrame::changed);
    for (QLineEdit* box : {m_host, m_port})
        connect(box, &QLineEdit::textEdited, this, &HamlibRadioFrame::changed);
    connect(m_device, &QComboBox::editTextChanged, this, &HamlibRadioFrame::changed);
    connect(m_speed, &QComboBox::activated, this, &HamlibRadioFrame::changed);
    if (!m_catalog)
        startHere->setEnabled(false);
    showSource();
}

void HamlibRadioFrame::showSettings(const RigSettings& settings)
{
    const QSignalBlocker quiet(this); // showing is not a change
    m_source->button(settings.startsOwnRigctld() ? StartHere : Running)->setChecked(true);
    m_host->setText(settings.rigctldHost);
    m_port->setText(QString::number(settings.rigctldPort));
    fillDevices(settings.hamlibDevice);
    int speedRow = m_speed->findData(settings.hamlibSpeed);
    if (speedRow < 0) {
        // A speed typed into the file by hand is kept and shown.
        m_speed->addItem(QString::number(settings.hamlibSpeed), settings.hamlibSpeed);
        speedRow = m_speed->count() - 1;
    }
    m_speed->setCurrentIndex(speedRow);
    m_modelShown = settings.hamlibModel;
    fillModels();
    showSource();
}

void HamlibRadioFrame::takeInto(RigSettings& settings) const
{
    settings.rigctldHost = m_host->text().trimmed();
    bool portOk = false;
    const uint port = m_port->text().toUInt(&portOk);
    if (portOk && port >= 1 && port <= 65535)
        settings.rigctldPort = static_cast<quint16>(port);
    if (m_source->checkedId() != StartHere) {
        settings.hamlibModel = 0;
        return;
    }
    if (const QListWidgetItem* model = m_models->currentItem(); model && !model->isHidden())
        settings.hamlibModel = model->data(Qt::UserRole).toInt();
    const QString device = m_device->currentText().trimmed();
    if (!device.contains(QLatin1Char(' ')))
        settings.hamlibDevice = device;
    settings.hamlibSpeed = m_speed->currentData().toInt();
}

QString HamlibRadioFrame::choiceProblem() const
{
    if (m_source->checkedId() != StartHere)
        return {};
    const QListWidgetItem* model = m_models->currentItem();
    if (!model || model->isHidden())
        return QStringLiteral("Choose the radio's model in the list first.");
    if (m_device->currentText().trimmed().contains(QLatin1Char(' ')))
        return QStringLiteral("The serial device cannot hold a blank: choose one from the list or type its path.");
    return {};
}

void HamlibRadioFrame::say(const QString& text)
{
    m_said = text;
    m_note->setText(text);
}

void HamlibRadioFrame::loadModels()
{
    if (!m_catalog || !m_catalog->models().isEmpty() || m_catalog->loading())
        return;
    say(QStringLiteral("Listing the Hamlib radio models..."));
    QPointer<HamlibRadioFrame> alive(this);
    m_catalog->load([alive] {
        if (alive)
            alive->fillModels();
    });
}

void HamlibRadioFrame::fillModels()
{
    const QSignalBlocker quiet(m_models);
    m_models->clear();
    if (m_catalog) {
        for (const HamlibModel& model : m_catalog->models()) {
            auto* item = new QListWidgetItem(model.text(), m_models);
            item->setData(Qt::UserRole, model.number);
            item->setToolTip(model.text());
        }
    }
    QListWidgetItem* chosen = nullptr;
    for (int row = 0; row < m_models->count() && !chosen; ++row) {
        if (m_models->item(row)->data(Qt::UserRole).toInt() == m_modelShown)
            chosen = m_models->item(row);
    }
    if (!chosen && m_modelShown > 0) {
        // A model this Hamlib does not list (or none listed) stays chosen.
        chosen = new QListWidgetItem(QStringLiteral("Hamlib model %1").arg(m_modelShown), m_models);
        chosen->setData(Qt::UserRole, m_modelShown);
    }
    m_models->setCurrentItem(chosen);
    filterModels(m_search->text());
    if (!m_catalog)
        say(QStringLiteral("rigctld cannot be started from here; start it by hand and poll it above."));
    else if (!m_catalog->problem().isEmpty())
        say(m_catalog->problem());
    else if (m_catalog->loading())
        say(QStringLiteral("Listing the Hamlib radio models..."));
    else if (!m_catalog->models().isEmpty())
        say(QStringLiteral("%1 Hamlib radio models.").arg(m_catalog->models().size()));
}

void HamlibRadioFrame::filterModels(const QString& search)
{
    int matches = 0;
    for (int row = 0; row < m_models->count(); ++row) {
        QListWidgetItem* item = m_models->item(row);
        const bool shown = containsEveryWord(item->text(), search);
        item->setHidden(!shown);
        matches += shown ? 1 : 0;
    }
    // The first match is chosen when the search hides the model chosen.
    const QListWidgetItem* current = m_models->currentItem();
    if ((!current || current->isHidden()) && matches > 0 && !search.trimmed().isEmpty())
        stepModel(1);
    if (!search.trimmed().isEmpty())
        say(matches == 0 ? QStringLiteral("No model matches \"%1\".").arg(search.trimmed())
                         : matches == 1 ? QStringLiteral("1 model matches.")
                                        : QStringLiteral("%1 models match.").arg(matches));
}

void HamlibRadioFrame::stepModel(int step)
{
    const QListWidgetItem* current = m_models->currentItem();
    int row = current && !current->isHidden() ? m_models->row(current) : (step > 0 ? -1 : m_models->count());
    for (row += step; row >= 0 && row < m_models->count(); row += step) {
        if (!m_models->item(row)->isHidden()) {
            m_models->setCurrentRow(row);
            m_models->scrollToItem(m_models->item(row));
            return;
        }
    }
}

void HamlibRadioFrame::fillDevices(const QString& current)
{
    const QSignalBlocker quiet(m_device);
    m_device->clear();
    if (m_devices) {
        for (const platform::SerialDevice& device : m_devices->presentDevices()) {
            m_device->addItem(device.mappingPath());
            const QString described = device.description();
            if (!described.isEmpty())
                m_device->setItemData(m_device->count() - 1, described, Qt::ToolTipRole);
        }
    }
    m_device->setEditText(current);
}

void HamlibRadioFrame::showSource()
{
    const bool running = m_source->checkedId() != StartHere;
    for (QWidget* box : {static_cast<QWidget*>(m_host), static_cast<QWidget*>(m_port)})
        box->setEnabled(running);
    for (QWidget* box : {static_cast<QWidget*>(m_search), static_cast<QWidget*>(m_models),
                         static_cast<QWidget*>(m_device), static_cast<QWidget*>(m_speed)})
        box->setEnabled(!running);
    if (!running)
        loadModels();
}

bool HamlibRadioFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            stepModel(key == Qt::Key_Down ? 1 : -1);
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace tenlog::rig
