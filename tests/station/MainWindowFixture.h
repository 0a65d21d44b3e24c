// The main window as an operator drives it, shared by the window tests: the
// real window under the offscreen platform, real files in a temporary
// working folder, scripted dialog answers and a settable clock.
#pragma once

#include "common/FirstRun.h"
#include "log/Prefs.h"
#include "station/MainWindow.h"
#include "platform/DurableFile.h"
#include "platform/qt/QtSettingsStore.h"

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "TempPaths.h"
#include "WavDurationPlayer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QFileInfo>
#include <QFocusEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QHeaderView>
#include <gtest/gtest.h>

using namespace tenlog;
using station::MainWindow;

inline QByteArray fileBytes(const QString& path)
{
    QByteArray data;
    platform::readWholeFile(path, &data);
    return data;
}

inline QByteArray logLine(const QString& call, const char* sec, const char* country, const char* mode = "CW",
                   const char* time = "14:05:33")
{
    return "\"" + call.toLatin1() + "\",\"599\",\"" + sec + "\",\"599\",\"" + country + "\",\"2013/12/14\",\""
         + time + "\",\"" + mode + "\",\"\"\r\n";
}


class MainWindowTest : public ::testing::Test {
protected:
    tenlog::testing::TempPaths paths;
    tenlog::testing::ScriptedDialogs dialogs;
    tenlog::testing::SettableClock clock{QDateTime(QDate(2013, 12, 14), QTime(9, 0)), 5 * 3600};
    platform::QtSettingsStore settings{paths.root() + QStringLiteral("/config")};
    common::SharedPreferences shared;
    tenlog::testing::WavDurationPlayer player{clock};
    int endedWith = -1;
    // A test of the radio link hands one in before start().
    rig::RigControl* rigControl = nullptr;
    // Likewise a test of spotting hands in its transports.
    spots::SpotTransports* spotTransports = nullptr;
    // A test of the keyers hands them in before start().
    station::KeyerServices* keyers = nullptr;
    // A test of the serial device chooser hands in the mapping and devices.
    common::PortDevices* portDevices = nullptr;
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        common::seedWorkingFolder(paths.shippedDataFolder(), paths.workingFolder());
        // The stored offset agrees with the clock, so no offset question is asked
        // unless a test wants one.
        log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
        prefs.UtcOffsetHours = 5;
        log::savePrefs(paths.workingFolder(), prefs);
        shared.load(paths.root() + QStringLiteral("/shared.xml"));
    }

    QString work(const char* name) const { return paths.workingFolder() + QLatin1Char('/') + QLatin1String(name); }

    // Answers the station dialog with a call, state and position, then Done.
    void scriptStation(const QString& call = QStringLiteral("W3LPL"), const QString& utc = QStringLiteral("5"))
    {
        dialogs.modalScripts.push_back([call, utc](QDialog* d) {
            d->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(call);
            d->findChild<QLineEdit*>(QStringLiteral("Text5"))->setText(QStringLiteral("MD"));
            d->findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(QStringLiteral("77"));
            d->findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QStringLiteral("39"));
            d->findChild<QLineEdit*>(QStringLiteral("Text6"))->setText(utc);
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
            return static_cast<int>(QDialog::Accepted);
        });
    }

    bool start()
    {
        common::AppFolders folders;
        folders.workingFolder = paths.workingFolder();
        folders.userDataFolder = paths.root() + QStringLiteral("/user");
        folders.sharedFolder = paths.root() + QStringLiteral("/shared");
        window = std::make_unique<MainWindow>(station::MainWindowServices{
            clock, dialogs, settings, folders, shared, player, [this](int code) { endedWith = code; }, rigControl, spotTransports, keyers,
            portDevices});
        window->show();
        const bool ok = window->runLoadSequence();
        QApplication::processEvents();
        return ok;
    }

    template <typename T = QWidget>
    T* find(const char* name) const
    {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString textOf(const char* name) const
    {
        if (auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name)))
            return box->text();
        return find<QLabel>(name)->text();
    }
    // Keys go to whichever box has the focus, as they would from the keyboard.
    void type(const QString& keys)
    {
        for (QChar c : keys) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            if (c == QLatin1Char('\n'))
                QTest::keyClick(target, Qt::Key_Return);
            else
                QTest::keyClicks(target, QString(c));
        }
    }
    QString focused() const { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
};

