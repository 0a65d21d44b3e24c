// The model list read from `rigctl -l` text as Hamlib 3 and 4 print it.
#include "rig/HamlibModels.h"

#include <gtest/gtest.h>

using namespace tenlog::rig;

TEST(HamlibModels, ReadsEveryModelLineAndSkipsTheRest)
{
    const QString text = QStringLiteral(
        " Rig #  Mfg                    Model                   Version         Status      Macro\n"
        "     1  Hamlib                 Dummy                   20221128.0      Stable      RIG_MODEL_DUMMY\n"
        "     6  Hamlib                 Dummy No VFO            20221128.0      Stable      RIG_MODEL_DUMMY_NOVFO\n"
        "  1020  Yaesu                  FT-817                  20230502.0      Stable\r\n"
        "  3073  Icom                   IC-7300                 20230109.0      Stable      RIG_MODEL_IC7300\n"
        " 25003  Coding Technologies    Digital World Traveller 20200112.0      Alpha       RIG_MODEL_DWT\n"
        "\n"
        "garbage line\n"
        "    12  OnlyMaker\n"
        "     0  Hamlib                 Zero                    1.0             Beta\n");
    const QList<HamlibModel> expected{
        {1, QStringLiteral("Hamlib"), QStringLiteral("Dummy")},
        {6, QStringLiteral("Hamlib"), QStringLiteral("Dummy No VFO")},
        {1020, QStringLiteral("Yaesu"), QStringLiteral("FT-817")},
        {3073, QStringLiteral("Icom"), QStringLiteral("IC-7300")},
        {25003, QStringLiteral("Coding Technologies"), QStringLiteral("Digital World Traveller")},
    };
    EXPECT_EQ(parseHamlibModelList(text), expected);
    EXPECT_TRUE(parseHamlibModelList(QString()).isEmpty());
    // Without its header, runs of blanks part the fields.
    EXPECT_EQ(parseHamlibModelList(text.section(QLatin1Char('\n'), 1, 4)), expected.mid(0, 4));
}

TEST(HamlibModels, ASearchFindsAModelByEveryWordInAnyOrder)
{
    const QString ic7300 = HamlibModel{3073, QStringLiteral("Icom"), QStringLiteral("IC-7300")}.text();
    EXPECT_EQ(ic7300, QStringLiteral("Icom IC-7300 (3073)"));
    const struct {
        const char* search;
        bool found;
    } rows[] = {
        {"", true}, {"  ", true}, {"icom", true}, {"7300 ICOM", true}, {"3073", true},
        {"icom 817", false}, {"yaesu", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(containsEveryWord(ic7300, QString::fromLatin1(row.search)), row.found) << row.search;
}
