#include "cw/CodePractice.h"

#include "cw/CwStation.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace tenlog::cw {

namespace {

constexpr int letterCount = 26;

int countFrom(const QString& text, int cap)
{
    const double value = std::floor(text::val(text));
    if (!(value > 0))
        return 0;
    return int(std::min<double>(value, cap));
}

} // namespace

const QString& practiceCharacters()
{
    static const QString characters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-");
    return characters;
}

PracticeGroups makePracticeGroups(const QString& groupsText, const QString& sizeText, bool lettersOnly,
                                  const std::function<double()>& uniform)
{
    PracticeGroups out;
    out.groupsText = text::isNumeric(groupsText) ? groupsText : QStringLiteral("10");
    out.sizeText = text::isNumeric(sizeText) ? sizeText : QStringLiteral("5");
    const int groups = countFrom(out.groupsText, maxPracticeGroups);
    const int size = countFrom(out.sizeText, maxPracticeGroupSize);
    const int pool = lettersOnly ? letterCount : int(practiceCharacters().size());
    out.text.reserve(groups * (size + 1));
    for (int g = 0; g < groups; ++g) {
        for (int i = 0; i < size; ++i) {
            const int index = std::clamp(int(std::floor(pool * uniform())), 0, pool - 1);
            out.text += practiceCharacters().at(index);
        }
        out.text += QLatin1Char(' ');
    }
    return out;
}

PracticeSender::PracticeSender(CwStation& station, QObject* parent)
    : QObject(parent)
    , m_station(station)
{
    // Queued: with the WinKey keyer the station is ready again inside the
    // hand-over itself, and a long text must not nest one call per character.
    connect(&m_station, &CwStation::readyForText, this, &PracticeSender::next, Qt::QueuedConnection);
    connect(&m_station, &CwStation::characterKeyed, this, &PracticeSender::characterSent);
    // A keying path that failed sends nothing more; the run ends.
    const auto fail = [this] {
        if (m_running) {
            m_running = false;
            m_text.clear();
            emit finished();
        }
    };
    connect(&m_station, &CwStation::keyLineFailed, this, fail);
    connect(&m_station, &CwStation::keyingPortFailed, this, fail);
    connect(&m_station, &CwStation::winKeyProblem, this, fail);
}

bool PracticeSender::start(const QString& text)
{
    if (!m_station.hasOutput())
        return false;
    m_text = text;
    m_position = 0;
    m_running = true;
    if (m_station.unsent().isEmpty())
        next();
    return true;
}

void PracticeSender::setText(const QString& text)
{
    if (m_running)
        m_text = text;
}

void PracticeSender::stop()
{
    m_text.clear();
    m_station.stopSending();
    if (m_running) {
        m_running = false;
        emit finished();
    }
}

void PracticeSender::next()
{
    if (!m_running || !m_station.unsent().isEmpty())
        return;
    if (m_position >= m_text.size()) {
        m_running = false;
        emit finished();
        return;
    }
    const QChar character = m_text.at(m_position++);
    emit positionChanged(m_position);
    m_station.sendPractice(character);
}

void PracticeSender::typed(QChar character)
{
    if (character.unicode() == 8) {
        m_station.takeBackTyped();
        return;
    }
    m_station.sendPractice(character.toUpper());
}

} // namespace tenlog::cw
