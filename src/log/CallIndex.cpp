// The per-mode call index.
#include "log/CallIndex.h"

#include <algorithm>
#include <utility>

namespace tenlog::log {

std::string CallIndex::keyOf(const QString& text)
{
    std::string key(static_cast<size_t>(text.size()), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text.at(i).unicode();
        // Capitals of the single-byte letters; anything wider cannot be in the log.
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c = static_cast<char16_t>(c - 0x20);
        key[static_cast<size_t>(i)] = static_cast<char>(c <= 0xFF ? c : 0xFF);
    }
    return key;
}

void CallIndex::rebuild(const QList<QsoRecord>& records)
{
    m_byMode.clear();
    m_pending = &records;
}

void CallIndex::build() const
{
    if (!m_pending)
        return;
    const QList<QsoRecord>& records = *std::exchange(m_pending, nullptr);
    m_byMode[QStringLiteral("CW")].reserve(static_cast<size_t>(records.size()));
    for (int i = 0; i < records.size(); ++i) {
        const QsoRecord& r = records.at(i);
        m_byMode[r.Mode.toUpper()].push_back({keyOf(r.Call), i});
    }
    for (auto& entries : m_byMode)
        std::sort(entries.begin(), entries.end());
}

void CallIndex::add(const QsoRecord& record, int position)
{
    if (m_pending)
        return; // the pending build takes it from the records
    std::vector<Entry>& entries = m_byMode[record.Mode.toUpper()];
    Entry entry{keyOf(record.Call), position};
    entries.insert(std::upper_bound(entries.begin(), entries.end(), entry), std::move(entry));
}

std::vector<int> CallIndex::firstMatches(const QString& probe, const QString& mode, int limit) const
{
    build();
    std::vector<int> positions;
    const auto found = m_byMode.constFind(mode.toUpper());
    if (found == m_byMode.cend() || limit <= 0)
        return positions;
    const std::vector<Entry>& entries = *found;
    const std::string key = keyOf(probe);
    for (auto it = std::lower_bound(entries.begin(), entries.end(), Entry{key, -1});
         it != entries.end() && it->call.compare(0, key.size(), key) == 0; ++it)
        positions.push_back(it->position);
    // Only the earliest in the log are wanted, in log order.
    if (static_cast<int>(positions.size()) > limit) {
        std::nth_element(positions.begin(), positions.begin() + limit, positions.end());
        positions.resize(static_cast<size_t>(limit));
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

int CallIndex::firstExact(const QString& call, const QString& mode) const
{
    build();
    const auto found = m_byMode.constFind(mode.toUpper());
    if (found == m_byMode.cend())
        return -1;
    const std::vector<Entry>& entries = *found;
    const std::string key = keyOf(call);
    const auto it = std::lower_bound(entries.begin(), entries.end(), Entry{key, -1});
    return it != entries.end() && it->call == key ? it->position : -1;
}

} // namespace tenlog::log
