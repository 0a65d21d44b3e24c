// The accessibility audit on a small window with every kind of case it must
// tell apart: named and unnamed controls, hidden ones, and labels that
// inform or only fill space.
#include "AccessibilityAudit.h"
#include "QtPrinters.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using tenlog::testing::controlsWithoutAccessibleName;

TEST(AccessibilityAudit, ListsVisibleUnnamedControlsAndInformativeLabelsOnly)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto add = [&](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        layout->addWidget(w);
        return w;
    };
    add(new QLineEdit, "unnamedBox");
    add(new QLineEdit, "namedBox")->setAccessibleName(QStringLiteral("Call sign"));
    auto* captioned = add(new QLineEdit, "captionedBox");
    auto* caption = new QLabel(QStringLiteral("&Section:"));
    caption->setBuddy(captioned); // a visible caption names its box
    add(caption, "");
    add(new QLineEdit, "hiddenBox")->hide();
    add(new QPushButton, "blankButton");
    add(new QPushButton(QStringLiteral("Done")), "doneButton");
    add(new QLabel, "emptyValueLabel"); // shows a value, none yet
    add(new QLabel, "");                // filler
    add(new QLabel(QStringLiteral("Dupe!")), "warningLabel");
    auto* picture = new QLabel;
    QPixmap pixels(4, 4);
    pixels.fill(Qt::blue);
    picture->setPixmap(pixels);
    add(picture, "");

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(controlsWithoutAccessibleName(&window),
              QStringList({QStringLiteral("unnamedBox (QLineEdit, EditableText)"),
                           QStringLiteral("blankButton (QPushButton, Button)"),
                           QStringLiteral("emptyValueLabel (QLabel, StaticText)"),
                           QStringLiteral("<no objectName> (QLabel, Graphic)")}));
}
