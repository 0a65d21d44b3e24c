// The voice keyer's setup window: "Browse" offers the folder's sound files
// (the filter is read as the file dialog reads it) and puts the chosen one
// in the key's box.
#include "voice/ui/VoiceKeyerWindow.h"

#include "voice/VoiceKeyer.h"

#include "FakeSerialPort.h"
#include "RecordingPortIo.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "WavDurationPlayer.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tenlog;
using tenlog::testing::ScriptedDialogs;

namespace {

// The file dialog's reading of a filter: the patterns inside the trailing
// parentheses, or the whole text split at spaces when there are none.
QStringList dialogPatterns(const QString& filter)
{
    const QRegularExpression named(QStringLiteral("^.*\\(([^()]*)\\)$"));
    const QRegularExpressionMatch match = named.match(filter.trimmed());
    const QString patterns = match.hasMatch() ? match.captured(1) : filter;
    return patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

TEST(VoiceKeyerWindow, BrowseListsTheWavFilesAndFillsTheKeysBox)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir dir(folder.path());
    for (const char* name : {"CQ.wav", "Number.WAV", "notes.txt", "CQ.wav.bak"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    tenlog::testing::SettableClock clock;
    tenlog::testing::WavDurationPlayer player{clock};
    tenlog::testing::FakeSerialPort pttPort;
    tenlog::testing::FakeSerialPort cwPort;
    tenlog::testing::RecordingPortIo parallel;
    voice::VoiceKeyer keyer{{player, pttPort, cwPort, parallel}};
    ScriptedDialogs dialogs;
    dialogs.fileAnswers.push_back(dir.filePath(QStringLiteral("CQ.wav")));
    voice::VoiceKeyerWindow window(keyer, dialogs, folder.path(), nullptr);

    auto* browseF2 = window.findChild<QPushButton*>(QStringLiteral("Command3"));
    ASSERT_NE(browseF2, nullptr);
    QTest::mouseClick(browseF2, Qt::LeftButton);

    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].startFolder, folder.path());
    const QStringList offered = dir.entryList(dialogPatterns(dialogs.openRequests[0].filter), QDir::Files,
                                              QDir::Name | QDir::IgnoreCase);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("CQ.wav"), QStringLiteral("Number.WAV")}));
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("Text2"))->text(), dir.filePath(QStringLiteral("CQ.wav")));
    EXPECT_EQ(keyer.settings().files[1], dir.filePath(QStringLiteral("CQ.wav")));
}
