// Taking one recognised spot line into the store: the own-call alert, the
// numeric-frequency and request-word checks, the shift, the region and
// comment text the needed-multiplier search reads, and superseding an older
// spot of the same call. The displays follow through the signals; inside a
// batch (a slice of received lines) the ones that redraw or re-mark are
// given once, when the batch ends.
#pragma once

#include "spots/SpotStore.h"

#include <QObject>

#include <functional>

namespace tenlog::platform {
class Clock;
class Dialogs;
} // namespace tenlog::platform

namespace tenlog::spots {

class SpotIntake : public QObject {
    Q_OBJECT
public:
    // ownCall gives the station's call at the moment a spot arrives.
    SpotIntake(SpotStore& store, const platform::Clock& clock, platform::Dialogs& dialogs,
               std::function<QString()> ownCall, QObject* parent = nullptr);

    // One spot line as received: frequency (kHz) and call already taken from
    // its columns. Returns true when the spot was stored.
    bool take(const QString& frequencyText, const QString& call, const QString& line);

    // Batches nest; what they held back follows the outermost end.
    void beginBatch() { ++m_batchDepth; }
    void endBatch();

signals:
    // A spot line was handed over, stored or not: the band-map refresh
    // counter starts again.
    void spotArrived();
    // The station's own call was spotted: the message line and the hover
    // line show these, on white.
    void ownCallSpotted(const QString& messageText, const QString& hoverText);
    // A spot that may name a multiplier is in the store; the grid marks
    // needed multipliers. freshSpots is how many spots were stored since this
    // was last said (they are the newest entries); the needed-spot prompt
    // looks at those.
    void neededMarkingDue(int freshSpots);
    // The spot is stored as entry 49; record is the spot record (cut at its
    // first CR) for the spot list. Said for every spot, so what listens must
    // be cheap.
    void spotStored(const tenlog::spots::Spot& spot, const QString& record);
    // The stored spots changed: the band map redraws.
    void storeChanged();

private:
    SpotStore& m_store;
    const platform::Clock& m_clock;
    platform::Dialogs& m_dialogs;
    std::function<QString()> m_ownCall;
    int m_batchDepth = 0;
    bool m_arrivedInBatch = false;
    bool m_markingDueInBatch = false;
    bool m_storeChangedInBatch = false;
    int m_storedSinceMarking = 0;
};

} // namespace tenlog::spots
