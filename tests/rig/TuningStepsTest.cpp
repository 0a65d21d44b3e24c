// The tuning panel's arithmetic: steps, scan wrap, band text, typed keys.
#include "rig/TuningSteps.h"

#include <gtest/gtest.h>

using namespace tenlog::rig;

TEST(TuningSteps, StepsScanAndKeys)
{
    const std::tuple<const char*, int, const char*> steps[] = {
        {"28.475", 6, "28.476"}, {"28.475", 9, "28.4749"}, {"28.475", 3, "27.475"}, {"7", 0, "7.00001"},
    };
    for (const auto& [from, index, expected] : steps)
        EXPECT_EQ(steppedFrequencyText(QString::fromLatin1(from), stepPresets()[index].stepMHz),
                  QString::fromLatin1(expected));
    EXPECT_FALSE(steppedFrequencyText(QString(), 0.001));

    const std::tuple<const char*, const char*, const char*, int, const char*> scans[] = {
        {"28.4", "28.4", "28.5", 0, "28.4025"},
        {"28.4999", "28.4", "28.5", 2, "28.5"},
        {"28.5", "28.4", "28.5", 4, "28.4"}, // past To: back to From
    };
    for (const auto& [frequency, from, to, step, expected] : scans)
        EXPECT_EQ(nextScanFrequencyText(QString::fromLatin1(frequency), QString::fromLatin1(from),
                                        QString::fromLatin1(to), scanSteps()[step].stepMHz),
                  QString::fromLatin1(expected));
    EXPECT_FALSE(nextScanFrequencyText(QStringLiteral("28.4"), QStringLiteral("x"), QStringLiteral("29"), 0.001));

    EXPECT_EQ(bandFrequencyText(bandPresets()[1].megahertz), QStringLiteral("3.75"));
    EXPECT_EQ(bandFrequencyText(bandPresets()[10].megahertz), QStringLiteral("52"));
    EXPECT_EQ(radioFrequencyText(28.475f), QStringLiteral("28.475"));
    EXPECT_EQ(radioFrequencyText(7.0f), QStringLiteral("7"));
    for (QChar c : QStringLiteral("0123456789./\b"))
        EXPECT_TRUE(isFrequencyBoxCharacter(c)) << int(c.unicode());
    for (QChar c : QStringLiteral("-,a :"))
        EXPECT_FALSE(isFrequencyBoxCharacter(c)) << int(c.unicode());
}
