// Received lines waiting to be taken into the terminal and the store. A
// cluster can replay tens of thousands of spots in one read; taking them all
// at once would freeze the window for seconds. The queue takes them in
// slices instead, at most kLinesPerSlice lines or kSliceMs of work per turn
// of the event loop, and goes on from a zero timer, so keys, clicks and
// redraws get their turn between slices. Lines are taken in the order they
// arrived.
//
// Each slice is bracketed by sliceStarts and sliceEnds, so that whatever the
// lines change (terminal text, needed-multiplier marking) is announced once
// per slice rather than once per line.
//
// Memory is bounded: past kMaxWaitingWeight (a line weighs its length plus
// kLineWeight for its bookkeeping, about 150,000 cluster lines in all) the
// oldest waiting lines are dropped, since the newest spots are the ones an
// operator can still work. The number dropped is handed to the dropped hook
// when the slice reaches the place they were dropped from.
#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <functional>

namespace tenlog::spots {

class SpotLineQueue : public QObject {
    Q_OBJECT
public:
    static constexpr int kLinesPerSlice = 500;
    static constexpr qint64 kSliceMs = 5;
    static constexpr qsizetype kLineWeight = 32;
    static constexpr qsizetype kMaxWaitingWeight = 16 * 1024 * 1024;

    // Which receive path a line goes through.
    enum class Path : quint8 { Telnet, Tnc };

    struct Hooks {
        std::function<void()> sliceStarts;
        std::function<void(Path path, const QString& line)> take;
        std::function<void()> sliceEnds;
        // Lines were dropped before the next one taken.
        std::function<void(qsizetype count)> dropped;
        // The last waiting line has been taken.
        std::function<void()> drained;
    };

    explicit SpotLineQueue(Hooks hooks, QObject* parent = nullptr);

    // A smaller bound than kMaxWaitingWeight (the tests reach it quickly).
    void setMaxWaitingWeight(qsizetype weight) { m_maxWeight = weight; }

    // Queues a line; taking starts on the next turn of the event loop.
    void push(Path path, QString line);
    // Forgets every waiting line (the source was closed or changed).
    void clear();

    bool isEmpty() const { return m_lines.empty(); }
    qsizetype waitingLines() const { return static_cast<qsizetype>(m_lines.size()); }
    // Lines dropped over the whole run, for the tests and the benchmark.
    qsizetype droppedInAll() const { return m_droppedInAll; }

private:
    struct Waiting {
        QString text;
        Path path;
        qsizetype droppedBefore; // lines dropped just ahead of this one
    };
    void schedule();
    void takeSlice();
    static qsizetype weightOf(const QString& line) { return line.size() + kLineWeight; }

    Hooks m_hooks;
    qsizetype m_maxWeight = kMaxWaitingWeight;
    std::deque<Waiting> m_lines;
    qsizetype m_weight = 0;
    qsizetype m_droppedInAll = 0;
    bool m_scheduled = false;
    bool m_taking = false;
};

} // namespace tenlog::spots
