#include "common/errors.h"
#include "common/pub_func.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace quvela;

namespace {

// A character outside GBK: U+20000 is four bytes in GB18030 (0x95 0x32 0x82 0x36).
const GbkString kFourByte = gbk::fromUtf8("\xF0\xA0\x80\x80");

GbkString conversionMessage(const std::function<void()> &run)
{
    try {
        run();
    } catch (const ConversionError &error) {
        return error.message();
    }
    return "(no ConversionError)";
}

} // namespace

TEST(PubFunc, WageListPositions)
{
    struct Case
    {
        int (*list)(std::string_view);
        const char *amount;
        int position;
    };
    const Case cases[] = {
        {PosInLeaderDutyWages, "4000", 1},
        {PosInLeaderDutyWages, "3200", 6},
        {PosInLeaderDutyWages, "830", 31},
        {PosInLeaderDutyWages, "640", 35},
        {PosInLeaderDutyWages, "430", 43},
        {PosInLeaderDutyWages, "431", 0},
        {PosInLeaderDutyWages, "", 0},
        {PosInLeaderDutyWages, "83", 0},
        {PosInLeaderDutyWages, "0830", 0},
        {PosInLeaderDutyWages, " 830", 0},
        {PosInLeaderDutyWages, "830^640", 31},
        {PosInWorkerGradeWages, "410", 1},
        {PosInWorkerGradeWages, "270", 5},
        {PosInWorkerGradeWages, "125", 17},
        {PosInWorkerGradeWages, "430", 0},
        {PosInWorkerGradeWages, "", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.list(c.amount), c.position) << c.amount;
}

TEST(PubFunc, ShiftYearMonthParsesAndShifts)
{
    struct Case
    {
        const char *text;
        int shift;
        const char *year;
        const char *month;
    };
    const Case cases[] = {
        {"201012", 1, "2011", "01"},
        {"201012", 0, "2010", "12"},
        {"201012", -1, "2010", "11"},
        {"2010.01", -1, "2009", "12"},
        {"2010.01", 1, "2010", "02"},
        {"2010-07", 0, "2010", "07"},
        {"20105", 0, "2010", "05"},
        {"2099.12", 1, "2100", "01"},
        {"1901.01", -1, "1900", "12"},
        // A separator and a one-digit month in six bytes, in any separator.
        {"2010.5", 0, "2010", "05"},
        {"2010-5", 1, "2010", "06"},
        {"2010/9", -1, "2010", "08"},
        // A blank where the month's first digit would be is read as a leading blank.
        {"2010 5", 0, "2010", "05"},
        // Bytes after the month are not read.
        {"2010.05.01", 0, "2010", "05"},
    };
    for (const Case &c : cases) {
        TPny pair;
        ASSERT_TRUE(ShiftYearMonth(c.text, c.shift, pair)) << c.text;
        EXPECT_EQ(pair.Year, c.year) << c.text;
        EXPECT_EQ(pair.Month, c.month) << c.text;
    }
}

TEST(PubFunc, ShiftYearMonthOutOfRangeLeavesThePairAlone)
{
    for (const char *text : {"1900.05", "2100.01", "2010.13", "2010.00", "201000", "0000.05", "-201.05"}) {
        TPny pair{"keep", "me"};
        EXPECT_FALSE(ShiftYearMonth(text, 1, pair)) << text;
        EXPECT_EQ(pair.Year, "keep") << text;
        EXPECT_EQ(pair.Month, "me") << text;
    }
}

TEST(PubFunc, ShiftYearMonthRaisesForTextThatIsNotNumeric)
{
    struct Case
    {
        GbkString text;
        const char *message;
    };
    const Case cases[] = {
        {"abcd05", "'abcd' is not a valid integer value"},
        {"", "'' is not a valid integer value"},
        {"2010", "'' is not a valid integer value"},
        {"2010.x", "'.x' is not a valid integer value"},
        {"2010..5", "'.5' is not a valid integer value"},
        {"20x012", "'20x0' is not a valid integer value"},
        // The year is read first.
        {"ab10xx", "'ab10' is not a valid integer value"},
        // 年 takes two bytes, so bytes 6-7 are its second byte and the 7.
        {gbk::fromUtf8("2009年7月"), nullptr},
    };
    for (const Case &c : cases) {
        TPny pair{"keep", "me"};
        const GbkString message = conversionMessage([&] { ShiftYearMonth(c.text, 0, pair); });
        if (c.message)
            EXPECT_EQ(message, c.message) << c.text;
        else
            EXPECT_NE(message, "(no ConversionError)");
        EXPECT_EQ(pair.Year, "keep");
    }
}

TEST(PubFunc, ReplaceFirstNoCase)
{
    struct Case
    {
        GbkString text, oldText, newText, expected;
    };
    const Case cases[] = {
        {gbk::fromUtf8("审批&FILE号"), "&file", "x1", gbk::fromUtf8("审批X1号")},
        {"&year-&year", "&YEAR", "2009", "2009-&year"},
        {"no placeholder", "&file", "x", "no placeholder"},
        {"abc", "", "x", "abc"},
        {"&Zw1", "&zw1", gbk::fromUtf8("科长abc"), gbk::fromUtf8("科长ABC")},
        {"&file", "&file", "", ""},
        // A match must not begin on the second byte of a character: 0x81 0x41 is one
        // character whose second byte reads as "A".
        {GbkString("\x81\x41" "Ab", 4), "a", "z", GbkString("\x81\x41" "Zb", 4)},
        {GbkString("\x81\x41", 2), "a", "z", GbkString("\x81\x41", 2)},
        // Nor inside a four-byte character, whose second and fourth bytes are digits.
        {kFourByte + "2", "2", "x", kFourByte + "X"},
        {kFourByte, "6", "x", kFourByte},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReplaceFirstNoCase(c.text, c.oldText, c.newText), c.expected) << c.text;
}

TEST(PubFunc, CopyWholeCharsNeverCutsACharacter)
{
    struct Case
    {
        GbkString text;
        int count;
        GbkString expected;
        int countAfter;
    };
    const GbkString two = gbk::fromUtf8("工资");
    const Case cases[] = {
        {two, 3, gbk::fromUtf8("工"), 2},
        {two, 4, two, 4},
        {two, 2, gbk::fromUtf8("工"), 2},
        {two, 1, "", 0},
        {two, 0, "", 0},
        {two, -3, "", -3},
        {two, 9, two, 9},
        {gbk::fromUtf8("a工"), 2, "a", 1},
        {gbk::fromUtf8("ab工c"), 4, gbk::fromUtf8("ab工"), 4},
        {"a", 5, "a", 5},
        {"a", 0, "", 0},
        {"", 3, "", 3},
        {kFourByte + "a", 1, "", 0},
        {kFourByte + "a", 2, "", 0},
        {kFourByte + "a", 3, "", 0},
        {kFourByte + "a", 4, kFourByte, 4},
        {"x" + kFourByte, 4, "x", 1},
        {"x" + kFourByte + "y", 5, "x" + kFourByte, 5},
    };
    for (const Case &c : cases) {
        int count = c.count;
        EXPECT_EQ(CopyWholeChars(c.text, count), c.expected) << c.text << " / " << c.count;
        EXPECT_EQ(count, c.countAfter) << c.text << " / " << c.count;
    }
}

TEST(PubFunc, StrToIntIsStrict)
{
    struct Good
    {
        const char *text;
        int32_t value;
    };
    const Good good[] = {
        {"0", 0},          {"42", 42},          {"  42", 42},          {"\t7", 7},
        {"-5", -5},        {"+5", 5},           {"007", 7},            {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},             {"000000000000000000012", 12},
    };
    for (const Good &g : good) {
        EXPECT_EQ(StrToInt(g.text), g.value) << g.text;
        int32_t value = 99;
        EXPECT_TRUE(TryStrToInt(g.text, value)) << g.text;
        EXPECT_EQ(value, g.value) << g.text;
    }
    for (const char *bad : {"", " ", "42 ", "4 2", "-", "+", "--1", "1.0", "abc", "0x10", "$10",
                            "2147483648", "-2147483649", "99999999999999999999", "1e3"}) {
        EXPECT_EQ(conversionMessage([&] { StrToInt(bad); }),
                  "'" + std::string(bad) + "' is not a valid integer value");
        int32_t value = 99;
        EXPECT_FALSE(TryStrToInt(bad, value)) << bad;
        EXPECT_EQ(value, 99) << bad;
    }
}

TEST(PubFunc, FormatYearMonth)
{
    struct Case
    {
        GbkString text, expected;
    };
    const Case cases[] = {
        {"196507", "1965.07"},
        {"19657", "1965.7"},
        {"1965.07", "1965.07"},
        {" 196507 ", "1965.07"},
        {"\t200907\r\n", "2009.07"},
        {"", ""},
        {"1965", "1965"},
        {"2009-7", "2009-7"},
        {"2009.5", "2009.5"},
        {" 2009.5 ", " 2009.5 "},
        {"2009.", "2009."},
        {"1965ab", "1965ab"},
        {"19650a", "1965.0a"},
        {" 1965 ", " 1965 "},
        {gbk::fromUtf8("2009年7月"), gbk::fromUtf8("2009年7月")},
        // No half character either.
        {gbk::fromUtf8("2009年"), gbk::fromUtf8("2009年")},
        {gbk::fromUtf8("200年"), gbk::fromUtf8("200年")},
        {kFourByte + "5", kFourByte + ".5"},
        {"2" + kFourByte + "5", "2" + kFourByte + "5"},
        {"2" + kFourByte, "2" + kFourByte},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatYearMonth(c.text), c.expected) << c.text;
}
