// The two shared display lines under the entry line: the message line
// (prompts, errors, the red duplicate notice) and, under its heading, the
// partial-duplicate line, which the multiplier grid also borrows for its
// hover details. Both keep their height whatever they show, and both are
// spoken by a screen reader when they change.
#pragma once

#include <QWidget>

class QLabel;

namespace tenlog::station {

class MessageLines : public QWidget {
    Q_OBJECT
public:
    explicit MessageLines(QWidget* parent = nullptr);

    void setMessage(const QString& text, bool red);
    // Teal normally, red for a duplicate; the text stays.
    void setMessageRed(bool red);
    // Keyboard CW: the message line turns light yellow while it is on.
    void setKeyboardCwShown(bool on);
    // Teal while it lists something, the window's own colour when empty.
    void setDupeLine(const QString& text);
    // Both lines on white, as when the station's own call has been spotted;
    // the next text either line takes brings its usual colour back.
    void whitenBoth();
    // The whole message, also when the line shows it cut short.
    QString message() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showFitted();

    QString m_messageText;
    QLabel* m_message = nullptr;
    QLabel* m_dupeLine = nullptr;
};

} // namespace tenlog::station
