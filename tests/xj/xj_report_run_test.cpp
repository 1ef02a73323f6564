// The print/preview driver over a real roster table, with a host that records what the
// tool window would have been asked to do.
#include "common/errors.h"
#include "xj/temp_folder.h"
#include "xj/xj_report_run.h"
#include "xj/xj_table.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace quvela;
using namespace quvela::xj;
using quvela::test::TempFolder;

namespace {

// The text of the page's label of that name; "?" when the page has none.
std::string labelText(const report::RenderedPage &page, const char *name)
{
    for (const report::ReportLabel &l : page.labels)
        if (l.name == name)
            return l.text;
    return "?";
}

std::string nameOnPage(const report::RenderedPage &page)
{
    return labelText(page, "l_xm");
}

class RecordingHost final : public XjReportHost
{
public:
    void suspendDisplay() override { events.push_back("suspend"); }
    void resumeDisplay() override { events.push_back("resume"); }
    void preview(const report::PageStore &pages) override
    {
        std::string e = "preview " + std::to_string(pages.size());
        for (const auto &p : pages)
            e += " " + nameOnPage(p);
        events.push_back(e);
    }
    void print(const report::RenderedPage &page) override
    {
        const std::string name = nameOnPage(page);
        if (name == failOn)
            throw QuvelaError("printer fault");
        events.push_back("print " + name);
    }

    std::vector<std::string> events;
    std::string failOn;
};

class XjReportRun : public testing::Test
{
protected:
    void SetUp() override
    {
        table = XjTable::open(dir / "xjgz.db");
        settings.Year = 2010;
        settings.FileNo = "x";
        settings.PrintDate = QDateTime(QDate(2010, 4, 8), QTime(0, 0));
    }
    void addRows(int n)
    {
        XjTable::Transaction transaction(*table);
        for (int i = 1; i <= n; ++i) {
            XjRecord r;
            r.xh = i;
            r.xm = "P" + std::to_string(i);
            table->append(r);
        }
        transaction.commit();
    }
    XjRowReader reader()
    {
        return [this](int64_t offset, int64_t limit) {
            ++reads;
            return table->readRange(offset, limit);
        };
    }

    TempFolder dir;
    std::unique_ptr<XjTable> table;
    TXtcs settings;
    RecordingHost host;
    int reads = 0;
};

TEST_F(XjReportRun, PrintGivesOneJobPerRowInTableOrder)
{
    addRows(3);
    EXPECT_EQ(RunFormReport(ReportMode::Print, reader(), host, settings), 3);
    EXPECT_EQ(host.events, (std::vector<std::string>{"suspend", "print P1", "print P2", "print P3", "resume"}));
}

TEST_F(XjReportRun, PreviewShowsTheFirstRowOnly)
{
    addRows(3);
    EXPECT_EQ(RunFormReport(ReportMode::Preview, reader(), host, settings), 1);
    EXPECT_EQ(host.events, (std::vector<std::string>{"suspend", "preview 1 P1", "resume"}));
    EXPECT_EQ(reads, 1);
}

TEST_F(XjReportRun, EmptyTableMakesNothingAndSaysNothing)
{
    for (ReportMode mode : {ReportMode::Print, ReportMode::Preview}) {
        host.events.clear();
        EXPECT_EQ(RunFormReport(mode, reader(), host, settings), 0);
        EXPECT_EQ(host.events, (std::vector<std::string>{"suspend", "resume"}));
    }
}

// Rows are read in batches; the rows around the batch edges keep their order.
TEST_F(XjReportRun, LongTablePrintsEveryRowOnce)
{
    for (int n : {63, 64, 65, 129}) {
        table->clear();
        addRows(n);
        host.events.clear();
        EXPECT_EQ(RunFormReport(ReportMode::Print, reader(), host, settings), n);
        ASSERT_EQ(host.events.size(), static_cast<std::size_t>(n) + 2) << n;
        for (int i = 1; i <= n; ++i)
            EXPECT_EQ(host.events[static_cast<std::size_t>(i)], "print P" + std::to_string(i));
        EXPECT_EQ(host.events.back(), "resume");
    }
}

TEST_F(XjReportRun, PrinterFaultEndsTheRunWithTheDisplayResumed)
{
    addRows(3);
    host.failOn = "P2";
    EXPECT_THROW(RunFormReport(ReportMode::Print, reader(), host, settings), QuvelaError);
    EXPECT_EQ(host.events, (std::vector<std::string>{"suspend", "print P1", "resume"}));
}

TEST_F(XjReportRun, TableFaultEndsTheRunWithTheDisplayResumed)
{
    addRows(3);
    const XjRowReader failing = [](int64_t, int64_t) -> std::vector<XjRecord> {
        throw QuvelaError("database locked");
    };
    for (ReportMode mode : {ReportMode::Print, ReportMode::Preview}) {
        host.events.clear();
        EXPECT_THROW(RunFormReport(mode, failing, host, settings), QuvelaError);
        EXPECT_EQ(host.events, (std::vector<std::string>{"suspend", "resume"}));
    }
}

TEST_F(XjReportRun, EachFormIsFilledFromItsOwnRow)
{
    struct Row
    {
        const char *name;
        const char *appraisal;
        int32_t grade1, amount1, grade2, amount2, supplement1, supplement2, increase;
        std::array<const char *, 3> wording;
    };
    const Row rows[] = {
        {"甲", "优秀", 14, 377, 15, 412, 0, 0, 35,
         {"    根据X文件规定，该同志 2009 年年度考核为 优秀  ，拟同意其",
          "正常增加一个薪级，薪级工资由 14 级 377 元增加到 15 级 412 元，（提高工资10%",
          "部分由 -- 元增加到 -- 元），月增资 35 元，从 2010 年 1 月起执行。"}},
        {"乙", "合格", 4, 113, 5, 125, 11, 12, 13,
         {"    根据X文件规定，该同志 2009 年年度考核为 合格  ，拟同意其",
          "正常增加一个薪级，薪级工资由 4 级 113 元增加到 5 级 125 元，（提高工资10%",
          "部分由 11 元增加到 12 元），月增资 13 元，从 2010 年 1 月起执行。"}},
    };
    for (const Row &row : rows) {
        XjRecord r;
        r.xm = gbk::fromUtf8(row.name);
        r.ndkh = gbk::fromUtf8(row.appraisal);
        r.xjdj1 = row.grade1, r.xjgz1 = row.amount1, r.xjdj2 = row.grade2, r.xjgz2 = row.amount2;
        r.bf101 = row.supplement1, r.bf102 = row.supplement2, r.zzhj = row.increase;
        table->append(r);
    }
    struct PageHost final : XjReportHost
    {
        void suspendDisplay() override {}
        void resumeDisplay() override {}
        void preview(const report::PageStore &) override {}
        void print(const report::RenderedPage &page) override { pages.push_back(page); }
        std::vector<report::RenderedPage> pages;
    } pages;
    RunFormReport(ReportMode::Print, reader(), pages, settings);
    ASSERT_EQ(pages.pages.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].name);
        const report::RenderedPage &page = pages.pages[i];
        EXPECT_EQ(gbk::toUtf8(nameOnPage(page)), rows[i].name);
        const char *lines[] = {"y1", "y2", "y3"};
        for (std::size_t line = 0; line < std::size(lines); ++line)
            EXPECT_EQ(gbk::toUtf8(labelText(page, lines[line])), rows[i].wording[line]) << lines[line];
    }
}

} // namespace
