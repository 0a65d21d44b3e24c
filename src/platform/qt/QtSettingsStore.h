// The per-user settings store on QSettings. Each application name becomes its
// own settings file under the user's config folder, or under a given root
// folder (tests use a temporary one).
#pragma once

#include "platform/SettingsStore.h"

namespace tenlog::platform {

class QtSettingsStore final : public SettingsStore {
public:
    // Empty root: the user's config folder ($XDG_CONFIG_HOME or ~/.config).
    explicit QtSettingsStore(QString rootFolder = {});
    QString value(const QString& application, const QString& section, const QString& key,
                  const QString& defaultValue) const override;
    void setValue(const QString& application, const QString& section, const QString& key,
                  const QString& value) override;

private:
    QString fileFor(const QString& application) const;
    QString m_root;
};

} // namespace tenlog::platform
