#include "cw/WinKeyStation.h"

#include "text/NumberText.h"

namespace tenlog::cw {

namespace {

// What the keyer has echoed, kept for the display: the last words sent.
constexpr int echoShown = 40;

const QString closedText = QStringLiteral("Closed");
const QString noVersionText = QStringLiteral("Version #");

} // namespace

WinKeyStation::WinKeyStation(Parts parts, QObject* parent)
    : QObject(parent)
    , m_driver(parts.driver)
    , m_buffer(parts.buffer)
    , m_cwKeyingPort(parts.cwKeyingPort)
    , m_pttPort(parts.pttPort)
    , m_folder(std::move(parts.userDataFolder))
{
    connect(&m_driver, &WinKeyDriver::openFinished, this, &WinKeyStation::onOpenFinished);
    connect(&m_driver, &WinKeyDriver::lost, this, &WinKeyStation::onLost);
    connect(&m_driver, &WinKeyDriver::roomAvailable, this, &WinKeyStation::feed);
    connect(&m_driver, &WinKeyDriver::statusChanged, this, &WinKeyStation::keyerChanged);
    connect(&m_driver, &WinKeyDriver::speedPotChanged, this, &WinKeyStation::keyerChanged);
    connect(&m_driver, &WinKeyDriver::echoed, this, [this](QChar c) {
        m_echoText = (m_echoText + c).right(echoShown);
        emit characterKeyed(c);
        emit keyerChanged();
    });
    connect(&m_buffer, &CwKeyer::textWaiting, this, [this] {
        m_feeding = true;
        feed();
    });
}

void WinKeyStation::setSettings(const WinKeySettings& settings)
{
    m_settings = settings;
}

bool WinKeyStation::load(QString* problem)
{
    WinKeySettings loaded;
    loaded.pinConfig = winKeyPins::tone;
    loaded.mode = winKeyMode::iambicB;
    const bool sound = loadWinKeySettings(m_folder, loaded, problem);
    m_settings = loaded;
    emit settingsChanged();
    return sound;
}

bool WinKeyStation::save(QString* error)
{
    return saveWinKeySettings(m_folder, m_settings, error);
}

void WinKeyStation::open()
{
    if (m_cwKeyingPort.isOpen())
        m_cwKeyingPort.close();
    if (m_pttPort.isOpen())
        m_pttPort.close();
    m_driver.open(m_settings.port);
}

void WinKeyStation::onOpenFinished(WinKeyDriver::Result result, int version)
{
    if (result != WinKeyDriver::Result::AlreadyOpen && version == 0) {
        QString text = QStringLiteral("Unable to establish connection with WinKey on com port %1.  Please check to make "
                                      "sure that you have specified the correct port and that the Winkey device is "
                                      "properly connected.")
                           .arg(m_settings.port);
        if (result == WinKeyDriver::Result::ComOpenFailed && !m_driver.portError().isEmpty())
            text += QStringLiteral("\n\n") + m_driver.portError();
        emit problem(QStringLiteral("Unable to establish connection with Winkey."), text);
    }
    const QString resultText = WinKeyDriver::resultText(result);
    if (!resultText.isEmpty())
        setStatusText(resultText);
    if (result != WinKeyDriver::Result::AlreadyOpen) {
        applySettings();
        if (version != 0)
            setVersionText(QStringLiteral("Version # %1").arg(version));
    }
    if (!m_driver.isOpen())
        dropWaitingText();
    emit openFinished(m_driver.isOpen());
    feed();
}

void WinKeyStation::close()
{
    m_driver.close();
    setStatusText(closedText);
    setVersionText(noVersionText);
    // The keyer's buffer was cleared; what still waited here goes too.
    dropWaitingText();
    emit keyerChanged();
}

void WinKeyStation::onLost(const QString& reason)
{
    setStatusText(closedText);
    setVersionText(noVersionText);
    dropWaitingText();
    emit keyerChanged();
    emit problem(QStringLiteral("WinKey"),
                 QStringLiteral("The WinKey keyer stopped answering, so the text still waiting was dropped. The next "
                                "text sent opens it again.\n\n")
                     + reason);
}

void WinKeyStation::dropWaitingText()
{
    if (m_buffer.handOff())
        m_buffer.clear();
    if (m_feeding) {
        m_feeding = false;
        emit feedFinished();
    }
}

void WinKeyStation::feed()
{
    if (!m_feeding)
        return;
    if (!m_buffer.hasUnsent()) {
        m_feeding = false;
        emit feedFinished();
        return;
    }
    if (!m_driver.isOpen()) {
        // Opened on demand; the text waits for the answer.
        if (!m_driver.isOpening())
            open();
        return;
    }
    while (m_driver.room() > 0) {
        const std::optional<QChar> next = m_buffer.takeNext();
        if (!next)
            break;
        // The "!" only marks where a message logs the contact, which was
        // done before the message went to the keyer; it is not sent.
        if (*next == QLatin1Char('!'))
            continue;
        m_driver.sendCharacter(next->unicode());
    }
    if (!m_buffer.hasUnsent()) {
        m_feeding = false;
        emit feedFinished();
    }
}

void WinKeyStation::applySettings()
{
    wpmLeft(m_settings.wpm);
    weightLeft(m_settings.weight);
    leadInLeft(m_settings.leadIn, m_settings.tail);
    ratioLeft(m_settings.ratio);
    m_driver.setPinConfiguration(m_settings.pinConfig);
    m_driver.setMode(m_settings.mode);
}

void WinKeyStation::wpmLeft(const QString& text)
{
    const FieldCheck check = checkWpm(text);
    m_settings.wpm = check.text;
    if (check.send)
        m_driver.setSpeed(*check.send);
    emit settingsChanged();
}

void WinKeyStation::weightLeft(const QString& text)
{
    const FieldCheck check = checkWeight(text);
    m_settings.weight = check.text;
    if (check.send)
        m_driver.setWeight(*check.send);
    emit settingsChanged();
}

void WinKeyStation::ratioLeft(const QString& text)
{
    const FieldCheck check = checkRatio(text);
    m_settings.ratio = check.text;
    if (check.send)
        m_driver.setDitDahRatio(*check.send);
    emit settingsChanged();
}

void WinKeyStation::leadInLeft(const QString& leadIn, const QString& tail)
{
    const LeadTailCheck check = checkLeadIn(leadIn, tail);
    m_settings.leadIn = check.leadIn;
    m_settings.tail = check.tail;
    if (check.send)
        m_driver.setPttLeadTail(check.send->first, check.send->second);
    emit settingsChanged();
}

void WinKeyStation::tailLeft(const QString& leadIn, const QString& tail)
{
    const LeadTailCheck check = checkTail(leadIn, tail);
    m_settings.leadIn = check.leadIn;
    m_settings.tail = check.tail;
    if (check.send)
        m_driver.setPttLeadTail(check.send->first, check.send->second);
    emit settingsChanged();
}

void WinKeyStation::portLeft(const QString& text)
{
    const PortCheck check = checkPort(text);
    m_settings.port = check.port;
    emit settingsChanged();
}

void WinKeyStation::chooseMode(int value)
{
    m_settings.mode = value;
    if (m_driver.isOpen())
        applySettings();
}

void WinKeyStation::choosePinConfig(int value)
{
    m_settings.pinConfig = value;
    if (m_driver.isOpen())
        applySettings();
}

void WinKeyStation::followCwSpeed(const QString& wpm, bool keyingThroughKeyer)
{
    if (!text::isNumeric(wpm))
        return;
    const double value = text::val(wpm);
    if (m_settings.wpm != wpm) {
        m_settings.wpm = wpm;
        emit settingsChanged();
    }
    if (keyingThroughKeyer && m_driver.isOpen() && value > 4 && value < 100)
        m_driver.setSpeed(int(text::roundHalfEven(value)));
}

void WinKeyStation::stop()
{
    m_driver.clearBuffer();
    m_buffer.clear();
    dropWaitingText();
}

void WinKeyStation::sendTest(const QString& ownCall)
{
    m_buffer.append(QStringLiteral("VVV TEST DE ") + ownCall);
}

void WinKeyStation::sendBufferTest()
{
    QString text;
    for (int round = 0; round < 3; ++round) {
        for (char c = 'A'; c <= 'Z'; ++c)
            text += QLatin1Char(c);
        text += QLatin1Char(' ');
    }
    m_buffer.append(text);
}

void WinKeyStation::typed(QChar character)
{
    if (character.unicode() <= 13)
        return;
    m_buffer.append(QString(character.toUpper()));
}

bool WinKeyStation::isBusy() const
{
    return m_driver.statusLevel() > 0 || (m_buffer.handOff() && m_buffer.hasUnsent());
}

void WinKeyStation::clearKeyer()
{
    m_driver.clearBuffer();
}

bool WinKeyStation::takeBackFromKeyer()
{
    if (m_driver.heldByKeyer() <= 0)
        return false;
    return m_driver.backspace() == WinKeyDriver::Result::Success;
}

QString WinKeyStation::keyerStatusText() const
{
    if (!m_driver.isOpen())
        return {};
    const winkey::KeyerStatus s = m_driver.status();
    QStringList words;
    if (s.busy || m_driver.heldByKeyer() > 0)
        words << QStringLiteral("Busy");
    if (s.xoff)
        words << QStringLiteral("Full");
    if (s.breakIn)
        words << QStringLiteral("Paddle");
    if (s.wait)
        words << QStringLiteral("Wait");
    return words.isEmpty() ? QStringLiteral("Idle") : words.join(QLatin1Char(' '));
}

QString WinKeyStation::speedPotText() const
{
    return m_driver.isOpen() && m_driver.speedPot() >= 0 ? QString::number(m_driver.speedPot()) : QString();
}

void WinKeyStation::setStatusText(const QString& text)
{
    m_statusText = text;
    emit statusTextChanged(text);
}

void WinKeyStation::setVersionText(const QString& text)
{
    m_versionText = text;
    emit versionTextChanged(text);
}

} // namespace tenlog::cw
