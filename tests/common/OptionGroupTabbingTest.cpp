// Tab into a group of options, as the program's windows have them: loose
// radio buttons sharing a frame, and a button group.
#include "common/ui/OptionGroupTabbing.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using tenlog::common::OptionGroupTabbing;

TEST(OptionGroupTabbing, TabReachesTheChosenOptionAndFollowsTheChoice)
{
    OptionGroupTabbing tabbing;
    qApp->installEventFilter(&tabbing);
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    layout->addWidget(before);
    auto* loose = new QGroupBox(QStringLiteral("Port"), &window);
    auto* looseLayout = new QVBoxLayout(loose);
    QList<QRadioButton*> ports;
    for (const char* caption : {"COM1", "COM2", "COM3"}) {
        ports.append(new QRadioButton(QString::fromLatin1(caption), loose));
        looseLayout->addWidget(ports.back());
    }
    layout->addWidget(loose);
    auto* grouped = new QGroupBox(QStringLiteral("Speed"), &window);
    auto* groupedLayout = new QVBoxLayout(grouped);
    auto* speeds = new QButtonGroup(grouped);
    for (const char* caption : {"Slow", "Medium", "Fast"}) {
        auto* option = new QRadioButton(QString::fromLatin1(caption), grouped);
        speeds->addButton(option);
        groupedLayout->addWidget(option);
    }
    layout->addWidget(grouped);
    auto* after = new QPushButton(QStringLiteral("OK"), &window);
    layout->addWidget(after);
    ports[1]->setChecked(true);
    speeds->buttons()[2]->setChecked(true);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    auto tab = [](Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(tab(), ports[1]);
    EXPECT_EQ(tab(), speeds->buttons()[2]);
    EXPECT_EQ(tab(), after);
    EXPECT_EQ(tab(Qt::ShiftModifier), speeds->buttons()[2]);
    EXPECT_EQ(tab(Qt::ShiftModifier), ports[1]);

    // The arrows still walk the options and choose; Tab then comes back to
    // the new choice, as it does after a choice made by the program.
    QTest::keyClick(ports[1], Qt::Key_Down);
    EXPECT_TRUE(ports[2]->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), ports[2]);
    speeds->buttons()[0]->setChecked(true);
    before->setFocus();
    EXPECT_EQ(tab(), ports[2]);
    EXPECT_EQ(tab(), speeds->buttons()[0]);

    // A group shown while its frame is off is reached on its choice once on.
    grouped->setEnabled(false);
    QDialog again;
    grouped->setParent(&again);
    (new QVBoxLayout(&again))->addWidget(grouped);
    auto* field = new QLineEdit(&again);
    again.layout()->addWidget(field);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&again));
    grouped->setEnabled(true);
    field->setFocus();
    EXPECT_EQ(tab(), speeds->buttons()[0]);
    qApp->removeEventFilter(&tabbing);
}
