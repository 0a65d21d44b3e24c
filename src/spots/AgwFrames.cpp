#include "spots/AgwFrames.h"

#include <QtEndian>

namespace tenlog::spots {

namespace {

void putCall(QByteArray& header, int at, const QString& call)
{
    const QByteArray bytes = call.toLatin1().left(kAgwCallSize - 1); // room for the NUL
    for (int i = 0; i < bytes.size(); ++i)
        header[at + i] = bytes[i];
}

QString takeCall(const QByteArray& buffer, int at)
{
    const QByteArray field = buffer.mid(at, kAgwCallSize);
    const qsizetype nul = field.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? field : field.left(nul)).trimmed();
}

} // namespace

QByteArray encodeAgwFrame(const AgwFrame& frame)
{
    QByteArray out(kAgwHeaderSize, '\0');
    out[0] = static_cast<char>(frame.port);
    out[4] = frame.kind;
    out[6] = static_cast<char>(frame.pid);
    putCall(out, 8, frame.callFrom);
    putCall(out, 18, frame.callTo);
    qToLittleEndian<quint32>(static_cast<quint32>(frame.data.size()), out.data() + 28);
    return out + frame.data;
}

QByteArray agwRegister(const QString& call)
{
    return encodeAgwFrame({0, 'X', 0, call, {}, {}});
}

QByteArray agwMonitorOn()
{
    return encodeAgwFrame({0, 'm', 0, {}, {}, {}});
}

QByteArray agwConnect(const QString& fromCall, const QString& toCall)
{
    return encodeAgwFrame({0, 'C', 0, fromCall, toCall, {}});
}

QByteArray agwDisconnect(const QString& fromCall, const QString& toCall)
{
    return encodeAgwFrame({0, 'd', 0, fromCall, toCall, {}});
}

QByteArray agwData(const QString& fromCall, const QString& toCall, const QByteArray& data)
{
    return encodeAgwFrame({0, 'D', 0xF0, fromCall, toCall, data});
}

void AgwFrameDecoder::feed(const QByteArray& bytes)
{
    m_buffer.append(bytes);
    qsizetype at = 0;
    while (m_buffer.size() - at >= kAgwHeaderSize) {
        const quint32 length = qFromLittleEndian<quint32>(m_buffer.constData() + at + 28);
        if (length > kAgwMaxDataLength) {
            // Nothing after a broken header can be trusted to start a frame.
            ++m_resyncs;
            m_buffer.clear();
            return;
        }
        if (m_buffer.size() - at < kAgwHeaderSize + static_cast<qsizetype>(length))
            break; // the data is still on its way
        AgwFrame frame;
        frame.port = static_cast<quint8>(m_buffer[at]);
        frame.kind = m_buffer[at + 4];
        frame.pid = static_cast<quint8>(m_buffer[at + 6]);
        frame.callFrom = takeCall(m_buffer, static_cast<int>(at) + 8);
        frame.callTo = takeCall(m_buffer, static_cast<int>(at) + 18);
        frame.data = m_buffer.mid(at + kAgwHeaderSize, length);
        at += kAgwHeaderSize + length;
        m_frames.push_back(std::move(frame));
        if (m_frames.size() > kMaxQueued) {
            m_frames.pop_front();
            ++m_dropped;
        }
    }
    m_buffer.remove(0, at);
}

std::optional<AgwFrame> AgwFrameDecoder::next()
{
    if (m_frames.empty())
        return std::nullopt;
    AgwFrame frame = std::move(m_frames.front());
    m_frames.pop_front();
    return frame;
}

void AgwFrameDecoder::clear()
{
    m_buffer.clear();
    m_frames.clear();
}

} // namespace tenlog::spots
