// The AGW packet engine's TCP protocol (port 8000; direwolf and AGWPE serve
// it). Every frame is a 36-byte header, little-endian, then its data:
//   0 port, 1-3 reserved, 4 kind (a letter), 5 reserved, 6 PID, 7 reserved,
//   8-17 call from (NUL-padded), 18-27 call to, 28-31 data length,
//   32-35 reserved; then data length bytes.
// Kinds used here: 'X' register a call (reply: one byte, 1 = accepted),
// 'm' monitoring on, 'C' connect (and the engine's connected notice), 'd'
// disconnect (and its notice), 'D' connected data; monitored frames arrive
// as 'U', 'I', 'S' and 'T'.
#pragma once

#include <QByteArray>
#include <QString>

#include <deque>
#include <optional>

namespace tenlog::spots {

struct AgwFrame {
    quint8 port = 0;
    char kind = 0;
    quint8 pid = 0;
    QString callFrom;
    QString callTo;
    QByteArray data;
};

inline constexpr int kAgwHeaderSize = 36;
inline constexpr int kAgwCallSize = 10;
// Far above any frame an engine sends (an AX.25 frame holds 256 bytes of
// data, a version or port reply a few hundred): a longer length field means
// the stream is out of step.
inline constexpr quint32 kAgwMaxDataLength = 64 * 1024;

QByteArray encodeAgwFrame(const AgwFrame& frame);
QByteArray agwRegister(const QString& call);
QByteArray agwMonitorOn();
QByteArray agwConnect(const QString& fromCall, const QString& toCall);
QByteArray agwDisconnect(const QString& fromCall, const QString& toCall);
QByteArray agwData(const QString& fromCall, const QString& toCall, const QByteArray& data);

// Cuts the byte stream from the engine into frames. It holds at most one
// partial frame and kMaxQueued whole ones; beyond that the oldest are
// dropped, so a flooding engine cannot grow memory without limit.
class AgwFrameDecoder {
public:
    static constexpr size_t kMaxQueued = 256;

    void feed(const QByteArray& bytes);
    // The next whole frame, oldest first.
    std::optional<AgwFrame> next();
    size_t queued() const { return m_frames.size(); }
    qsizetype buffered() const { return m_buffer.size(); }
    // Frames dropped for the queue limit, and times the stream was thrown
    // away because a length field was absurd.
    int droppedFrames() const { return m_dropped; }
    int resynchronisations() const { return m_resyncs; }
    void clear();

private:
    QByteArray m_buffer;
    std::deque<AgwFrame> m_frames;
    int m_dropped = 0;
    int m_resyncs = 0;
};

} // namespace tenlog::spots
