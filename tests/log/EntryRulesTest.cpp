// What can be a call sign: the rule the station dialog refuses a call by.
#include "log/EntryRules.h"

#include <gtest/gtest.h>

using tenlog::log::callSignProblem;

TEST(CallSignRule, RealCallsPassAndMistakesAreNamed)
{
    for (const char* call : {"W1AW", "K1ABC/7", "VE3/W1AW", "4U1ITU", "3DA0RU", "2E0ABC", "W1AW/QRP", "9A1A"})
        EXPECT_EQ(callSignProblem(QString::fromLatin1(call)), std::nullopt) << call;
    const std::pair<const char*, const char*> refused[] = {
        {"", "Need Call Sign!"},
        {"W1", "Need Call Sign!"},
        {"W1AWW1AW", "W1AWW1AW is not one call sign."},
        {"VE3/K1ABCK1ABC", "K1ABCK1ABC is not one call sign."},
        {"W1 AW", "A call sign holds only letters, digits and \"/\"."},
        {"W1AW-1", "A call sign holds only letters, digits and \"/\"."},
    };
    for (const auto& [call, said] : refused)
        EXPECT_EQ(callSignProblem(QString::fromLatin1(call)), QString::fromLatin1(said)) << call;
}
