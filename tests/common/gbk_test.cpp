#include "common/gbk.h"

#include <QString>
#include <gtest/gtest.h>

using namespace quvela;

TEST(Gbk, RoundTripsEveryCharacterIncludingThoseOutsideGbk)
{
    // 中 is two bytes in GBK; 𠀀 (U+20000) and € (U+20AC) need GB18030's four-byte form
    // or its own mapping; none may come back as "?".
    for (const char *utf8 : {"中文工资", "abc 123", "\xF0\xA0\x80\x80", "\xE2\x82\xAC", "", "䶮"}) {
        const GbkString g = gbk::fromUtf8(utf8);
        EXPECT_EQ(gbk::toUtf8(g), utf8);
        EXPECT_EQ(g.find('?'), std::string::npos);
        EXPECT_EQ(gbk::toQString(g), QString::fromUtf8(utf8));
        EXPECT_EQ(gbk::fromQString(QString::fromUtf8(utf8)), g);
    }
    EXPECT_EQ(gbk::fromUtf8("中").size(), 2u);
    EXPECT_EQ(gbk::fromUtf8("\xF0\xA0\x80\x80").size(), 4u);
}

TEST(Gbk, MalformedBytesBecomeReplacementCharactersNotSilence)
{
    EXPECT_EQ(gbk::toUtf8(std::string("a\x81", 2)), "a\xEF\xBF\xBD");
    EXPECT_EQ(gbk::toUtf8(gbk::fromUtf8(std::string("x\xFFy", 3))), "x\xEF\xBF\xBDy");
}

TEST(Gbk, CharLengthKnowsTwoAndFourByteCharacters)
{
    const GbkString text = gbk::fromUtf8("a中\xF0\xA0\x80\x80");
    EXPECT_EQ(gbk::charLength(text, 0), 1u);
    EXPECT_EQ(gbk::charLength(text, 1), 2u);
    EXPECT_EQ(gbk::charLength(text, 3), 4u);
    EXPECT_EQ(gbk::charLength(std::string("\x81", 1), 0), 1u);
}

TEST(Gbk, UpperCasingLeavesTrailBytesAlone)
{
    // 丂 is 0x81 0x40; a trail byte in a-z (0x61..0x7A) must not be upper-cased.
    const std::string withTrailA("\x81\x61x", 3);
    EXPECT_EQ(gbk::toUpperAscii(withTrailA), std::string("\x81\x61X", 3));
    EXPECT_EQ(gbk::toUpperAscii("zar(2007)50"), "ZAR(2007)50");
}

TEST(Gbk, TrimmedDropsBlanksAndControlCharacters)
{
    EXPECT_EQ(gbk::trimmed(" \t12 \r\n"), "12");
    EXPECT_EQ(gbk::trimmed("   "), "");
}
