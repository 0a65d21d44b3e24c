// What a screen reader finds in a spot map: the map as a list, each spot a
// list item named like "K1ABC 28.025 MHz, 4 minutes", placed where its label
// is drawn, focused when the keyboard is on it.
#pragma once

#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QPointer>

namespace tenlog::spots {

class SpotMapView;

// Makes the accessible interface of every SpotMapView from now on.
void installSpotMapAccessibility();

class SpotMapAccessible : public QAccessibleWidget {
public:
    explicit SpotMapAccessible(SpotMapView* view);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    SpotMapView* view() const;
};

// One spot, by its place in the map's list of spots; it reads the map as it
// stands, so it stays right across redraws and is invalid once the map has
// fewer spots.
class SpotAccessible : public QAccessibleInterface {
public:
    SpotAccessible(SpotMapView* view, int spot);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

    int spot() const { return m_spot; }

private:
    QPointer<SpotMapView> m_view;
    int m_spot;
};

} // namespace tenlog::spots
