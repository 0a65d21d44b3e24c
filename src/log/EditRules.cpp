// The rules of the edit dialog.
#include "log/EditRules.h"

#include "log/EntryRules.h"
#include "log/MultTable.h"
#include "text/DateText.h"

namespace tenlog::log {

EditKey editKeyPress(EditBox box, QChar key)
{
    const char16_t code = key.unicode();
    if (code == kKeyEnter)
        return {EditKeyAction::Done, key};
    if (code == kKeyBackspace)
        return {EditKeyAction::Pass, key};
    switch (box) {
    case EditBox::Date:
        // "/" and the digits.
        return {code >= 47 && code <= 57 ? EditKeyAction::Insert : EditKeyAction::Drop, key};
    case EditBox::Time:
        // The digits and ":".
        return {code >= 48 && code <= 58 ? EditKeyAction::Insert : EditKeyAction::Drop, key};
    case EditBox::Country:
        return {code == u'"' ? EditKeyAction::Drop : EditKeyAction::Complete, key};
    case EditBox::Call:
    case EditBox::RstSnt:
    case EditBox::RstRcvd:
    case EditBox::Section:
    case EditBox::Mode:
        break;
    }
    if (code == u'"')
        return {EditKeyAction::Drop, key};
    return {EditKeyAction::Insert, capitalLetter(key)};
}

bool isStorableChar(QChar c)
{
    return c.unicode() >= 32 && c.unicode() <= 255 && c != u'"';
}

bool isStorableText(const QString& text)
{
    for (QChar c : text)
        if (!isStorableChar(c))
            return false;
    return true;
}

const EditMessage& invalidDateMessage()
{
    static const EditMessage m{QStringLiteral("Invalid Date Format!"),
                               QStringLiteral("You have entered an invalid date format!")};
    return m;
}

const EditMessage& invalidTimeMessage()
{
    static const EditMessage m{QStringLiteral("Invalid Time Format!"),
                               QStringLiteral("You have entered an invalid time format!")};
    return m;
}

bool isValidEditMode(const QString& mode)
{
    return mode == QLatin1String("CW") || mode == QLatin1String("PH");
}

bool isValidEditSection(const QString& section)
{
    if (section.isEmpty())
        return false;
    // "B", not the "A" of the entry line's check: text beginning with "A" passes here.
    if (section.front().unicode() < 66)
        return true;
    for (int i = 1; i <= kMultCount; ++i)
        if (section == QLatin1String(multEntry(i).Abbrev))
            return true;
    return false;
}

LeaveCheck checkOnLeaving(EditBox box, const QString& text)
{
    LeaveCheck check;
    switch (box) {
    case EditBox::Date:
        if (!text::isValidDate(text)) {
            check.stay = true;
            check.message = invalidDateMessage();
        }
        break;
    case EditBox::Time:
        if (!text::isValidTime(text)) {
            check.stay = true;
            check.message = invalidTimeMessage();
        }
        break;
    case EditBox::Mode:
        check.stay = !isValidEditMode(text);
        check.showModeInvalid = check.stay;
        break;
    case EditBox::Call:
    case EditBox::RstSnt:
    case EditBox::Country:
    case EditBox::RstRcvd:
    case EditBox::Section:
        break;
    }
    return check;
}

int DoneCheck::beeps() const
{
    if (refused())
        return 1;
    return static_cast<int>(duplicates.size()) + (sectionValid ? 0 : 1) + (modeValid ? 0 : 1);
}

DoneCheck checkDone(const QList<QsoRecord>& records, int editRecordNo, const QsoRecord& boxes)
{
    DoneCheck check;
    if (!text::isValidTime(boxes.QsoTime)) {
        check.refusedBox = EditBox::Time;
        check.message = invalidTimeMessage();
        return check;
    }
    if (!text::isValidDate(boxes.QsoDate)) {
        check.refusedBox = EditBox::Date;
        check.message = invalidDateMessage();
        return check;
    }
    for (qsizetype i = 0; i < records.size(); ++i) {
        const int recordNo = static_cast<int>(i) + 1;
        if (recordNo != editRecordNo && records.at(i).Mode == boxes.Mode && records.at(i).Call == boxes.Call)
            check.duplicates.append(recordNo);
    }
    check.sectionValid = isValidEditSection(boxes.SecSer);
    check.modeValid = isValidEditMode(boxes.Mode);
    return check;
}

QsoRecord editedRecord(const QsoRecord& original, const QsoRecord& boxes)
{
    QsoRecord r = boxes;
    r.Freq = original.Freq;
    return r;
}

} // namespace tenlog::log
