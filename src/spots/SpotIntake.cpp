#include "spots/SpotIntake.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "spots/SpotText.h"
#include "text/NumberText.h"

#include <utility>

namespace tenlog::spots {

SpotIntake::SpotIntake(SpotStore& store, const platform::Clock& clock, platform::Dialogs& dialogs,
                       std::function<QString()> ownCall, QObject* parent)
    : QObject(parent), m_store(store), m_clock(clock), m_dialogs(dialogs), m_ownCall(std::move(ownCall))
{
}

bool SpotIntake::take(const QString& frequencyText, const QString& call, const QString& line)
{
    if (m_batchDepth > 0)
        m_arrivedInBatch = true;
    else
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
    ++m_storedSinceMarking;
    const bool markingDue = mayCarryRegion(call);
    if (markingDue && m_batchDepth == 0)
        emit neededMarkingDue(std::exchange(m_storedSinceMarking, 0));
    m_store.supersedeOlder(call);
    emit spotStored(m_store.entry(SpotStore::kNewest), record);
    if (m_batchDepth > 0) {
        m_markingDueInBatch = m_markingDueInBatch || markingDue;
        m_storeChangedInBatch = true;
    } else {
        emit storeChanged();
    }
    return true;
}

void SpotIntake::endBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    if (std::exchange(m_arrivedInBatch, false))
        emit spotArrived();
    if (std::exchange(m_markingDueInBatch, false))
        emit neededMarkingDue(std::exchange(m_storedSinceMarking, 0));
    if (std::exchange(m_storeChangedInBatch, false))
        emit storeChanged();
}

} // namespace tenlog::spots
