// Every window and dialog of the program, opened the way the operator opens
// it, fits the screen this test runs on: its frame lies inside the screen's
// available area, every control inside its window (or inside the page of a
// scroll area, which scrolls to it), every label and button is at least as
// large as its text needs (word-wrapped text included), and no type is
// larger than the main window's. ctest runs this program once per screen
// size (tests/ui/CMakeLists.txt); a new window joins by adding one row.
#include "../station/MainWindowFixture.h"

#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "RecordingPortIo.h"
#include "VirtualKeyingClock.h"

#include "app/ui/LogoWindow.h"
#include "cw/CwKeyer.h"
#include "cw/CwSettings.h"
#include "cw/CwStation.h"
#include "cw/WinKeyDriver.h"
#include "cw/WinKeyStation.h"
#include "rig/RigControl.h"
#include "rig/ui/CommandTester.h"
#include "spots/DxSpotting.h"
#include "voice/VoiceKeyer.h"
#include "voice/VoiceKeyerSettings.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <functional>

namespace {

// The type of the main window: its own font, and the largest any of its
// controls uses (its headings are larger on purpose).
struct MainType {
    double windowPoints = 0;
    double largestPoints = 0;
};

double pointsOf(const QWidget* w)
{
    const QFont font = w->font();
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    return font.pixelSize() * 72.0 / w->logicalDpiY();
}

QString nameOf(const QWidget* w)
{
    const QString name = w->objectName().isEmpty() ? QStringLiteral("<unnamed>") : w->objectName();
    return name + QLatin1Char(' ') + QString::fromLatin1(w->metaObject()->className());
}

QString text(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString text(const QSize& s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

bool isScrollPage(const QWidget* w)
{
    const QWidget* viewport = w->parentWidget();
    const auto* area = viewport ? qobject_cast<const QScrollArea*>(viewport->parentWidget()) : nullptr;
    return area && area->widget() == w;
}

// The page of a scroll area that the widget lies on, else its window: what
// the widget must lie inside.
const QWidget* holderOf(const QWidget* w, const QWidget* window)
{
    for (const QWidget* up = w->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (isScrollPage(up))
            return up;
    }
    return window;
}

// Whether the scroll bars reach every part of a scroll area's page.
bool pageReachable(const QScrollArea* area)
{
    const QWidget* page = area->widget();
    const QSize view = area->viewport()->size();
    return area->horizontalScrollBar()->maximum() >= page->width() - view.width()
           && area->verticalScrollBar()->maximum() >= page->height() - view.height();
}

// The room a control's text needs: a word-wrapped label its wrapped height.
QSize neededSize(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty())
            return {};
        QSize need = label->minimumSizeHint();
        if (label->wordWrap())
            need.setHeight(label->heightForWidth(label->width()));
        return need;
    }
    if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QGroupBox*>(w))
        return w->minimumSizeHint();
    return {};
}

// Every way the window fails to fit, one line each; empty when it fits.
QStringList fitProblems(QWidget* window, const QRect& area, const MainType& main)
{
    QStringList problems;
    if (!area.contains(window->frameGeometry()))
        problems << QStringLiteral("frame %1 outside %2").arg(text(window->frameGeometry()), text(area));
    // A splash window shows the program's name as a picture, not as text to
    // read at the type size of the working windows.
    const bool textWindow = window->windowType() != Qt::SplashScreen;
    if (textWindow && pointsOf(window) > main.windowPoints + 0.01)
        problems << QStringLiteral("type %1 pt above the main window's %2 pt").arg(pointsOf(window)).arg(main.windowPoints);
    const auto children = window->findChildren<QWidget*>();
    for (const QWidget* w : children) {
        if (w->isWindow() || !w->isVisibleTo(window))
            continue;
        if (const auto* scroll = qobject_cast<const QScrollArea*>(w); scroll && scroll->widget() && !pageReachable(scroll))
            problems << nameOf(w) + QStringLiteral(" cannot scroll to the whole of its page");
        const QWidget* holder = holderOf(w, window);
        const QRect at(w->mapTo(holder, QPoint(0, 0)), w->size());
        if (!isScrollPage(w) && !holder->rect().contains(at))
            problems << QStringLiteral("%1 at %2 outside %3 of %4").arg(nameOf(w), text(at), text(holder->rect()), nameOf(holder));
        const QSize need = neededSize(w);
        if (w->width() < need.width() || w->height() < need.height())
            problems << QStringLiteral("%1 is %2, its text needs %3").arg(nameOf(w), text(w->size()), text(need));
        if (textWindow && pointsOf(w) > main.largestPoints + 0.01)
            problems << QStringLiteral("%1 type %2 pt above the main window's largest %3 pt")
                            .arg(nameOf(w)).arg(pointsOf(w)).arg(main.largestPoints);
    }
    return problems;
}

using Check = std::function<void(QWidget*)>;

class WindowFitTest : public MainWindowTest, public ::testing::WithParamInterface<size_t> {
protected:
    tenlog::testing::VirtualKeyingClock keyingClock;
    tenlog::testing::FakeSerialPort cwPort;
    tenlog::testing::FakeSerialPort pttPort;
    tenlog::testing::RecordingPortIo parallel;
    tenlog::testing::WavDurationPlayer voicePlayer{clock};
    cw::CwKeyer keyer{keyingClock};
    cw::CwStation station{{keyer, cwPort, pttPort, parallel, [this] { return window ? window->currentCall() : QString(); }}};
    voice::VoiceKeyer voice{{voicePlayer, pttPort, cwPort, parallel}};
    tenlog::testing::FakeSerialPort winKeyPort;
    cw::WinKeyDriver winKeyDriver{winKeyPort};
    cw::WinKeyStation winKey{{winKeyDriver, keyer, cwPort, pttPort, paths.appDataFolder()}};
    station::KeyerServices keyerServices{keyer, station, voice, keyingClock, winKey};
    tenlog::testing::FakeSerialPort rigPort;
    tenlog::testing::FakeTcpClient rigDaemon;
    std::unique_ptr<rig::RigControl> rig;
    tenlog::testing::FakeTcpClient telnet;
    tenlog::testing::FakeSerialPort tnc;
    tenlog::testing::FakeTcpClient agw;
    spots::SpotTransports transports{telnet, tnc, agw};
    MainType mainType;
    const char* row = "";

    void TearDown() override { window.reset(); }

    // The whole program as start-up wires it, with a short log, after the
    // station dialog; the taskbar choice as the operator left it.
    void startProgram(int taskbarFit)
    {
        log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
        prefs.FormSizePercent = 100;
        prefs.TaskbarFit = taskbarFit;
        log::savePrefs(paths.workingFolder(), prefs);
        QByteArray log;
        for (const char* call : {"K1ABC", "W3LPL", "VE3XYZ"})
            log += logLine(QString::fromLatin1(call), "ON", "Canada");
        platform::writeFileAtomically(work("log.txt"), log);
        cw::CwSettings cw;
        cw::loadCwSettings(paths.workingFolder(), cw);
        station.setSettings(cw);
        voice::VoiceKeyerSettings phone;
        voice::loadVoiceKeyerSettings(paths.workingFolder(), phone);
        voice.setSettings(phone);
        rig = std::make_unique<rig::RigControl>(rigPort, rigDaemon, paths.workingFolder(), paths.root());
        rigControl = rig.get();
        spotTransports = &transports;
        keyers = &keyerServices;
        scriptStation();
        ASSERT_TRUE(start());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        mainType.windowPoints = pointsOf(window.get());
        mainType.largestPoints = mainType.windowPoints;
        for (const QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isWindow())
                mainType.largestPoints = std::max(mainType.largestPoints, pointsOf(w));
        }
    }

    QRect available() const { return window->screen()->availableGeometry(); }

    void expectFits(QWidget* shown, const QRect& area)
    {
        ASSERT_NE(shown, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shown)) << nameOf(shown).toStdString();
        QApplication::processEvents(); // a layout asked for on showing is done
        EXPECT_EQ(fitProblems(shown, area, mainType), QStringList())
            << row << " on " << text(area).toStdString();
    }

    // A modal window shown through the dialogs seam: shown, checked, closed.
    void checkNextModal()
    {
        dialogs.modalScripts.push_back([this](QDialog* d) {
            d->show();
            expectFits(d, available());
            d->hide();
            return static_cast<int>(QDialog::Rejected);
        });
    }
    void trigger(const char* action)
    {
        auto* item = window->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(item, nullptr) << action;
        ASSERT_TRUE(item->isEnabled()) << action;
        item->trigger();
    }
    void openModal(const char* action)
    {
        checkNextModal();
        const int before = dialogs.modalRuns;
        trigger(action);
        EXPECT_EQ(dialogs.modalRuns, before + 1) << action << " opened no window";
    }
    void openKept(const char* action, const char* windowName)
    {
        trigger(action);
        expectFits(window->findChild<QWidget*>(QString::fromLatin1(windowName)), available());
    }
    // A cluster chosen in the spotting window and Done: the spot area shows
    // the band map ("OptBand") or the list ("OptList") under the other areas.
    void showSpotArea(const char* display)
    {
        trigger("mnuConfigure");
        auto* spotting = window->findChild<QDialog*>(QStringLiteral("PacketSpotfrm"));
        auto* sources = spotting->findChild<QListWidget*>(QStringLiteral("List1"));
        QListWidgetItem* telnetItem = sources->findItems(QStringLiteral("Telnet"), Qt::MatchExactly).first();
        sources->setCurrentItem(telnetItem);
        emit sources->itemClicked(telnetItem);
        spotting->findChild<QRadioButton*>(QString::fromLatin1(display))->click();
        spotting->findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(window->findChild<QWidget*>(QStringLiteral("spotArea"))->isVisible());
    }
    // A modal window opened by a button of the CW setup window.
    void openFromCwSetup(const char* buttonName, bool winKeyOutput)
    {
        trigger("mnuCWSetup");
        auto* setup = window->findChild<QWidget*>(QStringLiteral("CWFrm"));
        ASSERT_NE(setup, nullptr);
        if (winKeyOutput)
            setup->findChild<QAbstractButton*>(QStringLiteral("Option5"))->click();
        auto* opener = setup->findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
        ASSERT_NE(opener, nullptr) << buttonName;
        ASSERT_TRUE(opener->isVisible()) << buttonName;
        checkNextModal();
        const int before = dialogs.modalRuns;
        opener->click();
        EXPECT_EQ(dialogs.modalRuns, before + 1) << buttonName << " opened no window";
    }

public:
    // How each window is opened, by the name the test reports: a new
    // window joins the table with one row.
    using Row = std::pair<const char*, std::function<void(WindowFitTest&)>>;
    static const std::vector<Row>& windows()
    {
        static const std::vector<Row> rows = {
            {"main window, taskbar fit", [](WindowFitTest& t) {
                 t.startProgram(1);
                 t.expectFits(t.window.get(), t.available());
             }},
            {"main window, whole screen", [](WindowFitTest& t) {
                 t.startProgram(0);
                 t.expectFits(t.window.get(), t.window->screen()->geometry());
             }},
            {"main window with the band map", [](WindowFitTest& t) {
                 t.startProgram(1);
                 t.showSpotArea("OptBand");
                 t.expectFits(t.window.get(), t.available());
             }},
            {"main window with the spot list", [](WindowFitTest& t) {
                 t.startProgram(1);
                 t.showSpotArea("OptList");
                 t.expectFits(t.window.get(), t.available());
             }},
            {"spectrum map", [](WindowFitTest& t) { t.startProgram(1); t.openModal("mnuSpectrum"); }},
            {"station identity", [](WindowFitTest& t) { t.startProgram(1); t.openModal("mnuSetup"); }},
            {"summary sheet", [](WindowFitTest& t) { t.startProgram(1); t.openModal("mnuWriteSumm"); }},
            {"multiplier colours", [](WindowFitTest& t) { t.startProgram(1); t.openModal("mnuColors"); }},
            {"help", [](WindowFitTest& t) { t.startProgram(1); t.openModal("mnuHelp"); }},
            {"voice navigation", [](WindowFitTest& t) { t.startProgram(1); t.openModal("mnuVoiceNav"); }},
            {"privileges", [](WindowFitTest& t) { t.startProgram(1); t.openModal("mnuPrivileges"); }},
            {"rate graph", [](WindowFitTest& t) { t.startProgram(1); t.openModal("mnuGraph"); }},
            {"tuning panel", [](WindowFitTest& t) { t.startProgram(1); t.openModal("actTuningPanel"); }},
            {"voice keyer", [](WindowFitTest& t) { t.startProgram(1); t.openModal("mnuVoiceSetup"); }},
            {"edit contact", [](WindowFitTest& t) {
                 t.startProgram(1);
                 t.checkNextModal();
                 QTest::keyClick(t.window.get(), Qt::Key_L, Qt::ControlModifier); // into the list, on a contact
                 QTest::mouseClick(t.find<QPushButton>("cmdEdit"), Qt::LeftButton);
                 EXPECT_EQ(t.dialogs.modalRuns, 2) << "the station dialog, then the edit dialog";
             }},
            {"rig setup", [](WindowFitTest& t) { t.startProgram(1); t.openKept("mnuRigInterface", "RigControlfrm"); }},
            {"spotting", [](WindowFitTest& t) {
                 t.startProgram(1);
                 t.openKept("mnuConfigure", "PacketSpotfrm");
                 // The terminal shows more than a few lines of the cluster, in fixed-width type.
                 auto* terminal = t.window->findChild<QPlainTextEdit*>(QStringLiteral("txtUnProcessed"));
                 ASSERT_NE(terminal, nullptr);
                 EXPECT_TRUE(QFontInfo(terminal->font()).fixedPitch());
                 const int lines = terminal->viewport()->height() / QFontMetrics(terminal->font()).lineSpacing();
                 EXPECT_GE(lines, 4) << "lines in view";
             }},
            {"CW setup", [](WindowFitTest& t) { t.startProgram(1); t.openKept("mnuCWSetup", "CWFrm"); }},
            {"WinKey setup", [](WindowFitTest& t) { t.startProgram(1); t.openFromCwSetup("cmdConfWinkey", true); }},
            {"code practice", [](WindowFitTest& t) { t.startProgram(1); t.openFromCwSetup("Command7", false); }},
            {"CW strings", [](WindowFitTest& t) {
                 t.startProgram(1);
                 QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
                 t.expectFits(t.window->findChild<QWidget*>(QStringLiteral("frmCWStrings")), t.available());
             }},
            {"command tester", [](WindowFitTest& t) {
                 // Opened from the rig setup while the radio is polled.
                 t.startProgram(1);
                 rig::CommandTester tester(*t.rig, t.dialogs, t.window.get());
                 tester.show();
                 t.expectFits(&tester, t.available());
             }},
            {"logo", [](WindowFitTest& t) {
                 t.startProgram(1);
                 auto* logo = new app::LogoWindow(t.paths.root());
                 logo->show();
                 t.expectFits(logo, t.available());
                 delete logo;
             }},
        };
        return rows;
    }
};

} // namespace

namespace {
// The screen this run is for, from the command line ("1366x768").
QString expectedScreen;
} // namespace

TEST(WindowFitScreen, TheScreenIsTheOneThisRunIsFor)
{
    // A configuration the platform did not take would test another screen
    // without failing.
    if (expectedScreen.isEmpty())
        GTEST_SKIP() << "run without a screen of its own";
    EXPECT_EQ(text(QGuiApplication::primaryScreen()->geometry().size()), expectedScreen);
}

TEST_P(WindowFitTest, OpensWhollyOnTheScreen)
{
    const auto& [name, open] = windows()[GetParam()];
    row = name;
    open(*this);
}

std::string rowName(const ::testing::TestParamInfo<size_t>& info)
{
    std::string name;
    for (const char* c = WindowFitTest::windows()[info.param].first; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowFitTest, ::testing::Range<size_t>(0, WindowFitTest::windows().size()), rowName);

// main() of its own: the scale factor must be set before the application
// exists. --scale-factor=N and --expect-screen=WxH come from ctest.
int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument.startsWith("--scale-factor="))
            qputenv("QT_SCALE_FACTOR", argument.mid(15));
        else if (argument.startsWith("--expect-screen="))
            expectedScreen = QString::fromLatin1(argument.mid(16));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
