// Cutting the four-line wording: lengths per line, characters never split, nothing lost.
#include "report/wording_lines.h"

#include <gtest/gtest.h>

#include <string>

using namespace quvela;
using namespace quvela::report;

namespace {

std::string repeat(const std::string &piece, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

const std::string kHan = gbk::fromUtf8("资");     // two bytes
const std::string kRare = gbk::fromUtf8("𠀀");    // four bytes in GB18030

struct Case
{
    const char *name;
    std::string text;
    int width;
    std::array<std::string, 4> lines;
};

std::vector<Case> cases()
{
    const std::string han100 = repeat(kHan, 100); // 200 bytes, every cut on a boundary
    return {
        {"two_hundred_bytes_at_78", han100, 78,
         {repeat(kHan, 37), repeat(kHan, 39), repeat(kHan, 24), ""}},
        // 1 + 2k bytes: every even cut falls inside a character and moves before it
        {"cut_moves_before_a_character", "a" + repeat(kHan, 10), 10,
         {"a" + repeat(kHan, 2), repeat(kHan, 5), repeat(kHan, 3), ""}},
        {"four_byte_character_not_split", "ab" + kRare + repeat(kHan, 4), 8,
         {"ab", kRare + repeat(kHan, 2), repeat(kHan, 2), ""}},
        {"rest_exactly_one_line", repeat("x", 6 + 10 + 10), 10,
         {repeat("x", 6), repeat("x", 10), repeat("x", 10), ""}},
        {"rest_one_byte_longer", repeat("x", 6 + 10 + 11), 10,
         {repeat("x", 6), repeat("x", 10), repeat("x", 10), "x"}},
        {"everything_after_line_three_in_line_four", repeat("x", 6 + 10 + 10 + 35), 10,
         {repeat("x", 6), repeat("x", 10), repeat("x", 10), repeat("x", 35)}},
        {"short_text_in_line_one", "abc", 78, {"abc", "", "", ""}},
        {"width_four_leaves_line_one_empty", "abcdefghij", 4, {"", "abcd", "efgh", "ij"}},
        {"width_zero_puts_all_in_line_four", "abcdef", 0, {"", "", "", "abcdef"}},
        {"negative_width_puts_all_in_line_four", "abcdef", -5, {"", "", "", "abcdef"}},
        {"empty_text", "", 78, {"", "", "", ""}},
    };
}

class WordingLines : public testing::TestWithParam<Case>
{
};

TEST_P(WordingLines, Breaks)
{
    const Case &c = GetParam();
    const auto lines = breakWordingLines(c.text, c.width);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i], c.lines[i]) << "line " << i + 1;
    EXPECT_EQ(lines[0] + lines[1] + lines[2] + lines[3], c.text);
}

TEST_P(WordingLines, FillTheFourLabels)
{
    const Case &c = GetParam();
    ReportBand band("ColumnHeaderBand1", 161.9, 222.2);
    for (const char *name : {"y1", "y2", "y3", "y4"}) {
        ReportLabel l;
        l.name = name;
        l.text = "before";
        band.addLabel(l);
    }
    fillWordingLines(band, c.text, c.width);
    EXPECT_EQ(band.label("y1").text, c.lines[0]);
    EXPECT_EQ(band.label("y2").text, c.lines[1]);
    EXPECT_EQ(band.label("y3").text, c.lines[2]);
    EXPECT_EQ(band.label("y4").text, c.lines[3]);
}

INSTANTIATE_TEST_SUITE_P(Cases, WordingLines, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<Case> &param) { return std::string(param.param.name); });

} // namespace
