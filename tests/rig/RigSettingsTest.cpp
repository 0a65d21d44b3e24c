// RigCntrl.txt, the radio table and choosing a radio.
#include "rig/HexByteText.h"
#include "rig/RigSettings.h"
#include "rig/RigctldDaemon.h"

#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tenlog::rig;

namespace {

// The file the window's initial state saves.
const QByteArray kDefaultFile = "\"56000\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n\"\"\r\n\"\"\r\n\"56000,N,8,1\"\r\n1\r\n\"N\"\r\n"
                                "\"M\"\r\n\"None\"\r\n0\r\n1\r\n1\r\n\"127.0.0.1\"\r\n4532\r\n0\r\n\"/dev/ttyUSB0\"\r\n0\r\n";

RigSettings kenwoodOnPort10()
{
    RigSettings settings;
    applyRigProfile(settings, *findRigProfile(QStringLiteral("Kenwood")));
    settings.commSettings = commSettingsText(settings);
    settings.commPortNumber = 10;
    settings.powerCode = QStringLiteral("R");
    settings.pollRateCode = QStringLiteral("S");
    settings.useFrequency = false;
    settings.modeBy = ModeBy::DontUse;
    settings.rigctldHost = QStringLiteral("localhost");
    settings.rigctldPort = 4533;
    settings.hamlibModel = 3073;
    settings.hamlibDevice = QStringLiteral("/dev/serial/by-id/usb-Silicon_Labs_CP2102_USB_to_UART-if00-port0");
    settings.hamlibSpeed = 115200;
    return settings;
}

} // namespace

TEST(RigSettings, WritesTheInitialStateExactly)
{
    EXPECT_EQ(rigSettingsBytes(RigSettings()), kDefaultFile);
    RigSettings nineSix;
    nineSix.baudRate = QStringLiteral("9600");
    EXPECT_TRUE(rigSettingsBytes(nineSix).startsWith("\"9600 \"\r\n"));
}

TEST(RigSettings, RoundTripsThroughTheFileAtomically)
{
    QTemporaryDir folder;
    const RigSettings saved = kenwoodOnPort10();
    QString error;
    ASSERT_TRUE(saveRigSettings(folder.path(), saved, &error)) << error.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("RigCntrl.txt")});
    RigSettings loaded;
    EXPECT_EQ(loadRigSettings(folder.path(), loaded), 19);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(loaded.baudRate, QStringLiteral("4800 "));
    EXPECT_EQ(loaded.commSettings, QStringLiteral("4800,N,8,2"));

    RigSettings quoted = saved;
    quoted.frequencyQuery = QStringLiteral("F\"A");
    EXPECT_FALSE(saveRigSettings(folder.path(), quoted, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(RigSettings, ReadsOldFilesAndStopsAtABadLine)
{
    // Fourteen lines from before the rigctld lines, with a radio this
    // version does not list and fields wider than their slots.
    const QByteArray old = "\"1920000\"\r\n\"None\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n\"19200,N,8,2\"\r\n3\r\n"
                           "\"D\"\r\n\"R\"\r\n\"Yaesu FT-8000\"\r\n1\r\n0\r\n2\r\n";
    RigSettings settings;
    EXPECT_EQ(readRigSettings(old, settings), 14);
    EXPECT_EQ(settings.baudRate, QStringLiteral("19200"));
    EXPECT_EQ(settings.parityCode, QStringLiteral("N"));
    EXPECT_EQ(settings.commPortNumber, 3);
    EXPECT_EQ(settings.rigName, QStringLiteral("Yaesu FT-8000"));
    EXPECT_EQ(findRigProfile(settings.rigName), nullptr);
    EXPECT_TRUE(settings.convertToHex);
    EXPECT_FALSE(settings.useFrequency);
    EXPECT_EQ(settings.modeBy, ModeBy::Frequency);
    EXPECT_EQ(settings.rigctldHost, QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(settings.startsOwnRigctld());

    // Sixteen lines from before the Hamlib model: a rigctld already running.
    RigSettings daemon;
    EXPECT_EQ(readRigSettings(kDefaultFile.left(kDefaultFile.indexOf("4532\r\n") + 6), daemon), 16);
    EXPECT_FALSE(daemon.startsOwnRigctld());

    // A port number that is not a number stops at line 8; the rest keeps its value.
    RigSettings partial;
    EXPECT_EQ(readRigSettings("\"4800\"\r\n\"E\"\r\n\"7\"\r\n\"2\"\r\n\"\"\r\n\"\"\r\n\"x\"\r\n\"COM3\"\r\n\"R\"\r\n", partial), 7);
    EXPECT_EQ(partial.baudRate, QStringLiteral("4800 "));
    EXPECT_EQ(partial.parityCode, QStringLiteral("E"));
    EXPECT_EQ(partial.commPortNumber, 1);
    EXPECT_EQ(partial.powerCode, QStringLiteral("N"));

    // A mode-by number naming no option leaves the choice.
    RigSettings modeBy;
    readRigSettings(QByteArray(kDefaultFile).replace("1\r\n1\r\n\"127", "1\r\n7\r\n\"127"), modeBy);
    EXPECT_EQ(modeBy.modeBy, ModeBy::Rig);

    QTemporaryDir empty;
    RigSettings untouched = kenwoodOnPort10();
    EXPECT_EQ(loadRigSettings(empty.path(), untouched), 0);
    EXPECT_EQ(untouched, kenwoodOnPort10());
}

TEST(RigSettings, FileIsFoundInAnyLetterCase)
{
    QTemporaryDir folder;
    QFile file(QDir(folder.path()).filePath(QStringLiteral("rigcntrl.TXT")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rigSettingsBytes(kenwoodOnPort10()));
    file.close();
    RigSettings loaded;
    EXPECT_EQ(loadRigSettings(folder.path(), loaded), 19);
    EXPECT_EQ(loaded.rigName, QStringLiteral("Kenwood"));
}

TEST(RigProfiles, TableFollowsTheRadioListAndIsConsistent)
{
    QStringList names;
    for (const RigProfile& row : rigProfiles())
        names.append(row.name);
    EXPECT_EQ(names, (QStringList{"None", "Elecraft", "Icom", "Icom 735", "Kenwood", "Kenwood 2", "Ten Tec Omni VI",
                                  "Ten Tec Orion", "Ten Tec Fnt Pnl", "Ten Tec Pegasus", "Yaesu", "Yaesu 757 GX II",
                                  "Yaesu 890", "Yaesu 920", "Yaesu 990", "Yaesu 1000 D", "Yaesu 1000",
                                  "Yaesu FTdx9000", "Hamlib rigctld", "Other"}));
    for (const RigProfile& row : rigProfiles()) {
        const std::string name = row.name.toStdString();
        // Hex requests must spell bytes; the hex flag shows it.
        const bool hexRequests = row.requestScheme == RequestScheme::CivAlternating ||
                                 row.requestScheme == RequestScheme::FrontPanelAlternating ||
                                 row.requestScheme == RequestScheme::YaesuFiveBytes;
        EXPECT_EQ(row.convertToHex, hexRequests) << name;
        if (hexRequests) {
            EXPECT_TRUE(bytesFromHexText(row.frequencyQuery)) << name;
        }
        EXPECT_EQ(row.hexBoxAvailable, row.name == u"Other") << name;
        EXPECT_EQ(row.showsIcomAddressNote, row.name.startsWith(u"Icom")) << name;
        EXPECT_EQ(row.yaesuWakeAndClose, row.name.startsWith(u"Yaesu") && row.name != u"Yaesu FTdx9000") << name;
        EXPECT_EQ(row.parser == ReplyParser::YaesuBinaryStatus, row.yaesuModel != YaesuBinaryModel::None) << name;
        EXPECT_EQ(row.baudRate.has_value(), row.usesSerialPort && row.name != u"Other") << name;
    }
}

TEST(RigProfiles, ChoosingARadioAppliesItsRow)
{
    RigSettings settings = kenwoodOnPort10();
    settings.frequencyQuery = QStringLiteral("edited");
    applyRigProfile(settings, *findRigProfile(QStringLiteral("Kenwood")));
    EXPECT_EQ(settings.frequencyQuery, QStringLiteral("FA;"));

    applyRigProfile(settings, *findRigProfile(QStringLiteral("Kenwood 2")));
    EXPECT_EQ(settings.frequencyQuery, QStringLiteral("IF;"));
    EXPECT_TRUE(settings.modeQuery.isEmpty());

    applyRigProfile(settings, *findRigProfile(QStringLiteral("Icom")));
    settings.dataBits = QStringLiteral("7");
    applyRigProfile(settings, *findRigProfile(QStringLiteral("Yaesu FTdx9000")));
    EXPECT_EQ(settings.baudRate, QStringLiteral("4800 "));
    EXPECT_EQ(settings.dataBits, QStringLiteral("7"));
    EXPECT_EQ(settings.stopBits, QStringLiteral("1"));
    EXPECT_EQ(settings.modeQuery, QStringLiteral("MD0;"));

    settings.convertToHex = true;
    applyRigProfile(settings, *findRigProfile(QStringLiteral("Other")));
    EXPECT_EQ(settings.rigName, QStringLiteral("Other"));
    EXPECT_EQ(settings.baudRate, QStringLiteral("4800 "));
    EXPECT_FALSE(settings.convertToHex);
    EXPECT_TRUE(settings.frequencyQuery.isEmpty());
    EXPECT_EQ(commSettingsText(settings), QStringLiteral("4800,N,7,1"));
}

// Damage in RigCntrl.txt is named with its line and fault, and the settings
// from the damage on keep their defaults: "Use Frequency" stays on, where
// garbage used to turn it off. A missing file, or one that ends cleanly after
// whole lines (an older version's), says nothing. The forms of damage every
// settings file shares (empty, binary, cut off) are SettingsValuesTest's.
TEST(RigSettings, DamageIsNamedAndTheDefaultsStand)
{
    QByteArray useFrequencyWord = kDefaultFile;
    useFrequencyWord.replace("0\r\n1\r\n1\r\n\"127", "0\r\ngarbage\r\n1\r\n\"127");
    QByteArray portEleven = kDefaultFile;
    portEleven.replace("\r\n1\r\n\"N\"\r\n\"M\"", "\r\n11\r\n\"N\"\r\n\"M\"");
    const struct {
        const char* what;
        QByteArray data;
        const char* problem; // after the path; empty: nothing said
        int taken;
    } rows[] = {
        {"garbage", "Lorem ipsum dolor sit amet,\r\nconsectetur adipiscing elit\r\n",
         " line 1: the bit rate is \"Lorem ipsum dolor sit amet\", not a number", 0},
        {"garbage in quotes", "\"9600 \"\r\n\"N\"\r\n\"8\"\r\n\"x\"\r\n", " line 4: the stop bits value is \"x\", not one of 1, 2", 3},
        {"oversized", QByteArray(2 << 20, ' '), " is too large (2.0 MB, where such a file holds at most 1.0 MB)", 0},
        {"a word for Use Frequency", useFrequencyWord, " line 13: \"Use Frequency\" is \"garbage\", not 0 or 1", 12},
        {"port 11", portEleven, " line 8: the port number is \"11\", not 1 to 10", 7},
        {"short, from an older version", kDefaultFile.left(kDefaultFile.indexOf("\"M\"")), "", 9},
        {"a device with a blank", QByteArray(kDefaultFile).replace("ttyUSB0", "tty USB0"),
         " line 18: the Hamlib serial device is \"/dev/tty USB0\", not a device path", 17},
        {"a speed below zero", QByteArray(kDefaultFile).replace("USB0\"\r\n0", "USB0\"\r\n-9600"),
         " line 19: the Hamlib speed is \"-9600\", not a number of bits per second", 18},
        {"whole", kDefaultFile, "", 19},
    };
    for (const auto& row : rows) {
        QTemporaryDir folder;
        const QString path = QDir(folder.path()).filePath(QStringLiteral("RigCntrl.txt"));
        ASSERT_TRUE(tenlog::platform::writeFileAtomically(path, row.data));
        RigSettings settings;
        settings.useFrequency = true;
        QString problem = QStringLiteral("not cleared");
        EXPECT_EQ(loadRigSettings(folder.path(), settings, &problem), row.taken) << row.what;
        if (*row.problem == '\0') {
            EXPECT_TRUE(problem.isEmpty()) << row.what << ": " << problem.toStdString();
        } else {
            EXPECT_TRUE(problem.startsWith(path + QLatin1String(row.problem))) << row.what << ": " << problem.toStdString();
            EXPECT_TRUE(problem.contains(QStringLiteral("\"Use Frequency\" on"))) << row.what;
        }
        EXPECT_TRUE(settings.useFrequency) << row.what;
        EXPECT_EQ(settings.commPortNumber, 1) << row.what;
    }
    QTemporaryDir none;
    RigSettings settings;
    QString problem = QStringLiteral("not cleared");
    EXPECT_EQ(loadRigSettings(none.path(), settings, &problem), 0);
    EXPECT_TRUE(problem.isEmpty()) << "a missing file says nothing";
}

TEST(RigctldDaemon, ArgumentsNameTheRadioAndListenOnlyHere)
{
    RigSettings settings;
    settings.hamlibModel = 3073;
    settings.hamlibDevice = QStringLiteral("/dev/ttyUSB1");
    settings.hamlibSpeed = 115200;
    EXPECT_EQ(RigctldDaemon::arguments(settings, 45123),
              (QStringList{"--model=3073", "--rig-file=/dev/ttyUSB1", "--serial-speed=115200",
                           "--listen-addr=127.0.0.1", "--port=45123"}));
    // No device and the model's own speed: neither is passed.
    settings.hamlibDevice.clear();
    settings.hamlibSpeed = 0;
    EXPECT_EQ(RigctldDaemon::arguments(settings, 4532),
              (QStringList{"--model=3073", "--listen-addr=127.0.0.1", "--port=4532"}));
}
