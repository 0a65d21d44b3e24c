#include "rig/RigPoller.h"

#include "rig/HexByteText.h"

namespace tenlog::rig {

namespace {

// A request typed as text goes out byte for byte.
QByteArray asBytes(const QString& text)
{
    return text.toLatin1();
}

// The first pairs of a hex request; no bytes (nothing sent this cycle) when
// the request is shorter than minLength.
std::optional<QByteArray> pairsIfLongEnough(const QString& text, qsizetype minLength, int pairs)
{
    if (text.size() < minLength)
        return QByteArray();
    return bytesFromHexText(text, pairs);
}

} // namespace

RigPoller::RigPoller(platform::SerialPort& port, QString pegasusFolder, QObject* parent)
    : RigLink(parent)
    , m_port(port)
    , m_pegasusFolder(std::move(pegasusFolder))
{
    m_port.setFailureHandler([this](const QString& reason) { linkBroke(reason); });
}

RigPoller::~RigPoller()
{
    m_port.setFailureHandler({});
}

RigLink::Opened RigPoller::openLink()
{
    m_settings.commSettings = commSettingsText(m_settings);
    const RigProfile* row = profile();
    if (!row || row->requestScheme == RequestScheme::Rigctld)
        return {false,
                QStringLiteral("\"%1\" is not a radio that is polled on a serial port.").arg(m_settings.rigName),
                false};
    if (row->usesSerialPort) {
        QString reason;
        if (!openPort(*row, &reason))
            return {false, reason, true};
    } else if (m_port.isOpen()) {
        m_port.close();
    }
    m_requestOwed = false;
    // Bytes held from an earlier link belong to no reply of this one.
    m_heldReply.clear();
    m_heldTicks = 0;
    linkOpened();
    return {true, {}, true};
}

void RigPoller::beginPolling()
{
    tick();
    startPollTimer();
}

QString RigPoller::unreachableText() const
{
    return QStringLiteral("COM%1 not available").arg(m_settings.commPortNumber);
}

bool RigPoller::openPort(const RigProfile& row, QString* reason)
{
    if (m_port.isOpen())
        m_port.close();
    m_port.setPortNumber(m_settings.commPortNumber);
    // Set either way: the port remembers it, and the previous radio may have
    // been one that needs it.
    m_port.setRtsHandshake(row.rtsHandshake);
    if (!m_port.setSettings(m_settings.commSettings)) {
        *reason = QStringLiteral("The port settings \"%1\" are not valid.").arg(m_settings.commSettings);
        return false;
    }
    m_port.setDtr(false);
    m_port.setRts(false);
    if (!m_port.open()) {
        *reason = m_port.errorString();
        return false;
    }
    if (m_settings.powerCode == u"R")
        m_port.setRts(true);
    else if (m_settings.powerCode == u"D")
        m_port.setDtr(true);
    if (row.yaesuWakeAndClose)
        m_port.write(QByteArray(5, '\0'));
    if (row.orionWake)
        m_port.write(QByteArrayLiteral("X\r"));
    return true;
}

void RigPoller::dropLink()
{
    if (m_port.isOpen())
        m_port.close();
}

void RigPoller::closeLink()
{
    const RigProfile* row = profile();
    if (row && row->yaesuWakeAndClose && isPolling())
        m_port.write(QByteArray::fromHex("0000000080"));
    stop();
}

void RigPoller::tick()
{
    const RigProfile* row = profile();
    if (!row || !linkUp())
        return;
    if (m_awaitingReply)
        receiveTick(*row);
    else
        sendTick(*row);
}

std::optional<RigPoller::Request> RigPoller::buildRequest(const RigProfile& row) const
{
    const QString& frequency = m_settings.frequencyQuery;
    const QString& mode = m_settings.modeQuery;
    switch (row.requestScheme) {
    case RequestScheme::None:
    case RequestScheme::Rigctld:
        return Request{{}, m_queryToggle};
    case RequestScheme::BothAsText:
        return Request{asBytes(frequency) + asBytes(mode), m_queryToggle};
    case RequestScheme::BothWithCarriageReturn: {
        QByteArray bytes;
        if (!frequency.isEmpty())
            bytes += asBytes(frequency) + '\r';
        if (!mode.isEmpty())
            bytes += asBytes(mode) + '\r';
        return Request{bytes, m_queryToggle};
    }
    case RequestScheme::CivAlternating:
    case RequestScheme::FrontPanelAlternating: {
        const bool civ = row.requestScheme == RequestScheme::CivAlternating;
        const auto bytes = pairsIfLongEnough(m_queryToggle == 0 ? frequency : mode, civ ? 17 : 7, civ ? 6 : 3);
        if (!bytes)
            return std::nullopt;
        return Request{*bytes, 1 - m_queryToggle};
    }
    case RequestScheme::TextAlternating: {
        const QString& text = m_queryToggle == 0 ? frequency : mode;
        return Request{text.size() >= 2 ? asBytes(text) : QByteArray(), 1 - m_queryToggle};
    }
    case RequestScheme::YaesuFiveBytes: {
        const auto bytes = pairsIfLongEnough(frequency, 14, 5);
        if (!bytes)
            return std::nullopt;
        return Request{*bytes, m_queryToggle};
    }
    case RequestScheme::OperatorChoice: {
        if (!m_settings.convertToHex)
            return Request{asBytes(frequency) + asBytes(mode), m_queryToggle};
        QByteArray bytes;
        for (const QString* text : {&frequency, &mode}) {
            if (text->isEmpty())
                continue;
            const auto converted = bytesFromHexText(*text);
            if (!converted)
                return std::nullopt;
            bytes += *converted;
        }
        return Request{bytes, m_queryToggle};
    }
    }
    return std::nullopt;
}

void RigPoller::sendTick(const RigProfile& row)
{
    // A request still on its way out means the radio is slow to take bytes:
    // this cycle sends nothing and only reads what arrives. A port that
    // never drains is a radio that does not answer.
    bool owed = true;
    if (!row.usesSerialPort || m_port.bytesToWrite() == 0) {
        const std::optional<Request> request = buildRequest(row);
        // A request string that is not hex byte text ends the tick.
        if (!request)
            return;
        if (!request->bytes.isEmpty() && !m_port.write(request->bytes))
            return;
        m_queryToggle = request->nextToggle;
        owed = !request->bytes.isEmpty();
    }
    m_requestOwed = owed;
    m_awaitingReply = true;
}

namespace {

// How many receive ticks in a row may wait for the end of a reply: enough
// for a 75-byte status block at 4800 baud at the fastest rate, and never so
// many that a stream of noise holds polling up for long.
constexpr int kMostHeldTicks = 6;
// An unended reply longer than this is noise, not a reply.
constexpr qsizetype kLongestUnendedReply = 256;

} // namespace

bool RigPoller::holdUnendedReply(const QByteArray& reply, const RigProfile& row)
{
    const ReplyFraming framing = replyFraming(row);
    if (reply.isEmpty() || m_heldTicks >= kMostHeldTicks)
        return false;
    bool unended = false;
    if (framing.blockLength > 0) {
        unended = reply.size() < framing.blockLength;
    } else if (framing.terminator) {
        // The last reply has begun but not ended. Whole replies before it
        // wait with it: an echoed request must not end the tick before the
        // answer behind it is in.
        const qsizetype end = reply.lastIndexOf(*framing.terminator) + 1;
        const qsizetype tail = reply.size() - end;
        unended = tail > 0 && tail <= kLongestUnendedReply && framing.replyStarts.contains(reply.at(end));
    }
    if (!unended)
        return false;
    m_heldReply = reply;
    ++m_heldTicks;
    return true;
}

void RigPoller::receiveTick(const RigProfile& row)
{
    QByteArray reply = std::exchange(m_heldReply, {});
    if (row.usesSerialPort) {
        reply += m_port.readAll();
        if (reply.size() > kMaxReplyBytesPerTick)
            reply.truncate(kMaxReplyBytesPerTick);
        if (holdUnendedReply(reply, row))
            return; // still awaiting the reply
    }
    // Ticks spent waiting for the end of what turns out to be no reply were
    // polls the radio did not answer.
    const int ticksWaited = std::exchange(m_heldTicks, 0);
    m_awaitingReply = false;
    const bool owed = std::exchange(m_requestOwed, false);
    if (row.parser == ReplyParser::PegasusFile || !reply.isEmpty()) {
        if (decodeReply(reply, row)) {
            answered(reply);
            return;
        }
        // Shown raw all the same: the operator may be finding out why.
        emit rawReceived(reply);
        for (int missed = 0; missed <= ticksWaited; ++missed)
            unanswered();
    } else if (owed) {
        unanswered();
    }
}

bool RigPoller::decodeReply(const QByteArray& reply, const RigProfile& row)
{
    // "Other" is only shown raw: any reply is an answer.
    if (row.parser == ReplyParser::None)
        return !reply.isEmpty();
    // The parser works on a copy whose fields hold values no parser writes,
    // so what it changed is exactly what the reply carried, even when that
    // equals the reading already held.
    const float noFrequency = -1;
    const QString noMode = QStringLiteral("\x01");
    const int noVfo = -1;
    RigReading found{noFrequency, noMode, noVfo};
    const ParseContext context{row, m_settings.frequencyQuery, m_settings.modeQuery, m_queryToggle == 1,
                               m_pegasusFolder};
    parseReply(reply, context, found);
    bool decoded = false;
    if (found.frequencyMHz != noFrequency && found.frequencyMHz > 0) {
        m_reading.frequencyMHz = found.frequencyMHz;
        decoded = true;
    }
    if (found.mode != noMode) {
        m_reading.mode = found.mode;
        decoded = decoded || !found.mode.isEmpty();
    }
    if (found.kenwoodVfo != noVfo)
        m_reading.kenwoodVfo = found.kenwoodVfo;
    return decoded;
}

} // namespace tenlog::rig
