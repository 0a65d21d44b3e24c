// The per-user settings store: strings under application, section and key.
#pragma once

#include <QString>

namespace tenlog::platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString& application, const QString& section,
                          const QString& key, const QString& defaultValue = {}) const = 0;
    virtual void setValue(const QString& application, const QString& section,
                          const QString& key, const QString& value) = 0;
};

} // namespace tenlog::platform
