#include "cw/CwStation.h"

#include "cw/CwMessages.h"
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
    case KeyOutput::WinKey: // the keyer driver times its own elements
        break;
    }
    m_keyer.setKeyLine(std::move(line));
}

bool CwStation::openKeyingPort()
{
    m_openError.clear();
    if (m_keyingPort.isOpen())
        m_keyingPort.close();
    const double number = text::val(m_settings.port);
    if (!(number > 0))
        return true;
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
    m_keyer.append(text);
}

void CwStation::sendFunctionKey(int keyCode)
{
    m_keyer.clear();
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

void CwStation::stopRepeat()
{
    if (!m_repeat)
        return;
    m_keyer.clear();
    m_repeat = false;
    m_repeatTimer.stop();
}

void CwStation::faster()
{
    m_settings.wpm = QString::number(text::val(m_settings.wpm) + 1);
    m_keyer.setWpm(text::val(m_settings.wpm));
    emit speedChanged(m_settings.wpm);
}

void CwStation::slower()
{
    m_settings.wpm = QString::number(text::val(m_settings.wpm) - 1);
    m_keyer.setWpm(text::val(m_settings.wpm));
    emit speedChanged(m_settings.wpm);
}

QString CwStation::speedText() const
{
    return m_settings.wpm + QStringLiteral(" WPM");
}

void CwStation::onFinished()
{
    // The signal is queued: a new message may already be on its way.
    if (m_keyer.isSending())
        return;
    if (m_repeat && repeatIntervalMs() > 0)
        m_repeatTimer.start(repeatIntervalMs());
    emit sendingFinished();
}

} // namespace tenlog::cw
