#include "cw/ui/CwStringsWindow.h"

#include "common/ui/ScreenFit.h"

#include "cw/CwMessages.h"
#include "cw/CwStation.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tenlog::cw {

CwStringsWindow::CwStringsWindow(CwStation& station, std::function<bool(QKeyEvent*)> mainKeys, QWidget* parent)
    : QDialog(parent), m_station(station), m_mainKeys(std::move(mainKeys))
{
    setObjectName(QStringLiteral("frmCWStrings"));
    setWindowTitle(QStringLiteral("CW Strings"));
    setAccessibleName(QStringLiteral("CW Strings"));
    setToolTip(QStringLiteral("Press Ctrl W to Show this form."));
    auto* layout = new QGridLayout(this);
    for (int i = 0; i < 12; ++i) {
        auto* box = new QFrame(this);
        box->setObjectName(QStringLiteral("cwMessageBox_%1").arg(i));
        box->setFocusPolicy(Qt::StrongFocus);
        box->setAccessibleDescription(QStringLiteral("Enter or Space sends it"));
        // Without a frame of its own the focus would not show on a box.
        box->setStyleSheet(QStringLiteral("QFrame { border: 2px solid transparent; }"
                                          "QFrame:focus { border: 2px solid palette(highlight); }"
                                          "QLabel { border: none; }"));
        auto* rows = new QVBoxLayout(box);
        rows->setContentsMargins(4, 4, 4, 4);
        m_keys[size_t(i)] = new QLabel(QStringLiteral("F%1").arg(i + 1), box);
        m_keys[size_t(i)]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        m_texts[size_t(i)] = new QLabel(box);
        m_texts[size_t(i)]->setObjectName(QStringLiteral("lblCWString_%1").arg(i));
        for (QLabel* label : {m_keys[size_t(i)], m_texts[size_t(i)]}) {
            // The labels label the box, so a screen reader says the row once.
            label->setBuddy(box);
            label->setFocusPolicy(Qt::NoFocus);
            label->installEventFilter(this);
            rows->addWidget(label);
        }
        box->installEventFilter(this);
        m_boxes[size_t(i)] = box;
        layout->addWidget(box, 0, i);
    }
    m_texts[11]->setText(QStringLiteral("Keyboard"));
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Command1"));
    done->setAccessibleName(QStringLiteral("Done"));
    layout->addWidget(done, 1, 11);
    connect(done, &QPushButton::clicked, this, &QWidget::showMinimized);
    refresh();
    common::keepOnScreen(this);
}

void CwStringsWindow::refresh()
{
    const auto& messages = m_station.settings().messages;
    for (int i = 0; i < 11; ++i) {
        m_texts[size_t(i)]->setText(messages[size_t(i)]);
        m_boxes[size_t(i)]->setAccessibleName(QStringLiteral("F%1: %2").arg(i + 1).arg(messages[size_t(i)]));
    }
    m_boxes[11]->setAccessibleName(QStringLiteral("F12: Keyboard"));
}

void CwStringsWindow::clicked(int row)
{
    if (!m_station.hasOutput())
        return;
    int code = keyF1 + row;
    if (code == keyF10)
        code = keyF10Message;
    if (code != keyF12)
        m_station.sendFunctionKey(code);
}

bool CwStringsWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        refresh();
    if (event->type() == QEvent::KeyPress && m_mainKeys && m_mainKeys(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::event(event);
}

bool CwStringsWindow::eventFilter(QObject* watched, QEvent* event)
{
    const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
    const bool pressed = key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space);
    if (event->type() == QEvent::MouseButtonRelease || pressed) {
        for (int i = 0; i < 12; ++i) {
            if (watched == m_boxes[size_t(i)] || watched == m_keys[size_t(i)] || watched == m_texts[size_t(i)]) {
                clicked(i);
                return true;
            }
        }
    }
    if (event->type() == QEvent::KeyPress && m_mainKeys && m_mainKeys(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace tenlog::cw
