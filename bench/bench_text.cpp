// Benchmarks for the quoted-value files at full contest size: an 11,000-line
// log of nine quoted fields per line, read and written in memory and through a
// real file, plus the frequency formatting done for every log line shown.
#include "text/NumberText.h"
#include "text/QuotedValues.h"

#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tenlog::text;

namespace {

constexpr int logLines = 11000;

// Nine fields per contact, with calls, places and times that vary like a real log.
QList<QStringList> makeContacts()
{
    static const char* const prefixes[] = {"K", "W", "N", "AA", "KB", "VE", "G", "DL", "JA", "PY", "LU", "ZL", "VK", "XE"};
    static const char* const places[][2] = {{"CT", "USA"}, {"MA", "USA"}, {"ON", "CAN"}, {"G", "ENG"},
                                            {"DL", "DEU"}, {"JA", "JPN"}, {"PY", "BRA"}, {"TX", "USA"}};
    static const char* const modes[] = {"CW", "PH"};
    QList<QStringList> contacts;
    contacts.reserve(logLines);
    for (int i = 0; i < logLines; ++i) {
        QString call = QString::fromLatin1(prefixes[i % 14]) + QString::number(i % 10);
        for (int n = i / 10 + 7; call.size() < 6 && n > 0; n /= 26)
            call.append(QChar(u'A' + n % 26));
        const int seconds = i * 15;
        const QString time = QStringLiteral("%1:%2:%3")
                                 .arg(seconds / 3600 % 24, 2, 10, QLatin1Char('0'))
                                 .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'));
        const QString date = seconds < 86400 ? QStringLiteral("2013/12/14") : QStringLiteral("2013/12/15");
        const auto& place = places[i % 8];
        contacts.append({call, QStringLiteral("599"), QString::fromLatin1(place[0]), QStringLiteral("599"),
                         QString::fromLatin1(place[1]), date, time, QString::fromLatin1(modes[i / 500 % 2]),
                         formatNumber(28.0 + (i % 1700) / 1000.0, QStringLiteral("#####.##0"))});
    }
    return contacts;
}

QByteArray writeLog(const QList<QStringList>& contacts)
{
    QuotedValueWriter writer;
    for (const QStringList& contact : contacts) {
        for (const QString& field : contact)
            writer.writeText(field);
        writer.endLine();
    }
    return writer.data();
}

qsizetype readLog(const QByteArray& data)
{
    QuotedValueReader reader(data);
    QuotedValue value;
    qsizetype characters = 0;
    while (!reader.atEnd()) {
        reader.read(value);
        characters += value.raw().size();
    }
    return characters;
}

void BM_WriteLog(benchmark::State& state)
{
    const auto contacts = makeContacts();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray data = writeLog(contacts);
        bytes = data.size();
        benchmark::DoNotOptimize(data.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_WriteLog)->Unit(benchmark::kMillisecond);

void BM_ReadLog(benchmark::State& state)
{
    const QByteArray data = writeLog(makeContacts());
    for (auto _ : state)
        benchmark::DoNotOptimize(readLog(data));
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_ReadLog)->Unit(benchmark::kMillisecond);

void BM_WriteLogFile(benchmark::State& state)
{
    const auto contacts = makeContacts();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            state.SkipWithError("cannot write the log file");
            return;
        }
        file.write(writeLog(contacts));
    }
}
BENCHMARK(BM_WriteLogFile)->Unit(benchmark::kMillisecond);

void BM_ReadLogFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            state.SkipWithError("cannot write the log file");
            return;
        }
        file.write(writeLog(makeContacts()));
    }
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot read the log file");
            return;
        }
        benchmark::DoNotOptimize(readLog(file.readAll()));
    }
}
BENCHMARK(BM_ReadLogFile)->Unit(benchmark::kMillisecond);

void BM_FormatFrequencies(benchmark::State& state)
{
    const QString pattern = QStringLiteral("#####.##0");
    for (auto _ : state) {
        for (int i = 0; i < logLines; ++i)
            benchmark::DoNotOptimize(formatNumber(28.0f + static_cast<float>(i % 1700) / 1000.0f, pattern));
    }
    state.SetItemsProcessed(state.iterations() * logLines);
}
BENCHMARK(BM_FormatFrequencies)->Unit(benchmark::kMillisecond);

} // namespace
