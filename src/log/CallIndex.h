// The calls of the log sorted per mode, so the duplicate and partial-
// duplicate checks on every key cost about the same whatever the size of
// the log. Kept up to date by the log as contacts are added, and rebuilt
// when the log is read or rewritten. Calls and modes compare without regard
// to letter case, as the checks always have.
#pragma once

#include "log/ContactLog.h"

#include <QHash>

#include <string>
#include <vector>

namespace tenlog::log {

class CallIndex {
public:
    CallIndex() = default;
    // It may point at the records it will index, so it is never copied with them.
    CallIndex(const CallIndex&) = delete;
    CallIndex& operator=(const CallIndex&) = delete;

    // The log was read or rewritten: the index is built again from records
    // (which must outlive it) at the first question, so a read, an edit or
    // a delete does not wait for a sort the operator may never need.
    void rebuild(const QList<QsoRecord>& records);
    // The record at position (0-based, the last of the log).
    void add(const QsoRecord& record, int position);

    // Positions of the records of this mode whose call begins with probe:
    // the earliest `limit` of them, in log order.
    std::vector<int> firstMatches(const QString& probe, const QString& mode, int limit) const;
    // Position of the first record of this mode with exactly this call, -1 when none.
    int firstExact(const QString& call, const QString& mode) const;

private:
    // Calls in capitals as single bytes (the log holds nothing else): short
    // ones need no allocation and compare as plain bytes, so a whole log
    // sorts in a fraction of the time a read takes.
    static std::string keyOf(const QString& text);
    struct Entry {
        std::string call;
        int position;
        bool operator<(const Entry& other) const
        {
            return call < other.call || (call == other.call && position < other.position);
        }
    };
    void build() const;

    mutable QHash<QString, std::vector<Entry>> m_byMode; // keyed by the mode in capitals
    mutable const QList<QsoRecord>* m_pending = nullptr; // the records still to index
};

} // namespace tenlog::log
