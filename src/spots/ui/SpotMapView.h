// A painted map of spots: one dark blue strip per band row, a white scale line
// with five captions under it, and one short label per spot above the line at
// its frequency, in the colour its age gives it (SpotMapLayout works out all
// of it). The main window's band map shows the 10 m row; the spectrum map
// shows eleven.
//
// The mouse: the right button on a spot asks to tune to it, any other button
// asks to remove it; a click on the strip itself, and a double click there,
// are passed on. The keyboard: Left and Right go from spot to spot by
// frequency, Up and Down to the row above or below, Home and End to the ends;
// Enter does what the right button does, Delete what the left does. The spot
// the keyboard is on has a frame, and a screen reader finds every spot as a
// child of the map (SpotMapAccessible).
#pragma once

#include "spots/SpotMapLayout.h"

#include <QAccessible>
#include <QLine>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

namespace tenlog::spots {

class SpotMapView : public QWidget {
    Q_OBJECT
public:
    explicit SpotMapView(QWidget* parent = nullptr);
    ~SpotMapView() override;

    void setMap(SpotMap map);
    const SpotMap& map() const { return m_map; }

    // The spot the keyboard is on (an index into map().spots), or -1.
    int focusedSpot() const { return m_focused; }
    void focusSpot(int spot);

    // Where things are drawn, in the view's own coordinates.
    QRect stripRect(int row) const;
    QLine scaleLine(int row) const;
    QRect labelRect(int spot) const;
    QRect captionRect(int row, int caption) const;
    // The spot whose label is at the point (the newest on top), or -1.
    int spotAt(const QPoint& point) const;

    // The accessible child for a spot, made once per place and kept.
    QAccessibleInterface* accessibleSpot(int spot) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // storeIndex is the spot's entry in the store.
    void tuneRequested(int storeIndex);
    void removeRequested(int storeIndex);
    // The pointer is over a spot (its tip), or has left the spots (empty).
    void spotHovered(const QString& tip);
    void stripClicked();
    void stripDoubleClicked();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Where everything goes, worked out once per map, size and font.
    struct RowFrame {
        QRect strip;
        int nameWidth = 0;
        int lineY = 0;
        int x1 = 0;
        int x2 = 0;
        int gap = 0;
        std::array<QRect, 5> captions;
    };
    struct LabelPlace {
        QRect rect; // null for a spot on no row of the map
        QString text;
        int tickX = 0;
    };
    struct Layout {
        std::vector<RowFrame> rows;
        std::vector<LabelPlace> labels; // as map().spots
    };
    const Layout& layout() const;
    void moveFocus(SpotStep step);
    void removeFocusedSpot();
    void announceFocus();
    void hover(int spot);

    SpotMap m_map;
    mutable std::optional<Layout> m_layout;
    int m_focused = -1;
    // Which spot the keyboard is on, kept across redraws: store indexes move
    // as spots arrive, a spot's call, frequency and time (its tip) do not.
    struct SpotIdentity {
        QString tip;
        int row = -1;
    };
    SpotIdentity m_focusedIdentity;
    int m_hovered = -1;
    bool m_pressOnSpot = false;
    // The last press, to know the second press of a double click.
    std::optional<quint64> m_lastPressTime; // the event's own time stamp, ms
    QPoint m_lastPressAt;
    bool m_releaseAfterDoubleClick = false;
    mutable std::vector<QAccessible::Id> m_accessibleSpots;
};

} // namespace tenlog::spots
