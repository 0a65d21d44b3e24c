// The colour dialog (Form6): the text colours of worked and remaining
// multipliers in the grid, each shown on a preview label and picked with the
// colour picker.
#pragma once

#include <QColor>
#include <QDialog>

class QLabel;

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::log {

class ColourDialog : public QDialog {
    Q_OBJECT
public:
    ColourDialog(qint32 worked, qint32 remaining, platform::Dialogs& dialogs, QWidget* parent = nullptr);

    qint32 worked() const { return m_worked; }
    qint32 remaining() const { return m_remaining; }

private:
    void pick(qint32* colour, QLabel* preview);

    platform::Dialogs& m_dialogs;
    qint32 m_worked;
    qint32 m_remaining;
};

// The preferences keep a colour as one number, red in the low byte.
QColor colourFromLong(qint32 value);

} // namespace tenlog::log
