// WK.txt read and written exactly, damaged files, and the rules each WinKey
// settings field follows when it is left: what reaches the keyer and what
// the field falls back to.
#include "cw/WinKeyProtocol.h"
#include "cw/WinKeySettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tenlog::cw;

TEST(WinKeySettings, FileIsWrittenExactlyAndReadBack)
{
    WinKeySettings s;
    s.port = 4;
    s.wpm = QStringLiteral("32");
    s.weight = QStringLiteral("55");
    s.leadIn = QStringLiteral("3");
    s.tail = QStringLiteral("7");
    s.ratio = QStringLiteral("48");
    s.pinConfig = winKeyPins::ptt;
    s.mode = winKeyMode::ultimatic;
    const QByteArray data = writeWinKeySettings(s);
    EXPECT_EQ(data, QByteArray("4\r\n\"32\"\r\n\"55\"\r\n\"3\"\r\n\"7\"\r\n\"48\"\r\n5\r\n32\r\n"));
    WinKeySettings back;
    EXPECT_TRUE(readWinKeySettings(data, back));
    EXPECT_EQ(back, s);
}

TEST(WinKeySettings, OptionalLinesAndDamagedFiles)
{
    const struct {
        const char* name;
        QByteArray data;
        bool sound;
        int port;
        const char* ratio;
        int pins;
        int mode;
        const char* damage; // part of the fault named
    } rows[] = {
        {"six lines", "3\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"45\"\r\n", true, 3, "45", 6, 0, ""},
        {"seven lines", "3\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"45\"\r\n8\r\n", true, 3, "45", 8, 0, ""},
        {"eight lines", "3\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"45\"\r\n4\r\n48\r\n", true, 3, "45", 4, 48, ""},
        {"empty", "", false, 0, "50", 6, 0, "empty"},
        {"truncated after three lines", "3\r\n\"20\"\r\n\"50\"\r\n", false, 3, "50", 6, 0, "3 of its 6"},
        {"binary", QByteArray("\x00\x01\xff\xfe", 4), false, 0, "50", 6, 0, ""},
        {"port out of range", "300\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"45\"\r\n", false, 0, "50", 6, 0, "line 1"},
        {"pin value unknown", "3\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"45\"\r\n255\r\n16\r\n", false, 3, "45", 6, 0, "line 7"},
        {"mode value unknown", "3\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"45\"\r\n5\r\n7\r\n", false, 3, "45", 5, 0, "line 8"},
        {"text where the speed belongs", "3\r\nfast\r\n\"50\"\r\n", false, 3, "50", 6, 0, "line 2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WinKeySettings s;
        QString damage;
        EXPECT_EQ(readWinKeySettings(row.data, s, &damage), row.sound) << damage.toStdString();
        EXPECT_EQ(s.port, row.port);
        EXPECT_EQ(s.ratio, QString::fromLatin1(row.ratio));
        EXPECT_EQ(s.pinConfig, row.pins);
        EXPECT_EQ(s.mode, row.mode);
        EXPECT_EQ(damage.isEmpty(), row.sound);
        EXPECT_TRUE(damage.contains(QLatin1String(row.damage))) << damage.toStdString();
    }
}

TEST(WinKeySettings, TheFileLivesInTheUserDataFolderInAnyLetterCase)
{
    QTemporaryDir folder;
    WinKeySettings s;
    QString problem;
    EXPECT_TRUE(loadWinKeySettings(folder.path(), s, &problem)) << "a missing file is no fault";
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_EQ(s, WinKeySettings());

    QFile lower(QDir(folder.path()).filePath(QStringLiteral("wk.txt")));
    ASSERT_TRUE(lower.open(QIODevice::WriteOnly));
    lower.write("7\r\n\"25\"\r\n\"50\"\r\n\"1\"\r\n\"2\"\r\n\"50\"\r\n");
    lower.close();
    ASSERT_TRUE(loadWinKeySettings(folder.path(), s, &problem));
    EXPECT_EQ(s.port, 7);
    EXPECT_EQ(s.wpm, QStringLiteral("25"));

    s.ratio = QStringLiteral("60");
    QString error;
    ASSERT_TRUE(saveWinKeySettings(folder.path(), s, &error)) << error.toStdString();
    WinKeySettings back;
    ASSERT_TRUE(loadWinKeySettings(folder.path(), back));
    EXPECT_EQ(back, s);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList {QStringLiteral("wk.txt")});

    QFile damaged(QDir(folder.path()).filePath(QStringLiteral("wk.txt")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("9\r\n");
    damaged.close();
    EXPECT_FALSE(loadWinKeySettings(folder.path(), back, &problem));
    EXPECT_TRUE(problem.contains(QStringLiteral("WinKey Setup"))) << problem.toStdString();
}

TEST(WinKeySettings, FieldsSendOnlyWhatTheKeyerTakes)
{
    const struct {
        FieldCheck (*check)(const QString&);
        const char* text;
        const char* shown;
        int sent; // -1: nothing sent
    } rows[] = {
        {checkRatio, "32", "32", 32},   {checkRatio, "67", "67", 67},  {checkRatio, "31", "31", -1},
        {checkRatio, "68", "68", -1},   {checkRatio, "abc", "50", -1}, {checkWpm, "0", "0", 0},
        {checkWpm, "99", "99", 99},     {checkWpm, "100", "100", -1},  {checkWpm, "", "18", -1},
        {checkWpm, "fast", "18", -1},   {checkWeight, "abc", "50", -1}, {checkWeight, "60", "60", 60},
        {checkWeight, "-1", "-1", -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const FieldCheck check = row.check(QString::fromLatin1(row.text));
        EXPECT_EQ(check.text, QString::fromLatin1(row.shown));
        EXPECT_EQ(check.send.value_or(-1), row.sent);
    }
}

TEST(WinKeySettings, LeadInAndTailGoTogether)
{
    LeadTailCheck lead = checkLeadIn(QStringLiteral("300"), QStringLiteral("0"));
    EXPECT_EQ(lead.leadIn, QStringLiteral("0"));
    EXPECT_FALSE(lead.send);
    lead = checkLeadIn(QStringLiteral("12"), QStringLiteral("x"));
    EXPECT_EQ(lead.leadIn, QStringLiteral("0"));
    EXPECT_FALSE(lead.send);
    lead = checkLeadIn(QStringLiteral("12"), QStringLiteral("4"));
    EXPECT_EQ(lead.send, std::make_pair(12, 4));

    LeadTailCheck tail = checkTail(QStringLiteral("12"), QStringLiteral("256"));
    EXPECT_EQ(tail.tail, QStringLiteral("0"));
    EXPECT_EQ(tail.leadIn, QStringLiteral("12"));
    EXPECT_FALSE(tail.send);
    tail = checkTail(QStringLiteral("255"), QStringLiteral("0"));
    EXPECT_EQ(tail.send, std::make_pair(255, 0));

    EXPECT_EQ(checkPort(QStringLiteral("com3")).text, QStringLiteral("0"));
    EXPECT_EQ(checkPort(QStringLiteral("com3")).port, 0);
    EXPECT_EQ(checkPort(QStringLiteral("4")).port, 4);
    EXPECT_EQ(checkPort(QStringLiteral("999")).port, 0);
}

TEST(WinKeyProtocol, EveryByteFromTheKeyerIsOneMessage)
{
    using Kind = winkey::KeyerByte::Kind;
    const struct {
        quint8 byte;
        Kind kind;
        int level;  // status level, for status bytes
        int value;  // for the others
    } rows[] = {
        {0xC0, Kind::Status, 0, 0},  {0xC4, Kind::Status, 1, 0},     {0xC5, Kind::Status, 6, 0},
        {0xC1, Kind::Status, 5, 0},  {0xD0, Kind::Status, 0, 0},     {0xC8, Kind::Pushbutton, 0, 0},
        {0x80, Kind::SpeedPot, 0, 0}, {0xBF, Kind::SpeedPot, 0, 63}, {0x41, Kind::Other, 0, 0x41},
        {0x17, Kind::Other, 0, 23},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.byte);
        const winkey::KeyerByte b = winkey::classify(row.byte);
        EXPECT_EQ(b.kind, row.kind);
        if (b.kind == Kind::Status)
            EXPECT_EQ(b.status.level(), row.level);
        else
            EXPECT_EQ(b.value, row.value);
    }
    EXPECT_TRUE(winkey::classify(0xD2).status.wait);
    EXPECT_TRUE(winkey::classify(0xD2).status.breakIn);
}
