#include "cw/ui/CodePracticeWindow.h"

#include "common/ui/NamedWidget.h"
#include "common/ui/ScreenFit.h"
#include "cw/CodePractice.h"
#include "cw/CwStation.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include <tuple>

namespace tenlog::cw {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& spoken)
{
    auto* b = common::named(new QPushButton(caption, parent), QLatin1String(name), spoken);
    // Enter in a box must not generate new groups over the text.
    b->setAutoDefault(false);
    return b;
}

QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CodePracticeWindow::CodePracticeWindow(CwStation& station, std::function<double()> uniform, QWidget* parent)
    : QDialog(parent)
    , m_station(station)
    , m_uniform(std::move(uniform))
{
    setObjectName(QStringLiteral("frmCodePractice"));
    setWindowTitle(QStringLiteral("On the Air Code Practice"));
    setAccessibleName(QStringLiteral("Code practice"));
    m_sender = new PracticeSender(m_station, this);
    build();
    connect(m_sender, &PracticeSender::characterSent, this, [this](QChar c) {
        m_sent->moveCursor(QTextCursor::End);
        m_sent->insertPlainText(QString(c));
        m_sent->moveCursor(QTextCursor::End);
    });
    connect(m_sender, &PracticeSender::positionChanged, this, [this](int position) {
        QTextCursor cursor = m_toSend->textCursor();
        cursor.setPosition(std::min(position, int(m_toSend->toPlainText().size())));
        m_toSend->setTextCursor(cursor);
    });
    connect(m_sender, &PracticeSender::finished, this, [this] { m_note->clear(); });
    connect(&m_station, &CwStation::speedChanged, this, &CodePracticeWindow::showSpeed);
    showSpeed();
    common::keepOnScreen(this);
}

CodePracticeWindow::~CodePracticeWindow()
{
    m_sender->stop();
}

void CodePracticeWindow::build()
{
    auto* layout = new QVBoxLayout(this);
    m_toSend = common::named(new QPlainTextEdit(this), QStringLiteral("Text1"), QStringLiteral("Text to send"));
    m_sent = common::named(new QPlainTextEdit(this), QStringLiteral("Text2"), QStringLiteral("Text sent"));
    m_sent->setReadOnly(true);
    m_toSend->installEventFilter(this);
    // Each box has its own Clear beside its caption, so the two are not confused.
    auto* clearToSend = button(this, "Command6", QStringLiteral("&Clear"), QStringLiteral("Clear the text to send"));
    auto* clearSent = button(this, "Command5", QStringLiteral("Cl&ear"), QStringLiteral("Clear the text sent"));
    const std::tuple<const char*, QPlainTextEdit*, QPushButton*> boxes[] = {
        {" Text to Send", m_toSend, clearToSend}, {" Text Sent", m_sent, clearSent}};
    for (const auto& [title, box, clear] : boxes) {
        auto* row = new QHBoxLayout;
        row->addWidget(caption(this, QString::fromLatin1(title), box));
        row->addStretch();
        row->addWidget(clear);
        layout->addLayout(row);
        layout->addWidget(box);
    }
    connect(m_toSend, &QPlainTextEdit::textChanged, this, [this] { m_sender->setText(m_toSend->toPlainText()); });

    m_live = common::named(new QLineEdit(this), QStringLiteral("Text5"), QStringLiteral("Type characters to send from the keyboard"));
    m_live->installEventFilter(this);
    layout->addWidget(caption(this, QStringLiteral("Type characters here to send text from keyboard:"), m_live));
    layout->addWidget(m_live);

    auto* include = new QGroupBox(QStringLiteral("Include:"), this);
    include->setObjectName(QStringLiteral("fraInclude"));
    auto* includeLayout = new QVBoxLayout(include);
    m_lettersOnly = common::named(new QRadioButton(QStringLiteral("Letters Only"), include), QStringLiteral("Option1"),
                                  QStringLiteral("Include letters only"));
    auto* all = common::named(new QRadioButton(QStringLiteral("All"), include), QStringLiteral("Option2"),
                              QStringLiteral("Include all characters"));
    all->setChecked(true);
    includeLayout->addWidget(m_lettersOnly);
    includeLayout->addWidget(all);

    auto* groupsRow = new QHBoxLayout;
    m_groups = common::named(new QLineEdit(QStringLiteral("10"), this), QStringLiteral("Text3"), QStringLiteral("Number of groups"));
    m_size = common::named(new QLineEdit(QStringLiteral("5"), this), QStringLiteral("Text4"), QStringLiteral("Characters in each group"));
    for (QLineEdit* e : {m_groups, m_size})
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    groupsRow->addWidget(caption(this, QStringLiteral("Generate"), m_groups));
    groupsRow->addWidget(m_groups);
    groupsRow->addWidget(caption(this, QStringLiteral("groups of"), m_size));
    groupsRow->addWidget(m_size);
    groupsRow->addWidget(new QLabel(QStringLiteral("characters each."), this));
    groupsRow->addStretch();
    auto* generate = button(this, "Command2", QStringLiteral("&Generate Random Characters"), QStringLiteral("Generate random characters"));
    auto* paste = button(this, "Command1", QStringLiteral("&Paste from Clipboard"), QStringLiteral("Paste from clipboard"));
    auto* groupsBox = new QVBoxLayout;
    groupsBox->addLayout(groupsRow);
    auto* groupButtons = new QHBoxLayout;
    groupButtons->addWidget(generate);
    groupButtons->addWidget(paste);
    groupButtons->addStretch();
    groupsBox->addLayout(groupButtons);
    auto* middle = new QHBoxLayout;
    middle->addWidget(include);
    middle->addLayout(groupsBox, 1);
    layout->addLayout(middle);

    auto* controls = new QHBoxLayout;
    auto* sendButton = button(this, "Command3", QStringLiteral("&Send"), QStringLiteral("Send the text"));
    auto* stopButton = button(this, "Command4", QStringLiteral("S&top"), QStringLiteral("Stop sending"));
    auto* faster = button(this, "Command7", QStringLiteral("&Faster"), QStringLiteral("Faster"));
    auto* slower = button(this, "Command8", QStringLiteral("S&lower"), QStringLiteral("Slower"));
    m_speed = common::named(new QLabel(this), QStringLiteral("Label8"), QStringLiteral("Speed in words per minute"));
    for (QWidget* w : std::initializer_list<QWidget*> {sendButton, stopButton, faster, slower, m_speed})
        controls->addWidget(w);
    controls->addWidget(new QLabel(QStringLiteral("WPM"), this));
    controls->addStretch();
    layout->addLayout(controls);
    m_note = common::named(new QLabel(this), QStringLiteral("lblNote"), QStringLiteral("Code practice note"));
    m_note->setWordWrap(true);
    layout->addWidget(m_note);

    connect(generate, &QPushButton::clicked, this, &CodePracticeWindow::generate);
    connect(paste, &QPushButton::clicked, this, [this] {
        if (const QClipboard* clipboard = QGuiApplication::clipboard())
            m_toSend->setPlainText(clipboard->text());
    });
    connect(sendButton, &QPushButton::clicked, this, &CodePracticeWindow::send);
    connect(stopButton, &QPushButton::clicked, this, &CodePracticeWindow::stop);
    connect(clearToSend, &QPushButton::clicked, m_toSend, &QPlainTextEdit::clear);
    connect(clearSent, &QPushButton::clicked, m_sent, &QPlainTextEdit::clear);
    connect(faster, &QPushButton::clicked, this, [this] { m_station.faster(); });
    connect(slower, &QPushButton::clicked, this, [this] { m_station.slower(); });
}

void CodePracticeWindow::generate()
{
    const PracticeGroups groups = makePracticeGroups(m_groups->text(), m_size->text(), m_lettersOnly->isChecked(), m_uniform);
    m_groups->setText(groups.groupsText);
    m_size->setText(groups.sizeText);
    m_toSend->setPlainText(groups.text);
}

void CodePracticeWindow::send()
{
    m_toSend->setFocus();
    if (m_sender->isRunning())
        return;
    // Said before the start: a keyer that cannot be reached ends the run
    // within it, and the end clears the note.
    m_note->setText(QStringLiteral("Sending."));
    if (!m_sender->start(m_toSend->toPlainText()))
        m_note->setText(QStringLiteral("No keying output is chosen: choose one in CW setup first."));
}

void CodePracticeWindow::stop()
{
    m_sender->stop();
}

void CodePracticeWindow::showSpeed()
{
    m_speed->setText(m_station.settings().wpm);
}

bool CodePracticeWindow::mayClose()
{
    // The buffer is emptied either way; while the program's own keying is
    // still on the air the first close only stops it.
    const bool sending = m_station.isSending();
    m_sender->stop();
    return !sending;
}

void CodePracticeWindow::closeEvent(QCloseEvent* event)
{
    if (mayClose())
        event->accept();
    else
        event->ignore();
}

void CodePracticeWindow::reject()
{
    if (mayClose())
        QDialog::reject();
}

bool CodePracticeWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (watched == m_live) {
        if (key->key() == Qt::Key_Backspace) {
            m_sender->typed(QChar(8));
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            return true; // no Morse, and no button pressed behind the typist
        if (text.size() == 1 && text.at(0).unicode() >= 0x20) {
            m_sender->typed(text.at(0));
            return true; // the character never stays in the box
        }
    } else if (watched == m_toSend && text.size() == 1 && text.at(0).isLower()) {
        m_toSend->insertPlainText(text.toUpper());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tenlog::cw
