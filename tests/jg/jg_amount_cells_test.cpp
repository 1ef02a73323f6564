// Where the old and new amounts land on the JG form, the direction word, and the move of
// a worker's amounts into the workers' value column, one roster row per case.
#include "jg/jg_roster.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quvela;
using namespace quvela::test;

namespace {

// Band corner on the paper: left margin 15 mm; amounts of staff start at 48.2 mm in the
// band, a worker's at 143.9 mm.
constexpr double kStaffX = 15 + 48.2;
constexpr double kWorkerX = 15 + 143.9;
// The workers' value column on the paper.
constexpr double kWorkerColumnLeft = 15 + 142.3;
constexpr double kWorkerColumnRight = 15 + 158.8;

struct Case
{
    const char *name;
    Cell oldAmount;
    Cell newAmount;
    const char *oldPost; // J; a worker's technical grade
    const char *newPost; // Q
    // expected texts of l_gw1, m_gw1, l_gw2, m_gw2
    const char *lgw1, *mgw1, *lgw2, *mgw2;
    const char *direction;
    bool oldMoved, newMoved;
};

const Case kCases[] = {
    {"leading_to_leading", 1080.0, 1410.0, "副处长", "处长", "1080", "", "1410", "", "晋升", false, false},
    {"leading_to_other_duty", 1080.0, 700.0, "副处长", "调研员", "1080", "", "", "700", "降低", false, false},
    {"other_duty_falling_still_promotes", 700.0, 600.0, "调研员", "主任科员", "", "700", "", "600", "晋升",
     false, false},
    {"first_list_entry_is_other_duty", 4000.0, 3200.0, "巡视员", "副部长", "", "4000", "3200", "", "晋升",
     false, false},
    {"new_410_is_a_worker", 1410.0, 410.0, "处长", "高级技师", "1410", "", "高级技师", "410", "降低", false,
     true},
    {"new_300_in_no_list_is_other_duty", 830.0, 300.0, "科长", "科员", "830", "", "", "300", "降低", false,
     false},
    {"both_workers", 195.0, 270.0, "高级工", "技师", "高级工", "195", "技师", "270", "晋升", true, true},
    {"empty_old_amount_is_a_workers_zero", Cell{}, 270.0, "", "技师", "", "", "技师", "270", "晋升", true,
     true},
    {"worker_to_leading_post", 410.0, 1080.0, "高级技师", "副处长", "高级技师", "410", "1080", "", "晋升",
     true, false},
    {"amount_as_text", std::string("271"), std::string(" 430"), "主任科员", "科长", "", "271", " 430", "",
     "晋升", false, false},
    {"equal_leading_amounts", 830.0, 830.0, "科长", "科长", "830", "", "830", "", "晋升", false, false},
    {"zero_new_amount", 510.0, 0.0, "副科长", "工勤", "510", "", "工勤", "0", "降低", false, true},
};

class JgAmountCells : public JgRosterTest
{
protected:
    void SetUp() override
    {
        std::vector<SheetRow> rows;
        int row = 7;
        for (const Case &c : kCases)
            rows.push_back({row++, with(dutyChange(), {{jg::column::OldAmount, c.oldAmount},
                                                        {jg::column::NewAmount, c.newAmount},
                                                        {jg::column::OldPost, std::string(c.oldPost)},
                                                        {jg::column::NewPost, std::string(c.newPost)}})});
        writeAndOpen(rows);
    }
};

void expectBlock(const report::RenderedPage &page, const char *suffix, bool moved)
{
    const std::string grade = std::string("l_gw") + suffix;
    for (const char *stem : {"l_gw", "m_gw", "l_xj", "m_xj", "l_ph"}) {
        const std::string name = stem + std::string(suffix);
        const report::ReportLabel &l = labelOf(page, name);
        EXPECT_NEAR(l.x, moved ? kWorkerX : kStaffX, 1e-9) << name;
        if (moved) {
            EXPECT_GE(l.x, kWorkerColumnLeft) << name;
            EXPECT_LE(l.x + l.width, kWorkerColumnRight + 1e-9) << name << " ends past its cell";
        }
    }
    const report::ReportLabel &g = labelOf(page, grade);
    EXPECT_EQ(g.align, moved ? report::Align::Center : report::Align::Right) << grade;
    EXPECT_EQ(g.autoWidth, moved) << grade;
    if (moved)
        EXPECT_NEAR(g.width, report::textWidthMm(g.text, g.sizePt), 1e-9) << grade;
    else
        EXPECT_NEAR(g.width, 12.2, 1e-9) << grade;
}

TEST_F(JgAmountCells, EachCase)
{
    int row = 7;
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        const report::RenderedPage p = page(row++);
        EXPECT_EQ(textOf(p, "l_gw1"), c.lgw1);
        EXPECT_EQ(textOf(p, "m_gw1"), c.mgw1);
        EXPECT_EQ(textOf(p, "l_gw2"), c.lgw2);
        EXPECT_EQ(textOf(p, "m_gw2"), c.mgw2);
        const std::string wording = wordingOf(p);
        const std::string d = c.direction;
        const std::string other = d == "晋升" ? "降低" : "晋升";
        EXPECT_NE(wording.find(")" + d + "到("), std::string::npos) << wording;
        EXPECT_EQ(wording.find(other), std::string::npos) << wording;
        expectBlock(p, "1", c.oldMoved);
        expectBlock(p, "2", c.newMoved);
    }
}

} // namespace
