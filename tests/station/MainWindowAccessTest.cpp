// The main window as a blind operator and a small or dark screen meet it:
// every control named for a screen reader, the lines that change on their own
// announced, the contact list reachable from the keyboard, the layout steady
// and readable whatever it shows.
#include "MainWindowFixture.h"

#include "AccessibilityAudit.h"

#include <QAccessible>
#include <QScrollArea>

namespace {

double luminance(const QColor& c)
{
    auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

TEST_F(MainWindowTest, EveryControlHasANameAScreenReaderCanSay)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    type(QStringLiteral("DL1A"));
    EXPECT_EQ(tenlog::testing::controlsWithoutAccessibleName(window.get()), QStringList());

    EXPECT_EQ(find<QLineEdit>("txtSec")->accessibleName(), QStringLiteral("Exchange: state, province or serial number"));
    EXPECT_EQ(find<QLabel>("lblAQSO20")->accessibleName(), QStringLiteral("Contacts per hour, last 20 minutes: 3"));
    EXPECT_EQ(find<QLabel>("lblTotCon")->accessibleName(), QStringLiteral("Contacts: 1"));
    EXPECT_EQ(find<QLabel>("lblutctime")->accessibleName(), QStringLiteral("UTC 14:00:00")) << "the value is read, not only the caption";

    // A grid cell says its multiplier and whether it is worked on each mode.
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(find<QLabel>("Label10_1"));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("Connecticut (CT)"));
    EXPECT_EQ(cell->text(QAccessible::Description), QStringLiteral("Worked on CW, not worked on phone"));

    // The contact list reads as a table under its headings.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(find<QTreeWidget>("ListView1"));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->tableInterface(), nullptr);
    EXPECT_EQ(list->tableInterface()->columnCount(), 9);
    EXPECT_EQ(list->tableInterface()->rowCount(), 1);
    // The heading row comes first among the list's children.
    QAccessibleInterface* heading = list->child(1);
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->text(QAccessible::Name), QStringLiteral("Call"));
}

TEST_F(MainWindowTest, TheMessageLinesSayWhatTheyShow)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    auto spoken = [this](const char* name) {
        return QAccessible::queryAccessibleInterface(find<QLabel>(name))->text(QAccessible::Name);
    };
    type(QStringLiteral("K1A"));
    EXPECT_EQ(spoken("lblDupe"), QStringLiteral("Possible duplicates: K1ABC "));
    type(QStringLiteral("BC\t"));
    const QString notice = QStringLiteral("Duplicate K1ABC CT 2013/12/14 14:05:33 ON CW  Rec# 1");
    EXPECT_EQ(textOf("lblDialog"), notice);
    EXPECT_EQ(spoken("lblDialog"), notice);
    window->session().showMessage(QString());
    EXPECT_EQ(spoken("lblDialog"), QStringLiteral("Message")) << "an empty line still has a name";
}

TEST_F(MainWindowTest, TheContactListIsReachedAndWorkedFromTheKeyboard)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA")
                                                       + logLine(QStringLiteral("W1AW"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    auto* list = find<QTreeWidget>("ListView1");

    // Ctrl+L enters the list on the newest contact; Escape goes back to the call box.
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(focused(), QStringLiteral("ListView1"));
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(1), QStringLiteral("W1AW"));
    EXPECT_TRUE(find<QPushButton>("cmdDelete")->isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(focused(), QStringLiteral("txtCall"));

    // Down to the older contact, Delete, answered Yes: it is gone from the file.
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Down);
    dialogs.messageAnswers = {platform::Answer::Yes};
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Are you sure?"));
    EXPECT_EQ(fileBytes(work("log.txt")), logLine(QStringLiteral("W1AW"), "CT", "USA"));

    // Enter opens the edit dialog on the chosen contact.
    QString edited;
    dialogs.modalScripts.push_back([&edited](QDialog* d) {
        edited = d->findChild<QLineEdit*>(QStringLiteral("txtEditCall"))->text();
        return static_cast<int>(QDialog::Rejected);
    });
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(edited, QStringLiteral("W1AW"));

    // The buttons' switches have keys of their own.
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(find<QPushButton>("cmdList")->text(), QStringLiteral("All"));
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(find<QPushButton>("cmdDup")->text(), QStringLiteral("Off"));
}

TEST_F(MainWindowTest, EnterAndDeleteInTheContactListWorkEveryTime)
{
    platform::writeFileAtomically(work("log.txt"), logLine(QStringLiteral("K1ABC"), "CT", "USA")
                                                       + logLine(QStringLiteral("N1XYZ"), "CT", "USA")
                                                       + logLine(QStringLiteral("W1AW"), "CT", "USA"));
    scriptStation();
    ASSERT_TRUE(start());
    QApplication::setActiveWindow(window.get());
    auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    QStringList edited;
    auto editAndKeep = [&edited](QDialog* d) {
        edited << d->findChild<QLineEdit*>(QStringLiteral("txtEditCall"))->text();
        return static_cast<int>(QDialog::Rejected);
    };

    // Enter, twice in a row, as the operator presses it: each opens the editor.
    QTest::keyClick(find<QLineEdit>("txtCall"), Qt::Key_L, Qt::ControlModifier);
    dialogs.modalScripts = {editAndKeep, editAndKeep};
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), QStringLiteral("ListView1"));
    press(Qt::Key_Return);
    EXPECT_EQ(edited, QStringList({QStringLiteral("W1AW"), QStringLiteral("W1AW")}));

    // Delete, twice: each asks and deletes, the list keeping its place.
    dialogs.messageAnswers = {platform::Answer::Yes, platform::Answer::Yes};
    press(Qt::Key_Delete);
    EXPECT_EQ(focused(), QStringLiteral("ListView1"));
    press(Qt::Key_Delete);
    EXPECT_EQ(dialogs.messageTitles().count(QStringLiteral("Are you sure?")), 2);
    EXPECT_EQ(fileBytes(work("log.txt")), logLine(QStringLiteral("K1ABC"), "CT", "USA"));
}

TEST_F(MainWindowTest, ANewCountryDoesNotMoveTheLinesBelowIt)
{
    scriptStation();
    ASSERT_TRUE(start());
    QLabel* message = find<QLabel>("lblDialog");
    const int before = message->mapTo(window.get(), QPoint()).y();
    type(QStringLiteral("DL1AA"));
    QApplication::processEvents();
    ASSERT_EQ(find<QLabel>("Label3")->text(), QStringLiteral("New")) << "Germany is new on CW";
    EXPECT_EQ(message->mapTo(window.get(), QPoint()).y(), before);
    // A long message wraps inside the line instead of pushing the areas down.
    const int gridTop = find<QLabel>("Label10_1")->mapTo(window.get(), QPoint()).y();
    window->session().showMessage(QString(200, QLatin1Char('X')).replace(QLatin1String("XXXXX"), QLatin1String("XXXX ")));
    QApplication::processEvents();
    EXPECT_EQ(find<QLabel>("Label10_1")->mapTo(window.get(), QPoint()).y(), gridTop);
}

TEST_F(MainWindowTest, LongTextNeverWidensTheWindow)
{
    scriptStation();
    ASSERT_TRUE(start());
    window->resize(1000, 700);
    QApplication::processEvents();
    const int width = window->width();
    const QString huge(200000, QLatin1Char('K'));
    window->session().showMessage(huge);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(find<QLabel>("Label10_1"), &enter); // the hover line, then the partial duplicates
    find<QLineEdit>("txtCall")->setFocus();
    type(QStringLiteral("W"));
    QApplication::processEvents();
    EXPECT_EQ(window->width(), width);
    EXPECT_LE(window->minimumSizeHint().width(), 1000);
    EXPECT_LE(textOf("lblDialog").size(), 401);
}

TEST_F(MainWindowTest, TheWindowFitsAHalfHeightScreenByScrollingTheLowerAreas)
{
    scriptStation();
    ASSERT_TRUE(start());
    // A 1080-line screen at twice the scale leaves 540 logical lines.
    EXPECT_LE(window->minimumSizeHint().height(), 540);
    window->resize(960, 540);
    QApplication::processEvents();
    auto* scroll = find<QScrollArea>("lowerScroll");
    scroll->ensureWidgetVisible(find<QLabel>("lblTotScore"));
    QApplication::processEvents();
    const QRect shown = scroll->viewport()->rect();
    const QPoint score = find<QLabel>("lblTotScore")->mapTo(scroll->viewport(), QPoint());
    EXPECT_TRUE(shown.contains(score)) << "the score can be brought into view";
    EXPECT_TRUE(find<QLineEdit>("txtCall")->isVisible());
}

TEST_F(MainWindowTest, LinesOnAFixedColourStayReadableUnderAnyTheme)
{
    struct Case {
        const char* theme;
        QColor window;
        QColor text;
    };
    const Case cases[] = {{"light", QColor(239, 239, 239), QColor(Qt::black)},
                          {"dark", QColor(40, 40, 40), QColor(230, 230, 230)}};
    const QPalette original = QApplication::palette();
    for (const Case& c : cases) {
        QPalette theme = original;
        theme.setColor(QPalette::Window, c.window);
        theme.setColor(QPalette::Button, c.window);
        theme.setColor(QPalette::WindowText, c.text);
        QApplication::setPalette(theme);
        scriptStation();
        ASSERT_TRUE(start()) << c.theme;
        auto readable = [&](const char* name) {
            const QPalette p = find<QLabel>(name)->palette();
            return contrast(p.color(QPalette::Window), p.color(QPalette::WindowText));
        };
        EXPECT_GE(readable("lblDialog"), 4.5) << c.theme << " teal message line";
        type(QStringLiteral("KA"));
        EXPECT_GE(readable("lblDupe"), 4.5) << c.theme << " partial duplicate line";
        window->session().showMessage(QStringLiteral("Duplicate"), true);
        EXPECT_GE(readable("lblDialog"), 4.0) << c.theme << " red duplicate line";
        window.reset();
    }
    QApplication::setPalette(original);
}
