// JG forms through the print driver: the rows flagged in column Z of the example roster,
// each form filled from its own row, the width box read as the run goes.
#include "common/errors.h"
#include "jg/jg_forms.h"
#include "jg/jg_roster.h"
#include "roster_tools/print_flag.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

using namespace quvela;
using namespace quvela::test;

namespace {

const std::filesystem::path kExample = std::filesystem::path(QUVELA_SOURCE_DIR) / "examples" / "jg-roster.xlsx";

class RecordingHost final : public roster::RosterReportHost
{
public:
    std::vector<report::RenderedPage> printed, previewed;
    std::vector<int> rows;
    std::vector<GbkString> statuses;

    bool raiseOpenPreview() override { return false; }
    void setCurrentRow(int row) override { rows.push_back(row); }
    void preview(const report::PageStore &pages) override { previewed.insert(previewed.end(), pages.begin(), pages.end()); }
    void print(const report::RenderedPage &page) override { printed.push_back(page); }
    void nothingFlagged(const GbkString &status) override { statuses.push_back(status); }
};

roster::RosterRunRequest request(roster::ReportMode mode, const std::filesystem::path &workbook, int start, int end)
{
    roster::RosterRunRequest r;
    r.mode = mode;
    r.startText = std::to_string(start);
    r.endText = std::to_string(end);
    r.workbookFile = gbk::fromPath(workbook);
    return r;
}

TEST(JgPrintRun, ExampleRosterPrintsEveryFlaggedRowFromItsOwnCells)
{
    spreadsheet::SpreadsheetSession sheet;
    sheet.open(kExample);
    std::vector<int> flagged;
    for (int row = 7; row <= sheet.lastRow(); ++row)
        if (roster::isPrintFlag(sheet.readCellText(row, jg::column::PrintFlag)))
            flagged.push_back(row);
    ASSERT_GE(flagged.size(), 3u);
    ASSERT_LT(flagged.size(), std::size_t(sheet.lastRow() - 6)) << "the example should leave rows unflagged";

    const TJgcs settings = jgSettings();
    jg::JgForms forms([] { return GbkString("78"); }, settings);
    RecordingHost host;
    ScriptedPrompts prompts;
    const auto result = roster::RunFormReport(request(roster::ReportMode::Print, kExample, 7, sheet.lastRow()),
                                              forms, host, prompts);
    EXPECT_EQ(result.forms, int(flagged.size()));
    EXPECT_EQ(host.rows, flagged);
    ASSERT_EQ(host.printed.size(), flagged.size());
    for (std::size_t i = 0; i < flagged.size(); ++i) {
        const int row = flagged[i];
        const report::RenderedPage &p = host.printed[i];
        SCOPED_TRACE(row);
        EXPECT_EQ(labelOf(p, "l_xm").text, sheet.readCellText(row, jg::column::Name));
        EXPECT_EQ(labelOf(p, "zw2").text, sheet.readCellText(row, jg::column::NewPost));
        EXPECT_EQ(labelOf(p, "l_ph2").text, sheet.readCellText(row, jg::column::NewTotal));
        const std::string wording = wordingOf(p);
        EXPECT_NE(wording.find("，月增资 " + gbk::toUtf8(sheet.readCellText(row, jg::column::Increase)) + " 元，"),
                  std::string::npos)
            << wording;
        EXPECT_LE(labelOf(p, "y1").text.size(), 74u);
        EXPECT_LE(labelOf(p, "y2").text.size(), 78u);
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(JgPrintRun, PreviewShowsTheFirstFlaggedRowOnly)
{
    const TJgcs settings = jgSettings();
    jg::JgForms forms([] { return GbkString("78"); }, settings);
    RecordingHost host;
    ScriptedPrompts prompts;
    roster::RunFormReport(request(roster::ReportMode::Preview, kExample, 7, 40), forms, host, prompts);
    ASSERT_EQ(host.previewed.size(), 1u);
    EXPECT_TRUE(host.printed.empty());
    spreadsheet::SpreadsheetSession sheet;
    sheet.open(kExample);
    ASSERT_EQ(host.rows.size(), 1u);
    EXPECT_EQ(labelOf(host.previewed[0], "l_xm").text, sheet.readCellText(host.rows[0], jg::column::Name));
}

// Only column Z marks a row: a 1 in the JB tool's flag column (V) or next to Z does not.
TEST(JgPrintRun, FlagColumnIsZ)
{
    TempFolder dir;
    const auto file = dir / "jg.xlsx";
    writeJgRoster(file, {
                            {7, with(dutyChange(), {{jg::column::PrintFlag, Cell{}}, {22, 1.0}, {25, 1.0}})},
                            {8, with(dutyChange(), {{jg::column::Name, std::string("甲")},
                                                    {jg::column::PrintFlag, std::string(" 1 ")}})},
                            {9, with(dutyChange(), {{jg::column::PrintFlag, std::string("01")}})},
                            {10, with(dutyChange(), {{jg::column::Name, std::string("乙")}})},
                        });
    const TJgcs settings = jgSettings();
    GbkString width = "78";
    jg::JgForms forms([&width] { return width; }, settings);
    RecordingHost host;
    ScriptedPrompts prompts;
    roster::RunFormReport(request(roster::ReportMode::Print, file, 7, 10), forms, host, prompts);
    EXPECT_EQ(host.rows, (std::vector<int>{8, 10}));
    ASSERT_EQ(host.printed.size(), 2u);
    EXPECT_EQ(textOf(host.printed[0], "l_xm"), "甲");
    EXPECT_EQ(textOf(host.printed[1], "l_xm"), "乙");
}

// A form that cannot be made stops the run at its row; the forms before it stay printed.
TEST(JgPrintRun, BadAmountStopsTheRunAtItsRow)
{
    TempFolder dir;
    const auto file = dir / "jg.xlsx";
    writeJgRoster(file, {
                            {7, dutyChange()},
                            {8, with(dutyChange(), {{jg::column::NewAmount, std::string("待定")}})},
                            {9, dutyChange()},
                        });
    const TJgcs settings = jgSettings();
    jg::JgForms forms([] { return GbkString("78"); }, settings);
    RecordingHost host;
    ScriptedPrompts prompts;
    EXPECT_THROW(roster::RunFormReport(request(roster::ReportMode::Print, file, 7, 9), forms, host, prompts),
                 ConversionError);
    EXPECT_EQ(host.printed.size(), 1u);
}

} // namespace
