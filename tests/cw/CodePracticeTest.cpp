// Random practice groups: the pool each choice draws from, the space after
// every group, the fall-back counts, and a count too large to be meant.
#include "cw/CodePractice.h"

#include <gtest/gtest.h>

using namespace tenlog::cw;

TEST(CodePractice, GroupsDrawUniformlyFromTheChosenPool)
{
    EXPECT_EQ(practiceCharacters(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-"));
    const struct {
        const char* groups;
        const char* size;
        bool lettersOnly;
        double uniform;
        const char* text;
        const char* groupsShown;
        const char* sizeShown;
    } rows[] = {
        {"2", "3", true, 0.0, "AAA AAA ", "2", "3"},
        {"2", "3", true, 0.9999, "ZZZ ZZZ ", "2", "3"},
        {"1", "4", false, 0.9999, "---- ", "1", "4"},
        {"1", "2", false, 26.5 / 41, "00 ", "1", "2"},
        {"abc", "x", true, 0.0, "AAAAA AAAAA AAAAA AAAAA AAAAA AAAAA AAAAA AAAAA AAAAA AAAAA ", "10", "5"},
        {"-3", "5", true, 0.0, "", "-3", "5"},
        {"2", "0", true, 0.0, "  ", "2", "0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.groups);
        const PracticeGroups groups = makePracticeGroups(QString::fromLatin1(row.groups), QString::fromLatin1(row.size),
                                                         row.lettersOnly, [&] { return row.uniform; });
        EXPECT_EQ(groups.text, QString::fromLatin1(row.text));
        EXPECT_EQ(groups.groupsText, QString::fromLatin1(row.groupsShown));
        EXPECT_EQ(groups.sizeText, QString::fromLatin1(row.sizeShown));
    }
}

TEST(CodePractice, ACountTooLargeToBeMeantIsCapped)
{
    const PracticeGroups groups = makePracticeGroups(QStringLiteral("1e9"), QStringLiteral("1e9"), false, [] { return 0.5; });
    EXPECT_EQ(groups.text.size(), maxPracticeGroups * (maxPracticeGroupSize + 1));
    EXPECT_EQ(groups.groupsText, QStringLiteral("1e9"));
}
