// The edit dialog "frmEditCon" ("Edit Contact Entry"): the eight fields of
// one logged contact in boxes, their key rules and checks on leaving, and
// "Done", which stores the correction only when it is no duplicate and its
// section and mode are valid. The dialog changes nothing itself: after it
// has closed the caller reads outcome() and editedRecord(), and writes the
// log back.
#pragma once

#include "log/ContactLog.h"
#include "log/EditRules.h"

#include <QDialog>
#include <QList>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QKeyEvent;
class QPushButton;

namespace tenlog::geo {
class PrefixTable;
}
namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::log {

class EditContactDialog : public QDialog {
    Q_OBJECT
public:
    enum class Outcome {
        Cancelled,       // closed by its window frame: nothing to store
        Saved,           // "Done" passed: editedRecord() replaces record recordNumber()
        DeleteRequested, // "Delete Dupe": the caller runs its delete of record recordNumber()
    };

    // numberToEdit is the 1-based number of the record to edit in records.
    EditContactDialog(const QList<QsoRecord>& records, int numberToEdit, const geo::PrefixTable& prefixes,
                      platform::Dialogs& dialogs, QWidget* parent = nullptr);

    Outcome outcome() const { return m_outcome; }
    int recordNumber() const { return m_recordNumber; }
    // The stored correction after Saved; the unchanged record otherwise.
    QsoRecord editedRecord() const { return m_edited; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box(EditBox which) const { return m_boxes.at(static_cast<std::size_t>(which)); }
    // The box's kind, or nullopt when the object is none of the eight.
    std::optional<EditBox> kindOf(const QObject* object) const;
    QsoRecord boxesAsRecord() const;

    bool handleKey(QLineEdit* target, EditBox kind, QKeyEvent* event);
    void completeCountryKey(QChar key);
    void leaveBox(QLineEdit* left, EditBox kind);
    void refocus(QLineEdit* target);
    void focusQuietly(QLineEdit* target);

    void checkAndStore();
    void requestDelete();

    QList<QsoRecord> m_records;
    int m_recordNumber;
    const geo::PrefixTable& m_prefixes;
    platform::Dialogs& m_dialogs;

    std::array<QLineEdit*, 8> m_boxes{};
    QLabel* m_dupeLabel = nullptr;
    QLabel* m_sectionInvalidLabel = nullptr;
    QLabel* m_modeInvalidLabel = nullptr;
    QPushButton* m_doneButton = nullptr;
    QPushButton* m_deleteDupeButton = nullptr;

    Outcome m_outcome = Outcome::Cancelled;
    QsoRecord m_edited;
    // The dialog moves the focus itself: no leaving check for that move.
    bool m_quietFocus = false;
    // A refused leaving has already told the operator; the button click that
    // caused it must not run as well.
    bool m_swallowClick = false;
};

} // namespace tenlog::log
