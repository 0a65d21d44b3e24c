// The Cabrillo entry file: the exact header, the QSO: line columns against
// the ruler, the serial numbers sent by DX stations, the claimed score of a
// real log file, and the stored values that do not fit the ruler (times
// without seconds, US-order dates, empty and overlong fields), checked the
// way a log checker reads them: split on white space.
#include "export/Cabrillo.h"

#include "CabrilloReader.h"
#include "QtPrinters.h"
#include "log/ContestLog.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tenlog;
using namespace tenlog::exports;
using log::QsoRecord;

namespace {

constexpr int kQsoTokens = 11;

QsoRecord rec(const QString& call, const QString& mode = QStringLiteral("CW"),
              const QString& exchange = QStringLiteral("MA"))
{
    return {call,
            QStringLiteral("579"),
            exchange,
            QStringLiteral("599"),
            QStringLiteral("USA"),
            QStringLiteral("2013/12/14"),
            QStringLiteral("14:05:33"),
            mode,
            QStringLiteral("28.025")};
}

CabrilloStation station()
{
    return {QStringLiteral("W1AW"), QStringLiteral("CT"), QStringLiteral("TenLog 10 Meter Contest Log 1.0")};
}

// Characters first..last of the line, columns counted from 1.
QString cols(const QString& line, int first, int last)
{
    return line.mid(first - 1, last - first + 1);
}

QStringList tokens(const QString& line)
{
    return line.simplified().split(u' ', Qt::SkipEmptyParts);
}

QStringList fileLines(const QByteArray& file)
{
    QStringList lines = QString::fromLatin1(file).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.last(), QString()) << "the last line ends in CR LF";
    lines.removeLast();
    return lines;
}

QStringList qsoLines(const QByteArray& file)
{
    return fileLines(file).filter(QRegularExpression(QStringLiteral("^QSO:")));
}

} // namespace

TEST(CabrilloFile, EmptyLogWritesTheFourteenHeaderLinesAndTheEnd)
{
    const QByteArray file = cabrilloFile({}, station(), {}, 0);
    EXPECT_EQ(file, QByteArray("START-OF-LOG: 2.0\r\n"
                               "CREATED-BY: TenLog 10 Meter Contest Log 1.0\r\n"
                               "ARRL-SECTION: \r\n"
                               "CONTEST: ARRL-10\r\n"
                               "CALLSIGN: W1AW\r\n"
                               "CATEGORY: SINGLE-OP 10M LOW MIXED\r\n"
                               "CLAIMED-SCORE:  0 \r\n"
                               "OPERATORS: W1AW\r\n"
                               "CLUB: \r\n"
                               "NAME: \r\n"
                               "ADDRESS: \r\n"
                               "ADDRESS: \r\n"
                               "ADDRESS: (e-mail) \r\n"
                               "SOAPBOX: \r\n"
                               "END-OF-LOG:\r\n"));
}

TEST(CabrilloFile, HeaderCarriesTheTypedDetails)
{
    CabrilloDetails d;
    d.name = QStringLiteral("Hiram Maxim");
    d.address1 = QStringLiteral(" 225 Main Street ");
    d.address2 = QStringLiteral("Newington, CT 06111");
    d.email = QStringLiteral("w1aw@arrl.org");
    d.section = QStringLiteral("  CT  ");
    d.club = QStringLiteral("Newington ARC");
    d.soapbox = QStringLiteral("Great conditions");
    d.operators = QStringLiteral("W1AW K1ABC");
    d.power = CabrilloPower::High;
    d.op = CabrilloOperator::Multiple;
    d.mode = CabrilloMode::Phone;
    CabrilloStation s = station();
    // Cut to 50 characters, then trimmed: the blanks at the cut go too.
    s.createdBy = QStringLiteral("  ") + QString(44, u'C') + QStringLiteral("    tail");

    const QStringList lines = fileLines(cabrilloFile(d, s, {}, 123456));
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines.mid(0, 14),
              (QStringList{QStringLiteral("START-OF-LOG: 2.0"),
                           QStringLiteral("CREATED-BY: ") + QString(44, u'C'),
                           QStringLiteral("ARRL-SECTION: CT"), QStringLiteral("CONTEST: ARRL-10"),
                           QStringLiteral("CALLSIGN: W1AW"), QStringLiteral("CATEGORY: MULTI-ONE 10M HIGH SSB"),
                           QStringLiteral("CLAIMED-SCORE:  123456 "), QStringLiteral("OPERATORS: W1AW K1ABC"),
                           QStringLiteral("CLUB: Newington ARC"), QStringLiteral("NAME: Hiram Maxim"),
                           QStringLiteral("ADDRESS:  225 Main Street "),
                           QStringLiteral("ADDRESS: Newington, CT 06111"),
                           QStringLiteral("ADDRESS: (e-mail) w1aw@arrl.org"),
                           QStringLiteral("SOAPBOX: Great conditions")}));

    s.createdBy = QString(60, u'C');
    EXPECT_EQ(fileLines(cabrilloFile(d, s, {}, 0)).at(1), QStringLiteral("CREATED-BY: ") + QString(50, u'C'));
}

TEST(CabrilloFile, MultiLineSoapboxAndLineBreaksInDetailsKeepOneFieldPerLine)
{
    CabrilloDetails d;
    d.soapbox = QStringLiteral("First line\nSecond line\r\n\r\nAfter a blank line\n\n");
    d.name = QStringLiteral("Hiram\r\nMaxim");
    d.club = QStringLiteral("Club \u00e9\u263a"); // e-acute fits one byte, the smiley does not
    const QByteArray file = cabrilloFile(d, station(), {rec(QStringLiteral("K1ABC"))}, 8);
    const QStringList lines = fileLines(file);
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^SOAPBOX:"))),
              (QStringList{QStringLiteral("SOAPBOX: First line"), QStringLiteral("SOAPBOX: Second line"),
                           QStringLiteral("SOAPBOX: "), QStringLiteral("SOAPBOX: After a blank line")}));
    EXPECT_TRUE(lines.contains(QStringLiteral("NAME: Hiram  Maxim")));
    EXPECT_TRUE(file.contains("CLUB: Club \xe9?\r\n"));
    // No line end other than CR LF anywhere in the file.
    EXPECT_EQ(file.count('\n'), file.count("\r\n"));
    EXPECT_EQ(file.count('\r'), file.count("\r\n"));
    EXPECT_EQ(lines.at(lines.size() - 2).left(4), QStringLiteral("QSO:"));
    EXPECT_EQ(lines.last(), QStringLiteral("END-OF-LOG:"));
}

TEST(CabrilloQsoLine, FieldsStandInTheirColumns)
{
    const QString line = cabrilloQsoLine(rec(QStringLiteral("K1ABC")), QStringLiteral("W1AW"), QStringLiteral("CT"));
    EXPECT_EQ(line, QStringLiteral("QSO: 28000 CW 2013-12-14 1405 W1AW          599     CT K1ABC         579     MA  "));
    // The ruler: every gap is blank and every field starts where it should.
    EXPECT_EQ(cols(line, 1, 4), QStringLiteral("QSO:"));
    EXPECT_EQ(cols(line, 6, 10), QStringLiteral("28000"));
    EXPECT_EQ(cols(line, 12, 13), QStringLiteral("CW"));
    EXPECT_EQ(cols(line, 15, 24), QStringLiteral("2013-12-14"));
    EXPECT_EQ(cols(line, 26, 29), QStringLiteral("1405"));
    EXPECT_EQ(cols(line, 31, 44), QStringLiteral("W1AW          "));
    EXPECT_EQ(cols(line, 45, 48), QStringLiteral("599 "));
    EXPECT_EQ(cols(line, 49, 55), QStringLiteral("    CT "));
    EXPECT_EQ(cols(line, 56, 69), QStringLiteral("K1ABC         "));
    EXPECT_EQ(cols(line, 70, 73), QStringLiteral("579 "));
    EXPECT_EQ(cols(line, 74, 81), QStringLiteral("    MA  "));
    EXPECT_EQ(line.size(), 81);
}

TEST(CabrilloQsoLine, ExchangesEndInColumns54And79WhateverTheirLength)
{
    struct Row {
        const char* sent;
        const char* received;
    };
    const Row rows[] = {{"CT", "MA"}, {"MD", "R2"}, {"QC", "3"}, {"NL", "JAL"}, {"1", "1234"}, {"10", "123456"}};
    for (const Row& row : rows) {
        const QString sent = QString::fromLatin1(row.sent);
        const QString received = QString::fromLatin1(row.received);
        const QString line = cabrilloQsoLine(rec(QStringLiteral("K1ABC"), QStringLiteral("PH"), received),
                                             QStringLiteral("VE3XYZ"), sent);
        EXPECT_EQ(cols(line, 55 - static_cast<int>(sent.size()), 54), sent) << line.toStdString();
        EXPECT_EQ(cols(line, 48, 54 - static_cast<int>(sent.size())).trimmed(), QString()) << line.toStdString();
        EXPECT_EQ(cols(line, 80 - static_cast<int>(received.size()), 79), received) << line.toStdString();
        EXPECT_EQ(cols(line, 73, 79 - static_cast<int>(received.size())).trimmed(), QString()) << line.toStdString();
        EXPECT_EQ(cols(line, 12, 13), QStringLiteral("PH"));
        EXPECT_EQ(line.size(), 81) << line.toStdString();
        EXPECT_EQ(tokens(line).size(), kQsoTokens) << line.toStdString();
    }
}

TEST(CabrilloFile, DxStationsSendTheContactsPositionInTheLog)
{
    QList<QsoRecord> records;
    for (int i = 1; i <= 11; ++i)
        records << rec(QStringLiteral("K%1ABC").arg(i));
    CabrilloDetails d;
    d.section = QStringLiteral("DX");
    CabrilloStation s = station();
    s.ownCall = QStringLiteral("JA1XYZ");
    const QStringList lines = qsoLines(cabrilloFile(d, s, records, 0));
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(cols(lines.at(0), 48, 55), QStringLiteral("      1 "));
    EXPECT_EQ(cols(lines.at(9), 48, 55), QStringLiteral("     10 "));
    EXPECT_EQ(cols(lines.at(10), 53, 54), QStringLiteral("11"));
    EXPECT_EQ(tokens(lines.at(9)).at(7), QStringLiteral("10"));

    // Only the exact word DX switches to serial numbers.
    for (const char* section : {"DXX", "", "CT"}) {
        d.section = QString::fromLatin1(section);
        EXPECT_EQ(cols(qsoLines(cabrilloFile(d, s, records, 0)).at(9), 53, 54), QStringLiteral("CT")) << section;
    }
}

TEST(CabrilloFile, ClaimedScoreIsTheScoreOfTheLogFile)
{
    // 10 CW contacts (two signing /T), 5 phone; CT on both modes, ON on CW
    // and one DX country on CW: 58 points times 4 multipliers.
    QList<QsoRecord> records;
    for (int i = 0; i < 10; ++i) {
        const QString call = i < 2 ? QStringLiteral("K%1AA/T").arg(i) : QStringLiteral("K%1AA").arg(i);
        records << rec(call, QStringLiteral("CW"), i == 0 ? QStringLiteral("ON") : QStringLiteral("CT"));
    }
    records[9].Country = QStringLiteral("Japan");
    records[9].SecSer = QStringLiteral("001");
    for (int i = 0; i < 5; ++i)
        records << rec(QStringLiteral("N%1BB").arg(i), QStringLiteral("PH"), QStringLiteral("CT"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(log::LogFile(path).rewrite(records));
    log::ContestLog contest(path);
    ASSERT_FALSE(contest.reload().has_value());
    ASSERT_EQ(contest.currentScore().score, 232);

    const QByteArray file = cabrilloFile({}, station(), contest);
    EXPECT_TRUE(file.contains("\r\nCLAIMED-SCORE:  232 \r\n"));
    const QStringList lines = qsoLines(file);
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(tokens(lines.at(0)).at(8), QStringLiteral("K0AA/T"));
    EXPECT_EQ(tokens(lines.at(9)).at(10), QStringLiteral("001"));
    EXPECT_EQ(tokens(lines.at(14)).at(2), QStringLiteral("PH"));
}

TEST(CabrilloQsoLine, StoredDatesAndTimesOfEveryKindBecomeCabrilloDatesAndTimes)
{
    struct Row {
        const char* date;
        const char* time;
        const char* cabrilloDate;
        const char* cabrilloTime;
    };
    const Row rows[] = {
        {"2013/12/14", "14:05:33", "2013-12-14", "1405"},
        {"2013/12/15", "00:05", "2013-12-15", "0005"}, // typed in after the contest
        {"12/14/2013", "9:05", "2013-12-14", "0905"},
        {"2013/1/5", "23:59:59", "2013-01-05", "2359"},
        {"2013-12-14", "9:05:07", "2013-12-14", "0905"},
        {"2013/13/45", "25:61:00", "2013/13/45", "2561"}, // unreadable: date as it stands, time by position
        {"", "5", "-", "5"},
    };
    for (const Row& row : rows) {
        QsoRecord r = rec(QStringLiteral("K1ABC"));
        r.QsoDate = QString::fromLatin1(row.date);
        r.QsoTime = QString::fromLatin1(row.time);
        const QString line = cabrilloQsoLine(r, QStringLiteral("W1AW"), QStringLiteral("CT"));
        const QString date = QString::fromLatin1(row.cabrilloDate);
        const QString time = QString::fromLatin1(row.cabrilloTime);
        EXPECT_EQ(cols(line, 15, 14 + static_cast<int>(date.size())), date) << line.toStdString();
        EXPECT_EQ(cols(line, 26, 25 + static_cast<int>(time.size())), time) << line.toStdString();
        EXPECT_EQ(cols(line, 31, 34), QStringLiteral("W1AW")) << line.toStdString();
        EXPECT_EQ(cols(line, 56, 60), QStringLiteral("K1ABC")) << line.toStdString();
        EXPECT_EQ(tokens(line).size(), kQsoTokens) << line.toStdString();
    }
}

TEST(CabrilloQsoLine, EmptyAndBlankFieldsBecomeAPlaceholderInTheirColumn)
{
    const QsoRecord empty{};
    const QString line = cabrilloQsoLine(empty, QString(), QStringLiteral("  "));
    EXPECT_EQ(line, QStringLiteral("QSO: 28000 -  -          -    -             -        - -             -        -  "));
    EXPECT_EQ(tokens(line),
              (QStringList{QStringLiteral("QSO:"), QStringLiteral("28000"), QStringLiteral("-"), QStringLiteral("-"),
                           QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                           QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")}));

    // Blanks, tabs and line breaks inside a field would split it into two tokens.
    QsoRecord spaced = rec(QStringLiteral(" K1 ABC\t"));
    spaced.RstRcvd = QStringLiteral("5 7\r\n9");
    spaced.SecSer = QStringLiteral(" M A ");
    const QString joined = cabrilloQsoLine(spaced, QStringLiteral(" W1AW "), QStringLiteral("C T"));
    EXPECT_EQ(tokens(joined).mid(5),
              (QStringList{QStringLiteral("W1AW"), QStringLiteral("599"), QStringLiteral("CT"),
                           QStringLiteral("K1ABC"), QStringLiteral("579"), QStringLiteral("MA")}));
    EXPECT_EQ(cols(joined, 56, 60), QStringLiteral("K1ABC"));
    EXPECT_EQ(cols(joined, 78, 79), QStringLiteral("MA"));
}

TEST(CabrilloQsoLine, AnOverlongFieldMovesOnlyTheFieldBehindIt)
{
    QsoRecord r = rec(QStringLiteral("VP2V/W1ABCDEFGH")); // 15 characters: runs into the RST column
    r.RstSnt = QStringLiteral("599");
    const QString ownCall = QStringLiteral("KH6/W1ABCDEFGHIJ"); // 16 characters
    const QString line = cabrilloQsoLine(r, ownCall, QStringLiteral("CT"));
    EXPECT_EQ(line, QStringLiteral("QSO: 28000 CW 2013-12-14 1405 KH6/W1ABCDEFGHIJ 599  CT VP2V/W1ABCDEFGH 579   MA  "));
    EXPECT_EQ(cols(line, 31, 46), ownCall);
    EXPECT_EQ(cols(line, 53, 54), QStringLiteral("CT"));        // back in its column
    EXPECT_EQ(cols(line, 56, 70), r.Call);
    EXPECT_EQ(cols(line, 78, 79), QStringLiteral("MA"));        // back in its column
    EXPECT_EQ(tokens(line).size(), kQsoTokens);

    // An exchange too long for its room starts one blank after the RST.
    QsoRecord wide = rec(QStringLiteral("K1ABC"), QStringLiteral("CW"), QStringLiteral("ABCDEFGHIJ"));
    wide.RstSnt = QStringLiteral("5999");
    const QString wideLine = cabrilloQsoLine(wide, QStringLiteral("W1AW"), QStringLiteral("LONGSTATE"));
    EXPECT_EQ(cols(wideLine, 45, 58), QStringLiteral("5999 LONGSTATE"));
    EXPECT_EQ(cols(wideLine, 60, 64), QStringLiteral("K1ABC"));
    EXPECT_EQ(cols(wideLine, 70, 72), QStringLiteral("579"));
    EXPECT_EQ(cols(wideLine, 73, 84), QStringLiteral(" ABCDEFGHIJ "));
    EXPECT_EQ(tokens(wideLine).mid(6), (QStringList{QStringLiteral("5999"), QStringLiteral("LONGSTATE"),
                                                   QStringLiteral("K1ABC"), QStringLiteral("579"),
                                                   QStringLiteral("ABCDEFGHIJ")}));
}

// A full log: both modes, serial numbers as exchanges.
static QList<QsoRecord> fullLog()
{
    QList<QsoRecord> records;
    records.reserve(log::kLogCapacity);
    for (int i = 0; i < log::kLogCapacity; ++i)
        records << rec(QStringLiteral("K%1AB%2").arg(i % 10).arg(i), i % 3 ? QStringLiteral("CW") : QStringLiteral("PH"),
                       QString::number(i % 1000 + 1));
    return records;
}

TEST(CabrilloFile, FullLogOfElevenThousandContacts)
{
    const QList<QsoRecord> records = fullLog();
    CabrilloDetails d;
    d.section = QStringLiteral("DX");
    const QByteArray file = cabrilloFile(d, station(), records, 4242);
    const QStringList lines = fileLines(file);
    ASSERT_EQ(lines.size(), 14 + log::kLogCapacity + 1);
    for (int i = 0; i < log::kLogCapacity; ++i) {
        const QString& line = lines.at(14 + i);
        const QStringList t = tokens(line);
        ASSERT_EQ(t.size(), kQsoTokens) << line.toStdString();
        ASSERT_EQ(t.at(7), QString::number(i + 1)) << line.toStdString();
        ASSERT_EQ(t.at(8), records.at(i).Call) << line.toStdString();
        ASSERT_EQ(line.size(), 81) << line.toStdString();
    }
    EXPECT_EQ(cols(lines.at(14 + log::kLogCapacity - 1), 48, 55), QStringLiteral("  11000 "));
    EXPECT_EQ(lines.last(), QStringLiteral("END-OF-LOG:"));
}

namespace {

std::string joined(const std::vector<std::string>& problems)
{
    std::string out;
    for (const std::string& p : problems)
        out += "\n  " + p;
    return out;
}

CabrilloDetails v3(const char* section = "CT")
{
    CabrilloDetails d;
    d.format = CabrilloFormat::V3;
    d.section = QString::fromLatin1(section);
    return d;
}

} // namespace

TEST(Cabrillo3File, EveryDialogChoiceMapsToTheCategoryValues)
{
    const struct {
        CabrilloOperator op;
        const char* opValue;
    } ops[] = {{CabrilloOperator::Single, "SINGLE-OP"}, {CabrilloOperator::Multiple, "MULTI-OP"}};
    const struct {
        CabrilloMode mode;
        const char* modeValue;
    } modes[] = {{CabrilloMode::Mixed, "MIXED"}, {CabrilloMode::Cw, "CW"}, {CabrilloMode::Phone, "SSB"}};
    const struct {
        CabrilloPower power;
        const char* powerValue;
    } powers[] = {{CabrilloPower::High, "HIGH"}, {CabrilloPower::Low, "LOW"}, {CabrilloPower::Qrp, "QRP"}};
    for (const auto& o : ops) {
        for (const auto& m : modes) {
            for (const auto& p : powers) {
                CabrilloDetails d = v3();
                d.op = o.op;
                d.mode = m.mode;
                d.power = p.power;
                const std::string file = cabrilloFile(d, station(), {rec(QStringLiteral("K1ABC"))}, 4).toStdString();
                const std::string row = std::string(o.opValue) + " " + m.modeValue + " " + p.powerValue;
                EXPECT_EQ(joined(cabrillo_test::check(file, 4)), "") << row;
                using cabrillo_test::valuesOf;
                EXPECT_EQ(valuesOf(file, "CATEGORY-OPERATOR"), std::vector<std::string>{o.opValue}) << row;
                EXPECT_EQ(valuesOf(file, "CATEGORY-MODE"), std::vector<std::string>{m.modeValue}) << row;
                EXPECT_EQ(valuesOf(file, "CATEGORY-POWER"), std::vector<std::string>{p.powerValue}) << row;
                EXPECT_EQ(valuesOf(file, "CATEGORY-TRANSMITTER"), std::vector<std::string>{"ONE"}) << row;
                EXPECT_EQ(valuesOf(file, "CATEGORY-ASSISTED"), std::vector<std::string>{"NON-ASSISTED"}) << row;
            }
        }
    }
}

TEST(Cabrillo3File, DetailsGoUnderTheirOwnTagsAndBlankOnesAreLeftOut)
{
    CabrilloDetails d = v3(" ENY ");
    d.name = QStringLiteral("Hiram Maxim");
    d.address1 = QStringLiteral("225 Main Street");
    d.address2 = QStringLiteral("Newington CT\n06111"); // a pasted line break stays on one line
    d.email = QStringLiteral("w1aw@arrl.org");
    d.club = QStringLiteral("Newington ARC");
    d.soapbox = QStringLiteral("Fun\r\nAgain\n\n");
    d.operators = QStringLiteral("W1AW K1ABC");
    const std::string full = cabrilloFile(d, station(), {}, 0).toStdString();
    EXPECT_EQ(joined(cabrillo_test::check(full, 0)), "");
    using cabrillo_test::valuesOf;
    using Values = std::vector<std::string>;
    EXPECT_EQ(valuesOf(full, "START-OF-LOG"), Values{"3.0"});
    EXPECT_EQ(valuesOf(full, "LOCATION"), Values{"ENY"});
    EXPECT_EQ(valuesOf(full, "NAME"), Values{"Hiram Maxim"});
    EXPECT_EQ(valuesOf(full, "ADDRESS"), (Values{"225 Main Street", "Newington CT 06111"}));
    EXPECT_EQ(valuesOf(full, "EMAIL"), Values{"w1aw@arrl.org"});
    EXPECT_EQ(valuesOf(full, "CLUB"), Values{"Newington ARC"});
    EXPECT_EQ(valuesOf(full, "OPERATORS"), Values{"W1AW K1ABC"});
    EXPECT_EQ(valuesOf(full, "SOAPBOX"), (Values{"Fun", "Again"}));
    EXPECT_EQ(valuesOf(full, "CREATED-BY"), Values{"TenLog 10 Meter Contest Log 1.0"});
    EXPECT_EQ(valuesOf(full, "CLAIMED-SCORE"), Values{"0"});
    for (const char* old : {"ARRL-SECTION", "CATEGORY"})
        EXPECT_TRUE(valuesOf(full, old).empty()) << old << " belongs to 2.0 only";

    // Nothing typed: no empty optional tags, the own call as the operator.
    const std::string bare = cabrilloFile(v3("DX"), station(), {}, 0).toStdString();
    EXPECT_EQ(joined(cabrillo_test::check(bare, 0)), "");
    for (const char* tag : {"NAME", "ADDRESS", "EMAIL", "CLUB", "SOAPBOX"})
        EXPECT_TRUE(valuesOf(bare, tag).empty()) << tag;
    EXPECT_EQ(valuesOf(bare, "OPERATORS"), Values{"W1AW"});

    // The checker itself catches a wrong score and a missing section.
    EXPECT_NE(joined(cabrillo_test::check(bare, 1)), "");
    CabrilloStation unplaced = station();
    unplaced.ownState = QStringLiteral("XX");
    EXPECT_NE(joined(cabrillo_test::check(cabrilloFile(v3(""), unplaced, {}, 0).toStdString(), 0)), "");
}

TEST(Cabrillo3File, LocationIsTheSectionTypedElseTheOwnStatesSection)
{
    const struct {
        const char* section;
        const char* ownState;
        const char* location;   // the 3.0 LOCATION, "" for no line
        const char* ownSection; // what the summary dialog offers
    } cases[] = {
        {"", "CT", "CT", "CT"},       {"", " ct ", "CT", "CT"},    {"", "ON", "ON", "ON"},
        {"", "NF", "NF", "NF"},       {"", "DC", "DC", "DC"},      {"", "DX", "DX", "DX"},
        {"", "JAL", "DX", ""},        {"", "R2", "DX", ""},        {"", "", "", ""},
        {"", "Conn", "", ""},         {" ENY ", "NY", "ENY", "NY"}, {"DX", "CT", "DX", "CT"},
    };
    for (const auto& c : cases) {
        const QString section = QString::fromLatin1(c.section);
        const QString own = QString::fromLatin1(c.ownState);
        EXPECT_EQ(cabrilloLocation(section, own), QString::fromLatin1(c.location)) << c.section << "/" << c.ownState;
        EXPECT_EQ(sectionOfOwnState(own), QString::fromLatin1(c.ownSection)) << c.ownState;
        CabrilloStation at = station();
        at.ownState = own;
        const std::string file = cabrilloFile(v3(c.section), at, {}, 0).toStdString();
        const auto written = cabrillo_test::valuesOf(file, "LOCATION");
        EXPECT_EQ(written, *c.location ? std::vector<std::string>{c.location} : std::vector<std::string>{})
            << c.section << "/" << c.ownState;
    }
}

TEST(Cabrillo3File, ClaimsTheLogsScoreWithTheSameQsoLinesAs2)
{
    // Phone and CW, a DX contact, /T calls: a score with several multipliers.
    QList<QsoRecord> records;
    for (int i = 0; i < 12; ++i) {
        QsoRecord r = rec(i % 5 == 0 ? QStringLiteral("K%1AA/T").arg(i) : QStringLiteral("K%1AA").arg(i),
                          i % 3 ? QStringLiteral("CW") : QStringLiteral("PH"),
                          i % 2 ? QStringLiteral("CT") : QStringLiteral("ON"));
        if (i == 7) {
            r.Country = QStringLiteral("Japan");
            r.SecSer = QStringLiteral("001");
        }
        records << r;
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(log::LogFile(path).rewrite(records));
    log::ContestLog contest(path);
    ASSERT_FALSE(contest.reload().has_value());
    const qint64 score = contest.currentScore().score;
    ASSERT_GT(score, 0);

    for (const char* section : {"CT", "DX"}) {
        CabrilloDetails d = v3(section);
        const QByteArray file3 = cabrilloFile(d, station(), contest);
        EXPECT_EQ(joined(cabrillo_test::check(file3.toStdString(), score)), "") << section;
        d.format = CabrilloFormat::V2;
        const QStringList lines3 = qsoLines(file3);
        EXPECT_EQ(lines3.size(), records.size());
        EXPECT_EQ(lines3, qsoLines(cabrilloFile(d, station(), contest))) << section;
    }
}

TEST(Cabrillo3File, FullLogOfElevenThousandContactsPassesTheChecker)
{
    const QList<QsoRecord> records = fullLog();
    const std::string file = cabrilloFile(v3("DX"), station(), records, 123456).toStdString();
    EXPECT_EQ(joined(cabrillo_test::check(file, 123456)), "");
    const std::vector<std::string> qsos = cabrillo_test::valuesOf(file, "QSO");
    ASSERT_EQ(qsos.size(), static_cast<size_t>(log::kLogCapacity));
    EXPECT_EQ(cabrillo_test::words(qsos.back()).at(6), "11000") << "the DX serial number sent";
}
