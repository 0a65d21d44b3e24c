// Fixed-column fields, regions, request words and band-map labels.
#include "SpotLines.h"
#include "spots/SpotText.h"

#include <gtest/gtest.h>

using namespace tenlog::spots;
using tenlog::testing::clusterSpotLine;

TEST(SpotText, FieldsComeFromFixedColumns)
{
    struct Case {
        QString line;
        QString frequency;
        QString call;
        QString comment;
    };
    const std::vector<Case> cases{
        {"DX de K1TTT:     28025.0  VE3XYZ       CQ                             1234Z", "28025.0", "VE3XYZ", "CQ"},
        {"DX de S53M:       7064.6  KL7SB        rtty, ufb sig                  0302Z", "7064.6", "KL7SB", "rtty, ufb sig"},
        {clusterSpotLine("W1AW", "28400.5", "PY2XYZ", "loud"), "28400.5", "PY2XYZ", "loud"},
        {"DX de W1AW: hi", "", "", ""}, // short line: empty fields
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        const SpotFields fields = spotFields(c.line);
        EXPECT_EQ(fields.frequencyText, c.frequency) << c.line.toStdString();
        EXPECT_EQ(fields.call, c.call) << c.line.toStdString();
        EXPECT_EQ(spotComment(spotRecord(c.line)), c.comment) << c.line.toStdString();
    }
}

TEST(SpotText, RegionOfACall)
{
    const std::vector<std::pair<QString, QString>> cases{
        {"VE3XYZ", " ON "}, {"va3abc", " ON "}, {"VE8AA", " NWT "}, {"CY9A", " NB "}, {"VY0X", " NU "},
        {"KH6AB", " HI "},  {"NH7Z", " PAC "},  {"WP4X", " PR "},   {"KP2A", " VI "}, {"KL7SB", " AK "},
        {"AL1A", " AK "},   {"K1ABC", ""},      {"VE", ""},         {"JA1ABC", ""},
    };
    for (const auto& [call, region] : cases)
        EXPECT_EQ(spotRegion(call), region) << call.toStdString();
}

TEST(SpotText, RequestWordsNeedBlanksOnBothSides)
{
    const std::vector<std::pair<QString, bool>> cases{
        {"DE K1ABC: 28025.0 VE3XYZ PSE QSL", true},
        {"DE K1ABC: NEED VE3 ", true},
        {"DE K1ABC: PLEASE SPOT", true},
        {"DE K1ABC: SPOTTED POSTED PSEUDO", false},
        {"DE K1ABC: PSE", false}, // no blank after
        {"de k1abc: pse x", true},
    };
    for (const auto& [record, request] : cases)
        EXPECT_EQ(isSpotRequest(record), request) << record.toStdString();
}

TEST(SpotText, BandMapPrefix)
{
    const std::vector<std::pair<QString, QString>> cases{
        {"K1ABC", "K1"},      {"WA1ABC", "WA1"},   {"3DA0XYZ", "3DA0"}, {"K1ABC/4", "K4"},
        {"VE3/K1ABC", "VE3"}, {"K1ABC/VE3", "VE3"}, {"K1", ""},          {"ABC", "ABC"},
        {"W1AW/P", "P"}, // a suffix without a digit is taken as it stands
    };
    for (const auto& [call, label] : cases)
        EXPECT_EQ(bandMapPrefix(call), label) << call.toStdString();
}
