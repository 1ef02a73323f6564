// Defined names are spelled out only where what they stand for is certain.

#include "spreadsheet/defined_names.h"

#include <gtest/gtest.h>

namespace quvela::test {
namespace {

using spreadsheet::DefinedNames;

struct SpellCase
{
    const char *formula;
    const char *sheet; // the formula's own
    const char *spelled; // nullptr: left as it is
};

class DefinedNamesSpelling : public testing::TestWithParam<SpellCase>
{
};

TEST_P(DefinedNamesSpelling, AsTheWorkbookDefinesThem)
{
    DefinedNames names;
    names.add("应发", "", "'花名册'!$D$2:$D$4");
    names.add("Rate", "", "=0.96");
    names.add("Rate", "汇总", "汇总!$B$1");   // the summary sheet's own Rate
    names.add("Relative", "", "花名册!D2");   // moves with the cell that uses it
    names.add("Formula", "", "SUM(花名册!$D$2:$D$4)");
    names.add("Other", "", "[1]花名册!$A$1");
    names.add("Union", "", "花名册!$A$1,花名册!$B$1");
    names.add("Broken", "", "#REF!");
    const SpellCase &c = GetParam();
    const auto spelled = names.spelledOut(c.formula, c.sheet);
    if (c.spelled) {
        ASSERT_TRUE(spelled) << c.formula;
        EXPECT_EQ(*spelled, c.spelled);
    } else {
        EXPECT_FALSE(spelled) << c.formula << " -> " << spelled.value_or("");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefinedNamesSpelling,
    testing::Values(SpellCase{"SUM(应发)*rate", "花名册", "SUM('花名册'!$D$2:$D$4)*0.96"},
                    SpellCase{"A1*Rate", "汇总", "A1*汇总!$B$1"},
                    SpellCase{"A1+1", "花名册", nullptr},
                    SpellCase{"\"应发\"&A1", "花名册", nullptr},
                    SpellCase{"Relative+1", "花名册", nullptr},
                    SpellCase{"Formula+1", "花名册", nullptr},
                    SpellCase{"Other+1", "花名册", nullptr},
                    SpellCase{"Union", "花名册", nullptr},
                    SpellCase{"Broken", "花名册", nullptr},
                    SpellCase{"应发+Missing", "花名册", nullptr},
                    SpellCase{"SUM(应发[合计])", "花名册", nullptr}));

} // namespace
} // namespace quvela::test
