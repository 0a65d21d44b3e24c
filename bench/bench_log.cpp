// Loading a full log (read, parse, rebuild the counters) and looking up calls
// in the shipped prefix file.
#include "geo/PrefixTable.h"
#include "log/ContactLog.h"
#include "log/ContestLog.h"
#include "platform/DurableFile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tenlog;

namespace {

const char* const kSections[] = {"CT", "MA", "NY", "001", "TX", "ON", "JAL", "R2", "CA", "123"};
const char* const kCountries[] = {"USA", "USA", "USA", "Japan", "USA", "Canada", "Mexico", "England", "USA", "Spain"};

QList<log::QsoRecord> fullLog()
{
    QList<log::QsoRecord> records;
    for (int i = 0; i < log::kLogCapacity; ++i) {
        const int k = i % 10;
        records.append({QStringLiteral("K%1AB%2").arg(i % 10).arg(i), QStringLiteral("599"),
                        QString::fromLatin1(kSections[k]), QStringLiteral("599"),
                        QString::fromLatin1(kCountries[k]), QStringLiteral("2013/12/14"),
                        QStringLiteral("14:05:33"), i % 3 ? QStringLiteral("CW") : QStringLiteral("PH"),
                        QStringLiteral("28.025")});
    }
    return records;
}

void BM_LoadFullLog(benchmark::State& state)
{
    QTemporaryDir dir;
    const log::LogFile file(dir.filePath(QStringLiteral("log.txt")));
    file.rewrite(fullLog());
    for (auto _ : state) {
        const log::LogParse parsed = file.load();
        const log::LogTally tally = log::tallyLog(parsed.records);
        benchmark::DoNotOptimize(tally.cwMultsWorked);
    }
}
BENCHMARK(BM_LoadFullLog)->Unit(benchmark::kMillisecond);

void BM_AppendOneContact(benchmark::State& state)
{
    QTemporaryDir dir;
    const log::LogFile file(dir.filePath(QStringLiteral("log.txt")));
    const log::QsoRecord r = fullLog().first();
    for (auto _ : state)
        file.append(r);
}
BENCHMARK(BM_AppendOneContact)->Unit(benchmark::kMillisecond);

void BM_PartialDupes(benchmark::State& state)
{
    QTemporaryDir dir;
    log::ContestLog contest(dir.filePath(QStringLiteral("log.txt")));
    log::LogFile(contest.path()).rewrite(fullLog());
    contest.reload();
    const QString probes[] = {QStringLiteral("K"), QStringLiteral("K1"), QStringLiteral("K1A"), QStringLiteral("K1AB"),
                              QStringLiteral("W1AW")};
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(contest.partialDupes(probes[i++ % std::size(probes)], QStringLiteral("CW")));
}
BENCHMARK(BM_PartialDupes)->Unit(benchmark::kMicrosecond);

void BM_BackupFullLog(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    log::LogFile(path).rewrite(fullLog().mid(0, log::kLogCapacity - 1));
    log::ContestLog contest(path);
    contest.reload();
    contest.appendContact(fullLog().last()); // a changed log is backed up
    QDateTime when(QDate(2013, 12, 14), QTime(0, 0));
    for (auto _ : state) {
        when = when.addSecs(60); // a new name every time, as minutes pass
        if (contest.backupTo(dir.filePath(QStringLiteral("BACKUP")), when).path.isEmpty())
            state.SkipWithError("no backup was made");
    }
}
BENCHMARK(BM_BackupFullLog)->Unit(benchmark::kMillisecond);

void BM_LookupCall(benchmark::State& state)
{
    geo::PrefixTable table;
    table.loadFirstFound({QStringLiteral(TENLOG_SOURCE_DATA_DIR)});
    const QString calls[] = {QStringLiteral("K1ABC"), QStringLiteral("VE3XYZ"), QStringLiteral("JA1ABC"),
                             QStringLiteral("W1AW/VE3"), QStringLiteral("9A1A"), QStringLiteral("ZS6ABC")};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.lookupCall(calls[i++ % std::size(calls)]).entry);
    }
}
BENCHMARK(BM_LookupCall)->Unit(benchmark::kMicrosecond);

} // namespace
