// The spot list, the band map and the spectrum map as an operator uses them:
// spots from the cluster emulator on loopback reach the list and both maps,
// a real mouse click on a spot sends the radio emulator there over its
// pseudo-terminal and fills the call box, the spot area comes and goes
// without moving anything for good, and what a broken cluster sends is shown
// as text and kept inside the maps.
#include "SpotsMainWindowFixture.h"

#include "station/SpotArea.h"
#include "spots/ui/SpotMapView.h"

#include <QAccessible>
#include <QScreen>
#include <QScrollArea>

namespace {

class SpotMapsTest : public SpotsInMainWindowTest {
protected:
    spots::SpotMapView* bandMap() const { return find<spots::SpotMapView>("lblDX"); }
    QTreeWidget* spotList() const { return find<QTreeWidget>("txtDX"); }

    static int spotOf(const spots::SpotMapView* view, const QString& call)
    {
        for (size_t k = 0; k < view->map().spots.size(); ++k) {
            if (view->map().spots[k].tip.startsWith(call + QLatin1Char(' ')))
                return static_cast<int>(k);
        }
        return -1;
    }
    static void click(spots::SpotMapView* view, const QString& call, Qt::MouseButton button)
    {
        const int spot = spotOf(view, call);
        ASSERT_GE(spot, 0) << call.toStdString();
        QTest::mouseClick(view, button, {}, view->labelRect(spot).center());
    }
    bool bandMapHolds(int spots) const { return static_cast<int>(bandMap()->map().spots.size()) == spots; }

    // Where every area of the window lies, by name.
    std::map<QString, QRect> areaGeometry() const
    {
        std::map<QString, QRect> areas;
        for (const char* name : {"stationArea", "clockArea", "entryLineArea", "lowerScroll", "MultiplierGrid",
                                 "contactListArea", "scorePanel", "dxCountryList"}) {
            const QWidget* area = find(name);
            areas[QString::fromLatin1(name)] = QRect(area->mapTo(window.get(), QPoint()), area->size());
        }
        return areas;
    }

    // The spotting window again, its source and the main window's display
    // changed, then Done.
    void chooseInSpottingWindow(const QString& source, const char* display)
    {
        find<QAction>("mnuConfigure")->trigger();
        auto* spotting = window->findChild<QDialog*>(QStringLiteral("PacketSpotfrm"));
        if (!source.isEmpty()) {
            auto* sources = spotting->findChild<QListWidget*>(QStringLiteral("List1"));
            QListWidgetItem* item = sources->findItems(source, Qt::MatchExactly).first();
            sources->setCurrentItem(item);
            emit sources->itemClicked(item);
        }
        spotting->findChild<QRadioButton*>(QString::fromLatin1(display))->click();
        spotting->findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
        QApplication::processEvents();
    }
};

TEST_F(SpotMapsTest, ClusterSpotsReachTheListAndTheBandMapAndARightClickTunesTheRadio)
{
    KenwoodOnCom3 kenwood;
    ASSERT_TRUE(kenwood.setUp(paths)) << kenwood.radio.error().toStdString();
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "10"});
    ASSERT_TRUE(node.started());
    rigControl = kenwood.rig.get();
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    EXPECT_FALSE(window->findChild<station::SpotArea*>()->isVisible()) << "no area before Done";
    listenToCluster(node);
    QApplication::setActiveWindow(window.get()); // the spotting window has gone
    // VE3AAA, the first, is on 28000.0: the band's edge, off the map.
    ASSERT_TRUE(QTest::qWaitFor([&] { return bandMapHolds(9); }, 10000));

    // The pointer over a spot shows its tip on the hover line.
    const int ja = spotOf(bandMap(), QStringLiteral("JA1AAD"));
    ASSERT_GE(ja, 0);
    QTest::mouseMove(bandMap(), bandMap()->labelRect(ja).center());
    EXPECT_EQ(textOf("lblDupe"), QStringLiteral("JA1AAD  28.003  14:00:00"));

    // A right click: the radio goes there, the call goes in and on as Tab.
    click(bandMap(), QStringLiteral("JA1AAD"), Qt::RightButton);
    EXPECT_TRUE(kenwood.radio.waitFor([&] { return kenwood.toldToGoTo("00028003300"); }))
        << kenwood.radio.received().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("JA1AAD"));
    EXPECT_TRUE(textOf("txtRSTR").startsWith(QStringLiteral("59"))) << "the call was processed as if Tab was pressed";
    EXPECT_EQ(textOf("txtCntry"), QStringLiteral("Japan"));
    EXPECT_EQ(focused(), QStringLiteral("txtRSTR"));

    // The list, chosen now, holds every spot so far, newest first.
    chooseInSpottingWindow({}, "OptList");
    ASSERT_EQ(spotList()->topLevelItemCount(), 10);
    const QTreeWidgetItem* newest = spotList()->topLevelItem(0);
    QStringList columns;
    for (int c = 0; c < newest->columnCount(); ++c)
        columns << newest->text(c);
    EXPECT_EQ(columns, (QStringList{"KL7AAJ", "28.0099", "Alaska", "", "DE K9CT:  5NN", "", "1009", ""}));
    window.reset();
}

TEST_F(SpotMapsTest, TheSpotAreaComesSwitchesAndGoesLeavingEveryAreaWhereItWas)
{
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "5"});
    ASSERT_TRUE(node.started());
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    const QRect windowBefore = window->frameGeometry();
    const auto before = areaGeometry();
    auto* area = window->findChild<station::SpotArea*>();

    listenToCluster(node, "OptBand");
    QApplication::processEvents();
    ASSERT_TRUE(bandMap()->isVisible());
    EXPECT_FALSE(spotList()->isVisible());
    const auto withBandMap = areaGeometry();
    EXPECT_NE(withBandMap, before) << "the other areas make room";
    const QRect areaAt(area->mapTo(window.get(), QPoint()), area->size());
    EXPECT_GE(areaAt.top(), withBandMap.at("lowerScroll").bottom()) << "under everything else";
    EXPECT_TRUE(window->rect().contains(areaAt));
    EXPECT_NEAR(area->height(), window->height() / 10, window->height() / 20);
    EXPECT_EQ(window->frameGeometry(), windowBefore) << "the window does not grow";

    chooseInSpottingWindow({}, "OptList");
    EXPECT_TRUE(spotList()->isVisible());
    EXPECT_FALSE(bandMap()->isVisible());
    EXPECT_EQ(areaGeometry(), withBandMap) << "switching moves nothing else";
    const QHeaderView* header = spotList()->header();
    EXPECT_EQ(header->sectionSize(3), 0) << "Status has no width";
    EXPECT_EQ(header->sectionPosition(4), header->sectionPosition(2) + header->sectionSize(2));
    EXPECT_EQ(header->sectionSize(0), qRound(1040 * window->width() / 9600.0));
    EXPECT_EQ(header->sectionSize(4), qRound(3400 * window->width() / 9600.0));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(spotList());
    ASSERT_NE(table->tableInterface(), nullptr) << "a screen reader reads the list as a table";

    chooseInSpottingWindow(QStringLiteral("None"), "OptList");
    EXPECT_FALSE(area->isVisible());
    EXPECT_EQ(areaGeometry(), before) << "every area back where it was";
    EXPECT_EQ(window->frameGeometry(), windowBefore);
}

TEST_F(SpotMapsTest, AListClickTakesTheCallAndTunesOnlyWhenARadioIsChosen)
{
    KenwoodOnCom3 kenwood;
    ASSERT_TRUE(kenwood.setUp(paths)) << kenwood.radio.error().toStdString();
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "10"});
    ASSERT_TRUE(node.started());
    rigControl = kenwood.rig.get();
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node, "OptList");
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return spotList()->topLevelItemCount() == 10; }, 10000));
    const auto rowOf = [this](const char* call) {
        return spotList()->findItems(QString::fromLatin1(call), Qt::MatchExactly, 0).first();
    };

    spotList()->scrollToItem(rowOf("VE7AAE"));
    QTest::mouseClick(spotList()->viewport(), Qt::LeftButton, {},
                      spotList()->visualItemRect(rowOf("VE7AAE")).center());
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("VE7AAE"));
    EXPECT_EQ(focused(), QStringLiteral("txtCall")) << "no Tab from the list";
    EXPECT_TRUE(kenwood.radio.waitFor([&] { return kenwood.toldToGoTo("00028004400"); }))
        << kenwood.radio.received().join(QLatin1Char('|')).toStdString();

    // From the keyboard: Ctrl+Shift+S into the list, a row, Enter; and with
    // no radio chosen the call is taken but nothing is sent.
    window->session().mutablePrefs().RigName = QStringLiteral("None");
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(focused(), QStringLiteral("txtDX"));
    spotList()->setCurrentItem(rowOf("KH6AAF"));
    QTest::keyClick(spotList(), Qt::Key_Return);
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("KH6AAF"));
    EXPECT_EQ(focused(), QStringLiteral("txtCall"));
    QTest::qWait(500);
    EXPECT_FALSE(kenwood.toldToGoTo("00028005500"));
    window.reset();
}

TEST_F(SpotMapsTest, TheSpectrumMapShowsEveryBandTakesASpotAndRemovesOneFromBothMaps)
{
    KenwoodOnCom3 kenwood;
    ASSERT_TRUE(kenwood.setUp(paths)) << kenwood.radio.error().toStdString();
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "bands"});
    ASSERT_TRUE(node.started());
    rigControl = kenwood.rig.get();
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node);
    QApplication::setActiveWindow(window.get()); // the spotting window has gone
    ASSERT_TRUE(QTest::qWaitFor([&] { return bandMapHolds(1); }, 10000)) << "W1AAD on 28025.0";

    // Ctrl+B: the map over the whole work area, a row for each band.
    QStringList calls;
    bool coversWorkArea = false;
    dialogs.modalScripts.push_back([&](QDialog* d) {
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d));
        coversWorkArea = d->frameGeometry() == d->screen()->availableGeometry();
        auto* map = d->findChild<spots::SpotMapView*>();
        for (const spots::PlacedSpot& spot : map->map().spots)
            calls << spot.tip.section(QLatin1Char(' '), 0, 0);
        // A left click takes W1AAD off both maps.
        click(map, QStringLiteral("W1AAD"), Qt::LeftButton);
        EXPECT_EQ(spotOf(map, QStringLiteral("W1AAD")), -1);
        click(map, QStringLiteral("W7AAA"), Qt::RightButton);
        EXPECT_FALSE(d->isVisible()) << "a right click closes the map";
        return d->result();
    });
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(dialogs.modalRuns, 2) << "the station dialog, then the map";
    EXPECT_TRUE(coversWorkArea);
    EXPECT_EQ(calls, (QStringList{"W1AAD", "W1AAC", "W0AAB", "W7AAA"}));
    EXPECT_TRUE(bandMapHolds(0)) << "gone from the band map too";
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W7AAA"));
    EXPECT_EQ(textOf("txtRSTR"), QString()) << "no Tab from the spectrum map";
    EXPECT_TRUE(kenwood.radio.waitFor([&] { return kenwood.toldToGoTo("00014025000"); }));

    // A double click on the strip opens it too, after the click's own work.
    int modalRunsBefore = dialogs.modalRuns;
    const QPoint strip(bandMap()->scaleLine(0).x1() + 2, bandMap()->height() - 2);
    QTest::mouseClick(bandMap(), Qt::LeftButton, {}, strip);
    QTest::mouseDClick(bandMap(), Qt::LeftButton, {}, strip);
    EXPECT_EQ(dialogs.modalRuns, modalRunsBefore + 1);
    EXPECT_TRUE(window->findChild<QDialog*>(QStringLiteral("PacketSpotfrm"))->isVisible())
        << "the click opened the spotting window";
    window.reset();
}

TEST_F(SpotMapsTest, ASpotStoredWhileTheSpectrumMapIsOpenIsDrawnAtOnce)
{
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"),
                                          {"--mode", "pace", "--pace-ms", "100", "--count", "30"});
    ASSERT_TRUE(node.started());
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node, "OptList");
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return spotList()->topLevelItemCount() >= 1; }, 10000));
    size_t first = 0;
    size_t later = 0;
    dialogs.modalScripts.push_back([&](QDialog* d) {
        d->show();
        auto* map = d->findChild<spots::SpotMapView*>();
        first = map->map().spots.size();
        EXPECT_TRUE(QTest::qWaitFor([&] { return map->map().spots.size() >= first + 3; }, 10000));
        later = map->map().spots.size();
        return static_cast<int>(QDialog::Rejected);
    });
    QTest::mouseDClick(spotList()->viewport(), Qt::LeftButton, {},
                       spotList()->visualItemRect(spotList()->topLevelItem(0)).center());
    EXPECT_EQ(dialogs.modalRuns, 2) << "a double click on the list opens the map";
    EXPECT_GE(later, first + 3);
}

TEST_F(SpotMapsTest, ARightClickWithTheRadioDownIsSaidOnceOnTheMessageLine)
{
    // A Kenwood chosen on a port whose device has gone.
    QDir().mkpath(paths.root() + QStringLiteral("/user"));
    QFile map(paths.root() + QStringLiteral("/user/ComPorts.txt"));
    ASSERT_TRUE(map.open(QIODevice::WriteOnly));
    map.write("COM3=" + (paths.root() + QStringLiteral("/no-such-device")).toLocal8Bit() + "\r\n");
    map.close();
    platform::QtSerialPort port(platform::ComPortMap::readFrom(map.fileName(), QDir::homePath()));
    tenlog::testing::FakeTcpClient noDaemon;
    rig::RigControl rig(port, noDaemon, paths.workingFolder(), paths.root());
    rig::RigSettings kenwood;
    rig::applyRigProfile(kenwood, *rig::findRigProfile(QStringLiteral("Kenwood")));
    kenwood.commPortNumber = 3;
    ASSERT_TRUE(rig::saveRigSettings(paths.workingFolder(), kenwood));
    log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
    prefs.RigName = QStringLiteral("Kenwood");
    log::savePrefs(paths.workingFolder(), prefs);
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "3"});
    ASSERT_TRUE(node.started());
    rigControl = &rig;
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node);
    QApplication::setActiveWindow(window.get()); // the spotting window has gone
    ASSERT_TRUE(QTest::qWaitFor([&] { return bandMapHolds(2); }, 10000));
    const size_t boxes = dialogs.messages.size();
    QStringList troubles;
    QObject::connect(&rig, &rig::RigControl::trouble, [&](const QString& text) { troubles << text; });

    click(bandMap(), QStringLiteral("K1AAB"), Qt::RightButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return textOf("lblDialog").contains(QStringLiteral("not tuned")); }, 5000))
        << textOf("lblDialog").toStdString();
    QTest::qWait(300);
    EXPECT_EQ(troubles.filter(QStringLiteral("not tuned")).size(), 1) << troubles.join(u'\n').toStdString();
    EXPECT_EQ(dialogs.messages.size(), boxes) << "no box while a call may be typed";
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1AAB"));
    window.reset();
}

TEST_F(SpotMapsTest, WhatABrokenClusterSendsIsShownAsTextAndKeptInsideTheMaps)
{
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "hostile"});
    ASSERT_TRUE(node.started());
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node);
    QApplication::setActiveWindow(window.get()); // the spotting window has gone
    ASSERT_TRUE(QTest::qWaitFor([&] { return spotOf(bandMap(), QStringLiteral("N0END")) >= 0; }, 10000));

    const auto insideStrips = [](const spots::SpotMapView* view) {
        for (int k = 0; k < static_cast<int>(view->map().spots.size()); ++k) {
            if (!view->stripRect(view->map().spots[static_cast<size_t>(k)].row).contains(view->labelRect(k)))
                return false;
        }
        return true;
    };
    // Zero, negative and absurd frequencies are on no map; 44 spots on one
    // frequency and a call of letters only are.
    EXPECT_EQ(spotOf(bandMap(), QStringLiteral("W0ZERO")), -1);
    EXPECT_EQ(spotOf(bandMap(), QStringLiteral("W0NEG")), -1);
    EXPECT_EQ(spotOf(bandMap(), QStringLiteral("W0ABSURD")), -1);
    EXPECT_GE(spotOf(bandMap(), QStringLiteral("ABCDEFGHIJKLM")), 0);
    EXPECT_EQ(bandMap()->map().spots.size(), 47u);
    EXPECT_TRUE(insideStrips(bandMap()));
    const int markup = spotOf(bandMap(), QStringLiteral("<b>K1AB</b>"));
    ASSERT_GE(markup, 0);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(bandMap())->child(markup)->text(QAccessible::Name),
              QStringLiteral("<b>K1AB</b> 28.200 MHz, less than a minute"));

    chooseInSpottingWindow({}, "OptList");
    const QList<QTreeWidgetItem*> rows = spotList()->findItems(QStringLiteral("<b>K1AB</b>"), Qt::MatchExactly, 0);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first()->text(4), QStringLiteral("DE W3LPL:  <B>BOLD</B> <I>X</I>"));

    // The clock set back two hours: every spot is from the future, and new.
    clock.setLocal(clock.localNow().addSecs(-7200));
    bool spectrumInside = false;
    size_t spectrumSpots = 0;
    dialogs.modalScripts.push_back([&](QDialog* d) {
        d->show();
        auto* map = d->findChild<spots::SpotMapView*>();
        spectrumSpots = map->map().spots.size();
        spectrumInside = insideStrips(map);
        return static_cast<int>(QDialog::Rejected);
    });
    find<QAction>("mnuSpectrum")->trigger();
    EXPECT_EQ(spectrumSpots, 47u);
    EXPECT_TRUE(spectrumInside);
    window.reset();
}

TEST_F(SpotMapsTest, TheBandMapAgesWhenTheWindowComesBackAndSpotsComeOffByMouseAndKeyboard)
{
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "4"});
    ASSERT_TRUE(node.started());
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node);
    QApplication::setActiveWindow(window.get()); // the spotting window has gone
    ASSERT_TRUE(QTest::qWaitFor([&] { return bandMapHolds(3); }, 10000));
    EXPECT_EQ(bandMap()->map().spots[0].colour, spots::kFreshSpotColour);
    // The window system brings the main window to the front again.
    const auto comeBack = [this] {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(window.get(), &activate);
    };

    clock.setLocal(clock.localNow().addSecs(1800));
    EXPECT_EQ(bandMap()->map().spots[0].colour, spots::kFreshSpotColour) << "nothing redrew yet";
    comeBack();
    EXPECT_EQ(bandMap()->map().spots[0].colour, spots::kOldSpotColour);
    clock.setLocal(clock.localNow().addSecs(1800));
    comeBack();
    EXPECT_TRUE(bandMapHolds(0)) << "an hour old: off the map";
    clock.setLocal(clock.localNow().addSecs(-3600));
    comeBack();
    ASSERT_TRUE(bandMapHolds(3));

    click(bandMap(), QStringLiteral("W6AAC"), Qt::LeftButton);
    EXPECT_TRUE(bandMapHolds(2));
    EXPECT_EQ(spotOf(bandMap(), QStringLiteral("W6AAC")), -1);

    // The keyboard: Ctrl+Shift+S onto the newest, Home, Delete, Escape back.
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(focused(), QStringLiteral("lblDX"));
    EXPECT_EQ(bandMap()->focusedSpot(), 0);
    QTest::keyClick(bandMap(), Qt::Key_Home);
    QTest::keyClick(bandMap(), Qt::Key_Delete);
    EXPECT_EQ(spotOf(bandMap(), QStringLiteral("K1AAB")), -1);
    EXPECT_TRUE(bandMapHolds(1));
    QTest::keyClick(bandMap(), Qt::Key_Escape);
    EXPECT_EQ(focused(), QStringLiteral("txtCall"));
}

} // namespace
