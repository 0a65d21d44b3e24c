#include "graph/RateGraph.h"

#include "text/DateText.h"
#include "text/NumberText.h"

#include <algorithm>
#include <optional>

namespace tenlog::graph {

namespace {

constexpr qint64 kSecondsPerDay = 86400;

// numerator / denominator rounded to the nearest whole number, ties to the
// even one, exactly (both at least 0, the denominator above 0).
qint64 roundedQuotient(qint64 numerator, qint64 denominator)
{
    const qint64 whole = numerator / denominator;
    const qint64 twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && whole % 2 != 0))
        return whole + 1;
    return whole;
}

// Moments are whole seconds counted from the start of Julian day 0: cheap
// to compare and subtract, and every date the log can hold is after it.
std::optional<qint64> momentOf(const log::QsoRecord& contact)
{
    const std::optional<QDate> date = text::parseDate(contact.QsoDate);
    const std::optional<QTime> time = text::parseTime(contact.QsoTime);
    if (!date || !time)
        return std::nullopt;
    return date->toJulianDay() * kSecondsPerDay + time->msecsSinceStartOfDay() / 1000;
}

QDateTime dateTimeOf(qint64 moment)
{
    return QDateTime(QDate::fromJulianDay(moment / kSecondsPerDay),
                     QTime::fromMSecsSinceStartOfDay(int(moment % kSecondsPerDay) * 1000), Qt::UTC);
}

QString rateText(double rate)
{
    return text::formatNumber(rate, QStringLiteral("###0.0"));
}

// "12/14 14:05", as the axis writes a moment.
QString shortMoment(const QDateTime& when)
{
    return text::formatDateTime(when, QStringLiteral("MM/DD hh:nn"));
}

QString counted(qint64 n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromLatin1(n == 1 ? one : many);
}

// "2 days 3 hours", "1 hour 5 minutes", "16 minutes", "40 seconds".
QString spanText(qint64 seconds)
{
    const qint64 days = seconds / kSecondsPerDay;
    const qint64 hours = seconds % kSecondsPerDay / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    QStringList parts;
    if (days > 0) {
        parts << counted(days, "day", "days");
        if (hours > 0)
            parts << counted(hours, "hour", "hours");
    } else if (hours > 0) {
        parts << counted(hours, "hour", "hours");
        if (minutes > 0)
            parts << counted(minutes, "minute", "minutes");
    } else if (minutes > 0) {
        parts << counted(minutes, "minute", "minutes");
    } else {
        parts << counted(seconds, "second", "seconds");
    }
    return parts.join(QLatin1Char(' '));
}

QString contactName(int recordNumber, const log::QsoRecord& contact)
{
    return QStringLiteral("Contact %1 (%2)").arg(recordNumber).arg(contact.Call);
}

struct TimedContact {
    qint64 moment = 0;
    int record = 0; // index into the log
};

} // namespace

QList<int> tenMinuteRates(const std::vector<qint64>& moments)
{
    QList<int> rates;
    rates.reserve(qsizetype(moments.size()));
    // In time order the contacts of a contact's ten minutes are the run just
    // before it, so the run's start only moves forward.
    size_t oldest = 0;
    for (size_t i = 0; i < moments.size(); ++i) {
        while (moments[i] - moments[oldest] >= kRateWindowSeconds)
            ++oldest;
        rates.append(6 * int(i - oldest + 1));
    }
    return rates;
}

int slotOf(qint64 offset, qint64 span)
{
    return int(roundedQuotient(offset * kSlots, span));
}

void bridgeGaps(SlotValues& raw, SlotValues& smoothed)
{
    for (int x = 2; x <= kSlots; ++x) {
        if (raw[x] != 0) {
            smoothed[x] = raw[x];
            continue;
        }
        for (int k = x + 1; k <= x + kLongestBridgedGap; ++k) {
            if (raw[k] <= 0)
                continue;
            const float from = raw[x - 1];
            const float slope = (raw[k] - from) / float(k - x);
            for (int j = x; j < k; ++j) {
                smoothed[j] = from + float(j - x) * slope;
                raw[j] = smoothed[j];
            }
            break;
        }
    }
}

void averageSlots(const SlotValues& raw, SlotValues& smoothed)
{
    for (int x = kAveragedSlots; x <= kSlots; ++x) {
        double sum = 0;
        int counted = 0;
        for (int j = x - kAveragedSlots + 1; j <= x; ++j) {
            if (raw[j] > 0) {
                sum += raw[j];
                ++counted;
            }
        }
        if (counted > 0)
            smoothed[x] = float(sum / counted);
    }
}

void spreadModes(const SlotValues& smoothed, SlotModes& modes)
{
    SlotMode running = SlotMode::None;
    for (int x = 1; x <= kSlots; ++x) {
        if (!(smoothed[x] > 0))
            running = SlotMode::None;
        else if (modes[x] == SlotMode::None)
            modes[x] = running;
        else
            running = modes[x];
    }
}

RateGraph computeRateGraph(const QList<log::QsoRecord>& contacts)
{
    RateGraph graph;
    graph.contacts = int(contacts.size());
    if (contacts.size() < kFewestContacts) {
        graph.noCurveTitle = QStringLiteral("Not Enough Contacts to Graph.");
        graph.noCurveReason = QStringLiteral("The graph will not display with less than 7 contacts.  The graph becomes "
                                             "more meaningful as several hours of contest logging are accumulated.");
        return graph;
    }

    std::vector<TimedContact> timed;
    timed.reserve(size_t(contacts.size()));
    int outOfOrder = 0;
    int firstOutOfOrder = -1;
    for (int i = 0; i < contacts.size(); ++i) {
        const std::optional<qint64> moment = momentOf(contacts[i]);
        if (!moment) {
            graph.noCurveReason = contactName(i + 1, contacts[i])
                                + QStringLiteral(" has a date or time that cannot be read: \"%1 %2\". Correct it in "
                                                 "the contact list to see the graph.")
                                      .arg(contacts[i].QsoDate, contacts[i].QsoTime);
            return graph;
        }
        if (!timed.empty() && *moment < timed.back().moment && outOfOrder++ == 0)
            firstOutOfOrder = i;
        timed.push_back({*moment, i});
    }
    if (outOfOrder > 0) {
        // Contacts of the same second keep their logging order.
        std::stable_sort(timed.begin(), timed.end(),
                         [](const TimedContact& a, const TimedContact& b) { return a.moment < b.moment; });
        graph.orderNote = contactName(firstOutOfOrder + 1, contacts[firstOutOfOrder])
                        + (outOfOrder == 1 ? QStringLiteral(" is earlier than the contact logged before it")
                                           : QStringLiteral(" and %1 more are earlier than the contact logged "
                                                            "before them")
                                                 .arg(outOfOrder - 1))
                        + QStringLiteral("; every contact is drawn at its own time.");
    }

    const qint64 start = timed.front().moment;
    const qint64 span = timed.back().moment - start;
    graph.first = dateTimeOf(start);
    graph.last = dateTimeOf(timed.back().moment);
    if (span == 0) {
        graph.noCurveReason = QStringLiteral("All %1 contacts are logged in the same second, %2 UTC: the graph needs "
                                             "time between the first contact and the last.")
                                  .arg(contacts.size())
                                  .arg(text::formatDateTime(graph.first, QStringLiteral("yyyy/mm/dd hh:nn:ss")));
        return graph;
    }
    for (int k = 0; k < kTimeLabels; ++k) {
        const QDateTime at = dateTimeOf(start + roundedQuotient(k * span, kTimeLabels - 1));
        graph.timeLabels << text::formatDateTime(at, QStringLiteral("hh:mm"));
        graph.dateLabels << text::formatDateTime(at, QStringLiteral("MM/DD"));
    }

    std::vector<qint64> moments;
    moments.reserve(timed.size());
    for (const TimedContact& contact : timed)
        moments.push_back(contact.moment);
    graph.contactRates = tenMinuteRates(moments);

    SlotValues raw(kSlotArraySize, 0.0f);
    graph.smoothed.assign(kSlotArraySize, 0.0f);
    graph.modes.assign(kSlotArraySize, SlotMode::None);
    // The curve starts from one contact's worth at the first slot.
    raw[1] = graph.smoothed[1] = 6;
    for (size_t i = 0; i < timed.size(); ++i) {
        const int x = i == 0 ? 1 : slotOf(timed[i].moment - start, span);
        // A later contact in the same slot overwrites an earlier one.
        raw[x] = float(graph.contactRates[qsizetype(i)]);
        const QString& mode = contacts[timed[i].record].Mode;
        if (log::isCw(mode))
            graph.modes[x] = SlotMode::Cw;
        else if (log::isPhone(mode))
            graph.modes[x] = SlotMode::Phone;
    }
    bridgeGaps(raw, graph.smoothed);
    averageSlots(raw, graph.smoothed);
    const auto [lowest, highest] = std::minmax_element(graph.smoothed.begin() + 1, graph.smoothed.begin() + kSlots + 1);
    graph.minimum = *lowest;
    graph.maximum = *highest;
    spreadModes(graph.smoothed, graph.modes);
    for (int k = 0; k < kRateLabels; ++k)
        graph.rateLabels << rateText(double(graph.minimum)
                                     + k * (double(graph.maximum) - double(graph.minimum)) / (kRateLabels - 1));

    const auto peak = std::max_element(graph.contactRates.begin(), graph.contactRates.end());
    graph.peakRate = *peak;
    graph.peakAt = dateTimeOf(moments[size_t(peak - graph.contactRates.begin())]);
    const auto hourAgo = std::upper_bound(moments.begin(), moments.end(), moments.back() - 3600);
    graph.lastHourContacts = int(moments.end() - hourAgo);

    if (graph.maximum == graph.minimum) {
        graph.noCurveReason = QStringLiteral("The rate is the same all through the log, %1 contacts an hour: there is "
                                             "no rise or fall to draw.")
                                  .arg(rateText(graph.maximum));
    }
    return graph;
}

QDateTime RateGraph::slotMoment(int slot) const
{
    const qint64 span = first.secsTo(last);
    if (span <= 0)
        return first;
    return first.addSecs(roundedQuotient(qint64(std::clamp(slot, 0, kSlots)) * span, kSlots));
}

QString RateGraph::slotReading(int slot) const
{
    if (!hasCurve() || slot < 1 || slot > kSlots)
        return {};
    const QDateTime at = slotMoment(slot);
    return text::formatDateTime(at, QStringLiteral("hh:mm")) + QStringLiteral(" UTC ")
         + text::formatDateTime(at, QStringLiteral("MM/DD")) + QStringLiteral(": ") + rateText(smoothed[slot])
         + QStringLiteral(" contacts an hour");
}

QString RateGraph::description() const
{
    if (!hasCurve())
        return noCurveReason;
    QString story = counted(contacts, "contact", "contacts") + QStringLiteral(" from ") + shortMoment(first)
                  + QStringLiteral(" to ") + shortMoment(last) + QStringLiteral(" UTC, ")
                  + spanText(first.secsTo(last)) + QStringLiteral(". Peak rate ") + QString::number(peakRate)
                  + QStringLiteral(" contacts an hour at ") + shortMoment(peakAt)
                  + QStringLiteral(". Last hour of the log: ")
                  + counted(lastHourContacts, "contact", "contacts") + QLatin1Char('.');
    if (!orderNote.isEmpty())
        story += QLatin1Char(' ') + orderNote;
    return story;
}

} // namespace tenlog::graph
