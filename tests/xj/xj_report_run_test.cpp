// The print/preview driver over a real roster table, with a host that records what the
// tool window would have been asked to do.
#include "common/errors.h"
#include "xj/temp_folder.h"
#include "xj/xj_report_run.h"
#include "xj/xj_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quvela;
using namespace quvela::xj;
using quvela::test::TempFolder;

namespace {

std::string nameOnPage(const report::RenderedPage &page)
{
    for (const report::ReportLabel &l : page.labels)
        if (l.name == "l_xm")
            return l.text;
    return "?";
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
    addRows(2);
    struct PageHost final : XjReportHost
    {
        void suspendDisplay() override {}
        void resumeDisplay() override {}
        void preview(const report::PageStore &) override {}
        void print(const report::RenderedPage &page) override { pages.push_back(page); }
        std::vector<report::RenderedPage> pages;
    } pages;
    RunFormReport(ReportMode::Print, reader(), pages, settings);
    ASSERT_EQ(pages.pages.size(), 2u);
    EXPECT_EQ(nameOnPage(pages.pages[0]), "P1");
    EXPECT_EQ(nameOnPage(pages.pages[1]), "P2");
    for (const auto &label : pages.pages[1].labels) {
        if (label.name == "y1") {
            EXPECT_EQ(gbk::toUtf8(label.text), "    根据X文件规定，该同志 2009 年年度考核为   ，拟同意其");
        }
    }
}

} // namespace
