// The spotting terminal's text: everything received and every status line,
// kept short (over 10000 characters it is cut to its last 9000) and plain.
// Its last 800 characters also serve as the memory of what was shown lately,
// so a line that a TNC or packet engine repeats is shown and stored once.
// Inside a batch (a slice of received lines) changes are announced once,
// when the batch ends, so the window redraws once per slice, not per line.
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

    // Counts up whenever text is removed (a replace or a trim), so a view
    // that showed the text at the same revision only has to add what
    // follows what it showed.
    quint64 revision() const { return m_revision; }

    // Batches nest; changed() follows the outermost end, if anything changed.
    void beginBatch() { ++m_batchDepth; }
    void endBatch();

signals:
    void changed();

private:
    void announce();

    QString m_text;
    quint64 m_revision = 0;
    int m_batchDepth = 0;
    bool m_changedInBatch = false;
};

} // namespace tenlog::spots
