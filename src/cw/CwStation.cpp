#include "cw/CwStation.h"

#include "cw/CwMessages.h"
#include "cw/WinKeyStation.h"
#include "platform/ParallelKeyLine.h"
#include "platform/SerialKeyLine.h"
#include "text/NumberText.h"

namespace tenlog::cw {

namespace {

const QString invalidPortTitle = QStringLiteral("Invalid port.");
const QString invalidPortText = QStringLiteral(
    "The port you have selected for CW keying is invalid.  Please select another or enter 0 for none.");

} // namespace

CwStation::CwStation(Parts parts, QObject* parent)
    : QObject(parent)
    , m_keyer(parts.keyer)
    , m_keyingPort(parts.keyingPort)
    , m_pttPort(parts.pttPort)
    , m_parallelPort(parts.parallelPort)
    , m_currentCall(std::move(parts.currentCall))
{
    m_repeatTimer.setSingleShot(true);
    connect(&m_repeatTimer, &QTimer::timeout, this, [this] { sendFunctionKey(keyF1); });
    connect(&m_keyer, &CwKeyer::contactMarkReached, this, [this] {
        if (!m_currentCall().isEmpty())
            emit logContactRequested();
    });
    connect(&m_keyer, &CwKeyer::unsentChanged, this, &CwStation::unsentChanged);
    connect(&m_keyer, &CwKeyer::sendingFinished, this, &CwStation::onFinished);
    connect(&m_keyer, &CwKeyer::keyLineFailed, this, &CwStation::keyLineFailed);
    connect(&m_keyer, &CwKeyer::characterSent, this, &CwStation::characterKeyed);
    connect(&m_keyer, &CwKeyer::characterStarted, this, [this] {
        if (!m_keyer.hasUnsent())
            emit readyForText();
    });
    m_keyingPort.setFailureHandler([this](const QString& reason) {
        m_keyer.clear();
        emit keyingPortFailed(invalidPortTitle, invalidPortText, reason);
    });
    applyOutput();
}

CwStation::~CwStation()
{
    m_keyer.clear();
    m_keyer.setKeyLine(nullptr);
    m_keyingPort.setFailureHandler({});
}

void CwStation::setSettings(const CwSettings& settings)
{
    const bool portChanged = settings.port != m_settings.port;
    m_settings = settings;
    m_keyer.setWpm(text::val(settings.wpm));
    m_keyer.setWordSpace(text::val(settings.wordSpace));
    followSpeed();
    m_repeatTimer.setInterval(repeatIntervalMs());
    if (portChanged && m_keyingPort.isOpen())
        m_keyingPort.close(); // reopened from the new number at the next character
    applyOutput();
}

int CwStation::repeatIntervalMs() const
{
    const double seconds = text::val(m_settings.repeatSeconds);
    if (!text::isNumeric(m_settings.repeatSeconds) || seconds < 0 || seconds >= 60)
        return 0;
    return int(seconds * 1000);
}

void CwStation::applyOutput()
{
    std::shared_ptr<platform::KeyLine> line;
    switch (m_settings.output) {
    case KeyOutput::Rts:
        line = std::make_shared<platform::SerialKeyLine>(m_keyingPort, platform::SerialKeyLine::Line::Rts);
        break;
    case KeyOutput::Dtr:
        line = std::make_shared<platform::SerialKeyLine>(m_keyingPort, platform::SerialKeyLine::Line::Dtr);
        break;
    case KeyOutput::Parallel:
        line = std::make_shared<platform::ParallelKeyLine>(m_parallelPort, m_settings.parallelAddress);
        break;
    case KeyOutput::None:
    case KeyOutput::WinKey: // the keyer times its own elements
        break;
    }
    m_keyer.setKeyLine(std::move(line));
    m_keyer.setHandOff(keyingThroughWinKey());
}

void CwStation::attachWinKey(WinKeyStation* winKey)
{
    if (m_winKey)
        m_winKey->disconnect(this);
    m_winKey = winKey;
    if (m_winKey) {
        connect(m_winKey, &WinKeyStation::characterKeyed, this, [this](QChar c) {
            if (keyingThroughWinKey())
                emit characterKeyed(c);
        });
        connect(m_winKey, &WinKeyStation::openFinished, this, [this](bool opened) {
            const bool log = m_logWhenKeyerOpens && opened && !m_currentCall().isEmpty();
            m_logWhenKeyerOpens = false;
            if (log)
                emit logContactRequested();
        });
        connect(m_winKey, &WinKeyStation::feedFinished, this, [this] {
            if (!keyingThroughWinKey())
                return;
            emit readyForText();
            onFinished();
        });
        // A keyer that cannot be reached ends the F1 repeat: it would only
        // try again, and say so again, every few seconds.
        connect(m_winKey, &WinKeyStation::problem, this, [this](const QString& title, const QString& text) {
            m_repeat = false;
            m_repeatTimer.stop();
            emit winKeyProblem(title, text);
        });
    }
    applyOutput();
}

bool CwStation::winKeyBusy() const
{
    return keyingThroughWinKey() && m_winKey->isBusy();
}

bool CwStation::takeBackTyped()
{
    if (m_keyer.removeLastUnsent())
        return true;
    return keyingThroughWinKey() && m_winKey->takeBackFromKeyer();
}

void CwStation::stopSending()
{
    m_keyer.clear();
    if (keyingThroughWinKey())
        m_winKey->clearKeyer();
}

void CwStation::followSpeed()
{
    if (m_winKey)
        m_winKey->followCwSpeed(m_settings.wpm, keyingThroughWinKey());
}

bool CwStation::openKeyingPort()
{
    m_openError.clear();
    if (m_keyingPort.isOpen())
        m_keyingPort.close();
    const double number = text::val(m_settings.port);
    if (!(number > 0))
        return true;
    // The keyer may be on the same device; keying on its line needs it free.
    if (m_winKey && m_winKey->isOpen() && !keyingThroughWinKey())
        m_winKey->close();
    if (platform::openForKeying(m_keyingPort, int(number), m_pttPort))
        return true;
    m_openError = m_keyingPort.errorString();
    emit keyingPortFailed(invalidPortTitle, invalidPortText, m_openError);
    return false;
}

void CwStation::start(const QString& text)
{
    if (text.isEmpty())
        return;
    const bool serial = m_settings.output == KeyOutput::Rts || m_settings.output == KeyOutput::Dtr;
    if (serial && !m_keyingPort.isOpen() && text::val(m_settings.port) > 0)
        openKeyingPort();
    // The keyer sends a message at its own pace: a "!" in it logs the
    // contact before any of it goes out, once the keyer is there to send it.
    if (keyingThroughWinKey() && text.contains(QLatin1Char('!')) && !m_currentCall().isEmpty()) {
        if (m_winKey->isOpen())
            emit logContactRequested();
        else
            m_logWhenKeyerOpens = true;
    }
    m_keyer.append(text);
}

void CwStation::sendFunctionKey(int keyCode)
{
    m_keyer.clear();
    m_logWhenKeyerOpens = false;
    if (!hasOutput())
        return;
    const int index = messageIndexForKey(keyCode);
    if (index < 0)
        return;
    if (keyCode == keyF1 && repeatIntervalMs() > 0)
        m_repeat = true;
    const QString message = m_settings.messages[size_t(index)];
    if (message.isEmpty())
        return;
    start(expandWildcards(message, m_currentCall(), m_sentNumber, m_sentRst));
}

void CwStation::sendTyped(QChar character)
{
    if (!hasOutput() || character.isNull())
        return;
    start(QString(character.toUpper()));
}

void CwStation::sendPractice(QChar character)
{
    if (!hasOutput() || character.isNull())
        return;
    start(QString(character));
}

void CwStation::stopRepeat()
{
    if (!m_repeat)
        return;
    m_keyer.clear();
    if (keyingThroughWinKey())
        m_winKey->clearKeyer();
    m_repeat = false;
    m_repeatTimer.stop();
}

void CwStation::faster()
{
    m_settings.wpm = QString::number(text::val(m_settings.wpm) + 1);
    m_keyer.setWpm(text::val(m_settings.wpm));
    followSpeed();
    emit speedChanged(m_settings.wpm);
}

void CwStation::slower()
{
    m_settings.wpm = QString::number(text::val(m_settings.wpm) - 1);
    m_keyer.setWpm(text::val(m_settings.wpm));
    followSpeed();
    emit speedChanged(m_settings.wpm);
}

QString CwStation::speedText() const
{
    return m_settings.wpm + QStringLiteral(" WPM");
}

void CwStation::onFinished()
{
    // The signal is queued: a new message may already be on its way.
    if (m_keyer.isSending() || (keyingThroughWinKey() && m_keyer.hasUnsent()))
        return;
    if (m_repeat && repeatIntervalMs() > 0)
        m_repeatTimer.start(repeatIntervalMs());
    emit sendingFinished();
}

} // namespace tenlog::cw
