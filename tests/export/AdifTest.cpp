// The ADIF file: its header, every field with its length and place on the
// record's two lines, the DXCC and State rules, the DXCC table file and its
// folders, and a full-size log read back by an independent ADIF reader.
#include "export/Adif.h"

#include "AdifReader.h"
#include "QtPrinters.h"
#include "geo/PrefixTable.h"
#include "log/ContactLog.h"
#include "platform/DurableFile.h"

#include <QDir>
#include <QSet>
#include <QTimeZone>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tenlog::exports;
using tenlog::log::QsoRecord;

namespace {

const QByteArray kTable = "\"USA\",291\r\n"
                          "\"Alaska\",6\r\n"
                          "\"Hawaii\",110\r\n"
                          "\"Canada\",1\r\n"
                          "\"Fed. Rep. of Germany\",230\r\n"
                          "\"canada\",999\r\n"
                          "\"Wake Island\",297\r\n"
                          "\"XX\",77\r\n"; // a name too short ever to be looked up

DxccTable table()
{
    DxccTable t;
    QString error;
    EXPECT_TRUE(t.loadData(kTable, &error)) << error.toStdString();
    return t;
}

QsoRecord rec(const char* call, const char* country = "USA", const char* sec = "CT", const char* mode = "CW",
              const char* date = "2013/12/14", const char* time = "14:05:33", const char* freq = "28.025")
{
    return {QString::fromLatin1(call), QStringLiteral("599"), QString::fromLatin1(sec), QStringLiteral("599"),
            QString::fromLatin1(country), QString::fromLatin1(date), QString::fromLatin1(time),
            QString::fromLatin1(mode), QString::fromLatin1(freq)};
}

// The record as the independent reader sees it: names in upper case.
std::map<std::string, adif_test::Field> fieldsOf(const QsoRecord& r, const AdifExtras& extras = {})
{
    const adif_test::Document doc = adif_test::read(adifRecord(r, table(), extras).toStdString());
    EXPECT_EQ(doc.error, "");
    EXPECT_EQ(doc.strayCharacters, 0);
    EXPECT_EQ(doc.records.size(), 1u);
    return doc.records.empty() ? std::map<std::string, adif_test::Field>{} : doc.records.front();
}

// The data of one field, or "(none)" when the record lacks it.
std::string field(const QsoRecord& r, const char* name, const AdifExtras& extras = {})
{
    const auto fields = fieldsOf(r, extras);
    const auto it = fields.find(name);
    return it == fields.end() ? "(none)" : it->second.data;
}

QStringList lines(const QByteArray& data)
{
    return QString::fromLatin1(data).split(QStringLiteral("\r\n"));
}

} // namespace

TEST(AdifHeader, ProgramLineDateLineFieldsAndEndOfHeader)
{
    const QByteArray header = adifHeader(QStringLiteral("  TenLog 10 Meter Contest Log 0.1.0"), QStringLiteral("12/14/13"),
                                         QDateTime(QDate(2013, 12, 16), QTime(14, 30, 5), Qt::UTC));
    const QStringList l = lines(header);
    ASSERT_EQ(l.size(), 12) << "eleven lines, each ended by CR LF";
    EXPECT_EQ(l[0], QStringLiteral("ADIF Export from TenLog 10 Meter Contest Log 0.1.0"));
    for (int i : {1, 2}) {
        EXPECT_FALSE(l[i].isEmpty());
        EXPECT_FALSE(l[i].contains(QLatin1Char('<'))) << "a maker line must not look like a tag";
    }
    EXPECT_EQ(l[3], QStringLiteral("Log exported on: 12/14/13"));
    EXPECT_EQ(l.mid(4, 4), (QStringList{QStringLiteral("<ADIF_Ver:5>3.1.4"), QStringLiteral("<ProgramID:6>TenLog"),
                                       QStringLiteral("<ProgramVersion:%1>" TENLOG_VERSION)
                                           .arg(QByteArray(TENLOG_VERSION).size()),
                                       QStringLiteral("<Created_Timestamp:15>20131216 143005")}));
    EXPECT_EQ(l[8], QString());
    EXPECT_EQ(l[9], QStringLiteral("<EOH>"));
    EXPECT_EQ(l[10], QString());
    EXPECT_EQ(l[11], QString()) << "the last line ends with CR LF";
    EXPECT_EQ(header.count('\n'), header.count("\r\n"));

    const adif_test::Document doc = adif_test::read(header.toStdString());
    ASSERT_EQ(doc.error, "");
    EXPECT_EQ(doc.headerFields.at("CREATED_TIMESTAMP").data, "20131216 143005");
    EXPECT_EQ(doc.headerFields.at("PROGRAMVERSION").data, TENLOG_VERSION);
    EXPECT_EQ(adif_test::validate(doc), std::vector<std::string>{});

    // A local time is written as the UTC time it stands for; no time, no timestamp.
    QDateTime local(QDate(2013, 12, 16), QTime(9, 30), QTimeZone(-5 * 3600));
    EXPECT_TRUE(adifHeader(QString(), QString(), local).contains("<Created_Timestamp:15>20131216 143000\r\n"));
    EXPECT_FALSE(adifHeader(QString(), QString()).contains("Created_Timestamp"));

    // The caption is cut to 52 characters before its blanks are trimmed.
    const QString longCaption = QStringLiteral("TenLog 10 Meter Contest Log for the weekend of the    ARRL contest");
    EXPECT_EQ(lines(adifHeader(longCaption, QString()))[0],
              QStringLiteral("ADIF Export from TenLog 10 Meter Contest Log for the weekend of the"));

    EXPECT_EQ(adifFile(header, {}, table(), {QStringLiteral("100"), QStringLiteral("x")}), header)
        << "an empty log writes only the header";
}

TEST(AdifRecord, ExactLayoutWithAndWithoutComment)
{
    const DxccTable t = table();
    const AdifStation w1aw{QStringLiteral("W1AW"), QStringLiteral("CT"), QStringLiteral("CT")};
    EXPECT_EQ(adifRecord(rec("K1ABC", "USA", "MA"), t, {QStringLiteral("100"), QStringLiteral("ARRL 10 Meter Contest")},
                         w1aw, 1),
              QByteArray("<Call:5>K1ABC <Qso_Date:8:d>20131214 <Band:3>10M <Freq:6>28.025 <Mode:2>CW\r\n"
                         "<Tx_Pwr:3>100 <Time_On:4>1405 <DXCC:3>291 <State:2>MA <RST_Sent:3>599 <RST_Rcvd:3>599 "
                         "<Comment:21>ARRL 10 Meter Contest\r\n"
                         "<Contest_ID:7>ARRL-10 <STX_String:2>CT <SRX_String:2>MA <Station_Callsign:4>W1AW <eor>\r\n"
                         "\r\n"));

    QsoRecord phone = rec("VE3XYZ", "Canada", "ON", "PH", "2013/12/15", "9:05:00", "");
    phone.RstSnt = QStringLiteral("59");
    phone.RstRcvd = QStringLiteral("57");
    EXPECT_EQ(adifRecord(phone, t, {}),
              QByteArray("<Call:6>VE3XYZ <Qso_Date:8:d>20131215 <Band:3>10M <Mode:3>SSB\r\n"
                         "<Time_On:4>0905 <DXCC:1>1 <RST_Sent:2>59 <RST_Rcvd:2>57\r\n"
                         "<Contest_ID:7>ARRL-10 <SRX_String:2>ON <eor>\r\n"
                         "\r\n"))
        << "without a comment the second line ends after its last field; no station, no station fields";

    EXPECT_EQ(adifRecord(QsoRecord{}, t, {}),
              QByteArray("<Band:3>10M <Mode:2>CW\r\n<Time_On:4>0000\r\n<Contest_ID:7>ARRL-10 <eor>\r\n\r\n"))
        << "a record of empty fields keeps only the fields written always";
}

TEST(AdifRecord, ExchangesAndStationCall)
{
    const struct {
        const char* section; // on the summary sheet
        const char* ownState;
        const char* ownCall;
        int position;
        const char* received;
        const char* stx;
        const char* srx;
        const char* station;
    } rows[] = {
        {"CT", "CT", "W1AW", 7, "MA", "CT", "MA", "W1AW"},
        {"", "ON", " VE3AAA ", 1, " 001 ", "ON", "001", "VE3AAA"}, // blanks around the values dropped
        {"DX", "", "JA1XYZ", 1, "CT", "1", "CT", "JA1XYZ"},       // DX stations send the contact's position
        {"DX", "CT", "DL1ABC", 11000, "R2", "11000", "R2", "DL1ABC"},
        {"DXX", "", "", 3, "", "(none)", "(none)", "(none)"}, // only exactly DX sends numbers; nothing empty is written
        {"", "  ", "W1AW/3", 2, "  ", "(none)", "(none)", "W1AW/3"},
    };
    for (const auto& row : rows) {
        const AdifStation station{QString::fromLatin1(row.ownCall), QString::fromLatin1(row.ownState),
                                  QString::fromLatin1(row.section)};
        const adif_test::Document doc = adif_test::read(
            adifRecord(rec("K1ABC", "USA", row.received), table(), {}, station, row.position).toStdString());
        ASSERT_EQ(doc.error, "");
        ASSERT_EQ(doc.records.size(), 1u);
        EXPECT_EQ(doc.strayCharacters, 0);
        EXPECT_EQ(adif_test::validate(doc), std::vector<std::string>{}) << row.section << " " << row.ownCall;
        const auto& f = doc.records.front();
        auto data = [&f](const char* name) { return f.count(name) ? f.at(name).data : std::string("(none)"); };
        EXPECT_EQ(data("CONTEST_ID"), "ARRL-10");
        EXPECT_EQ(data("STX_STRING"), row.stx) << row.section << " " << row.ownState << " " << row.position;
        EXPECT_EQ(data("SRX_STRING"), row.srx) << row.received;
        EXPECT_EQ(data("STATION_CALLSIGN"), row.station) << row.ownCall;
    }
}

TEST(AdifRecord, FirstLineFields)
{
    // Call.
    EXPECT_EQ(field(rec(""), "CALL"), "(none)");
    EXPECT_EQ(field(rec("K1ABC/M"), "CALL"), "K1ABC/M");

    // Date: any valid stored date, reformatted; the type letter d.
    const struct {
        const char* stored;
        const char* written;
    } dates[] = {
        {"2013/12/14", "20131214"}, {"12/14/2013", "20131214"}, {"2013/1/5", "20130105"},
        {"2013/02/30", "(none)"},   {"", "(none)"},             {"14.12.2013", "(none)"},
    };
    for (const auto& row : dates) {
        EXPECT_EQ(field(rec("K1ABC", "USA", "CT", "CW", row.stored), "QSO_DATE"), row.written) << row.stored;
    }
    EXPECT_EQ(fieldsOf(rec("K1ABC")).at("QSO_DATE").type, "D");

    // Band: always 10 m.
    EXPECT_EQ(field(rec(""), "BAND"), "10M");

    // Frequency: only when the radio gave a number; blanks around it dropped.
    const struct {
        const char* stored;
        const char* written;
    } freqs[] = {{"", "(none)"},        {"28.475", "28.475"}, {"  28.475 ", "28.475"}, {"28", "28"},
                 {"28.", "28."},        {"28,475", "(none)"}, {"28.4.75", "(none)"},  {"28.475 MHz", "(none)"},
                 {".", "(none)"},       {"  ", "(none)"}};
    for (const auto& row : freqs) {
        EXPECT_EQ(field(rec("K1ABC", "USA", "CT", "PH", "2013/12/14", "14:05:33", row.stored), "FREQ"), row.written)
            << row.stored;
    }

    // Mode: SSB for phone whatever its letter case, CW for everything else.
    const struct {
        const char* stored;
        const char* written;
    } modes[] = {{"PH", "SSB"}, {"ph", "SSB"}, {"CW", "CW"}, {"cw", "CW"}, {"", "CW"}};
    for (const auto& row : modes) {
        EXPECT_EQ(field(rec("K1ABC", "USA", "CT", row.stored), "MODE"), row.written) << row.stored;
    }
}

TEST(AdifRecord, SecondLineFields)
{
    // Power: blanks around it dropped; nothing typed, or text that is not a
    // number of watts, writes no field.
    const struct {
        const char* typed;
        bool accepted;
        const char* written;
    } powers[] = {{"100", true, "100"}, {"100   ", true, "100"}, {"  50", true, "50"}, {" 0.5 ", true, "0.5"},
                  {"", true, "(none)"},  {"   ", true, "(none)"}, {"100W", false, "(none)"}, {"-5", false, "(none)"}};
    for (const auto& row : powers) {
        EXPECT_EQ(adifPower(QString::fromLatin1(row.typed)).has_value(), row.accepted) << row.typed;
        EXPECT_EQ(field(rec("K1ABC"), "TX_PWR", {QString::fromLatin1(row.typed), {}}), row.written) << row.typed;
    }

    // Time: hours and minutes, four digits.
    const struct {
        const char* stored;
        const char* written;
    } times[] = {
        {"9:05:00", "0905"}, {"14:05:33", "1405"}, {"14:05", "1405"}, {" 23:59:59 ", "2359"},
        {"0:00:00", "0000"}, {"", "0000"},         {"1405", "1405"},  {"123456", "1234"},
        {"7", "0007"},
    };
    for (const auto& row : times) {
        EXPECT_EQ(adifTimeOn(QString::fromLatin1(row.stored)), QString::fromLatin1(row.written)) << row.stored;
        EXPECT_EQ(field(rec("K1ABC", "USA", "CT", "CW", "2013/12/14", row.stored), "TIME_ON"), row.written);
    }

    // Reports: trailing blanks dropped; a blank report writes nothing.
    QsoRecord r = rec("K1ABC");
    r.RstSnt = QStringLiteral("599  ");
    r.RstRcvd = QStringLiteral("   ");
    EXPECT_EQ(field(r, "RST_SENT"), "599");
    EXPECT_EQ(field(r, "RST_RCVD"), "(none)");
    r.RstSnt = QString();
    r.RstRcvd = QStringLiteral(" 57");
    EXPECT_EQ(field(r, "RST_SENT"), "(none)");
    EXPECT_EQ(field(r, "RST_RCVD"), " 57");

    // Comment: as typed, a "<" inside it included, counted by characters.
    EXPECT_EQ(field(rec("K1ABC"), "COMMENT", {{}, QStringLiteral("Dec <14> & co  ")}), "Dec <14> & co  ");
    EXPECT_EQ(field(rec("K1ABC"), "COMMENT", {}), "(none)");
    const QByteArray latin = adifRecord(rec("K1ABC"), table(), {{}, QStringLiteral("73 de Jürgen")});
    EXPECT_TRUE(latin.contains(QByteArray("<Comment:12>73 de J\xFCrgen\r\n"))) << "one byte per character";
}

TEST(AdifRecord, DxccNumberFromTheTable)
{
    const struct {
        const char* country;
        const char* dxcc;
    } rows[] = {
        {"USA", "291"},      {"usa", "291"},     {" USA  ", "291"}, {"Fed. Rep. of Germany", "230"},
        {"Canada", "1"},     {"CANADA", "1"},    // the first of two matching names wins
        {"XX", "(none)"},    {"  K", "(none)"},  {"Not Found", "(none)"}, {"", "(none)"},
        {"Wake", "(none)"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(field(rec("K1ABC", row.country), "DXCC"), row.dxcc) << row.country;
    }

    // A short country text on the second of two contacts writes no number,
    // whatever the first one had.
    const QByteArray two = adifFile({}, {rec("K1ABC", "USA"), rec("XX1A", "XX")}, table(), {});
    const adif_test::Document doc = adif_test::read(two.toStdString());
    ASSERT_EQ(doc.error, "");
    ASSERT_EQ(doc.records.size(), 2u);
    EXPECT_EQ(doc.records[0].at("DXCC").data, "291");
    EXPECT_EQ(doc.records[1].count("DXCC"), 0u);
}

TEST(AdifRecord, StateForUsAlaskaAndHawaiiOnly)
{
    const struct {
        const char* country;
        const char* exchange;
        const char* state;
    } rows[] = {
        {"USA", "CT", "CT"},   {"usa", "MD", "MD"},     {"USA", "DC", "MD"},       {"USA", "dc", "MD"},
        {"USA", "R1", "(none)"}, {"USA", "r2", "(none)"}, {"USA", "R3", "(none)"}, {"USA", "R4", "R4"},
        {"USA", "", "(none)"}, {"Alaska", "AK", "AK"},  {"ALASKA", "WA", "AK"},    {"Hawaii", "001", "HI"},
        {"hawaii", "", "HI"},  {"Canada", "ON", "(none)"}, {"Puerto Rico", "PR", "(none)"},
        {"Fed. Rep. of Germany", "DC", "(none)"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(field(rec("K1ABC", row.country, row.exchange), "STATE"), row.state)
            << row.country << " " << row.exchange;
    }
}

TEST(DxccTableFile, ReadsPairsUpToTheCapacity)
{
    DxccTable t;
    QString error;
    // Commas and line ends alike separate values; numbers may stand quoted.
    ASSERT_TRUE(t.loadData("\"USA\",291,\"Canada\"\r\n1\r\n\"Japan\",\"339\"\r\n", &error))
        << error.toStdString();
    ASSERT_EQ(t.entries().size(), 3);
    EXPECT_EQ(t.lookup(QStringLiteral("Canada")), 1);
    EXPECT_EQ(t.lookup(QStringLiteral("japan")), 339);
    EXPECT_TRUE(t.loadData(QByteArray(), &error)) << "an empty table is no error";
    EXPECT_EQ(t.lookup(QStringLiteral("USA")), 0);

    QByteArray full;
    for (int i = 0; i < DxccTable::kCapacity; ++i)
        full += "\"Country " + QByteArray::number(i) + "\"," + QByteArray::number(i + 1) + "\r\n";
    ASSERT_TRUE(t.loadData(full, &error)) << error.toStdString();
    EXPECT_EQ(t.lookup(QStringLiteral("Country 999")), 1000);
    EXPECT_FALSE(t.loadData(full + "\"One more\",1\r\n", &error)) << "1001 countries";
    EXPECT_TRUE(error.contains(QStringLiteral("1000"))) << error.toStdString();
    EXPECT_TRUE(t.entries().isEmpty()) << "a failed load leaves nothing behind";

    const char* damaged[] = {
        "\"USA\",291\r\n\"Canada\"\r\n", // a name without its number
        "\"USA\",\"two\"\r\n",           // a number that is none
        "\"USA\",40000\r\n",             // beyond 16 bits
        "\"USA\",\r\n",                  // nothing where the number goes
    };
    for (const char* data : damaged) {
        EXPECT_FALSE(t.loadData(data, &error)) << data;
        EXPECT_TRUE(error.contains(QStringLiteral("ADIFCnt.txt"))) << error.toStdString();
    }
}

TEST(DxccTableFile, SharedThenUserDataThenWorkingFolder)
{
    QTemporaryDir root;
    const QString shared = root.filePath(QStringLiteral("Shared"));
    const QString user = root.filePath(QStringLiteral("10 Meter"));
    const QString working = root.filePath(QStringLiteral("work"));
    for (const QString& f : {shared, user, working})
        ASSERT_TRUE(QDir().mkpath(f));
    const QStringList order{shared, user, working};
    auto put = [](const QString& folder, const char* fileName, int number) {
        ASSERT_TRUE(tenlog::platform::writeFileAtomically(QDir(folder).filePath(QString::fromLatin1(fileName)),
                                                          "\"USA\"," + QByteArray::number(number) + "\r\n"));
    };

    DxccTable t;
    QString error;
    EXPECT_FALSE(t.loadFirstFound(order, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("ADIFCnt.txt"))) << error.toStdString();

    put(working, "ADIFCnt.txt", 3);
    ASSERT_TRUE(t.loadFirstFound(order, &error)) << error.toStdString();
    EXPECT_EQ(t.lookup(QStringLiteral("USA")), 3);
    put(user, "adifcnt.TXT", 2); // file names are matched without regard to letter case
    ASSERT_TRUE(t.loadFirstFound(order, &error));
    EXPECT_EQ(t.lookup(QStringLiteral("USA")), 2);
    put(shared, "ADIFCnt.txt", 1);
    ASSERT_TRUE(t.loadFirstFound(order, &error));
    EXPECT_EQ(t.lookup(QStringLiteral("USA")), 1);

    // The first folder holding the file is used even when its table is damaged.
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(QDir(shared).filePath(QStringLiteral("ADIFCnt.txt")),
                                                      "\"USA\"\r\n"));
    EXPECT_FALSE(t.loadFirstFound(order, &error));
}

TEST(DxccTableFile, ShippedTableNumbersEveryCountryOfTheShippedPrefixFile)
{
    DxccTable dxcc;
    QString error;
    ASSERT_TRUE(dxcc.loadFirstFound({QStringLiteral(TENLOG_SOURCE_DATA_DIR)}, &error)) << error.toStdString();
    tenlog::geo::PrefixTable prefixes;
    ASSERT_EQ(prefixes.loadFirstFound({QStringLiteral(TENLOG_SOURCE_DATA_DIR)}),
              tenlog::geo::PrefixTable::LoadResult::Loaded);
    QSet<QString> countries;
    for (const auto& e : prefixes.entries())
        countries.insert(e.CountryName);
    for (const QString& country : countries) {
        EXPECT_GT(dxcc.lookup(country), 0) << country.toStdString();
    }
    QSet<QString> tableNames;
    for (const DxccEntry& e : dxcc.entries()) {
        EXPECT_TRUE(countries.contains(e.country)) << "spelled as the prefix file spells it: "
                                                   << e.country.toStdString();
        tableNames.insert(e.country);
    }
    EXPECT_EQ(tableNames.size(), dxcc.entries().size()) << "each country once";
    const struct {
        const char* country;
        int dxcc;
    } known[] = {{"USA", 291}, {"Alaska", 6}, {"Hawaii", 110}, {"Canada", 1}, {"Mexico", 50},
                 {"Japan", 339}, {"England", 223}, {"Fed. Rep. of Germany", 230}};
    for (const auto& k : known) {
        EXPECT_EQ(dxcc.lookup(QString::fromLatin1(k.country)), k.dxcc) << k.country;
    }
}

namespace {

// A full log with everything a real one may hold: phone and CW, contacts
// with and without a radio, post-contest "hh:mm" times, dates typed as
// "12/14/2013" in the edit dialog, and records whose fields were emptied.
QList<QsoRecord> fullLog()
{
    const char* countries[] = {"USA", "Canada", "Alaska", "Hawaii", "Fed. Rep. of Germany", "Japan", "VE", ""};
    const char* sections[] = {"CT", "DC", "R2", "ON", "001", "", "md", "1234"};
    QList<QsoRecord> log;
    for (int i = 0; i < tenlog::log::kLogCapacity; ++i) {
        QsoRecord r;
        r.Call = i % 97 == 0 ? QString() : QStringLiteral("K%1AB").arg(i);
        r.RstRcvd = i % 53 == 0 ? QString() : (i % 2 ? QStringLiteral("599") : QStringLiteral("59"));
        r.RstSnt = r.RstRcvd;
        r.SecSer = QString::fromLatin1(sections[i % 8]);
        r.Country = QString::fromLatin1(countries[(i / 8) % 8]);
        const int minute = i % 60;
        const int hour = (i / 60) % 24;
        if (i % 11 == 0)
            r.QsoDate = QStringLiteral("12/%1/2013").arg(14 + i % 2);
        else if (i % 89 != 0)
            r.QsoDate = QStringLiteral("2013/12/%1").arg(14 + i % 2);
        if (i % 7 == 0)
            r.QsoTime = QStringLiteral("%1:%2").arg(hour).arg(minute, 2, 10, QLatin1Char('0'));
        else if (i % 101 != 0)
            r.QsoTime = QStringLiteral("%1:%2:%3").arg(hour, 2, 10, QLatin1Char('0')).arg(minute, 2, 10, QLatin1Char('0'))
                            .arg(i % 60, 2, 10, QLatin1Char('0'));
        r.Mode = i % 3 == 0 ? QStringLiteral("PH") : QStringLiteral("CW");
        if (i % 5 != 0)
            r.Freq = QStringLiteral("28.%1").arg(i % 1000, 3, 10, QLatin1Char('0'));
        log << r;
    }
    return log;
}

} // namespace

TEST(AdifFile, FullLogReadsBackRecordByRecordInAnIndependentReader)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Through the real log file, so the records are what a load gives.
    const tenlog::log::LogFile logFile(dir.filePath(QStringLiteral("log.txt")));
    QString error;
    ASSERT_TRUE(logFile.rewrite(fullLog(), &error)) << error.toStdString();
    const tenlog::log::LogParse loaded = logFile.load();
    ASSERT_EQ(loaded.error, QString());
    ASSERT_EQ(loaded.records.size(), tenlog::log::kLogCapacity);

    DxccTable dxcc;
    ASSERT_TRUE(dxcc.loadFirstFound({QStringLiteral(TENLOG_SOURCE_DATA_DIR)}, &error)) << error.toStdString();
    const AdifExtras extras{QStringLiteral("100 "), QStringLiteral("ARRL 10 Meter Contest")};
    const AdifStation station{QStringLiteral("DL1ABC"), QString(), QStringLiteral("DX")};
    const QString path = dir.filePath(QStringLiteral("10Meter.adi"));
    ASSERT_TRUE(tenlog::platform::writeFileAtomically(
        path,
        adifFile(adifHeader(QStringLiteral("TenLog"), QStringLiteral("12/16/13"),
                            QDateTime(QDate(2013, 12, 16), QTime(23, 59, 59), Qt::UTC)),
                 loaded.records, dxcc, extras, station),
        &error));
    QByteArray written;
    ASSERT_TRUE(tenlog::platform::readWholeFile(path, &written));

    const adif_test::Document doc = adif_test::read(written.toStdString());
    ASSERT_EQ(doc.error, "");
    EXPECT_EQ(doc.strayCharacters, 0) << "every declared length matches its data";
    EXPECT_NE(doc.header.find("ADIF Export from TenLog"), std::string::npos);
    ASSERT_EQ(doc.records.size(), loaded.records.size());
    EXPECT_EQ(doc.headerFields.at("ADIF_VER").data, "3.1.4");
    EXPECT_EQ(doc.headerFields.at("CREATED_TIMESTAMP").data, "20131216 235959");
    const std::vector<std::string> problems = adif_test::validate(doc);
    EXPECT_TRUE(problems.empty()) << problems.size() << " fields of the wrong type, the first: " << problems.front();

    const std::map<QString, std::string> numbers{{"USA", "291"},   {"Canada", "1"},  {"Alaska", "6"},
                                                 {"Hawaii", "110"}, {"Japan", "339"}, {"Fed. Rep. of Germany", "230"}};
    int failures = 0;
    for (qsizetype i = 0; i < loaded.records.size() && failures < 10; ++i) {
        const QsoRecord& r = loaded.records[i];
        const auto& f = doc.records[static_cast<size_t>(i)];
        auto data = [&f](const char* name) {
            const auto it = f.find(name);
            return it == f.end() ? std::string("(none)") : it->second.data;
        };
        std::string date = "(none)";
        if (r.QsoDate.size() == 10 && r.QsoDate[4] == u'/')
            date = (r.QsoDate.mid(0, 4) + r.QsoDate.mid(5, 2) + r.QsoDate.mid(8, 2)).toStdString();
        else if (r.QsoDate.size() == 10)
            date = (r.QsoDate.mid(6, 4) + r.QsoDate.mid(0, 2) + r.QsoDate.mid(3, 2)).toStdString();
        const QStringList hm = r.QsoTime.split(u':');
        const std::string time = r.QsoTime.isEmpty() ? "0000"
            : (hm[0].rightJustified(2, u'0') + hm[1]).toStdString();
        const auto number = numbers.find(r.Country);
        const std::string state = r.Country == QStringLiteral("Alaska") ? "AK"
            : r.Country == QStringLiteral("Hawaii")                     ? "HI"
            : r.Country != QStringLiteral("USA") || r.SecSer.isEmpty() || r.SecSer == QStringLiteral("R2") ? "(none)"
            : r.SecSer == QStringLiteral("DC") ? "MD" : r.SecSer.toStdString();
        const bool ok = data("CALL") == (r.Call.isEmpty() ? "(none)" : r.Call.toStdString())
            && data("QSO_DATE") == date && data("BAND") == "10M"
            && data("FREQ") == (r.Freq.isEmpty() ? "(none)" : r.Freq.toStdString())
            && data("MODE") == (r.Mode == QStringLiteral("PH") ? "SSB" : "CW") && data("TX_PWR") == "100"
            && data("TIME_ON") == time
            && data("DXCC") == (number == numbers.end() ? "(none)" : number->second) && data("STATE") == state
            && data("RST_SENT") == (r.RstSnt.isEmpty() ? "(none)" : r.RstSnt.toStdString())
            && data("RST_RCVD") == (r.RstRcvd.isEmpty() ? "(none)" : r.RstRcvd.toStdString())
            && data("COMMENT") == "ARRL 10 Meter Contest" && data("CONTEST_ID") == "ARRL-10"
            && data("STX_STRING") == std::to_string(i + 1)
            && data("SRX_STRING") == (r.SecSer.isEmpty() ? "(none)" : r.SecSer.toStdString())
            && data("STATION_CALLSIGN") == "DL1ABC" && f.size() <= 16u;
        if (!ok) {
            ++failures;
            ADD_FAILURE() << "record " << i + 1 << ": " << r.Call.toStdString() << " " << r.QsoDate.toStdString()
                          << " " << r.QsoTime.toStdString() << " " << r.Country.toStdString();
        }
    }
}
