// The main window's spot area, across the bottom under the other areas: the
// list of the last 200 spots, newest first, or the 10 m band map, as the
// spotting window's "Main Form Display" chooses. It shows only once a source
// is chosen and "&Done" pressed, and goes again with "None"; the list fills
// from the start of the run all the same.
//
// The list: a click or Enter on a row asks for its call and frequency; a
// double click asks for the spectrum map. The band map: the right button or
// Enter on a spot asks to tune to it, any other button or Delete to remove
// it; a click on the strip asks for the spotting window, a double click for
// the spectrum map. Ctrl+Shift+S gives either the keyboard (enter()), Esc
// gives it back.
#pragma once

#include "spots/SpotStore.h"

#include <QWidget>

#include <deque>
#include <functional>

class QStackedWidget;
class QTreeWidget;

namespace tenlog::platform {
class Clock;
}

namespace tenlog::spots {
class SpotMapView;
}

namespace tenlog::station {

class SpotArea : public QWidget {
    Q_OBJECT
public:
    enum class Display { None, List, BandMap };
    static constexpr int kListRows = 200;

    // countryOf gives a spotted call's country ("" when unknown);
    // utcOffsetHours the offset spot times are shown with.
    SpotArea(const spots::SpotStore& store, const platform::Clock& clock, std::function<float()> utcOffsetHours,
             std::function<QString(const QString&)> countryOf, QWidget* parent = nullptr);

    void setDisplay(Display display);
    Display display() const { return m_display; }

    // A spot was stored; its record fills the list's columns. The row goes in
    // with the next storeChanged() while the list shows (so a burst lays it
    // out once per slice of lines), else when the list is next shown.
    void takeSpot(const spots::Spot& spot, const QString& record);
    // The store changed: the list takes the waiting rows, or the band map
    // redraws, whichever shows.
    void storeChanged();
    // Draws the band map from the store, when it shows.
    void redrawBandMap();

    // A tenth of the window's height, and never less than the band map and a
    // few list rows need.
    void fitHeight(int windowHeight);
    // Column widths follow the window's width.
    void fitColumns(int windowWidth);
    // Gives the keyboard to the list or the band map, whichever shows.
    void enter();

    QTreeWidget* list() const { return m_list; }
    spots::SpotMapView* bandMap() const { return m_bandMap; }

signals:
    // A click or Enter in the list: the chosen row's call and frequency
    // (both empty when no row is chosen).
    void listRowChosen(const QString& call, const QString& frequencyText);
    void tuneRequested(int storeIndex);
    void removeRequested(int storeIndex);
    // The pointer is over a band-map spot (its tip), or has left (empty).
    void spotHovered(const QString& tip);
    void spottingWindowRequested();
    void spectrumMapRequested();
    // Esc: the keyboard goes back to the entry line.
    void leaveArea();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct WaitingRow {
        QString call;
        float frequencyMhz;
        QString record;
    };
    void addWaitingRows();
    void chooseListRow();

    const spots::SpotStore& m_store;
    const platform::Clock& m_clock;
    std::function<float()> m_utcOffsetHours;
    std::function<QString(const QString&)> m_countryOf;
    Display m_display = Display::None;
    bool m_releaseAfterDoubleClick = false;
    std::deque<WaitingRow> m_waiting; // oldest first, at most kListRows
    QStackedWidget* m_pages = nullptr;
    QTreeWidget* m_list = nullptr;
    spots::SpotMapView* m_bandMap = nullptr;
};

} // namespace tenlog::station
