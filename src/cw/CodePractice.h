// Code practice on the air: random five-character groups (or any number of
// groups of any size) from the 41 Morse characters, and the sender that
// keys a practice text one character at a time through the same keying path
// as contest CW (the program's own timing or the WinKey keyer). The sender
// hands the next character over only when the keying path has nothing
// waiting, so edits to the text, Stop and speed changes take effect between
// characters; what has really gone out is reported character by character.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace tenlog::cw {

class CwStation;

// "A" to "Z", "0" to "9", then ".", ",", "?", "/", "-".
const QString& practiceCharacters();

struct PracticeGroups {
    QString groupsText;  // the count as it should show ("10" after a non-number)
    QString sizeText;    // the group size as it should show ("5" after a non-number)
    QString text;        // the groups, each followed by one space
};

// Groups from the first 26 characters (letters only) or all 41; uniform
// gives numbers in [0, 1). Counts are capped so that a slip of the finger
// ("1000000") cannot freeze the window making the text.
PracticeGroups makePracticeGroups(const QString& groupsText, const QString& sizeText, bool lettersOnly,
                                  const std::function<double()>& uniform);
inline constexpr int maxPracticeGroups = 1000;
inline constexpr int maxPracticeGroupSize = 50;

class PracticeSender final : public QObject {
    Q_OBJECT
public:
    explicit PracticeSender(CwStation& station, QObject* parent = nullptr);

    // Starts keying text from its first character. False when no keying
    // output is chosen (nothing would go out).
    bool start(const QString& text);
    // The text was edited while it is sent: the run follows the new text.
    void setText(const QString& text);
    // Empties the practice text and the CW buffer; the character in
    // progress finishes.
    void stop();
    bool isRunning() const { return m_running; }
    // How many characters of the text have been handed over.
    int position() const { return m_position; }

    // A key typed in the live box: backspace takes back what is not yet
    // sent; any other character is sent at once, a-z as capitals.
    void typed(QChar character);

signals:
    // The character at position - 1 has been handed over.
    void positionChanged(int position);
    // This character has gone out on the air.
    void characterSent(QChar character);
    void finished();

private:
    void next();

    CwStation& m_station;
    QString m_text;
    int m_position = 0;
    bool m_running = false;
};

} // namespace tenlog::cw
