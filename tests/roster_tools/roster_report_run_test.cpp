// The print driver of the workbook-driven tools on real workbooks, with a host that
// records what the window would do.
#include "roster_tools/print_flag.h"
#include "roster_tools/roster_report_run.h"
#include "roster_tools/sheet_fixture.h"
#include "spreadsheet/spreadsheet_session.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

#include "common/errors.h"

#include <gtest/gtest.h>

#include <climits>

namespace quvela::test {
namespace {

using roster::ReportMode;

constexpr int kFlagColumn = 4;

// A form that carries the name cell of its row, so the test sees which rows were made.
class NameForms final : public roster::RosterForms
{
public:
    int prepared = 0;
    int failAtRow = 0;
    int flagColumn() const override { return kFlagColumn; }
    void prepare() override { ++prepared; }
    report::RenderedPage formPage(const spreadsheet::SpreadsheetSession &sheet, int row) override
    {
        if (row == failAtRow)
            throw QuvelaError(gbk::fromUtf8("表格出错"));
        report::RenderedPage page;
        report::ReportLabel label;
        label.name = "l_xm";
        label.text = sheet.readCellText(row, 2);
        page.labels.push_back(label);
        return page;
    }
};

class RecordingHost final : public roster::RosterReportHost
{
public:
    bool previewOpen = false;
    std::vector<std::string> printed; // names, UTF-8
    std::vector<std::string> previewed;
    std::vector<int> currentRows;
    std::vector<std::string> statuses;

    bool raiseOpenPreview() override { return previewOpen; }
    void setCurrentRow(int row) override { currentRows.push_back(row); }
    void preview(const report::PageStore &pages) override
    {
        for (const auto &page : pages)
            previewed.push_back(gbk::toUtf8(page.labels.at(0).text));
    }
    void print(const report::RenderedPage &page) override { printed.push_back(gbk::toUtf8(page.labels.at(0).text)); }
    void nothingFlagged(const GbkString &status) override { statuses.push_back(gbk::toUtf8(status)); }
};

Cells flagged(const std::string &name, Cell flag)
{
    Cells c;
    c[1] = 1.0;
    c[2] = name;
    c[kFlagColumn] = std::move(flag);
    return c;
}

class RosterRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeSheet(workbook(), {
                                   {1, {{1, std::string("职务工资变动花名册")}}},
                                   {7, flagged("甲", 1.0)},
                                   {8, flagged("乙", std::string(" 1 "))},
                                   {9, flagged("丙", std::string("是"))},
                                   {10, flagged("丁", std::string("1"))},
                                   {11, flagged("戊", 1.5)},
                                   {12, flagged("己", std::string("11"))},
                                   {13, flagged("庚", std::monostate{})},
                                   {14, flagged("辛", std::string("1.5"))},
                                   {15, flagged("壬", std::string("01"))},
                               });
    }
    std::filesystem::path workbook() const { return m_folder / "zw.xlsx"; }

    roster::RosterRunResult run(ReportMode mode, const std::string &start, const std::string &end)
    {
        roster::RosterRunRequest request;
        request.mode = mode;
        request.startText = start;
        request.endText = end;
        request.workbookFile = gbk::fromPath(workbook());
        return roster::RunFormReport(request, forms, host, prompts);
    }

    TempFolder m_folder;
    NameForms forms;
    RecordingHost host;
    ScriptedPrompts prompts;
};

TEST_F(RosterRunTest, PrintMakesOneJobPerFlaggedRowInRowOrder)
{
    const auto result = run(ReportMode::Print, "7", "15");
    EXPECT_EQ(host.printed, (std::vector<std::string>{"甲", "乙", "丁"}));
    EXPECT_EQ(host.currentRows, (std::vector<int>{7, 8, 10}));
    EXPECT_EQ(result.forms, 3);
    EXPECT_EQ(result.startRow, 7);
    EXPECT_EQ(result.endRow, 15);
    EXPECT_EQ(forms.prepared, 1);
    EXPECT_TRUE(host.statuses.empty());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RosterRunTest, PreviewShowsTheFirstFlaggedRowOfTheRangeOnly)
{
    const auto result = run(ReportMode::Preview, "8", "15");
    EXPECT_EQ(host.previewed, (std::vector<std::string>{"乙"}));
    EXPECT_TRUE(host.printed.empty());
    EXPECT_EQ(result.forms, 1);
}

TEST_F(RosterRunTest, RangesWithoutAFlaggedRowSaySoOnTheStatusLineOnly)
{
    struct Case
    {
        const char *start, *end;
    };
    for (const Case c : {Case{"9", "9"}, Case{"11", "15"}, Case{"10", "7"}, Case{"16", "2000000000"}}) {
        host = RecordingHost{};
        for (ReportMode mode : {ReportMode::Print, ReportMode::Preview}) {
            const auto result = run(mode, c.start, c.end);
            EXPECT_EQ(result.forms, 0) << c.start << "-" << c.end;
            EXPECT_TRUE(host.previewed.empty());
            EXPECT_TRUE(host.printed.empty());
        }
        ASSERT_EQ(host.statuses.size(), 2u);
        EXPECT_NE(host.statuses[0].find(std::string("第 ") + c.start + " 行"), std::string::npos) << host.statuses[0];
        EXPECT_TRUE(prompts.shown.empty());
    }
}

TEST_F(RosterRunTest, AnEndRowFarPastTheSheetStopsAtItsLastRow)
{
    const auto result = run(ReportMode::Print, "10", std::to_string(INT_MAX));
    EXPECT_EQ(host.printed, (std::vector<std::string>{"丁"}));
    EXPECT_EQ(result.endRow, INT_MAX);
}

TEST_F(RosterRunTest, AnOpenPreviewWindowIsOnlyBroughtForward)
{
    host.previewOpen = true;
    const auto result = run(ReportMode::Preview, "7", "15");
    EXPECT_TRUE(result.raisedPreview);
    EXPECT_EQ(forms.prepared, 0);
    EXPECT_TRUE(host.previewed.empty());
    // Printing does not look at the preview window.
    run(ReportMode::Print, "7", "7");
    EXPECT_EQ(host.printed.size(), 1u);
}

TEST_F(RosterRunTest, RowBoxesThatAreNotNumbersStopBeforeAnythingOpens)
{
    for (const auto &[start, end] : std::vector<std::pair<std::string, std::string>>{{"", "9"}, {"7", ""}, {"7x", "9"}}) {
        try {
            run(ReportMode::Print, start, end);
            ADD_FAILURE() << "no error for '" << start << "'-'" << end << "'";
        } catch (const ConversionError &error) {
            const std::string bad = start == "7" ? end : start;
            EXPECT_EQ(gbk::toUtf8(error.message()), "'" + bad + "' is not a valid integer value");
        }
    }
    EXPECT_EQ(forms.prepared, 0);
}

TEST_F(RosterRunTest, AWorkbookThatCannotBeOpenedIsNamedAsSuch)
{
    for (const std::filesystem::path &file : {m_folder / "missing.xlsx", std::filesystem::path()}) {
        prompts.shown.clear();
        roster::RosterRunRequest request;
        request.startText = "7";
        request.endText = "15";
        request.workbookFile = gbk::fromPath(file);
        const auto result = roster::RunFormReport(request, forms, host, prompts);
        EXPECT_TRUE(result.workbookFailed);
        EXPECT_EQ(prompts.textsUtf8(), (std::vector<std::string>{"请选择EXCEL数据表格！"}));
    }
    EXPECT_EQ(forms.prepared, 0);
    EXPECT_TRUE(host.printed.empty());
}

TEST_F(RosterRunTest, AFormErrorStopsTheRunAndKeepsWhatWasPrinted)
{
    forms.failAtRow = 8;
    EXPECT_THROW(run(ReportMode::Print, "7", "15"), QuvelaError);
    EXPECT_EQ(host.printed, (std::vector<std::string>{"甲"}));
    // The workbook is not held after the error: it can be replaced at once.
    std::filesystem::remove(workbook());
    EXPECT_FALSE(std::filesystem::exists(workbook()));
}

TEST(PrintFlag, OneAfterTrimmingBlanksOnly)
{
    struct Case
    {
        const char *text;
        bool flagged;
    };
    for (const Case c : {Case{"1", true}, Case{" 1 ", true}, Case{"\t1", true}, Case{"", false}, Case{"0", false},
                         Case{"11", false}, Case{"1.5", false}, Case{"01", false}, Case{"1 1", false}})
        EXPECT_EQ(roster::isPrintFlag(c.text), c.flagged) << '"' << c.text << '"';
    EXPECT_FALSE(roster::isPrintFlag(gbk::fromUtf8("是")));
}

} // namespace
} // namespace quvela::test
