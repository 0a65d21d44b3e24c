// The code practice window ("On the Air Code Practice"): random groups,
// text pasted or typed into "Text to Send" and keyed by Send (Stop ends it
// after the character in progress), a box whose keys are keyed as they are
// typed, Faster and Slower with the speed shown, and "Text Sent", which
// shows what has gone out on the air. Made for one use; closing it empties
// the CW buffer, and is refused once while the program's own keying sends.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QLineEdit;
class QRadioButton;

namespace tenlog::cw {

class CwStation;
class PracticeSender;

class CodePracticeWindow : public QDialog {
    Q_OBJECT
public:
    // uniform gives the random numbers in [0, 1) for the groups.
    CodePracticeWindow(CwStation& station, std::function<double()> uniform, QWidget* parent = nullptr);
    ~CodePracticeWindow() override;

    void generate();
    void send();
    void stop();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void showSpeed();
    bool mayClose();

    CwStation& m_station;
    std::function<double()> m_uniform;
    PracticeSender* m_sender = nullptr;
    QPlainTextEdit* m_toSend = nullptr;
    QPlainTextEdit* m_sent = nullptr;
    QLineEdit* m_live = nullptr;
    QLineEdit* m_groups = nullptr;
    QLineEdit* m_size = nullptr;
    QRadioButton* m_lettersOnly = nullptr;
    QLabel* m_speed = nullptr;
    QLabel* m_note = nullptr;
};

} // namespace tenlog::cw
