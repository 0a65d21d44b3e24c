// Prefix lookups: longest match, the "/" rule, the KG4 rule, case rules, and
// the shipped prefix file.
#include "geo/CountryFile.h"
#include "geo/PrefixTable.h"

#include "platform/DurableFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tenlog::geo;

namespace {

QByteArray line(const char* prefix, const char* country, const char* cont = "NA", const char* lon = "75",
                const char* lat = "40")
{
    return QByteArray("\"") + prefix + "\",\"" + country + "\",\"" + cont + "\"," + lon + "," + lat + ",5,8,5\r\n";
}

// A small table in file order, with blocks for digits, K and V.
PrefixTable smallTable()
{
    QByteArray data;
    data += line("4X", "Israel", "AS", "-35", "32");
    data += line("K", "USA", "NA", "91.87", "37.6");
    data += line("KG4", "Guantanamo Bay", "NA", "75", "20");
    data += line("KH6", "Hawaii", "OC", "157.48", "21.12");
    data += line("KL7", "Alaska", "NA", "148.87", "61.4");
    data += line("MM", "Scotland", "EU", "4.18", "56.82");
    data += line("VE", "Canada", "NA", "78.75", "44.35");
    data += line("VE3", "Canada", "NA", "79.5", "44");
    PrefixTable t;
    QString error;
    EXPECT_TRUE(t.loadData(data, &error)) << error.toStdString();
    return t;
}

QString shippedPrefixFile()
{
    return QStringLiteral(TENLOG_SOURCE_DATA_DIR "/arrlpre2.txt");
}

} // namespace

TEST(PrefixTable, LongestPrefixWins)
{
    const PrefixTable t = smallTable();
    EXPECT_EQ(t.lookupCall(QStringLiteral("KH6XX")).country, QStringLiteral("Hawaii"));
    EXPECT_EQ(t.lookupCall(QStringLiteral("K1ABC")).country, QStringLiteral("USA"));
    EXPECT_EQ(t.lookupCall(QStringLiteral("KL7AA")).country, QStringLiteral("Alaska"));
    EXPECT_EQ(t.lookupCall(QStringLiteral("4X4AB")).country, QStringLiteral("Israel"));
    const CallLookup hawaii = t.lookupCall(QStringLiteral("kh6xx"));
    ASSERT_TRUE(hawaii.found) << "the call box ignores letter case";
    EXPECT_EQ(hawaii.entry->Continent, QStringLiteral("OC"));
    EXPECT_FLOAT_EQ(hawaii.entry->Longitude, 157.48f);

    const CallLookup none = t.lookupCall(QStringLiteral("ZZ1A"));
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.country, QStringLiteral("Not Found"));
    EXPECT_EQ(none.entry, nullptr);
    EXPECT_FALSE(t.lookupCall(QString()).found);
}

TEST(PrefixTable, SlashRule)
{
    EXPECT_EQ(PrefixTable::workText(QStringLiteral("W1AW/VE3")), QStringLiteral("VE3"));
    EXPECT_EQ(PrefixTable::workText(QStringLiteral("W1AW/MM")), QStringLiteral("MM"));
    EXPECT_EQ(PrefixTable::workText(QStringLiteral("VE3/W1AW")), QStringLiteral("VE3/W1AW"));
    EXPECT_EQ(PrefixTable::workText(QStringLiteral("W1AW/P")), QStringLiteral("W1AW/P"));
    EXPECT_EQ(PrefixTable::workText(QStringLiteral("W1AW/7")), QStringLiteral("W1AW/7"));
    const PrefixTable t = smallTable();
    EXPECT_EQ(t.lookupCall(QStringLiteral("K1ABC/VE3")).country, QStringLiteral("Canada"));
    EXPECT_EQ(t.lookupCall(QStringLiteral("K1ABC/MM")).country, QString()) << "maritime mobile, not Scotland";
}

TEST(PrefixTable, MaritimeAndAeronauticalMobileHaveNoCountry)
{
    PrefixTable t;
    ASSERT_EQ(t.loadFirstFound({QStringLiteral(TENLOG_SOURCE_DATA_DIR)}), PrefixTable::LoadResult::Loaded);
    for (const char* call : {"W1ABC/MM", "w1abc/mm", "G4XYZ/AM"}) {
        const CallLookup found = t.lookupCall(QString::fromLatin1(call));
        EXPECT_FALSE(found.found) << call;
        EXPECT_EQ(found.country, QString()) << call << ": left for the operator";
    }
    EXPECT_TRUE(t.lookupCall(QStringLiteral("W1ABC/M")).found) << "a plain mobile keeps its country";
}

TEST(PrefixTable, Kg4Rule)
{
    const PrefixTable t = smallTable();
    EXPECT_EQ(t.lookupCall(QStringLiteral("KG4AB")).country, QStringLiteral("Guantanamo Bay"));
    const CallLookup four = t.lookupCall(QStringLiteral("KG4A"));
    EXPECT_EQ(four.country, QStringLiteral("USA"));
    EXPECT_EQ(four.entry->Prefix, QStringLiteral("K")) << "continent and position from the first USA entry";
    EXPECT_EQ(t.lookupCall(QStringLiteral("KG4ABC")).country, QStringLiteral("USA"));

    EXPECT_EQ(t.lookupSpotCountry(QStringLiteral("KG4AB")), QStringLiteral("Guantanamo Bay"));
    EXPECT_EQ(t.lookupSpotCountry(QStringLiteral("KG4A")), QStringLiteral("Guantanamo Bay"));
    EXPECT_EQ(t.lookupSpotCountry(QStringLiteral("KG4ABC")), QStringLiteral("USA"));
}

TEST(PrefixTable, SpotLookupIsCaseSensitiveAndEmptyWhenNotFound)
{
    const PrefixTable t = smallTable();
    EXPECT_EQ(t.lookupSpotCountry(QStringLiteral("KH6XX")), QStringLiteral("Hawaii"));
    EXPECT_EQ(t.lookupSpotCountry(QStringLiteral("kh6xx")), QString());
    EXPECT_EQ(t.lookupSpotCountry(QStringLiteral("ZZ1A")), QString());
    EXPECT_EQ(t.lookupSpotCountry(QString()), QString());

    const PrefixTable empty;
    EXPECT_EQ(empty.lookupCall(QStringLiteral("K1ABC")).country, QStringLiteral("Not Found"));
    EXPECT_EQ(empty.lookupSpotCountry(QStringLiteral("K1ABC")), QString());
}

TEST(PrefixTable, FileErrorsAndTheCapacity)
{
    PrefixTable t;
    QString error;
    EXPECT_FALSE(t.loadData(line("K", "USA").left(20), &error)) << "an incomplete entry";
    EXPECT_EQ(t.prefixCount(), 0);
    for (const QByteArray& empty : {QByteArray(), QByteArray("\r\n"), QByteArray("  \r\n\r\n")})
        EXPECT_FALSE(t.loadData(empty, &error)) << "an empty prefix file would make every call \"Not Found\"";

    QByteArray full;
    for (int i = 0; i < PrefixTable::kCapacity; ++i)
        full += line(QByteArray("P" + QByteArray::number(i)).constData(), "X");
    EXPECT_TRUE(t.loadData(full, &error));
    EXPECT_EQ(t.prefixCount(), PrefixTable::kCapacity);
    full += line("ZZ", "Y");
    EXPECT_FALSE(t.loadData(full, &error));
    EXPECT_EQ(t.prefixCount(), 0);

    QTemporaryDir a, b;
    EXPECT_EQ(t.loadFirstFound({a.path(), b.path()}), PrefixTable::LoadResult::Missing);
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(b.filePath(QStringLiteral("ARRLPRE2.TXT")), line("K", "USA")));
    EXPECT_EQ(t.loadFirstFound({a.path(), b.path()}), PrefixTable::LoadResult::Loaded)
        << "the name is matched without regard to case";
    EXPECT_EQ(t.prefixCount(), 1);
}

TEST(PrefixTable, ShippedFileFindsEveryCallInItsBlock)
{
    PrefixTable t;
    ASSERT_EQ(t.loadFirstFound({QStringLiteral(TENLOG_SOURCE_DATA_DIR)}), PrefixTable::LoadResult::Loaded);
    EXPECT_GT(t.prefixCount(), 5000);
    EXPECT_LE(t.prefixCount(), PrefixTable::kCapacity);
    const struct {
        const char* call;
        const char* country;
    } rows[] = {
        {"K1ABC", "USA"},       {"W1AW", "USA"},        {"AA1K", "USA"},     {"N2IC", "USA"},
        {"VE3XYZ", "Canada"},   {"VA7AB", "Canada"},    {"XE1ABC", "Mexico"}, {"KL7XX", "Alaska"},
        {"KH6AB", "Hawaii"},    {"JA1XYZ", "Japan"},    {"G3ABC", "England"}, {"DL1ABC", "Fed. Rep. of Germany"},
        {"4X4AB", "Israel"},    {"9A1A", "Croatia"},    {"ZS6ABC", "South Africa"}, {"LU1ABC", "Argentina"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(t.lookupCall(QString::fromLatin1(row.call)).country, QString::fromLatin1(row.country))
            << row.call;
    // Every prefix, looked up as a call of its own, finds an entry at least as long.
    for (const PrefixEntry& e : t.entries()) {
        const CallLookup r = t.lookupCall(e.Prefix + QStringLiteral("ZZ"));
        ASSERT_TRUE(r.found) << e.Prefix.toStdString();
        if (!e.Prefix.startsWith(QLatin1String("KG4"))) {
            EXPECT_GE(r.entry->Prefix.size(), e.Prefix.size()) << e.Prefix.toStdString();
        }
    }
}

TEST(CountryFile, ParsesStripsOverridesAndSpellsNorthAmerica)
{
    const QByteArray cty =
        "K,United States,291,NA,05,08,37.60,91.87,5.0,AA AA0(4)[7] =W1AW K{NA} N~5~;\n"
        "*TA1,European Turkey,390,EU,20,39,41.02,-28.97,-2.0,=TA1BM;\n"
        "VE,Canada,1,NA,05,09,44.35,78.75,5.0,VE VE1<45.0/63.0> K;\n";
    const CtyParseResult parsed = parseCtyCsv(cty);
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    ASSERT_EQ(parsed.entities.size(), 3);
    EXPECT_EQ(parsed.entities[0].prefixes, (QStringList{QStringLiteral("AA"), QStringLiteral("AA0"),
                                                          QStringLiteral("K"), QStringLiteral("N")}));
    EXPECT_FALSE(parsed.entities[1].isDxcc());

    QString error;
    const QList<PrefixFileEntry> entries = buildPrefixEntries(parsed.entities, &error);
    QStringList prefixes;
    for (const auto& e : entries)
        prefixes << e.prefix + QLatin1Char('=') + e.country;
    // Sorted, each prefix once (the first entity keeps K), no exact calls, no WAE-only entity.
    EXPECT_EQ(prefixes, (QStringList{QStringLiteral("AA=USA"), QStringLiteral("AA0=USA"), QStringLiteral("K=USA"),
                                     QStringLiteral("N=USA"), QStringLiteral("VE=Canada"),
                                     QStringLiteral("VE1=Canada")}));

    // What is written loads back with the same values.
    PrefixTable t;
    ASSERT_TRUE(t.loadData(writePrefixFile(entries), &error));
    EXPECT_EQ(t.prefixCount(), 6);
    EXPECT_FLOAT_EQ(t.entries()[0].Longitude, 91.87f);
    EXPECT_FLOAT_EQ(t.entries()[0].Latitude, 37.6f);
    EXPECT_EQ(t.entries()[4].Continent, QStringLiteral("NA"));

    EXPECT_FALSE(parseCtyCsv("K,United States,x,NA\n").error.isEmpty());
}

TEST(CountryFile, ShippedFileIsWhatTheGeneratorMakesFromTheCountryFile)
{
    const QString cty = QStringLiteral(TENLOG_SOURCE_DATA_DIR "/../../shared/data/cty.csv");
    QByteArray source, shipped;
    if (!tenlog::platform::readWholeFile(cty, &source))
        GTEST_SKIP() << "the country file is not beside this checkout";
    ASSERT_TRUE(tenlog::platform::readWholeFile(shippedPrefixFile(), &shipped));
    QString error;
    const CtyParseResult parsed = parseCtyCsv(source);
    const QList<PrefixFileEntry> prefixes = buildPrefixEntries(parsed.entities, &error);
    EXPECT_EQ(writePrefixFile(prefixes), shipped) << "run tools/make-data.sh after changing the generator";

    QByteArray shippedDxcc;
    ASSERT_TRUE(tenlog::platform::readWholeFile(QStringLiteral(TENLOG_SOURCE_DATA_DIR "/ADIFCnt.txt"), &shippedDxcc));
    EXPECT_EQ(writeDxccFile(buildDxccEntries(parsed.entities, prefixes)), shippedDxcc)
        << "run tools/make-data.sh after changing the generator";
}

TEST(CountryFile, DxccTableNamesEachCountryOfThePrefixFileOnceAsItIsSpelledThere)
{
    // Wake Island's only prefix is claimed by the entity before it, so the
    // prefix file never names it; the WAE-only entity has no DXCC number.
    const QByteArray cty =
        "VE,Canada,1,NA,05,09,44.35,78.75,5.0,VE VA;\n"
        "K,United States,291,NA,05,08,37.60,91.87,5.0,K W KH9;\n"
        "KH9,Wake Island,297,OC,31,65,19.28,-166.63,-12.0,KH9;\n"
        "*4U1V,Vienna Intl Ctr,206,EU,15,28,48.20,-16.30,-1.0,4U1V;\n"
        "4U1I,ITU HQ,117,EU,14,28,46.17,-6.05,-1.0,4U1I;\n"
        "A4,Oman,370,AS,21,39,23.60,-58.55,-4.0,A4;\n";
    const CtyParseResult parsed = parseCtyCsv(cty);
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    QString error;
    const QList<DxccFileEntry> entries = buildDxccEntries(parsed.entities, buildPrefixEntries(parsed.entities, &error));
    QStringList written;
    for (const auto& e : entries)
        written << e.country + QLatin1Char('=') + QString::number(e.dxcc);
    EXPECT_EQ(written, (QStringList{QStringLiteral("Canada=1"), QStringLiteral("ITU HQ=117"),
                                    QStringLiteral("Oman=370"), QStringLiteral("USA=291")}));
    EXPECT_EQ(writeDxccFile(entries.mid(0, 2)), QByteArray("\"Canada\",1\r\n\"ITU HQ\",117\r\n"));
}
