// The contact list, newest first: the last 20 or the whole log, sortable by
// a heading click, with the buttons that edit or delete the chosen contact.
// From the keyboard: Ctrl+L enters the list, Enter edits the chosen contact,
// Delete deletes it, Escape goes back to the entry line; Ctrl+Shift+L lists
// all or the last 20.
#pragma once

#include <QWidget>

class QPushButton;
class QTreeWidget;

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::log {
class ContestSession;
}

namespace tenlog::station {

class ContactListArea : public QWidget {
    Q_OBJECT
public:
    ContactListArea(log::ContestSession& session, platform::Dialogs& dialogs, QWidget* parent = nullptr);

    void showContacts();
    // The last 20 or the whole log (its button, or Ctrl+Shift+L).
    void toggleAllOrLast();
    void hideRecordButtons();
    void editChosenContact();
    void deleteChosenContact();
    // Gives the list the keyboard, the newest contact chosen.
    void enterList();
    QTreeWidget* list() const { return m_list; }
    // Column widths follow the window's width.
    void fitColumns(int windowWidth);

signals:
    // The operator is done with the list: the entry line takes the keyboard back.
    void leaveList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRecordButtons();
    int chosenRecord() const;
    bool keyboardInList() const;

    log::ContestSession& m_session;
    platform::Dialogs& m_dialogs;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_allOrLastButton = nullptr;
    QPushButton* m_editButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    bool m_showAll = false;
};

} // namespace tenlog::station
