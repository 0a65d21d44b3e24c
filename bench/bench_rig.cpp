// Benchmarks for the rig reply parsers, each on a typical reply. The fast
// poll rate decodes twenty replies a second; these show how little of a
// tick that takes.
#include "rig/RigParsers.h"
#include "rig/RigctldPoller.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tenlog::rig;

namespace {

template <typename Parse>
void runParser(benchmark::State& state, const QByteArray& reply, Parse parse)
{
    for (auto _ : state) {
        RigReading reading;
        parse(reply, reading);
        benchmark::DoNotOptimize(reading.frequencyMHz);
        benchmark::DoNotOptimize(reading.mode);
    }
}

void BM_KenwoodFrequencyAndMode(benchmark::State& state)
{
    runParser(state, "FA00028475000;MD3;", [](const QByteArray& r, RigReading& x) {
        parseKenwoodFrequency(r, QStringLiteral("FA;"), x);
        parseKenwoodMode(r, x);
    });
}
BENCHMARK(BM_KenwoodFrequencyAndMode);

void BM_KenwoodInfo(benchmark::State& state)
{
    runParser(state, "IF00028475000     +00000000003000000 ;", parseKenwoodInfo);
}
BENCHMARK(BM_KenwoodInfo);

void BM_FtdxReply(benchmark::State& state)
{
    runParser(state, "FA28475000;MD03;", [](const QByteArray& r, RigReading& x) {
        parseFtdxReply(r, QStringLiteral("FA;"), QStringLiteral("MD0;"), x);
    });
}
BENCHMARK(BM_FtdxReply);

void BM_CivFrequency(benchmark::State& state)
{
    runParser(state, QByteArray::fromHex("FEFE64E003FDFEFEE064030050472800FD"),
              [](const QByteArray& r, RigReading& x) { parseCivFrequency(r, false, x); });
}
BENCHMARK(BM_CivFrequency);

void BM_CivMode(benchmark::State& state)
{
    runParser(state, QByteArray::fromHex("FEFE64E004FDFEFEE064040301FD"), parseCivMode);
}
BENCHMARK(BM_CivMode);

void BM_YaesuStatus(benchmark::State& state)
{
    runParser(state, QByteArray::fromHex("0284750082"), parseYaesuStatus);
}
BENCHMARK(BM_YaesuStatus);

void BM_Yaesu757Status(benchmark::State& state)
{
    QByteArray block = QByteArray::fromHex("00000000000075840202");
    block.append(QByteArray(65, '\0')); // the 757's status block is 75 bytes
    runParser(state, block, parseYaesu757Status);
}
BENCHMARK(BM_Yaesu757Status);

void BM_YaesuBinaryStatus(benchmark::State& state)
{
    QByteArray block = QByteArray::fromHex("00002B730C000002");
    block.append(QByteArray(11, '\0')); // an FT-890 status block is 19 bytes
    runParser(state, block,
              [](const QByteArray& r, RigReading& x) { parseYaesuBinaryStatus(r, YaesuBinaryModel::Ft890, x); });
}
BENCHMARK(BM_YaesuBinaryStatus);

void BM_TenTecFrontPanel(benchmark::State& state)
{
    runParser(state, QByteArray::fromHex("4101B27E780D"), parseTenTecFrequency);
}
BENCHMARK(BM_TenTecFrontPanel);

void BM_TenTecFrontPanelMode(benchmark::State& state)
{
    runParser(state, QByteArray::fromHex("4D33330D"), parseTenTecMode);
}
BENCHMARK(BM_TenTecFrontPanelMode);

void BM_Orion(benchmark::State& state)
{
    runParser(state, "@AF28475000\r@RMM2\r", [](const QByteArray& r, RigReading& x) {
        parseOrionFrequency(r, x);
        parseOrionMode(r, x);
    });
}
BENCHMARK(BM_Orion);

void BM_PegasusFile(benchmark::State& state)
{
    QTemporaryDir folder;
    QFile file(QDir(folder.path()).filePath(QStringLiteral("PEGASUS.OUT")));
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the Pegasus file");
        return;
    }
    file.write("28.475,\"USB\"\r\n");
    file.close();
    runParser(state, {}, [&folder](const QByteArray&, RigReading& x) { readPegasusFile(folder.path(), x); });
}
BENCHMARK(BM_PegasusFile);

void BM_ModeFromFrequency(benchmark::State& state)
{
    for (auto _ : state) {
        QString mode;
        modeFromFrequency(28.2999f, mode);
        benchmark::DoNotOptimize(mode);
    }
}
BENCHMARK(BM_ModeFromFrequency);

void BM_RigctldMode(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RigctldPoller::logMode("USB"));
}
BENCHMARK(BM_RigctldMode);

} // namespace
