#include "cw/CwKeyer.h"
#include "cw/LoopCalibration.h"

#include "RecordingKeyLine.h"
#include "VirtualKeyingClock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStringList>
#include <QThread>

#include <cmath>
#include <functional>
#include <thread>

#include <mutex>

using namespace tenlog;
using tenlog::testing::RecordingKeyLine;
using tenlog::testing::VirtualKeyingClock;

namespace {

struct KeyerRig {
    VirtualKeyingClock clock;
    std::shared_ptr<RecordingKeyLine> line = std::make_shared<RecordingKeyLine>(clock);
    cw::CwKeyer keyer {clock};
    std::mutex eventsLock;
    QStringList events; // signals as they came, on the keying thread

    KeyerRig()
    {
        keyer.setKeyLine(line);
        keyer.setWpm(20);
        QObject::connect(&keyer, &cw::CwKeyer::contactMarkReached, &keyer, [this] { note(QStringLiteral("log@%1").arg(line->changes().size())); }, Qt::DirectConnection);
        QObject::connect(&keyer, &cw::CwKeyer::keyLineFailed, &keyer, [this](const QString& why) { note(QStringLiteral("failed:") + why); }, Qt::DirectConnection);
        QObject::connect(&keyer, &cw::CwKeyer::sendingFinished, &keyer, [this] { note(QStringLiteral("finished")); }, Qt::DirectConnection);
    }
    void note(const QString& event)
    {
        std::lock_guard lock(eventsLock);
        events << event;
    }
    void sendAndWait(const QString& text)
    {
        keyer.append(text);
        ASSERT_TRUE(keyer.waitUntilIdle(10000));
        // The signal follows the idle state by a moment.
        for (int i = 0; i < 5000 && !hasEvent(QStringLiteral("finished")); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    bool hasEvent(const QString& event)
    {
        std::lock_guard lock(eventsLock);
        return events.contains(event);
    }
    // The line's history as unit digits ("1" down, "0" up) from the first
    // key down to the last key up, at unitNs per unit.
    QByteArray units(std::int64_t unitNs) const
    {
        QByteArray out;
        const auto changes = line->changes();
        for (size_t i = 0; i + 1 < changes.size(); ++i) {
            const std::int64_t span = changes[i + 1].atNs - changes[i].atNs;
            EXPECT_EQ(span % unitNs, 0) << "edge off the unit grid";
            out.append(int(span / unitNs), changes[i].down ? '1' : '0');
        }
        return out;
    }
};

constexpr std::int64_t unit20 = 60'000'000; // ns per unit at 20 WPM

} // namespace

TEST(CwKeyer, SendsTheTimelineOfTheText)
{
    const struct {
        const char* text;
        double wordSpace;
        const char* units; // between the first key down and the last key up
    } rows[] = {
        {"E", 0, "1"},
        {"ee", 0, "10001"},
        {"A B", 0, "1011100000000000111010101"},
        {"A B", -8, "10111000111010101"},
        {"A B", 2, "101110000000000000111010101"},
        {"E'(E", 0, "10001"},
        {"-=", 0, "11101010101110001110101010111"},
    };
    for (const auto& row : rows) {
        KeyerRig rig;
        rig.keyer.setWordSpace(row.wordSpace);
        rig.sendAndWait(QString::fromLatin1(row.text));
        EXPECT_EQ(rig.units(unit20), QByteArray(row.units)) << row.text << " space " << row.wordSpace;
        EXPECT_FALSE(rig.line->isDown());
    }
}

TEST(CwKeyer, EveryTimingMethodKeysTheSameShape)
{
    for (auto timing : {cw::CwKeyer::Timing::Timer, cw::CwKeyer::Timing::Sleep, cw::CwKeyer::Timing::Loop}) {
        KeyerRig rig;
        rig.keyer.setWpm(13);
        rig.keyer.setTiming(timing);
        rig.keyer.setLoopsPer60ms(60'000'000); // one count per virtual ns
        rig.sendAndWait(QStringLiteral("R"));
        const auto changes = rig.line->changes();
        ASSERT_EQ(changes.size(), 6u);
        const std::int64_t dit = changes[1].atNs - changes[0].atNs;
        // Sleep rounds the 92.3 ms unit to 92 ms; the others keep it.
        EXPECT_EQ(dit, timing == cw::CwKeyer::Timing::Sleep ? 92'000'000 : 92'307'692) << int(timing);
        EXPECT_NEAR(double(changes[3].atNs - changes[2].atNs), 3.0 * double(dit), 3);
        EXPECT_EQ(rig.clock.spun(), timing == cw::CwKeyer::Timing::Timer);
    }
}

TEST(CwKeyer, UncalibratedLoopTimesLikeTheTimer)
{
    KeyerRig rig;
    rig.keyer.setTiming(cw::CwKeyer::Timing::Loop);
    rig.sendAndWait(QStringLiteral("EE"));
    EXPECT_EQ(rig.units(unit20), QByteArray("10001"));
}

TEST(CwKeyer, SpeedsThatAreNotSpeedsSendAtTheLowestSpeed)
{
    for (double wpm : {0.0, -3.0, std::nan("")}) {
        KeyerRig rig;
        rig.keyer.setWpm(wpm);
        rig.sendAndWait(QStringLiteral("E"));
        const auto changes = rig.line->changes();
        ASSERT_EQ(changes.size(), 2u);
        EXPECT_EQ(changes[1].atNs - changes[0].atNs, 1'200'000'000) << wpm;
        EXPECT_FALSE(rig.line->isDown());
    }
}

TEST(CwKeyer, ContactMarkComesAtItsPlaceInTheSending)
{
    KeyerRig rig;
    rig.sendAndWait(QStringLiteral("CQ!E"));
    // C and Q are four key-down/up edges each; the mark comes after Q's last edge.
    EXPECT_EQ(rig.events, QStringList({QStringLiteral("log@16"), QStringLiteral("finished")}));
    EXPECT_EQ(rig.line->changes().size(), 18u);
}

TEST(CwKeyer, StopsAfterTheCharacterInProgress)
{
    // An operator's key lands in the middle of the second character: clear
    // (Esc) ends the sending after it, replace (a new F-key) sends the new
    // text after it, a backspace takes the last unsent character.
    const struct {
        const char* name;
        std::function<void(cw::CwKeyer&)> key;
        const char* units;
    } rows[] = {
        {"esc", [](cw::CwKeyer& k) { k.clear(); }, "1000111"},
        {"new message", [](cw::CwKeyer& k) { k.replace(QStringLiteral("E")); }, "10001110001"},
        {"backspace", [](cw::CwKeyer& k) { k.removeLastUnsent(); }, "100011100010001"},
    };
    for (const auto& row : rows) {
        KeyerRig rig;
        rig.line->onSet([&](int call) {
            if (call == 6) // the first unit of the dah of T
                row.key(rig.keyer);
        });
        rig.sendAndWait(QStringLiteral("ETEET"));
        EXPECT_EQ(rig.units(unit20), QByteArray(row.units)) << row.name;
        EXPECT_FALSE(rig.line->isDown()) << row.name;
    }
}

TEST(CwKeyer, FailingLineEndsTheSendingWithTheLineLetUp)
{
    KeyerRig rig;
    rig.line->failAfter(3);
    rig.sendAndWait(QStringLiteral("TEST"));
    EXPECT_EQ(rig.events, QStringList({QStringLiteral("failed:the test line broke"), QStringLiteral("finished")}));
    EXPECT_TRUE(rig.keyer.unsent().isEmpty());
    EXPECT_FALSE(rig.line->isDown()); // the guard asked for key up after the failure
    // The next message is sent again on a working line.
    rig.line->failAfter(-1);
    rig.events.clear();
    rig.sendAndWait(QStringLiteral("E"));
    EXPECT_FALSE(rig.line->isDown());
}

TEST(CwKeyer, NoLineDropsTheTextAndDestructionLetsTheLineUp)
{
    {
        KeyerRig rig;
        rig.keyer.setKeyLine(nullptr);
        rig.sendAndWait(QStringLiteral("TEST"));
        EXPECT_EQ(rig.line->calls(), 0);
    }
    // On the real clock a long message is still going when the keyer goes.
    platform::MonotonicKeyingClock clock;
    auto line = std::make_shared<RecordingKeyLine>(clock);
    {
        cw::CwKeyer keyer(clock);
        keyer.setKeyLine(line);
        keyer.setWpm(40);
        keyer.append(QString(500, QLatin1Char('T')));
        while (line->calls() < 2) {
        }
    }
    EXPECT_LT(line->changes().size(), 1000u);
    EXPECT_FALSE(line->isDown());
}

TEST(LoopCalibration, CountsOnItsOwnThreadAndReportsOnTheOwners)
{
    struct Case {
        std::int64_t nsPerCount;
        double loops;
    };
    // Five million counts in 250 ms: 1,200,000 per 60 ms; in 5 ms: 60,000,000;
    // a clock that does not move gives 0 rather than a division by zero.
    for (const Case& c : {Case {50, 1'200'000}, Case {1, 60'000'000}, Case {0, 0}}) {
        struct ScaledClock final : platform::KeyingClock {
            std::int64_t nsPerCount = 0;
            std::atomic<std::int64_t> now {0};
            std::int64_t nowNs() const override { return now; }
            void waitUntil(std::int64_t, bool) override {}
            void countLoop(double counts) override { now += std::int64_t(counts) * nsPerCount; }
        } clock;
        clock.nsPerCount = c.nsPerCount;
        cw::LoopCalibration calibration(clock);
        std::vector<double> results;
        QThread* deliveredOn = nullptr;
        QObject::connect(&calibration, &cw::LoopCalibration::measured, &calibration, [&](double loops) {
            results.push_back(loops);
            deliveredOn = QThread::currentThread();
        });
        calibration.start();
        QDeadlineTimer deadline(10'000);
        while (results.empty() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        EXPECT_EQ(results, std::vector<double> {c.loops}) << c.nsPerCount << " ns per count";
        EXPECT_EQ(deliveredOn, QThread::currentThread());
        EXPECT_FALSE(calibration.isRunning());
    }
}
