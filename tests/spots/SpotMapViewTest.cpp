// The painted spot map as the operator meets it, on the offscreen platform:
// the colours where the labels are computed to be, the mouse and the
// keyboard on a spot, the spots a screen reader finds, and spot text never
// read as markup.
#include "QtPrinters.h"
#include "SettableClock.h"
#include "spots/SpotMapLayout.h"
#include "spots/ui/SpectrumMapWindow.h"
#include "spots/ui/SpotMapView.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace tenlog::spots;

namespace {

const QDateTime kNow(QDate(2013, 12, 14), QTime(9, 30, 0));

struct StoredSpot {
    QString call;
    float mhz;
    qint64 ageSeconds = 0;
};

void fill(SpotStore& store, const std::vector<StoredSpot>& spots)
{
    for (const StoredSpot& s : spots) {
        Spot spot;
        spot.call = s.call;
        spot.frequencyMhz = s.mhz;
        spot.time = kNow.addSecs(-s.ageSeconds);
        spot.label = s.call.left(3);
        store.push(spot);
    }
}

QColor colourOf(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int pixelsOf(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour)
                ++count;
        }
    }
    return count;
}

// A band map the size the main window gives it, holding the store's 10 m spots.
struct BandMap {
    SpotStore store;
    SpotMapView view;

    explicit BandMap(const std::vector<StoredSpot>& spots)
    {
        fill(store, spots);
        view.resize(900, 80);
        redraw();
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    void redraw() { view.setMap(tenMetreMap(store, kNow, 5)); }
    int spotOf(const QString& call) const
    {
        for (size_t k = 0; k < view.map().spots.size(); ++k) {
            if (view.map().spots[k].tip.startsWith(call + QLatin1Char(' ')))
                return static_cast<int>(k);
        }
        return -1;
    }
};

} // namespace

TEST(SpotMapView, PaintsEachLabelInItsAgeColourWhereItIsPlaced)
{
    const QString longCall(40, QLatin1Char('W')); // no digit: all of it is label
    BandMap map({{"W2GREY", 28.1f, 2000}, {"N3WHITE", 28.6f, 900}, {longCall, 29.69f, 60}, {"K1NEW", 29.2f, 10}});
    const QImage image = map.view.grab().toImage();
    const QLine line = map.view.scaleLine(0);
    ASSERT_EQ(map.view.map().spots.size(), 4u);
    const QRect longLabel = map.view.labelRect(map.spotOf(longCall));
    EXPECT_TRUE(map.view.stripRect(0).contains(longLabel)) << "cut short, and kept inside the strip";
    EXPECT_LT(longLabel.width(), map.view.width() / 4);
    for (const PlacedSpot& spot : map.view.map().spots) {
        const int k = map.spotOf(spot.tip.section(' ', 0, 0));
        const QRect label = map.view.labelRect(k);
        const QColor colour = colourOf(spot.colour);
        EXPECT_GT(pixelsOf(image, label, colour), 0) << spot.tip.toStdString();
        // The tick under the label stands on the spot's frequency.
        const int x = line.x1() + qRound(spot.position * (line.x2() - line.x1()));
        EXPECT_EQ(image.pixelColor(x, line.y1() - 1), colour) << spot.tip.toStdString();
        if (label != longLabel) {
            EXPECT_NEAR(label.center().x(), x, 1) << "centred on its frequency";
        }
        EXPECT_LT(label.bottom(), line.y1()) << "above the line";
    }
    EXPECT_EQ(image.pixelColor(line.x1() + 2, line.y1()), QColor(Qt::white)) << "the scale line";
    EXPECT_EQ(image.pixelColor(2, map.view.height() - 2), QColor(0, 0, 128)) << "the strip";
    const QRect lastCaption = map.view.captionRect(0, 4);
    EXPECT_GT(pixelsOf(image, lastCaption, Qt::white), 0);
    EXPECT_LT(lastCaption.top(), map.view.height()) << "under the line, inside the strip";
    EXPECT_GT(lastCaption.top(), line.y1());
}

TEST(SpotMapView, ThePaintedSpectrumMapPutsEachSpotOnItsBand)
{
    SpotStore store;
    fill(store, {{"VE3AA", 14.010f, 100}, {"JA1BB", 21.3f, 1000}, {"K1TEN", 28.4f, 2500}, {"W6TWO", 144.2f, 30}});
    tenlog::testing::SettableClock clock(kNow);
    SpectrumMapWindow window(store, clock, [] { return 5.0f; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    SpotMapView* view = window.view();
    const QImage image = view->grab().toImage();
    ASSERT_EQ(view->map().spots.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        const PlacedSpot& spot = view->map().spots[static_cast<size_t>(k)];
        const QRect label = view->labelRect(k);
        EXPECT_TRUE(view->stripRect(spot.row).contains(label)) << spot.tip.toStdString();
        EXPECT_GT(pixelsOf(image, label, colourOf(spot.colour)), 0) << spot.tip.toStdString();
        const QLine line = view->scaleLine(spot.row);
        const int x = line.x1() + qRound(spot.position * (line.x2() - line.x1()));
        EXPECT_EQ(image.pixelColor(x, line.y1() - 1), colourOf(spot.colour)) << spot.tip.toStdString();
    }
    EXPECT_EQ(view->map().spots[0].row, 10) << "2 m is the last row";
    EXPECT_EQ(window.windowTitle(), " HF Spectrum Map");
}

TEST(SpotMapView, SpotTextIsNeverReadAsMarkup)
{
    BandMap map({{QStringLiteral("<b>K1AB</b>"), 28.3f}});
    const int spot = map.spotOf(QStringLiteral("<b>K1AB</b>"));
    ASSERT_GE(spot, 0);
    const QPoint at = map.view.labelRect(spot).center();
    QHelpEvent help(QEvent::ToolTip, at, map.view.mapToGlobal(at));
    QApplication::sendEvent(&map.view, &help);
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("&lt;b&gt;K1AB&lt;/b&gt;  28.300  14:30:00")))
        << QToolTip::text().toStdString();
    QToolTip::hideText();
}

TEST(SpotMapView, TheRightButtonTunesAnyOtherRemovesAndTheStripHasItsOwnClicks)
{
    BandMap map({{"K1AB", 28.2f}, {"W2CD", 28.8f}});
    QSignalSpy tune(&map.view, &SpotMapView::tuneRequested);
    QSignalSpy remove(&map.view, &SpotMapView::removeRequested);
    QSignalSpy strip(&map.view, &SpotMapView::stripClicked);
    QSignalSpy stripDouble(&map.view, &SpotMapView::stripDoubleClicked);
    const int k1 = map.spotOf("K1AB");
    const int w2 = map.spotOf("W2CD");

    QTest::mouseClick(&map.view, Qt::RightButton, {}, map.view.labelRect(k1).center());
    ASSERT_EQ(tune.size(), 1);
    EXPECT_EQ(tune.at(0).at(0).toInt(), map.view.map().spots[static_cast<size_t>(k1)].index);
    QTest::mouseClick(&map.view, Qt::MiddleButton, {}, map.view.labelRect(w2).center());
    QTest::mouseClick(&map.view, Qt::LeftButton, {}, map.view.labelRect(w2).center());
    ASSERT_EQ(remove.size(), 2);
    EXPECT_EQ(remove.at(0).at(0).toInt(), SpotStore::kNewest);
    EXPECT_EQ(strip.size(), 0) << "a click on a spot is not one on the strip";

    const QPoint empty(map.view.scaleLine(0).x1() + 1, map.view.height() - 2);
    ASSERT_EQ(map.view.spotAt(empty), -1);
    QTest::mouseClick(&map.view, Qt::LeftButton, {}, empty);
    EXPECT_EQ(strip.size(), 1);

    // A double click as the window system delivers it: press, release,
    // press, double click, release.
    const auto doubleClick = [&map](const QPoint& at) {
        const std::pair<QEvent::Type, quint64> events[] = {
            {QEvent::MouseButtonPress, 1000}, {QEvent::MouseButtonRelease, 1050}, {QEvent::MouseButtonPress, 1200},
            {QEvent::MouseButtonDblClick, 1200}, {QEvent::MouseButtonRelease, 1250}};
        for (const auto& [type, time] : events) {
            const bool down = type != QEvent::MouseButtonRelease;
            QMouseEvent event(type, at, map.view.mapToGlobal(at), Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            event.setTimestamp(time);
            QApplication::sendEvent(&map.view, &event);
        }
    };
    doubleClick(empty);
    EXPECT_EQ(stripDouble.size(), 1);
    EXPECT_EQ(strip.size(), 2) << "the double click's first click, once";
    doubleClick(map.view.labelRect(k1).center());
    EXPECT_EQ(remove.size(), 3) << "a double click on a spot takes it off once";
    EXPECT_EQ(stripDouble.size(), 1);
    EXPECT_EQ(tune.size(), 1);
}

TEST(SpotMapView, TheKeyboardGoesSpotBySpotAndAScreenReaderFollows)
{
    // The owner removes a spot from the store and draws the map again.
    BandMap map({{"K1LOW", 28.1f, 60}, {"W2MID", 28.5f, 240}, {"N3TOP", 29.0f, 0}});
    QObject::connect(&map.view, &SpotMapView::removeRequested, [&map](int index) {
        map.store.hide(index);
        map.redraw();
    });
    QSignalSpy tune(&map.view, &SpotMapView::tuneRequested);
    map.view.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return map.view.hasFocus(); }));
    const auto focusedCall = [&map] {
        const int k = map.view.focusedSpot();
        return k < 0 ? QString() : map.view.map().spots[static_cast<size_t>(k)].tip.section(' ', 0, 0);
    };
    EXPECT_EQ(focusedCall(), "N3TOP") << "the newest first";
    QTest::keyClick(&map.view, Qt::Key_Left);
    EXPECT_EQ(focusedCall(), "W2MID");

    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(&map.view);
    ASSERT_EQ(spoken->childCount(), 3);
    EXPECT_EQ(spoken->role(), QAccessible::List);
    QAccessibleInterface* focusedItem = spoken->focusChild();
    ASSERT_NE(focusedItem, nullptr);
    EXPECT_EQ(focusedItem->text(QAccessible::Name), "W2MID 28.500 MHz, 4 minutes");
    EXPECT_EQ(focusedItem->role(), QAccessible::ListItem);
    EXPECT_TRUE(focusedItem->state().focused);
    EXPECT_EQ(spoken->indexOfChild(focusedItem), map.view.focusedSpot());
    EXPECT_EQ(focusedItem->rect(), QRect(map.view.mapToGlobal(map.view.labelRect(map.view.focusedSpot()).topLeft()),
                                         map.view.labelRect(map.view.focusedSpot()).size()));

    // Delete takes it off and the keyboard goes on to the next by frequency.
    QTest::keyClick(&map.view, Qt::Key_Delete);
    EXPECT_FLOAT_EQ(map.store.entry(SpotStore::kNewest - 1).frequencyMhz, 0.0f);
    EXPECT_EQ(focusedCall(), "N3TOP");
    EXPECT_EQ(spoken->childCount(), 2);
    QTest::keyClick(&map.view, Qt::Key_Home);
    EXPECT_EQ(focusedCall(), "K1LOW");
    QTest::keyClick(&map.view, Qt::Key_Return);
    ASSERT_EQ(tune.size(), 1);
    EXPECT_EQ(tune.at(0).at(0).toInt(), SpotStore::kNewest - 2);

    // A new spot moves the store under the keyboard; it stays on its spot.
    Spot newer;
    newer.call = QStringLiteral("VE3NEW");
    newer.frequencyMhz = 28.05f;
    newer.time = kNow;
    map.store.push(newer);
    map.redraw();
    EXPECT_EQ(focusedCall(), "K1LOW");
    EXPECT_EQ(map.view.map().spots[static_cast<size_t>(map.view.focusedSpot())].index, SpotStore::kNewest - 3);
}
