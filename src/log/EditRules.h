// The rules of the edit dialog "frmEditCon", apart from its widgets: what
// each key does in each box, the checks on leaving a box, and the checks of
// "Done" in their order. Every comparison here is letter-case significant.
//
// A corrected record goes back into log.txt, so nothing the dialog stores
// may damage that file: no box takes a character the file cannot hold
// (isStorableChar), and a date or time is stored only when the program's own
// date and time readers can read it back.
#pragma once

#include "log/ContactLog.h"

#include <QList>
#include <QString>

#include <optional>

namespace tenlog::log {

// The eight boxes, in the order they are laid out and visited by Tab.
enum class EditBox { Call, RstSnt, Country, RstRcvd, Section, Date, Time, Mode };

// Key codes the key rules name besides printable characters.
inline constexpr char16_t kKeyBackspace = 8;
inline constexpr char16_t kKeyEnter = 13;

enum class EditKeyAction {
    Insert,   // type `key` into the box
    Pass,     // leave the key to the box's own editing (backspace)
    Drop,     // the key does nothing
    Done,     // run "Done"
    Complete, // country completion with `key`
};

struct EditKey {
    EditKeyAction action;
    QChar key; // the character to type or complete with
};

EditKey editKeyPress(EditBox box, QChar key);

// Whether a character may stand in a box: one byte of log.txt other than the
// double quote, which the file cannot escape, and other than a control
// character, which would break the record's line.
bool isStorableChar(QChar c);
bool isStorableText(const QString& text);

struct EditMessage {
    QString title;
    QString text;
};

const EditMessage& invalidDateMessage();
const EditMessage& invalidTimeMessage();

// The mode box takes exactly "CW" or "PH".
bool isValidEditMode(const QString& mode);

// The section test of this dialog: a first character below "B" (digits,
// punctuation and text beginning with "A"), or exactly one of the 100
// multiplier abbreviations.
//
// An empty section has no first character to test. It counts as invalid:
// "Done" then shows the section's warning, beeps and keeps the dialog open,
// exactly as for an unknown abbreviation. So an empty exchange is never
// stored as though it were valid (the entry line refuses one too, with
// "Need Section!"), and the operator can still type a section or close the
// dialog, which stores nothing.
bool isValidEditSection(const QString& section);

// What leaving a box asks for.
struct LeaveCheck {
    bool stay = false;                     // beep and put the focus back into the box
    std::optional<EditMessage> message;    // message box to show, after the beep
    std::optional<bool> showModeInvalid;   // the mode's warning label, when leaving the mode box
};

LeaveCheck checkOnLeaving(EditBox box, const QString& text);

// What "Done" asks for. `boxes` holds the eight boxes as typed (its Freq is
// not looked at); `records` is the whole log and editRecordNo (1-based) the
// record being edited.
struct DoneCheck {
    // Set when the time or the date cannot be read: beep, show the message,
    // focus the box, and nothing else happens.
    std::optional<EditBox> refusedBox;
    std::optional<EditMessage> message;

    // Otherwise:
    QList<int> duplicates; // record numbers, from record 1 up; one beep each
    bool sectionValid = true;
    // Enter in the mode box runs "Done" without leaving the box, so "Done"
    // checks the mode too; otherwise it could store a mode that no count of
    // the program knows.
    bool modeValid = true;

    bool refused() const { return refusedBox.has_value(); }
    bool store() const { return !refused() && duplicates.isEmpty() && sectionValid && modeValid; }
    int beeps() const;
};

DoneCheck checkDone(const QList<QsoRecord>& records, int editRecordNo, const QsoRecord& boxes);

// The record "Done" stores: the eight boxes as typed over the original,
// whose frequency stays.
QsoRecord editedRecord(const QsoRecord& original, const QsoRecord& boxes);

} // namespace tenlog::log
