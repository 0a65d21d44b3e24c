// Small helpers the main window's areas share: labels and buttons made the
// same way, a text colour readable on a fixed background, and telling a
// screen reader that a line changed on its own.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>

class QPushButton;
class QWidget;

namespace tenlog::station {

// A label whose size is fixed to the widest text it will hold, so that
// changing its text on a key never lays out the window around it. The size
// follows the label's font.
class FixedWidthLabel : public QLabel {
public:
    FixedWidthLabel(const QString& widestText, QWidget* parent);

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitToWidestText();
    QString m_widestText;
};

// A plain-text label (text from files and the operator is never read as
// markup). An empty objectName leaves it unnamed: a caption, not a control.
QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& text = {},
                  const QString& accessibleName = {});

// A button that leaves the keyboard with the entry line.
QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& caption, const QString& tip,
                        const QString& accessibleName);

// The large bold type of the station, the mode, "New" and the message line.
QFont headlineFont(const QFont& base);

// Black or white, whichever reads better on this background.
QColor textColourFor(const QColor& background);

// Paints a label's background and picks its text colour for contrast. Does
// nothing when the background is already this colour, because a palette
// change restyles the label and this runs on every key.
void setBackground(QLabel* label, const QColor& background);

// Tells assistive technology that the label's text changed on its own, so
// a screen reader speaks it. Call after setting its accessible name.
void announce(QLabel* label);

// The teal of the message and partial-duplicate lines.
QColor lineTeal();

} // namespace tenlog::station
