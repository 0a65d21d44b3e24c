// The main window driven as an operator drives it: the real window under the
// offscreen platform, real files in a temporary working folder, scripted
// dialog answers and a settable clock.
#include "MainWindowFixture.h"

TEST_F(MainWindowTest, LoadSequenceShowsTheWholeWindow)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    EXPECT_EQ(window->windowTitle(), station::mainWindowCaption());
    for (const char* name : {"txtCall", "txtRSTR", "txtSec", "txtRSTS", "txtCntry", "lblDialog", "lblDupe",
                             "lblPossDup", "Label3", "Label19", "Label22", "Label23", "Label2", "Label4", "Label30",
                             "cmdClear", "cmdList", "cmdDup", "cmdEdit", "cmdDelete", "cmdLogOn", "ListView1",
                             "lblTotCon", "lblsectogo", "lblTotSec", "lblTotScore", "lblAQSO20", "lblAQSO60",
                             "List1", "lblStation_5", "lblCurTime", "Label16", "lblutctime", "lblttrack",
                             "txtPostConDate", "txtPostConTime", "Label10_1", "Label10_68", "Label10_100"})
        EXPECT_NE(window->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(find<QLabel>("Label10_68")->text(), QStringLiteral("NU"));
    EXPECT_EQ(find<QLabel>("Label10_68")->toolTip(), QStringLiteral("Nunavut"));
    EXPECT_EQ(textOf("Label2"), QStringLiteral("W3LPL"));
    EXPECT_EQ(textOf("Label4"), QStringLiteral("MD"));
    EXPECT_EQ(textOf("Label30"), QStringLiteral("CW"));
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("Select a mode from the menu bar and click Log \"Time On\" below!"));
    EXPECT_EQ(textOf("lblTotCon"), QStringLiteral("1"));
    EXPECT_FALSE(find<QPushButton>("cmdEdit")->isVisible());

    // The continue question, with its exact words.
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Open existing log?"));
    EXPECT_EQ(dialogs.messages.back().buttons, platform::MessageButtons::YesNo);

    // The menus are there with their captions.
    auto* cabrillo = window->findChild<QAction*>(QStringLiteral("mnuWriteSumm"));
    ASSERT_NE(cabrillo, nullptr);
    EXPECT_EQ(cabrillo->text(), QStringLiteral("&Write Cabrillo Summary Sheet"));
    auto* graph = window->findChild<QAction*>(QStringLiteral("mnuGraph"));
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->text(), QStringLiteral("&Graph"));
    EXPECT_TRUE(graph->isEnabled()) << "the rate graph opens from the menu bar";
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("mnuCW"))->isChecked());

    // The station identity reached the preferences file and the shared document.
    EXPECT_TRUE(fileBytes(work("tnpref.txt")).startsWith("\"W3LPL\"\r\n\"MD\"\r\n5\r\n\"CW\"\r\n"));
    EXPECT_TRUE(fileBytes(shared.path()).contains("<OWN_CALL>W3LPL</OWN_CALL>"));
}

TEST_F(MainWindowTest, LoggingAContactStampsUtcAndAppendsIt)
{
    scriptStation();
    ASSERT_TRUE(start());
    // 23:30 local with 5 hours added is 04:30 the next day.
    clock.setLocal(QDateTime(QDate(2013, 12, 14), QTime(23, 30, 0)));
    window->session().setRadioFrequency(28.025f);
    type(QStringLiteral("k1abc"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC"));
    EXPECT_EQ(textOf("txtCntry"), QStringLiteral("USA"));
    EXPECT_EQ(textOf("Label19"), QStringLiteral("NA"));
    EXPECT_FALSE(textOf("Label22").isEmpty());
    EXPECT_EQ(window->currentCall(), QStringLiteral("K1ABC"));
    type(QStringLiteral(" "));
    EXPECT_EQ(focused(), QStringLiteral("txtRSTR"));
    EXPECT_EQ(textOf("txtRSTR"), QStringLiteral("599"));
    EXPECT_EQ(textOf("txtRSTS"), QStringLiteral("599"));
    type(QStringLiteral(" ct\n"));
    EXPECT_EQ(fileBytes(work("log.txt")),
              QByteArray("\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/15\",\"04:30:00\",\"CW\",\"28.025\"\r\n"));
    EXPECT_TRUE(window->session().loggedOn()) << "logging switches the clock on";
    EXPECT_EQ(textOf("txtCall"), QString());
    EXPECT_EQ(focused(), QStringLiteral("txtCall"));
    EXPECT_EQ(textOf("lblTotCon"), QStringLiteral("1"));
    EXPECT_EQ(textOf("lblsectogo"), QStringLiteral("1"));
    EXPECT_EQ(textOf("lblTotScore"), QStringLiteral("4"));
    EXPECT_EQ(find<QTreeWidget>("ListView1")->topLevelItemCount(), 1);
    EXPECT_EQ(window->session().pendingFrequency(), QString()) << "the next contact carries no stale frequency";
}

TEST_F(MainWindowTest, CharactersAreCarriedToTheBoxWhereTheyBelong)
{
    scriptStation();
    ASSERT_TRUE(start());
    window->findChild<QPushButton*>(QStringLiteral("cmdLogOn"))->click();
    type(QStringLiteral("W1AW5"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W1AW"));
    EXPECT_EQ(textOf("txtRSTR"), QStringLiteral("5"));
    EXPECT_EQ(focused(), QStringLiteral("txtRSTR"));
    type(QStringLiteral("5C"));
    EXPECT_EQ(textOf("txtRSTR"), QStringLiteral("55"));
    EXPECT_EQ(textOf("txtSec"), QStringLiteral("C"));
    EXPECT_EQ(focused(), QStringLiteral("txtSec"));
    type(QStringLiteral("T5"));
    EXPECT_EQ(textOf("txtSec"), QStringLiteral("CT"));
    EXPECT_EQ(textOf("txtRSTS"), QStringLiteral("5"));
    EXPECT_EQ(focused(), QStringLiteral("txtRSTS"));

    QTest::mouseClick(find<QPushButton>("cmdClear"), Qt::LeftButton);
    EXPECT_EQ(focused(), QStringLiteral("txtCall"));
    type(QStringLiteral("W1AW/35"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W1AW/35")) << "a portable call never carries";
    type(QStringLiteral("\""));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W1AW/35")) << "a quote never enters the log";
}

TEST_F(MainWindowTest, ChecksRefuseIncompleteInvalidAndDuplicateContacts)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    window->findChild<QPushButton*>(QStringLiteral("cmdLogOn"))->click();
    const int beepsBefore = dialogs.beeps;
    type(QStringLiteral("\n"));
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("Need Report Sent!"));
    EXPECT_EQ(focused(), QStringLiteral("txtRSTS"));
    EXPECT_EQ(dialogs.beeps - beepsBefore, 5);

    QTest::mouseClick(find<QPushButton>("cmdClear"), Qt::LeftButton);
    type(QStringLiteral("W2XYZ ctx\n"));
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("Invalid Section!"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W2XYZ")) << "the entry stays for correction";

    QTest::mouseClick(find<QPushButton>("cmdClear"), Qt::LeftButton);
    // Leaving the call box finds the duplicate and clears the line.
    type(QStringLiteral("k1abc "));
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("Duplicate K1ABC CT 2013/12/14 14:05:33 ON CW  Rec# 1"));
    EXPECT_EQ(focused(), QStringLiteral("txtCall"));
    EXPECT_EQ(textOf("txtCall"), QString());
    EXPECT_EQ(window->session().log().contactCount(), 1);
    EXPECT_EQ(fileBytes(work("log.txt")).count("\r\n"), 1);

    // On phone the same call is a new contact, with phone reports (once the
    // hold after the duplicate is over).
    clock.advanceMs(3001);
    window->findChild<QAction*>(QStringLiteral("mnuPH"))->trigger();
    EXPECT_EQ(textOf("Label30"), QStringLiteral("PH"));
    EXPECT_TRUE(fileBytes(work("tnpref.txt")).contains("\"PH\"\r\n"));
    type(QStringLiteral("k1abc "));
    EXPECT_EQ(textOf("txtRSTR"), QStringLiteral("59"));
    type(QStringLiteral(" ma\n"));
    EXPECT_EQ(window->session().log().contactCount(), 2);
    EXPECT_TRUE(fileBytes(work("log.txt")).contains("\"K1ABC\",\"59\",\"MA\",\"59\",\"USA\""));
    EXPECT_EQ(textOf("lblTotSec"), QStringLiteral("6"));
}

TEST_F(MainWindowTest, DxCountriesAndCountryCompletion)
{
    scriptStation();
    ASSERT_TRUE(start());
    window->findChild<QPushButton*>(QStringLiteral("cmdLogOn"))->click();
    type(QStringLiteral("ja1xyz"));
    EXPECT_EQ(textOf("txtCntry"), QStringLiteral("Japan"));
    EXPECT_EQ(textOf("Label3"), QStringLiteral("New")) << "a DX country not yet worked is new";
    type(QStringLiteral("  001\n"));
    EXPECT_EQ(textOf("lblStation_5"), QStringLiteral("DX-CW 1"));
    EXPECT_EQ(find<QListWidget>("List1")->count(), 1);
    type(QStringLiteral("ja2xyz"));
    EXPECT_EQ(textOf("Label3"), QString());

    // Completion in an empty country box, from the last table entry backwards.
    QTest::mouseClick(find<QPushButton>("cmdClear"), Qt::LeftButton);
    find<QLineEdit>("txtCntry")->setFocus();
    type(QStringLiteral("g"));
    const QString completed = textOf("txtCntry");
    EXPECT_TRUE(completed.startsWith(QLatin1Char('G'))) << completed.toStdString();
    EXPECT_GT(completed.size(), 1);
    EXPECT_EQ(find<QLineEdit>("txtCntry")->selectedText(), completed.mid(1));
    type(QStringLiteral("e"));
    EXPECT_TRUE(textOf("txtCntry").startsWith(QStringLiteral("Ge")));
}

TEST_F(MainWindowTest, DamagedLogEndsTheProgramWithoutWriting)
{
    const QByteArray damaged = "\"W1AW\",\"599\",\"CT\r\n" + logLine(QStringLiteral("K1ABC"), "CT", "USA");
    platform::writeFileAtomically(work("log.txt"), damaged);
    scriptStation();
    EXPECT_FALSE(start());
    EXPECT_EQ(endedWith, 1);
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("File Error"));
    // The real cause first, then the long advice, which is the truth here: a quote got into the data.
    const QString text = dialogs.messages.back().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("log.txt line 1: a quote is not closed on the line.\n\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Error opening file.  This error is annoying"))) << text.toStdString();
    EXPECT_EQ(fileBytes(work("log.txt")), damaged);
}

TEST_F(MainWindowTest, AnUnreadablePrefixFileStopsTheLoadSequenceAndSaysWhy)
{
    platform::writeFileAtomically(work("arrlpre2.txt"), "\"K\",\"USA\",\"NA\",\"95\"\r\n");
    EXPECT_FALSE(start());
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Error opeining file"));
    EXPECT_TRUE(dialogs.messages.back().text.startsWith(
        QStringLiteral("Error opening file %1: the last entry, from line 1 on, is incomplete.").arg(work("arrlpre2.txt"))))
        << dialogs.messages.back().text.toStdString();
    EXPECT_EQ(dialogs.modalRuns, 0) << "the sequence stops before the station dialog";

    // The window stays up, says why, and neither logs nor writes the unread log.
    const QByteArray existing = logLine(QStringLiteral("K1ABC"), "CT", "USA");
    platform::writeFileAtomically(work("log.txt"), existing);
    EXPECT_EQ(textOf("lblDialog"), log::kLogNotReadText);
    for (const char* item : {"mnuNew", "mnuArchive", "mnuRestore", "mnuWriteSumm", "mnuADIF"})
        EXPECT_FALSE(window->findChild<QAction*>(QString::fromLatin1(item))->isEnabled()) << item;
    find<QLineEdit>("txtCall")->setFocus();
    type(QStringLiteral("K1ABC  CT\n"));
    EXPECT_EQ(fileBytes(work("log.txt")), existing);
}

TEST_F(MainWindowTest, MissingPrefixFileIsNotAnErrorAndFailedAppendsAreReported)
{
    QFile::remove(work("arrlpre2.txt"));
    scriptStation();
    ASSERT_TRUE(start());
    type(QStringLiteral("k1abc"));
    EXPECT_EQ(textOf("txtCntry"), QStringLiteral("Not Found"));

    // The log file can no longer be written: the contact stays on the line.
    QFile::remove(work("log.txt"));
    QDir().mkdir(work("log.txt"));
    type(QStringLiteral(" ct\n"));
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Contact Not Logged"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC"));
    EXPECT_EQ(window->session().log().contactCount(), 0);
}

TEST_F(MainWindowTest, FormSizeAndTaskbar)
{
    scriptStation();
    ASSERT_TRUE(start());
    auto* formSize = window->findChild<QAction*>(QStringLiteral("mnuFormSize"));
    dialogs.inputAnswers.push_back(QStringLiteral("120"));
    formSize->trigger();
    EXPECT_EQ(window->session().prefs().FormSizePercent, 100);
    dialogs.inputAnswers.push_back(QStringLiteral("abc"));
    formSize->trigger();
    EXPECT_EQ(dialogs.messages.back().text, QStringLiteral("Please enter only numeric values."));
    dialogs.inputAnswers.push_back(QStringLiteral("90"));
    formSize->trigger();
    EXPECT_EQ(window->session().prefs().FormSizePercent, 90);

    auto* taskbar = window->findChild<QAction*>(QStringLiteral("mnuTaskbar"));
    taskbar->trigger();
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Please set your form size to 100% to use this option."));
    EXPECT_EQ(window->session().prefs().TaskbarFit, 0);
    EXPECT_FALSE(taskbar->isChecked());
}

TEST_F(MainWindowTest, NewLogNeedsYesAndBacksUpFirst)
{
    const QByteArray old = logLine(QStringLiteral("K1ABC"), "CT", "USA");
    platform::writeFileAtomically(work("log.txt"), old);
    scriptStation();
    // "No" to continuing, then something other than YES: the log stays.
    dialogs.messageAnswers = {platform::Answer::No};
    dialogs.inputAnswers.push_back(QStringLiteral("yes please"));
    ASSERT_TRUE(start());
    EXPECT_TRUE(dialogs.inputPrompts.back().startsWith(QStringLiteral("WARNING - Your existing log file will be ERASED!")));
    EXPECT_EQ(fileBytes(work("log.txt")), old);
    EXPECT_EQ(window->session().log().contactCount(), 1);

    // Log one more, then start a new log with "yes": a backup of the two
    // contacts is made first, named by the local time.
    clock.setLocal(QDateTime(QDate(2013, 12, 15), QTime(8, 7)));
    type(QStringLiteral("w1aw  ma\n"));
    dialogs.inputAnswers.push_back(QStringLiteral("yes"));
    window->findChild<QAction*>(QStringLiteral("mnuNew"))->trigger();
    EXPECT_EQ(fileBytes(work("log.txt")), QByteArray());
    EXPECT_EQ(window->session().log().contactCount(), 0);
    const QString backup = paths.root() + QStringLiteral("/user/BACKUP/201312150807.log");
    EXPECT_EQ(fileBytes(backup).count("\r\n"), 2);
    EXPECT_TRUE(fileBytes(backup).startsWith(old));
    EXPECT_EQ(textOf("lblTotCon"), QStringLiteral("0"));
}

TEST_F(MainWindowTest, OversizedFilesAreLoadErrors)
{
    // 11,001 records end the program; the file is left as it was.
    QByteArray big;
    for (int i = 0; i <= log::kLogCapacity; ++i)
        big += logLine(QStringLiteral("K%1").arg(i), "CT", "USA");
    platform::writeFileAtomically(work("log.txt"), big);
    scriptStation();
    EXPECT_FALSE(start());
    EXPECT_EQ(endedWith, 1);
    EXPECT_EQ(fileBytes(work("log.txt")).size(), big.size());
}

TEST_F(MainWindowTest, PrefixFileOverCapacityStopsTheLoadSequence)
{
    QByteArray prefixes;
    for (int i = 0; i <= geo::PrefixTable::kCapacity; ++i)
        prefixes += "\"P" + QByteArray::number(i) + "\",\"X\",\"EU\",0,0,1,1,0\r\n";
    platform::writeFileAtomically(work("arrlpre2.txt"), prefixes);
    EXPECT_FALSE(start());
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Error opeining file"));
    EXPECT_EQ(dialogs.modalRuns, 0) << "the station dialog comes after the prefix file";
}

TEST_F(MainWindowTest, ModeLabelSwitchesModesAndHelpShowsTheHelpFile)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    EXPECT_EQ(find<QLabel>("Label10_1")->palette().color(QPalette::WindowText), QColor(0, 128, 0))
        << "CT is worked on CW";
    QTest::mouseClick(find<QLabel>("Label30"), Qt::LeftButton);
    EXPECT_EQ(textOf("Label30"), QStringLiteral("PH"));
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("mnuPH"))->isChecked());
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("mnuCW"))->isChecked());
    EXPECT_EQ(find<QLabel>("Label10_1")->palette().color(QPalette::WindowText), QColor(192, 0, 0))
        << "the grid shows the phone multipliers now";
    EXPECT_EQ(find<QLineEdit>("txtRSTR")->maxLength(), 2);
    QTest::mouseClick(find<QLabel>("Label30"), Qt::LeftButton);
    EXPECT_EQ(textOf("Label30"), QStringLiteral("CW"));

    // The help window shows readtm.txt from the working folder.
    platform::writeFileAtomically(work("readtm.txt"), "How to log <b>fast</b>\r\n");
    QString shown;
    dialogs.modalScripts.push_back([&shown](QDialog* d) {
        shown = d->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Help Page"));
        return 0;
    });
    window->findChild<QAction*>(QStringLiteral("mnuHelp"))->trigger();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("How to log <b>fast</b>")));
}

TEST_F(MainWindowTest, UtcOffsetCheckAtStartUp)
{
    log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
    prefs.UtcOffsetHours = 0;
    log::savePrefs(paths.workingFolder(), prefs);
    dialogs.inputAnswers.push_back(std::nullopt); // Cancel keeps 0
    scriptStation(QStringLiteral("W3LPL"), QStringLiteral("0"));
    ASSERT_TRUE(start());
    ASSERT_EQ(dialogs.inputPrompts.size(), 1);
    EXPECT_TRUE(dialogs.inputPrompts[0].startsWith(QStringLiteral("Update the Local Time / UTC Offset? | Would you like")));
    EXPECT_TRUE(dialogs.inputPrompts[0].contains(QStringLiteral("Recommended Offset: 5\r\n")));
    EXPECT_FLOAT_EQ(window->session().prefs().UtcOffsetHours, 0.0f);
}

TEST_F(MainWindowTest, UtcOffsetAnswerIsStored)
{
    log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
    prefs.UtcOffsetHours = 0;
    log::savePrefs(paths.workingFolder(), prefs);
    dialogs.inputAnswers.push_back(QStringLiteral("5"));
    // The station dialog closed by its frame keeps what the boxes were filled with.
    ASSERT_TRUE(start());
    EXPECT_FLOAT_EQ(window->session().prefs().UtcOffsetHours, 5.0f);
    EXPECT_TRUE(fileBytes(work("tnpref.txt")).contains("\r\n5\r\n\"CW\""));
}

TEST_F(MainWindowTest, TimeOnAndOffKeepTheOperatingTotal)
{
    scriptStation();
    ASSERT_TRUE(start());
    auto* logOn = find<QPushButton>("cmdLogOn");
    clock.setLocal(QDateTime(QDate(2013, 12, 14), QTime(10, 0, 0)));
    logOn->click();
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time Off\""));
    clock.setLocal(QDateTime(QDate(2013, 12, 14), QTime(10, 30, 0)));
    logOn->click();
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time On\""));
    EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("Logged Off at ")));
    EXPECT_TRUE(textOf("lblDialog").endsWith(QStringLiteral(" 15:30:00")));
    EXPECT_FLOAT_EQ(log::loadPrefs(paths.workingFolder())->SavedOpSeconds, 1800.0f);
    clock.setLocal(QDateTime(QDate(2013, 12, 14), QTime(11, 0, 0)));
    logOn->click();
    clock.setLocal(QDateTime(QDate(2013, 12, 14), QTime(11, 0, 10)));
    // The clock tick shows the running total and the clocks.
    QTRY_COMPARE_WITH_TIMEOUT(textOf("lblttrack"), QStringLiteral("00:30:10"), 3000);
    EXPECT_EQ(textOf("lblutctime"), QStringLiteral("16:00:10"));
    EXPECT_EQ(textOf("lblCurTime"), QStringLiteral("11:00:10"));
    EXPECT_EQ(textOf("Label16"), QStringLiteral("AM"));

    // "&Exit" keeps the running total.
    clock.setLocal(QDateTime(QDate(2013, 12, 14), QTime(11, 1, 0)));
    window->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    EXPECT_EQ(endedWith, 0);
    EXPECT_FLOAT_EQ(log::loadPrefs(paths.workingFolder())->SavedOpSeconds, 1860.0f);
}

TEST_F(MainWindowTest, PartialDuplicatesAndTheCallShapeWarning)
{
    QByteArray log = logLine(QStringLiteral("K1ABC"), "CT", "USA") + logLine(QStringLiteral("K1ABC/7"), "AZ", "USA")
                   + logLine(QStringLiteral("K1XYZ"), "MA", "USA", "PH");
    platform::writeFileAtomically(work("log.txt"), log);
    scriptStation();
    ASSERT_TRUE(start());
    find<QPushButton>("cmdLogOn")->click();
    type(QStringLiteral("k1"));
    // Latest first, this mode only.
    EXPECT_EQ(textOf("lblDupe"), QStringLiteral("K1ABC/7 K1ABC "));
    type(QStringLiteral("ab"));
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("Possible Duplicate!"));
    type(QStringLiteral("c/"));
    EXPECT_EQ(textOf("lblDupe"), QStringLiteral("K1ABC/7 "));

    QTest::mouseClick(find<QPushButton>("cmdClear"), Qt::LeftButton);
    const int beeps = dialogs.beeps;
    type(QStringLiteral("WA"));
    EXPECT_EQ(dialogs.beeps, beeps);
    type(QStringLiteral("B"));
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("The second or third character is not numeric!"));
    EXPECT_EQ(dialogs.beeps, beeps + 1);
    QTest::mouseClick(find<QPushButton>("cmdClear"), Qt::LeftButton);
    type(QStringLiteral("K/3"));
    EXPECT_NE(textOf("lblDialog"), QStringLiteral("The second or third character is not numeric!"));

    // "Off": no list, no "Possible Duplicate!", the shape warning still works.
    QTest::mouseClick(find<QPushButton>("cmdClear"), Qt::LeftButton);
    find<QPushButton>("cmdDup")->click();
    EXPECT_EQ(find<QPushButton>("cmdDup")->text(), QStringLiteral("Off"));
    type(QStringLiteral("K1AB"));
    EXPECT_EQ(textOf("lblDupe"), QString());
    EXPECT_NE(textOf("lblDialog"), QStringLiteral("Possible Duplicate!"));
}

TEST_F(MainWindowTest, KeysTypedDuringTheDuplicateHoldArriveInOrderAfterIt)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    find<QPushButton>("cmdLogOn")->click();
    type(QStringLiteral("k1abc "));
    ASSERT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("Duplicate K1ABC")));
    type(QStringLiteral("w2"));
    EXPECT_EQ(textOf("txtCall"), QString()) << "held back for three seconds";
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    clock.advanceMs(3001);
    QTRY_COMPARE_WITH_TIMEOUT(textOf("txtCall"), QStringLiteral("W2"), 2000);
    type(QStringLiteral("xy"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W2XY"));
}

TEST_F(MainWindowTest, BurstsTypedIntoTheDuplicateHoldLogOnlyTheNextContact)
{
    struct Case {
        const char* burst; // \t is Tab, \n is Enter
        const char* logged; // the call that must be appended, or nothing
        const char* exchange;
    };
    const Case cases[] = {
        {"K1ABC\t\tCT\n", nullptr, nullptr},
        {"K1ABC CT\n", nullptr, nullptr},
        {"K1ABC\t\tCT\nW1AW\t\tMA\n", "W1AW", "MA"},
        {"K1ABC\nW1AW\t\tMA\n", "W1AW", "MA"}, // found at Enter: everything after it is the next contact
    };
    const QByteArray worked = logLine(QStringLiteral("K1ABC"), "CT", "USA");
    for (const Case& c : cases) {
        platform::writeFileAtomically(work("log.txt"), worked);
        scriptStation();
        ASSERT_TRUE(start()) << c.burst;
        find<QPushButton>("cmdLogOn")->click();
        for (const char* k = c.burst; *k; ++k) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            if (*k == '\t')
                QTest::keyClick(target, Qt::Key_Tab);
            else if (*k == '\n')
                QTest::keyClick(target, Qt::Key_Return);
            else
                QTest::keyClicks(target, QString(QLatin1Char(*k)));
        }
        // The red notice stays in sight while the keys wait.
        EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("Duplicate K1ABC"))) << c.burst;
        EXPECT_EQ(find<QLabel>("lblDialog")->palette().color(QPalette::Window), QColor(255, 0, 0)) << c.burst;
        clock.advanceMs(3001);
        QTRY_VERIFY_WITH_TIMEOUT(!textOf("lblDialog").startsWith(QStringLiteral("Duplicate K1ABC"))
                                     || textOf("txtCall").isEmpty(),
                                 2000);
        // The keys held back are typed now: a contact they log reaches the file.
        if (c.logged)
            QTRY_VERIFY_WITH_TIMEOUT(log::parseLog(fileBytes(work("log.txt"))).records.size() >= 2, 5000);
        else
            QTest::qWait(150);
        const QByteArray file = fileBytes(work("log.txt"));
        if (!c.logged) {
            EXPECT_EQ(file, worked) << c.burst << ": nothing logged";
        } else {
            const QList<log::QsoRecord> records = log::parseLog(file).records;
            ASSERT_EQ(records.size(), 2) << c.burst;
            EXPECT_EQ(records.last().Call, QString::fromLatin1(c.logged)) << c.burst;
            EXPECT_EQ(records.last().SecSer, QString::fromLatin1(c.exchange)) << c.burst;
        }
        window.reset();
    }
}

TEST_F(MainWindowTest, OnlyWhatACallOrExchangeCanHoldGetsIn)
{
    scriptStation();
    ASSERT_TRUE(start());
    find<QPushButton>("cmdLogOn")->click();
    type(QString::fromUtf8("DL1\u00c4B"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("DL1B")) << "typed";
    struct Case {
        const char* box;
        QString pasted;
        QString kept;
    };
    const Case cases[] = {
        {"txtCall", QString::fromUtf8("UA3\u0416Z"), QStringLiteral("UA3Z")},
        {"txtSec", QStringLiteral("C\"T"), QStringLiteral("CT")},
        {"txtRSTR", QString::fromUtf8("5\u00e99"), QStringLiteral("59")},
    };
    for (const Case& c : cases) {
        auto* box = find<QLineEdit>(c.box);
        box->clear();
        box->setFocus();
        QApplication::clipboard()->setText(c.pasted);
        box->paste();
        EXPECT_EQ(box->text(), c.kept) << c.box << ": pasted";
    }
}

TEST_F(MainWindowTest, BackspaceRefreshesThePartialDuplicates)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    find<QPushButton>("cmdLogOn")->click();
    type(QStringLiteral("K1AZ"));
    EXPECT_EQ(textOf("lblDupe"), QString());
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_Backspace);
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1A"));
    EXPECT_EQ(textOf("lblDupe"), QStringLiteral("K1ABC ")) << "the shorter call matches again";
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_Backspace);
    EXPECT_EQ(textOf("lblDupe"), QString());
}

TEST_F(MainWindowTest, ClocksTickFromTheStartAndColumnsFollowTheWidth)
{
    QString utcDuringStationDialog;
    dialogs.modalScripts.push_back([this, &utcDuringStationDialog](QDialog*) {
        utcDuringStationDialog = textOf("lblutctime");
        return static_cast<int>(QDialog::Accepted);
    });
    ASSERT_TRUE(start());
    EXPECT_EQ(utcDuringStationDialog, QStringLiteral("14:00:00")) << "the clocks run during the start-up questions";
    auto* list = find<QTreeWidget>("ListView1");
    for (int width : {900, 1500}) {
        window->resize(width, 700);
        QApplication::processEvents();
        EXPECT_EQ(list->header()->sectionSize(1), qRound(900 * window->width() / 9600.0)) << width;
    }
}

TEST_F(MainWindowTest, AMenuOrAnotherWindowIsNotLeavingTheCallBox)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    find<QPushButton>("cmdLogOn")->click();
    type(QStringLiteral("K1ABC"));
    auto* call = find<QLineEdit>("txtCall");
    for (Qt::FocusReason reason : {Qt::MenuBarFocusReason, Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(call, &out);
        EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC")) << reason << ": no duplicate check";
        EXPECT_EQ(textOf("txtRSTR"), QString()) << reason << ": no report filled";
    }
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(call, &out);
    EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("Duplicate K1ABC"))) << "Tab leaves the call box";
}

TEST_F(MainWindowTest, GridHoverClickAndColours)
{
    QByteArray log;
    for (int i = 0; i < 3; ++i)
        log += logLine(QStringLiteral("K%1C").arg(i), "CT", "USA");
    for (int i = 0; i < 2; ++i)
        log += logLine(QStringLiteral("N%1C").arg(i), "CT", "USA", "PH");
    platform::writeFileAtomically(work("log.txt"), log);
    scriptStation();
    ASSERT_TRUE(start());
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(find<QLabel>("Label10_1"), &enter);
    EXPECT_EQ(textOf("lblDupe"), QStringLiteral("  Connecticut    Total =5\n   CW =3  PH =2"));
    QTest::mouseClick(find<QLabel>("Label10_83"), Qt::LeftButton);
    EXPECT_EQ(textOf("txtSec"), QStringLiteral("JAL"));

    // New colours: worked blue, remaining cancelled (the colour there stays).
    dialogs.colourAnswers = {0xFF0000, std::nullopt};
    dialogs.modalScripts.push_back([](QDialog* d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("Form6"));
        d->findChild<QPushButton*>(QStringLiteral("cmdWorked"))->click();
        d->findChild<QPushButton*>(QStringLiteral("cmdRemaining"))->click();
        return 1;
    });
    window->findChild<QAction*>(QStringLiteral("mnuColors"))->trigger();
    EXPECT_EQ(window->session().prefs().WorkedColor, 0xFF0000);
    EXPECT_EQ(window->session().prefs().RemainingColor, 192);
    EXPECT_EQ(find<QLabel>("Label10_1")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(find<QLabel>("Label10_2")->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    EXPECT_TRUE(fileBytes(work("tnpref.txt")).contains("\r\n16711680\r\n192\r\n"));
}

TEST_F(MainWindowTest, ContactListShowsTwentyOrAllAndDeletes)
{
    QByteArray log;
    for (int i = 1; i <= 25; ++i)
        log += logLine(QStringLiteral("K%1X").arg(i), "CT", "USA");
    platform::writeFileAtomically(work("log.txt"), log);
    scriptStation();
    ASSERT_TRUE(start());
    auto* list = find<QTreeWidget>("ListView1");
    ASSERT_EQ(list->topLevelItemCount(), 20);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("25"));
    EXPECT_EQ(list->topLevelItem(19)->text(0), QStringLiteral("6"));
    EXPECT_EQ(list->topLevelItem(0)->text(5), QStringLiteral("12/14"));
    EXPECT_EQ(list->topLevelItem(0)->text(6), QStringLiteral("14:05"));
    find<QPushButton>("cmdList")->click();
    EXPECT_EQ(find<QPushButton>("cmdList")->text(), QStringLiteral("All"));
    EXPECT_EQ(list->topLevelItemCount(), 25);

    // Sorting by the record number as text puts 10 before 9.
    list->header()->sectionClicked(0);
    list->sortItems(0, Qt::AscendingOrder);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("1"));
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("10"));

    // Delete record 3: asked first, then the file holds the other 24.
    QTreeWidgetItem* third = list->findItems(QStringLiteral("3"), Qt::MatchExactly, 0).first();
    list->setCurrentItem(third);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(third).center());
    EXPECT_TRUE(find<QPushButton>("cmdDelete")->isVisible());
    dialogs.messageAnswers = {platform::Answer::No};
    find<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(window->session().log().contactCount(), 25);
    list->setCurrentItem(list->findItems(QStringLiteral("3"), Qt::MatchExactly, 0).first());
    dialogs.messageAnswers = {platform::Answer::Yes};
    find<QPushButton>("cmdDelete")->click();
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Are you sure?"));
    EXPECT_EQ(window->session().log().contactCount(), 24);
    EXPECT_EQ(window->session().log().records().at(2).Call, QStringLiteral("K4X"));
    EXPECT_EQ(fileBytes(work("log.txt")).count("\r\n"), 24);
    EXPECT_FALSE(fileBytes(work("log.txt")).contains("\"K3X\""));
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("24")) << "newest first again";
}

TEST_F(MainWindowTest, EditingARecordRewritesTheLog)
{
    QByteArray log;
    for (int i = 1; i <= 3; ++i)
        log += logLine(QStringLiteral("K%1X").arg(i), "CT", "USA");
    platform::writeFileAtomically(work("log.txt"), log);
    scriptStation();
    ASSERT_TRUE(start());
    auto* list = find<QTreeWidget>("ListView1");
    QTreeWidgetItem* second = list->findItems(QStringLiteral("2"), Qt::MatchExactly, 0).first();
    dialogs.modalScripts.push_back([](QDialog* d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("frmEditCon"));
        auto* call = d->findChild<QLineEdit*>(QStringLiteral("txtEditCall"));
        EXPECT_EQ(call->text(), QStringLiteral("K2X"));
        call->setText(QStringLiteral("W2XYZ"));
        d->findChild<QLineEdit*>(QStringLiteral("txtEditSec"))->setText(QStringLiteral("NJ"));
        d->show();
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdDone")), Qt::LeftButton);
        return d->result();
    });
    // The right mouse button over a row opens the edit dialog for it.
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(second).center());
    EXPECT_EQ(window->session().log().records().at(1).Call, QStringLiteral("W2XYZ"));
    EXPECT_TRUE(fileBytes(work("log.txt")).contains("\"W2XYZ\",\"599\",\"NJ\",\"599\",\"USA\""));
    EXPECT_EQ(fileBytes(work("log.txt")).count("\r\n"), 3);
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("W2XYZ"));
    EXPECT_FALSE(find<QPushButton>("cmdEdit")->isVisible());
}

TEST_F(MainWindowTest, ScoreAndRatesOfTheWorkedExamples)
{
    // 10 CW contacts (2 signing /T), 5 phone; CT on both modes, ON on CW, Japan on CW.
    QByteArray log = logLine(QStringLiteral("K1A/T"), "CT", "USA") + logLine(QStringLiteral("K2A/T"), "CT", "USA")
                   + logLine(QStringLiteral("K3A"), "ON", "Canada") + logLine(QStringLiteral("JA1A"), "001", "Japan");
    for (int i = 0; i < 6; ++i)
        log += logLine(QStringLiteral("W%1A").arg(i), "CT", "USA");
    for (int i = 0; i < 5; ++i)
        log += logLine(QStringLiteral("N%1A").arg(i), "CT", "USA", "PH");
    platform::writeFileAtomically(work("log.txt"), log);
    scriptStation();
    ASSERT_TRUE(start());
    EXPECT_EQ(textOf("lblTotCon"), QStringLiteral("15"));
    EXPECT_EQ(textOf("lblTotSec"), QStringLiteral("58"));
    EXPECT_EQ(textOf("lblsectogo"), QStringLiteral("4"));
    EXPECT_EQ(textOf("lblTotScore"), QStringLiteral("232"));
}

TEST_F(MainWindowTest, RatesCountTheLastTwentyAndSixtyMinutes)
{
    // Now is 09:00 local, 14:00 UTC: seven contacts in the last ten minutes,
    // five 30 to 50 minutes ago.
    QByteArray log;
    for (int i = 0; i < 5; ++i)
        log += logLine(QStringLiteral("K%1A").arg(i), "CT", "USA", "CW",
                       QByteArray("13:1" + QByteArray::number(i) + ":00").constData());
    for (int i = 0; i < 7; ++i)
        log += logLine(QStringLiteral("W%1A").arg(i), "CT", "USA", "CW",
                       QByteArray("13:5" + QByteArray::number(i + 2) + ":00").constData());
    platform::writeFileAtomically(work("log.txt"), log);
    scriptStation();
    ASSERT_TRUE(start());
    EXPECT_EQ(textOf("lblAQSO20"), QStringLiteral("21"));
    EXPECT_EQ(textOf("lblAQSO60"), QStringLiteral("12"));
}

TEST_F(MainWindowTest, VoiceNavigationNamesTheFieldsAndWaitsForDupe)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
    prefs.VoiceNavLevel = 2;
    log::savePrefs(paths.workingFolder(), prefs);
    scriptStation();
    ASSERT_TRUE(start());
    find<QPushButton>("cmdLogOn")->click();
    auto names = [this] {
        QStringList list;
        for (const QString& path : player.requested)
            list << QFileInfo(path).baseName();
        return list;
    };
    player.requested.clear();
    player.playToEnd();
    type(QStringLiteral("w1aw "));
    player.playToEnd();
    type(QStringLiteral(" "));
    player.playToEnd();
    type(QStringLiteral("ct "));
    EXPECT_EQ(names().mid(names().indexOf(QStringLiteral("RstRcvd"))),
              (QStringList{QStringLiteral("RstRcvd"), QStringLiteral("SecSer"), QStringLiteral("RstSnt")}));

    // A duplicate says "Dupe"; the line is cleared and keys are taken only
    // once the prompt has ended and the hold is over.
    QTest::mouseClick(find<QPushButton>("cmdClear"), Qt::LeftButton);
    player.playToEnd();
    type(QStringLiteral("k1abc "));
    EXPECT_EQ(QFileInfo(player.current()).baseName(), QStringLiteral("Dupe"));
    type(QStringLiteral("n"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC")) << "the key waits; the line is cleared after the prompt";
    player.playToEnd();
    QApplication::processEvents();
    EXPECT_EQ(textOf("txtCall"), QString()) << "still within three seconds of the end of the prompt";
    clock.advanceMs(3001);
    QTRY_COMPARE_WITH_TIMEOUT(textOf("txtCall"), QStringLiteral("N"), 2000);

    // The settings window sets the level and saves it.
    dialogs.modalScripts.push_back([](QDialog* d) {
        d->findChild<QRadioButton*>(QStringLiteral("Option1"))->click();
        return static_cast<int>(QDialog::Accepted);
    });
    window->findChild<QAction*>(QStringLiteral("mnuVoiceNav"))->trigger();
    EXPECT_EQ(window->session().prefs().VoiceNavLevel, 0);
    EXPECT_EQ(log::loadPrefs(paths.workingFolder())->VoiceNavLevel, 0);
}

TEST_F(MainWindowTest, PostContestModeTakesTheTypedDateAndTime)
{
    scriptStation();
    ASSERT_TRUE(start());
    window->findChild<QAction*>(QStringLiteral("mnuPostContest"))->trigger();
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("mnuPostContest"))->isChecked());
    auto* date = find<QLineEdit>("txtPostConDate");
    auto* time = find<QLineEdit>("txtPostConTime");
    ASSERT_TRUE(date->isVisible());
    date->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(date->text(), QStringLiteral("2013/12/14")) << "today's local date, ready to be typed over";
    type(QStringLiteral("2013/13/45a"));
    EXPECT_EQ(date->text(), QStringLiteral("2013/13/45")) << "letters are refused";

    find<QLineEdit>("txtCall")->setFocus();
    type(QStringLiteral("k1abc  ct\n"));
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("Invalid date format!"));
    EXPECT_EQ(window->session().log().contactCount(), 0);

    date->setText(QStringLiteral("2013/12/15"));
    time->setText(QStringLiteral("99:99"));
    find<QLineEdit>("txtSec")->setFocus();
    type(QStringLiteral("\n"));
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("Invalid time format!"));

    time->setText(QStringLiteral("934"));
    find<QLineEdit>("txtSec")->setFocus();
    type(QStringLiteral("\n"));
    ASSERT_EQ(window->session().log().contactCount(), 1);
    EXPECT_EQ(time->text(), QStringLiteral("09:34"));
    EXPECT_TRUE(fileBytes(work("log.txt")).contains("\"2013/12/15\",\"09:34\",\"CW\""));
    EXPECT_EQ(date->text(), QStringLiteral("2013/12/15")) << "the boxes keep their values";

    // Off again: the clock stamps the next contact.
    window->findChild<QAction*>(QStringLiteral("mnuPostContest"))->trigger();
    EXPECT_FALSE(time->isVisible());
    type(QStringLiteral("w1aw  ma\n"));
    EXPECT_TRUE(fileBytes(work("log.txt")).contains("\"2013/12/14\",\"14:00:00\",\"CW\""));
}

TEST_F(MainWindowTest, ArchiveAndRestore)
{
    const QByteArray old = logLine(QStringLiteral("K1ABC"), "CT", "USA");
    platform::writeFileAtomically(work("log.txt"), old);
    scriptStation();
    ASSERT_TRUE(start());
    const QString backup = paths.root() + QStringLiteral("/user/BACKUP");

    // Archive: proposed as call + date, written whole.
    const QString archive = backup + QStringLiteral("/W3LPL2013-12-14.log");
    dialogs.fileAnswers.push_back(archive);
    window->findChild<QAction*>(QStringLiteral("mnuArchive"))->trigger();
    ASSERT_FALSE(dialogs.saveRequests.empty());
    EXPECT_EQ(dialogs.saveRequests.back().proposedName, QStringLiteral("W3LPL2013-12-14.log"));
    EXPECT_EQ(dialogs.saveRequests.back().startFolder, backup);
    EXPECT_EQ(fileBytes(archive), old);
    // Cancel does nothing; an unwritable target says why.
    window->findChild<QAction*>(QStringLiteral("mnuArchive"))->trigger();
    dialogs.fileAnswers.push_back(paths.root() + QStringLiteral("/no/such/folder/x.log"));
    window->findChild<QAction*>(QStringLiteral("mnuArchive"))->trigger();
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Error Archiving Log"));

    // Restoring something that is not a log keeps the working log.
    const QString junk = backup + QStringLiteral("/junk.log");
    platform::writeFileAtomically(junk, "\"half a record\",\"599\"\r\n");
    dialogs.messageAnswers = {platform::Answer::Ok, platform::Answer::Yes};
    dialogs.fileAnswers.push_back(junk);
    window->findChild<QAction*>(QStringLiteral("mnuRestore"))->trigger();
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Error Restoring Log"));
    EXPECT_EQ(fileBytes(work("log.txt")), old);
    EXPECT_EQ(endedWith, -1) << "the program goes on";

    // A good archive replaces it; answering No to the question keeps it.
    const QByteArray other = logLine(QStringLiteral("W1AW"), "MA", "USA") + logLine(QStringLiteral("N2IC"), "NM", "USA");
    const QString good = backup + QStringLiteral("/good.log");
    platform::writeFileAtomically(good, other);
    dialogs.messageAnswers = {platform::Answer::Ok, platform::Answer::No};
    window->findChild<QAction*>(QStringLiteral("mnuRestore"))->trigger();
    EXPECT_EQ(fileBytes(work("log.txt")), old);
    dialogs.messageAnswers = {platform::Answer::Ok, platform::Answer::Yes};
    dialogs.fileAnswers.push_back(good);
    window->findChild<QAction*>(QStringLiteral("mnuRestore"))->trigger();
    EXPECT_EQ(fileBytes(work("log.txt")), other);
    EXPECT_EQ(window->session().log().contactCount(), 2);
    EXPECT_EQ(textOf("lblTotCon"), QStringLiteral("2"));
}

TEST_F(MainWindowTest, ClosingBacksUpAChangedLogButExitDoesNot)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    const QDir backups(paths.root() + QStringLiteral("/user/BACKUP"));
    window->close();
    EXPECT_TRUE(backups.entryList(QDir::Files).isEmpty()) << "nothing changed since the load";
    find<QLineEdit>("txtCall")->setText(QStringLiteral("W1AW"));
    find<QLineEdit>("txtRSTR")->setText(QStringLiteral("599"));
    find<QLineEdit>("txtSec")->setText(QStringLiteral("MA"));
    find<QLineEdit>("txtRSTS")->setText(QStringLiteral("599"));
    window->logEntry();
    ASSERT_EQ(window->session().log().contactCount(), 2);
    window->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    EXPECT_TRUE(backups.entryList(QDir::Files).isEmpty()) << "\"&Exit\" makes no backup";
    clock.setLocal(QDateTime(QDate(2013, 12, 15), QTime(1, 2)));
    window->show();
    window->close();
    EXPECT_EQ(backups.entryList(QDir::Files), QStringList{QStringLiteral("201312150102.log")});
    EXPECT_EQ(fileBytes(backups.filePath(QStringLiteral("201312150102.log"))), fileBytes(work("log.txt")));
}

TEST_F(MainWindowTest, ExportMenusReachTheExporters)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA")
                                                       + logLine(QStringLiteral("JA1XYZ"), "001", "Japan"));
    scriptStation();
    ASSERT_TRUE(start());
    window->findChild<QAction*>(QStringLiteral("mnuCopyListtoClipboard"))->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_LT(copied.indexOf(QStringLiteral("K1ABC")), copied.indexOf(QStringLiteral("JA1XYZ"))) << "oldest first";

    // ADIF: the two questions, then the file chosen in the save box.
    const QString adif = paths.root() + QStringLiteral("/log.adi");
    dialogs.inputAnswers = {QStringLiteral("100"), QString()};
    dialogs.fileAnswers.push_back(adif);
    window->findChild<QAction*>(QStringLiteral("mnuADIF"))->trigger();
    const QByteArray written = fileBytes(adif);
    EXPECT_EQ(written.count("<eor>") + written.count("<EOR>"), 2) << written.toStdString();
    EXPECT_TRUE(written.contains("K1ABC"));
    EXPECT_TRUE(written.contains("<Station_Callsign:5>W3LPL")) << "the window hands the station to the export";
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("mnuTessaryImport"))->isEnabled());

    // Cabrillo: the dialog's "Done" writes the chosen file with the window's score.
    const QString cabrillo = paths.root() + QStringLiteral("/W3LPL.log");
    dialogs.fileAnswers.push_back(cabrillo);
    dialogs.modalScripts.push_back([](QDialog* d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("Form2"));
        d->findChild<QPushButton*>(QStringLiteral("Command4"))->click(); // "Write Cabrillo Log File"
        d->findChild<QPushButton*>(QStringLiteral("Command3"))->click(); // "Done"
        return 1;
    });
    window->findChild<QAction*>(QStringLiteral("mnuWriteSumm"))->trigger();
    const QByteArray sheet = fileBytes(cabrillo);
    EXPECT_TRUE(sheet.contains("CLAIMED-SCORE:  " + textOf("lblTotScore").toLatin1() + " \r\n")) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains("END-OF-LOG:"));
}
