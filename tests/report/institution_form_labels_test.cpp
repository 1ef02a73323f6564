// The data labels of the public-institution forms, whatever the form calls its reason label.
#include "report/institution_form_labels.h"

#include <gtest/gtest.h>

#include <string>

using namespace quvela;
using namespace quvela::report;

namespace {

class InstitutionLabels : public testing::TestWithParam<const char *>
{
};

TEST_P(InstitutionLabels, ReasonTakesTheFormsNameAndIsBoldAndAsWideAsItsText)
{
    const std::string reason = GetParam();
    ReportBand band("ColumnHeaderBand1", 161.9, 222.2);
    addInstitutionFormLabels(band, reason.c_str());

    ASSERT_EQ(band.labels().size(), 26u);
    const ReportLabel &l = band.labels()[6];
    EXPECT_EQ(l.name, reason);
    EXPECT_TRUE(l.bold);
    EXPECT_TRUE(l.autoWidth);
    EXPECT_DOUBLE_EQ(l.x, 24.6);
    EXPECT_DOUBLE_EQ(l.y, 15.3);
    for (const ReportLabel &other : band.labels()) {
        EXPECT_TRUE(other.text.empty()) << other.name;
        EXPECT_TRUE(other.fitToCell) << other.name;
        EXPECT_DOUBLE_EQ(other.height, 3.7) << other.name;
        if (other.name != reason) {
            EXPECT_FALSE(other.bold) << other.name;
        }
    }
    // the amounts stand in the institutions' value column, not the civil servants'
    EXPECT_DOUBLE_EQ(band.label("l_gw1").x, 92.1);
    EXPECT_EQ(band.label("l_gw1").align, Align::Right);
    EXPECT_FALSE(band.label("l_gw1").autoWidth);
    EXPECT_TRUE(band.label("lb_ndkh").autoWidth);
}

INSTANTIATE_TEST_SUITE_P(Forms, InstitutionLabels, testing::Values("QRLabel47", "lb_bdyy"));

} // namespace
