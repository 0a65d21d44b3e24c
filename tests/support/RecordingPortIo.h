// An in-memory parallel port: records every write to a control register, as
// the ppdev device would take them, from any thread; can be told to fail.
#pragma once

#include "platform/PortIo.h"

#include <mutex>
#include <utility>
#include <vector>

namespace tenlog::testing {

class RecordingPortIo final : public platform::PortIo {
public:
    bool writeControl(int address, std::uint8_t value) override
    {
        std::lock_guard lock(m_lock);
        m_writes.push_back({address, value});
        return !m_failing;
    }
    QString errorString() const override { return QStringLiteral("no parallel port here"); }

    std::vector<std::pair<int, int>> writes() const
    {
        std::lock_guard lock(m_lock);
        return m_writes;
    }
    void setFailing(bool failing) { m_failing = failing; }

private:
    mutable std::mutex m_lock;
    std::vector<std::pair<int, int>> m_writes;
    bool m_failing = false;
};

} // namespace tenlog::testing
