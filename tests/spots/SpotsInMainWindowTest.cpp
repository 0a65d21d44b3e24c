// Spotting as an operator uses it from the main window: Ctrl+D, a DX cluster
// on loopback (the emulator of tools/), and the multiplier grid that spots
// turn green, describe on hover and fill the entry line from on a click.
#include "SpotsMainWindowFixture.h"

namespace {

TEST_F(SpotsInMainWindowTest, ClusterSpotsColourHoverAndFillTheEntryLine)
{
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "10"});
    ASSERT_TRUE(node.started());
    log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
    prefs.NeededSpotsGreen = 1;
    log::savePrefs(paths.workingFolder(), prefs);
    spotTransports = &transports;
    scriptStation(QStringLiteral("VE3AAA")); // the first call the replay spots
    ASSERT_TRUE(start());
    EXPECT_TRUE(find<QAction>("mnuDXSpotsColor")->isChecked());

    listenToCluster(node);

    // Spot 3 of the replay is "JA1AAD ... 59 MA": Massachusetts is needed.
    const int ma = log::multIndex(QStringLiteral("MA"));
    const int ct = log::multIndex(QStringLiteral("CT"));
    QLabel* maLabel = find<QLabel>(QStringLiteral("Label10_%1").arg(ma).toLatin1().constData());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return maLabel->palette().color(QPalette::WindowText) == QColor(0, 192, 0); }, 10000));
    EXPECT_NE(find<QLabel>(QStringLiteral("Label10_%1").arg(ct).toLatin1().constData())
                  ->palette()
                  .color(QPalette::WindowText),
              QColor(0, 192, 0))
        << "no spot names Connecticut";

    // The station's own call among them: both lines say so, on white.
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("You've been spotted! "));
    EXPECT_TRUE(textOf("lblDupe").startsWith(QStringLiteral("You've been spotted!  de K1TTT:"))) << textOf("lblDupe").toStdString();
    EXPECT_EQ(find<QLabel>("lblDialog")->palette().color(QPalette::Window), QColor(Qt::white));

    auto* grid = window->findChild<station::MultiplierGrid*>();
    emit grid->entryHovered(ma);
    EXPECT_TRUE(textOf("lblDupe").contains(QStringLiteral("Recent Spot: JA1AAD  -  28.0033")))
        << textOf("lblDupe").toStdString() << "|";

    QApplication::setActiveWindow(window.get());
    emit grid->entryClicked(ma);
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("JA1AAD"));
    EXPECT_EQ(textOf("txtSec"), QStringLiteral("MA"));
    EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("JA1AAD  -  MA"))) << textOf("lblDialog").toStdString();

    // Turned off, the grid shows worked and remaining only.
    find<QAction>("mnuDXSpotsColor")->trigger();
    EXPECT_NE(maLabel->palette().color(QPalette::WindowText), QColor(0, 192, 0));
    EXPECT_EQ(log::loadPrefs(paths.workingFolder())->NeededSpotsGreen, 0);
}

TEST_F(SpotsInMainWindowTest, AClickOnANeededMultiplierTunesTheRadioToItsSpot)
{
    tenlog::testing::RadioEmulatorProcess radio(QStringLiteral(TENLOG_KENWOOD_EMULATOR));
    ASSERT_TRUE(radio.start());
    QDir().mkpath(paths.root() + QStringLiteral("/user"));
    QFile map(paths.root() + QStringLiteral("/user/ComPorts.txt"));
    ASSERT_TRUE(map.open(QIODevice::WriteOnly));
    map.write("COM3=" + radio.ptyPath().toLocal8Bit() + "\r\n");
    map.close();
    platform::QtSerialPort rigPort(platform::ComPortMap::readFrom(map.fileName(), QDir::homePath()));
    tenlog::testing::FakeTcpClient noDaemon;
    rig::RigControl rig(rigPort, noDaemon, paths.workingFolder(), paths.root());
    rig::RigSettings kenwood;
    rig::applyRigProfile(kenwood, *rig::findRigProfile(QStringLiteral("Kenwood")));
    kenwood.commPortNumber = 3;
    kenwood.pollRateCode = QStringLiteral("F");
    ASSERT_TRUE(rig::saveRigSettings(paths.workingFolder(), kenwood));
    log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
    prefs.RigName = QStringLiteral("Kenwood");
    log::savePrefs(paths.workingFolder(), prefs);

    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "10"});
    ASSERT_TRUE(node.started());
    rigControl = &rig;
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recentSpotShown(); }, 10000));

    emit window->findChild<station::MultiplierGrid*>()->entryClicked(log::multIndex(QStringLiteral("MA")));
    // JA1AAD at 28003.3 kHz: FA00028003300;
    EXPECT_TRUE(radio.waitFor([&] {
        return radio.received().contains(QStringLiteral("46 41 30 30 30 32 38 30 30 33 33 30 30 3B"));
    })) << radio.received().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->session().pendingFrequency() == QLatin1String("28.003"); }, 5000))
        << "the radio reports the spot's frequency back";
    window.reset();
}

// W7AAA on 14025.0 (AZ), W0AAB on 50100.0 (CO), W1AAC on 144200.0 (ME),
// then W1AAD on 28025.0 (MA). Which spots offer a multiplier is the rule of
// NeededSpots; the window follows it. A click that finds no spot sends the
// radio nowhere either: the call and the frequency come from the same spot.
TEST_F(SpotsInMainWindowTest, SpotsOfOtherBandsNeitherColourTheGridNorFillTheEntryLine)
{
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "bands"});
    ASSERT_TRUE(node.started());
    log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
    prefs.NeededSpotsGreen = 1;
    log::savePrefs(paths.workingFolder(), prefs);
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node);

    const auto green = [&](const char* abbreviation) {
        const QString name = QStringLiteral("Label10_%1").arg(log::multIndex(QString::fromLatin1(abbreviation)));
        return find<QLabel>(name.toLatin1().constData())->palette().color(QPalette::WindowText) == QColor(0, 192, 0);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return green("MA"); }, 10000));
    auto* grid = window->findChild<station::MultiplierGrid*>();
    QApplication::setActiveWindow(window.get());
    for (const char* abbreviation : {"AZ", "CO", "ME"}) {
        EXPECT_FALSE(green(abbreviation)) << abbreviation;
        emit grid->entryClicked(log::multIndex(QString::fromLatin1(abbreviation)));
        EXPECT_EQ(textOf("txtCall"), QString()) << abbreviation;
    }
    emit grid->entryClicked(log::multIndex(QStringLiteral("MA")));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W1AAD"));
}

} // namespace

TEST_F(SpotsInMainWindowTest, AClusterThatHangsUpWhileACallIsTypedIsSaidWithoutTakingKeys)
{
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "3", "--close"});
    ASSERT_TRUE(node.started());
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node);
    const size_t boxesBefore = dialogs.messages.size();
    QApplication::setActiveWindow(window.get()); // the spotting window has gone
    find<QLineEdit>("txtCall")->setFocus();
    type(QStringLiteral("k1a"));
    auto* status = find<QLabel>("spotLinkStatus");
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->accessibleName() == QLatin1String("Spots: the cluster closed the connection"); }, 10000))
        << status->accessibleName().toStdString();
    EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("Spots: the cluster closed the connection"))) << textOf("lblDialog").toStdString();
    type(QStringLiteral("bc"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC"));
    EXPECT_EQ(dialogs.messages.size(), boxesBefore) << "no box";
    EXPECT_FALSE(window->findChild<QDialog*>(QStringLiteral("PacketSpotfrm"))->isVisible()) << "no window opened by itself";
}
