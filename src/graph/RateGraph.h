// The QSO rate graph as numbers: at each contact, the contacts of the ten
// minutes up to and including it times six (contacts an hour), spread over
// 1,500 slots from the first contact to the last, gaps of up to 15 slots
// bridged, smoothed over seven slots, with the mode of each stretch and the
// axis labels. Everything the window draws comes from here; the window only
// maps it onto the screen.
//
// Contacts are taken in time order. A log is normally in time order already;
// one whose dates or times were edited out of order is drawn at the
// contacts' own times, and the graph says so.
#pragma once

#include "log/ContactLog.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace tenlog::graph {

inline constexpr int kSlots = 1500;
// Look-ahead past the last slot reads these, always empty.
inline constexpr int kSlotArraySize = kSlots + 16;
inline constexpr int kFewestContacts = 7;
inline constexpr qint64 kRateWindowSeconds = 600;
inline constexpr int kLongestBridgedGap = 15;
inline constexpr int kAveragedSlots = 7;
inline constexpr int kRateLabels = 17;
inline constexpr int kTimeLabels = 15;

enum class SlotMode : unsigned char { None, Cw, Phone };

// Values by slot, 0 .. kSlotArraySize - 1; slot 0 stands left of the first.
using SlotValues = std::vector<float>;
using SlotModes = std::vector<SlotMode>;

struct RateGraph {
    // Set when there is no curve to draw: why, in plain words, and a title
    // when the reason is also said in a message box.
    QString noCurveTitle;
    QString noCurveReason;
    bool hasCurve() const { return noCurveReason.isEmpty(); }

    // The plotted value of each slot and the mode strip's colour under it.
    SlotValues smoothed;
    SlotModes modes;
    float minimum = 0;
    float maximum = 0;
    // "###0.0", bottom (0) to top (16).
    QStringList rateLabels;
    // "hh:mm" and "MM/DD", left to right; the first is the first contact's
    // moment, the last the last contact's.
    QStringList timeLabels;
    QStringList dateLabels;

    // The first and last contacts' moments (UTC) and the contacts counted.
    QDateTime first;
    QDateTime last;
    int contacts = 0;
    // Six times the contacts of the ten minutes up to each contact, in time order.
    QList<int> contactRates;
    int peakRate = 0;
    QDateTime peakAt; // the first contact that reached the peak
    int lastHourContacts = 0; // within an hour before the last contact, it included
    // Said when contacts are out of time order in the log; empty otherwise.
    QString orderNote;

    // The moment a slot stands for, to the second.
    QDateTime slotMoment(int slot) const;
    // "14:05 UTC 12/14: 42.0 contacts an hour" for a slot.
    QString slotReading(int slot) const;
    // The graph told in words for a screen reader: the peak and its time,
    // the last hour, the span; or the reason there is no curve.
    QString description() const;
};

RateGraph computeRateGraph(const QList<log::QsoRecord>& contacts);

// The steps of the computation, in the order computeRateGraph runs them.

// Six times the contacts of the ten minutes up to and including each one
// (599 seconds before counts, 600 does not); moments in whole seconds, in
// time order.
QList<int> tenMinuteRates(const std::vector<qint64>& moments);
// The slot of a moment offset seconds after the first, span the seconds from
// first to last: rounded to the nearest slot, ties to the even one.
int slotOf(qint64 offset, qint64 span);
// Bridges every run of empty slots that ends within 15 slots with a straight
// line from the slot before it, writing the line into raw as well (the slots
// after see the bridged values); longer runs stay at 0. Slots 2 .. 1500.
void bridgeGaps(SlotValues& raw, SlotValues& smoothed);
// Each slot 7 .. 1500 becomes the mean of the values above 0 among it and
// the six before it in raw; a slot with none keeps its value.
void averageSlots(const SlotValues& raw, SlotValues& smoothed);
// Carries each contact's mode along the curve until it drops to 0.
void spreadModes(const SlotValues& smoothed, SlotModes& modes);

} // namespace tenlog::graph
