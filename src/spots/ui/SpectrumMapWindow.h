// The HF spectrum map (objectName "SpectrumMap"): every stored spot at once on
// eleven band rows, 160 m to 2 m, each row zoomed to its own spots. It opens
// modally over the screen's whole work area and draws itself again whenever
// it is activated and whenever the owner says a spot was stored. The right
// button (or Enter) on a spot asks to tune to it and closes the map; any
// other button (or Delete) asks to remove it from both maps. Esc closes it.
#pragma once

#include "spots/SpotStore.h"

#include <QDialog>

#include <functional>

namespace tenlog::platform {
class Clock;
}

namespace tenlog::spots {

class SpotMapView;

class SpectrumMapWindow : public QDialog {
    Q_OBJECT
public:
    // utcOffsetHours gives the offset the spot times are shown with.
    SpectrumMapWindow(const SpotStore& store, const platform::Clock& clock, std::function<float()> utcOffsetHours,
                      QWidget* parent = nullptr);

    // Draws the store as it stands.
    void redraw();
    SpotMapView* view() const { return m_view; }

signals:
    // storeIndex is the spot's store entry. The map closes after a tune.
    void tuneRequested(int storeIndex);
    void removeRequested(int storeIndex);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    const SpotStore& m_store;
    const platform::Clock& m_clock;
    std::function<float()> m_utcOffsetHours;
    SpotMapView* m_view = nullptr;
};

} // namespace tenlog::spots
