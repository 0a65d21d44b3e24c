#include "spots/SpotIntake.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "spots/SpotText.h"
#include "text/NumberText.h"

namespace tenlog::spots {

namespace {
bool mayCarryRegion(const QString& call)
{
    return !call.isEmpty() && QStringLiteral("KANWVCX").contains(call.at(0).toUpper());
}
} // namespace

SpotIntake::SpotIntake(SpotStore& store, const platform::Clock& clock, platform::Dialogs& dialogs,
                       std::function<QString()> ownCall, QObject* parent)
    : QObject(parent), m_store(store), m_clock(clock), m_dialogs(dialogs), m_ownCall(std::move(ownCall))
{
}

bool SpotIntake::take(const QString& frequencyText, const QString& call, const QString& line)
{
    emit spotArrived();
    QString record = spotRecord(line);
    const QString ownCall = m_ownCall ? trimBlanks(m_ownCall()) : QString();
    // The alert comes first: a spot of this station counts even when it
    // is dropped below.
    if (!ownCall.isEmpty() && call.compare(ownCall, Qt::CaseInsensitive) == 0) {
        m_dialogs.beep();
        emit ownCallSpotted(QStringLiteral("You've been spotted! "), QStringLiteral("You've been spotted!  ") + record);
    }
    if (!text::isNumeric(frequencyText))
        return false;
    record = record.toUpper();
    if (isSpotRequest(record))
        return false;
    const qsizetype cr = record.indexOf(QLatin1Char('\r'));
    if (cr >= 0)
        record.truncate(cr);

    const QString region = mayCarryRegion(call) ? spotRegion(call) : QString();
    const QString info = QLatin1Char(' ') + spotComment(record) + region + QLatin1Char(' ');
    Spot spot;
    spot.call = call;
    spot.frequencyMhz = text::toSingle(text::val(frequencyText) / 1000.0);
    spot.time = m_clock.localNow();
    spot.label = bandMapPrefix(call);
    spot.info = info;
    m_store.push(spot);
    if (mayCarryRegion(call))
        emit neededMarkingDue();
    m_store.supersedeOlder(call);
    emit spotStored(m_store.entry(SpotStore::kNewest), record);
    return true;
}

} // namespace tenlog::spots
