// The spotting terminal's text: everything received and every status line,
// kept short (over 10000 characters it is cut to its last 9000) and plain.
// Its last 800 characters also serve as the memory of what was shown lately,
// so a line that a TNC or packet engine repeats is shown and stored once.
#pragma once

#include <QObject>
#include <QString>

namespace tenlog::spots {

class SpotTerminal : public QObject {
    Q_OBJECT
public:
    static constexpr int kTrimAbove = 10000;
    static constexpr int kTrimTo = 9000;
    static constexpr int kRecentWindow = 800;

    using QObject::QObject;

    const QString& text() const { return m_text; }
    // Adds text at the end and trims.
    void append(const QString& text);
    // Replaces everything (the help text, "Attempting ..." lines).
    void replace(const QString& text);
    // Whether text occurs, letter case ignored, in the last 800 characters.
    bool recentlyShown(const QString& text) const;

signals:
    void changed();

private:
    QString m_text;
};

} // namespace tenlog::spots
