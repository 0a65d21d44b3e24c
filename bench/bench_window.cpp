// The main window at full log size: one key typed into the call box, and
// Enter to contact logged (file synced, list and counters updated). Runs the
// real window on the offscreen platform and reports the 99th percentile.
#include "common/FirstRun.h"
#include "station/MainWindow.h"
#include "platform/DurableFile.h"
#include "platform/qt/QtSettingsStore.h"

#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "TempPaths.h"
#include "WavDurationPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace tenlog;

namespace {

struct Station {
    tenlog::testing::TempPaths paths;
    tenlog::testing::ScriptedDialogs dialogs;
    tenlog::testing::SettableClock clock;
    platform::QtSettingsStore settings{paths.root() + QStringLiteral("/config")};
    common::SharedPreferences shared;
    tenlog::testing::WavDurationPlayer player{clock};
    std::unique_ptr<station::MainWindow> window;

    explicit Station(int contacts)
    {
        common::seedWorkingFolder(paths.shippedDataFolder(), paths.workingFolder());
        QByteArray log;
        for (int i = 0; i < contacts; ++i)
            log += "\"W" + QByteArray::number(i % 10) + "X" + QByteArray::number(i) +
                   "\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"28.025\"\r\n";
        platform::writeFileAtomically(paths.workingFolder() + QStringLiteral("/log.txt"), log);
        shared.load(paths.root() + QStringLiteral("/shared.xml"));
        common::AppFolders folders;
        folders.workingFolder = paths.workingFolder();
        folders.userDataFolder = paths.root();
        folders.sharedFolder = paths.root();
        window = std::make_unique<station::MainWindow>(
            station::MainWindowServices{clock, dialogs, settings, folders, shared, player, [](int) {}});
        window->show();
        window->runLoadSequence();
        QApplication::processEvents();
    }

    QLineEdit* box(const char* name) const { return window->findChild<QLineEdit*>(QString::fromLatin1(name)); }
};

void key(QWidget* target, Qt::Key code, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

void reportPercentile(benchmark::State& state, std::vector<double>& micros)
{
    std::sort(micros.begin(), micros.end());
    if (micros.empty())
        return;
    state.counters["p99_us"] = micros[static_cast<size_t>(micros.size() * 0.99)];
    state.counters["median_us"] = micros[micros.size() / 2];
}

void BM_KeyInCallBox(benchmark::State& state)
{
    Station station(static_cast<int>(state.range(0)));
    QLineEdit* call = station.box("txtCall");
    call->setFocus();
    const QString keys = QStringLiteral("K1ABCDEFGHIJ");
    std::vector<double> micros;
    int k = 0;
    for (auto _ : state) {
        if (call->text().size() >= 10) {
            state.PauseTiming();
            call->clear();
            state.ResumeTiming();
        }
        const QChar c = keys.at(k++ % keys.size());
        QElapsedTimer t;
        t.start();
        key(call, static_cast<Qt::Key>(c.unicode()), QString(c));
        micros.push_back(t.nsecsElapsed() / 1000.0);
    }
    reportPercentile(state, micros);
}
BENCHMARK(BM_KeyInCallBox)->Unit(benchmark::kMicrosecond)->Iterations(3000)->Arg(1000)->Arg(11000);

void BM_EnterToLogged(benchmark::State& state)
{
    Station station(10000); // room for the contacts this benchmark adds
    std::vector<double> micros;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        station.box("txtCall")->setText(QStringLiteral("K%1Z").arg(n++));
        station.box("txtRSTR")->setText(QStringLiteral("599"));
        station.box("txtSec")->setText(QStringLiteral("MA"));
        station.box("txtRSTS")->setText(QStringLiteral("599"));
        QLineEdit* exchange = station.box("txtSec");
        exchange->setFocus();
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        key(exchange, Qt::Key_Return, QStringLiteral("\r"));
        micros.push_back(t.nsecsElapsed() / 1000.0);
    }
    if (station.window->session().log().contactCount() != 10000 + n)
        state.SkipWithError("not every contact was logged");
    reportPercentile(state, micros);
}
BENCHMARK(BM_EnterToLogged)->Unit(benchmark::kMillisecond)->Iterations(500);

void BM_DeleteToRebuilt(benchmark::State& state)
{
    Station station(11000);
    auto* list = station.window->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    auto* erase = station.window->findChild<QPushButton*>(QStringLiteral("cmdDelete"));
    std::vector<double> micros;
    for (auto _ : state) {
        state.PauseTiming();
        list->setCurrentItem(list->topLevelItem(5));
        station.dialogs.messageAnswers = {platform::Answer::Yes};
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        erase->click(); // asked, answered Yes, rewritten, synced, reloaded, redrawn
        micros.push_back(t.nsecsElapsed() / 1000.0);
    }
    reportPercentile(state, micros);
}
BENCHMARK(BM_DeleteToRebuilt)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_ModeSwitch(benchmark::State& state)
{
    Station station(11000);
    QAction* modes[] = {station.window->findChild<QAction*>(QStringLiteral("mnuPH")),
                        station.window->findChild<QAction*>(QStringLiteral("mnuCW"))};
    std::vector<double> micros;
    int k = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        modes[k++ % 2]->trigger(); // preferences saved, log reloaded, grid recoloured
        micros.push_back(t.nsecsElapsed() / 1000.0);
    }
    reportPercentile(state, micros);
}
BENCHMARK(BM_ModeSwitch)->Unit(benchmark::kMillisecond)->Iterations(100);

} // namespace
