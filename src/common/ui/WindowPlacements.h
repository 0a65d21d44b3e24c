// Remembers where the operator put each window. When a window that keeps
// itself on the screen (ScreenFit) hides or closes, its position, and its
// size when it can be resized, go to the settings store under its object
// name; the next time it opens, in this run or a later one, it comes back
// there. The window's own fit then clamps it into the screen's available
// area, so a smaller screen or a monitor that has gone never leaves it out
// of reach.
#pragma once

#include <QObject>

class QWidget;

namespace tenlog::platform {
class SettingsStore;
}

namespace tenlog::common {

class WindowPlacements final : public QObject {
    Q_OBJECT
public:
    // Watches every window of the application from now on.
    explicit WindowPlacements(platform::SettingsStore& store, QObject* parent = nullptr);
    ~WindowPlacements() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore(QWidget* window);
    void remember(const QWidget* window);

    platform::SettingsStore& m_store;
};

} // namespace tenlog::common
