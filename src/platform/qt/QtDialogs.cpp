// The real Dialogs on Qt Widgets.
#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace tenlog::platform {

namespace {

QWidget* parentWindow()
{
    return QApplication::activeWindow();
}

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

} // namespace

Answer QtDialogs::message(const QString& title, const QString& text, MessageIcon icon,
                          MessageButtons buttons)
{
    QMessageBox box(toQt(icon), title, text, toQt(buttons), parentWindow());
    // Texts come from files and the operator; never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    // Closing the box with its frame counts as the safe choice.
    return buttons == MessageButtons::Ok ? Answer::Ok
         : buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<QString> QtDialogs::inputBox(const QString& title, const QString& prompt,
                                           const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parentWindow(), title, prompt, QLineEdit::Normal,
                                               defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::openFile(const OpenRequest& request)
{
    const QString path = QFileDialog::getOpenFileName(parentWindow(), request.title,
                                                      request.startFolder, request.filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::saveFile(const SaveRequest& request)
{
    const QString start = request.proposedName.isEmpty()
        ? request.startFolder
        : QDir(request.startFolder).filePath(request.proposedName);
    const QFileDialog::Options options = request.askOverwrite
        ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    const QString path = QFileDialog::getSaveFileName(parentWindow(), request.title, start,
                                                      request.filter, nullptr, options);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<qint32> QtDialogs::pickColour(qint32 initial)
{
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, parentWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16);
}

void QtDialogs::beep()
{
    QApplication::beep();
}

int QtDialogs::runModal(QDialog* window)
{
    return window->exec();
}

} // namespace tenlog::platform
