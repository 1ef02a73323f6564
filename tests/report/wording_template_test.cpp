#include "report/wording_template.h"

#include <gtest/gtest.h>

#include <cctype>
#include <vector>

using namespace quvela;
using quvela::report::fillTemplate;
using quvela::report::TemplateValue;

namespace {

struct Case
{
    const char *name;
    const char *text;
    std::vector<std::pair<const char *, const char *>> values;
    const char *expected;
};

std::string fill(const Case &c)
{
    std::vector<TemplateValue> values;
    for (const auto &[placeholder, value] : c.values)
        values.push_back({placeholder, gbk::fromUtf8(value)});
    return gbk::toUtf8(fillTemplate(gbk::fromUtf8(c.text), values));
}

const Case kCases[] = {
    {"first occurrence only", "&a-&a", {{"&a", "1"}}, "1-&a"},
    {"placeholder in any case", "x &YeAr y", {{"&year", "2009"}}, "x 2009 y"},
    {"value upper-cased", "根据&file文件", {{"&file", "zar(2007)50"}}, "根据ZAR(2007)50文件"},
    {"chinese value unchanged", "为 &ndkh ，", {{"&ndkh", "合格 "}}, "为 合格  ，"},
    {"missing placeholder", "没有占位", {{"&zz", "5"}}, "没有占位"},
    {"empty placeholder ignored", "abc", {{"", "x"}}, "abc"},
    {"empty value removes", "a&bf1b", {{"&bf1", ""}}, "ab"},
    {"order of the list", "&year &zz &year", {{"&zz", "7"}, {"&year", "2010"}}, "2010 7 &year"},
    // A value is never searched: the template's own placeholder is the one filled.
    {"value holding a later placeholder", "根据&file文件，&year 年",
     {{"&file", "京&year3号"}, {"&year", "2009"}}, "根据京&YEAR3号文件，2009 年"},
    {"value holding its own placeholder", "&a|&a", {{"&a", "&a"}, {"&a", "2"}}, "&A|2"},
    {"after a chinese character", "亚&a", {{"&a", "ok"}}, "亚OK"},
    {"placeholders side by side", "&bf1&bf2", {{"&bf1", "--"}, {"&bf2", "25"}}, "--25"},
};

class FillTemplate : public testing::TestWithParam<Case>
{
};

TEST_P(FillTemplate, Fills)
{
    EXPECT_EQ(fill(GetParam()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FillTemplate, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &p) {
                             std::string name = p.param.name;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// A placeholder is only found where a character starts.
TEST(FillTemplate, NeverMatchesInsideADoubleByteCharacter)
{
    // 0xB0 0x41 is a GBK character whose second byte is 'A'.
    const GbkString text = std::string("\xB0\x41") + "B and AB";
    const TemplateValue values[] = {{"ab", "x"}};
    EXPECT_EQ(fillTemplate(text, values), std::string("\xB0\x41") + "B and X");
}

} // namespace
