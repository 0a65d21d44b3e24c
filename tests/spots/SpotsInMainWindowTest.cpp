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

    auto* grid = window->findChild<log::MultiplierGrid*>();
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
    KenwoodOnCom3 kenwood;
    ASSERT_TRUE(kenwood.setUp(paths)) << kenwood.radio.error().toStdString();
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "10"});
    ASSERT_TRUE(node.started());
    rigControl = kenwood.rig.get();
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recentSpotShown(); }, 10000));

    emit window->findChild<log::MultiplierGrid*>()->entryClicked(log::multIndex(QStringLiteral("MA")));
    // JA1AAD at 28003.3 kHz: FA00028003300;
    EXPECT_TRUE(kenwood.radio.waitFor([&] { return kenwood.toldToGoTo("00028003300"); }))
        << kenwood.radio.received().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->session().pendingFrequency() == QLatin1String("28.003"); }, 5000))
        << "the radio reports the spot's frequency back";
    window.reset();
}

TEST_F(SpotsInMainWindowTest, SpotsOfOtherBandsNeitherColourTheGridNorTuneTheRadio)
{
    KenwoodOnCom3 kenwood;
    ASSERT_TRUE(kenwood.setUp(paths)) << kenwood.radio.error().toStdString();
    // W7AAA on 14025.0 (AZ), W0AAB on 50100.0 (CO), W1AAC on 144200.0 (ME),
    // then W1AAD on 28025.0 (MA).
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "bands"});
    ASSERT_TRUE(node.started());
    log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
    prefs.NeededSpotsGreen = 1;
    log::savePrefs(paths.workingFolder(), prefs);
    rigControl = kenwood.rig.get();
    spotTransports = &transports;
    scriptStation();
    ASSERT_TRUE(start());
    listenToCluster(node);

    const auto green = [&](const char* abbreviation) {
        const QString name = QStringLiteral("Label10_%1").arg(log::multIndex(QString::fromLatin1(abbreviation)));
        return find<QLabel>(name.toLatin1().constData())->palette().color(QPalette::WindowText) == QColor(0, 192, 0);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return green("MA"); }, 10000));
    auto* spotting = window->findChild<QDialog*>(QStringLiteral("PacketSpotfrm"));
    const QString shown = spotting->findChild<QPlainTextEdit*>(QStringLiteral("txtUnProcessed"))->toPlainText();
    for (const char* call : {"W7AAA", "W0AAB", "W1AAC"}) {
        EXPECT_TRUE(shown.contains(QLatin1String(call))) << call << ": every band is shown";
    }
    auto* grid = window->findChild<log::MultiplierGrid*>();
    for (const char* abbreviation : {"AZ", "CO", "ME"}) {
        EXPECT_FALSE(green(abbreviation)) << abbreviation;
        emit grid->entryHovered(log::multIndex(QString::fromLatin1(abbreviation)));
        EXPECT_FALSE(textOf("lblDupe").contains(QStringLiteral("Recent Spot"))) << abbreviation;
    }
    emit grid->entryHovered(log::multIndex(QStringLiteral("MA")));
    EXPECT_TRUE(textOf("lblDupe").contains(QStringLiteral("Recent Spot: W1AAD  -  28.025"))) << textOf("lblDupe").toStdString();

    QApplication::setActiveWindow(window.get());
    emit grid->entryClicked(log::multIndex(QStringLiteral("AZ")));
    EXPECT_EQ(textOf("txtCall"), QString());
    EXPECT_FALSE(textOf("lblDialog").contains(QStringLiteral("W7AAA")));
    emit grid->entryClicked(log::multIndex(QStringLiteral("MA")));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W1AAD"));
    ASSERT_TRUE(kenwood.radio.waitFor([&] { return kenwood.toldToGoTo("00028025000"); }))
        << kenwood.radio.received().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(kenwood.toldToGoTo("00014025000")) << "commands go out in order: AZ's would have come first";
    window.reset();
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == QLatin1String("Spots: the cluster closed the connection"); }, 10000))
        << status->text().toStdString();
    EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("Spots: the cluster closed the connection"))) << textOf("lblDialog").toStdString();
    type(QStringLiteral("bc"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC"));
    EXPECT_EQ(dialogs.messages.size(), boxesBefore) << "no box";
    EXPECT_FALSE(window->findChild<QDialog*>(QStringLiteral("PacketSpotfrm"))->isVisible()) << "no window opened by itself";
}
