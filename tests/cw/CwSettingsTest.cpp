#include "cw/CwMessages.h"
#include "cw/CwSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tenlog::cw;

namespace {

CwSettings sample()
{
    CwSettings s;
    s.messages = {QStringLiteral("CQ TEST $"), QStringLiteral("TU $ * !"), {}, {}, {}, {}, {}, {},
                  QStringLiteral("VVV DE W1AW"), QStringLiteral("F10 TEXT"), QStringLiteral("AGN?")};
    s.port = QStringLiteral("2");
    s.wpm = QStringLiteral("28");
    s.wordSpace = QStringLiteral("-2");
    s.output = KeyOutput::Dtr;
    s.parallelAddress = QStringLiteral("&H278");
    s.showOnMainWindow = true;
    s.repeatSeconds = QStringLiteral("4.5");
    return s;
}

} // namespace

TEST(CwSettings, FileRoundTripAndLayout)
{
    const QByteArray data = writeCwSettings(sample());
    EXPECT_EQ(data.count("\r\n"), 18);
    EXPECT_TRUE(data.startsWith("\"CQ TEST $\"\r\n\"TU $ * !\"\r\n"));
    EXPECT_TRUE(data.contains("\"-2\"\r\n2\r\n\"&H278\"\r\n1\r\n\"4.5\"\r\n"));
    CwSettings back;
    EXPECT_TRUE(readCwSettings(data, back));
    EXPECT_EQ(back, sample());
}

TEST(CwSettings, DamagedFilesKeepWhatWasReadAndTheRestDefaults)
{
    const struct {
        const char* name;
        QByteArray data;
        bool complete;
        KeyOutput output;
        const char* f9;
        const char* wpm;
    } rows[] = {
        {"empty F9 line", "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"0\"\r\n\"20\"\r\n\"\"\r\n\"\"\r\n\"0\"\r\n1\r\n\"&H378\"\r\n0\r\n\"0\"\r\n",
         true, KeyOutput::Rts, "VVV DE ", "20"},
        {"short", "\"CQ\"\r\n\"TU\"\r\n", false, KeyOutput::None, "", "13"},
        {"output code not a number", QByteArray(9, '\n').replace("\n", "\"\"\r\n") + "\"0\"\r\n\"20\"\r\n\"\"\r\n\"\"\r\n\"0\"\r\nRTS\r\n",
         false, KeyOutput::None, "VVV DE ", "20"},
        {"unknown output code", QByteArray(9, '\n').replace("\n", "\"\"\r\n") + "\"0\"\r\n\"20\"\r\n\"\"\r\n\"\"\r\n\"0\"\r\n4\r\n\"&H378\"\r\n0\r\n\"0\"\r\n",
         true, KeyOutput::None, "VVV DE ", "20"},
        {"binary garbage", QByteArray("\x00\xff\x01,", 4), false, KeyOutput::None, "", "13"},
    };
    for (const auto& row : rows) {
        CwSettings s;
        EXPECT_EQ(readCwSettings(row.data, s), row.complete) << row.name;
        EXPECT_EQ(s.output, row.output) << row.name;
        EXPECT_EQ(s.messages[8], QString::fromLatin1(row.f9)) << row.name;
        EXPECT_EQ(s.wpm, QString::fromLatin1(row.wpm)) << row.name;
    }
}

// The fault of a damaged CW.txt is named by file and line for the report
// made once start-up is done.
TEST(CwSettings, DamageIsNamedByLine)
{
    const QByteArray nine = QByteArray("\"CQ\"\r\n").repeated(9);
    const struct {
        const char* what;
        QByteArray data;
        const char* damage;
    } rows[] = {
        {"garbage", "CQ CQ DE W1AW\r\n", "CW.txt line 1: the value is \"CQ CQ DE W1AW\", not text in quotes"},
        {"an output that is not a number", nine + "\"0\"\r\n\"20\"\r\n\"\"\r\n\"\"\r\n\"0\"\r\nRTS\r\n",
         "CW.txt line 15: the keying output is \"RTS\", not a number"},
        {"short", nine, "CW.txt ends after 9 of its 18 values"},
    };
    for (const auto& row : rows) {
        CwSettings s;
        QString damage;
        EXPECT_FALSE(readCwSettings(row.data, s, &damage)) << row.what;
        EXPECT_EQ(damage.toStdString(), row.damage) << row.what;
        EXPECT_EQ(s.output, KeyOutput::None) << row.what << ": no keying without a sound setting";
    }
}

TEST(CwSettings, FolderFileFoundInAnyCaseAndQuotesLeftOut)
{
    QTemporaryDir dir;
    CwSettings missing;
    EXPECT_FALSE(loadCwSettings(dir.path(), missing));
    EXPECT_EQ(missing.output, KeyOutput::None);

    QFile lower(QDir(dir.path()).filePath(QStringLiteral("cw.txt")));
    ASSERT_TRUE(lower.open(QIODevice::WriteOnly));
    lower.write(writeCwSettings(sample()));
    lower.close();
    CwSettings s;
    EXPECT_TRUE(loadCwSettings(dir.path(), s));
    EXPECT_EQ(s, sample());

    s.messages[0] = QStringLiteral("SAY \"HI\"");
    QString error;
    ASSERT_TRUE(saveCwSettings(dir.path(), s, &error)) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList(QStringLiteral("cw.txt")));
    CwSettings back;
    EXPECT_TRUE(loadCwSettings(dir.path(), back));
    EXPECT_EQ(back.messages[0], QStringLiteral("SAY HI"));
}

TEST(CwMessages, Wildcards)
{
    const struct {
        const char* message;
        const char* call;
        const char* rstBefore;
        const char* sent;
    } rows[] = {
        {"TU $ *", " K1ABC ", "", "TU K1ABC 5NN"},
        {"#", "", "", ""},
        {"NR # *", "", "", "NR  5NN"},
        {"$ TU", "", "", " TU"},
        {"*", "", "599", "5NN"},
        {"*", "", "579", "579"},
        {"$$", "A$", "", "A$A$"},
        {"##*!", "", "", "5NN!"},
    };
    for (const auto& row : rows) {
        QString rst = QString::fromLatin1(row.rstBefore);
        EXPECT_EQ(expandWildcards(QString::fromLatin1(row.message), QString::fromLatin1(row.call), QString(), rst),
                  QString::fromLatin1(row.sent))
            << row.message;
    }
}

TEST(CwMessages, KeyCodes)
{
    const std::pair<int, int> rows[] = {{112, 0}, {120, 8}, {121, -1}, {122, 10}, {123, -1}, {124, 9}, {111, -1}, {125, -1}};
    for (const auto& [key, index] : rows)
        EXPECT_EQ(messageIndexForKey(key), index) << key;
}

TEST(CwSettings, ShippedDefaultsLoadWithNoOutputChosen)
{
    CwSettings shipped;
    ASSERT_TRUE(loadCwSettings(QStringLiteral(TENLOG_SOURCE_DATA_DIR), shipped));
    EXPECT_EQ(shipped.output, KeyOutput::None); // nothing is keyed until the operator chooses a line
    EXPECT_EQ(shipped.messages[0], QStringLiteral("CQ TEST"));
    EXPECT_EQ(writeCwSettings(shipped), [] {
        QFile file(QStringLiteral(TENLOG_SOURCE_DATA_DIR "/CW.txt"));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }());
}
