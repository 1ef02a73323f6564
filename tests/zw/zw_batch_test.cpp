// quvela-batch zw print, run as the built program in a program folder of its own: the
// stored workbook, rows and width, the options that replace them, and the runs that
// write nothing.
#include "support/batch_run.h"
#include "zw/zw_roster.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quvela;
using namespace quvela::test;

namespace {

class ZwBatch : public ZwRosterTest
{
protected:
    BatchRun batch(const std::string &args)
    {
        return runBatch(folder.path(), "zw print " + args, folder / "stderr.txt");
    }
    std::string pdf() const { return shellQuoted((folder / "out.pdf").string()); }
    std::string txt() const { return shellQuoted((folder / "out.txt").string()); }
    std::string json() const { return shellQuoted((folder / "out.json").string()); }

    void writeSettings(const std::string &lines)
    {
        std::ofstream(folder / "zwgz.ini", std::ios::binary) << gbk::fromUtf8("[xtcs]\r\n" + lines);
    }

    void SetUp() override
    {
        ZwRosterTest::SetUp();
        writeAndOpen({{7, examplePerson()},
                      {8, with(examplePerson(), {{zwf::PrintFlag, std::string("否")}, {zwf::Name, std::string("乙")}})},
                      {9, with(examplePerson(), {{zwf::Name, std::string("丙")},
                                                  {zwf::OpinionTemplate, std::string("同意&zw2任职，&ym起执行。")}})}});
    }
};

TEST_F(ZwBatch, PrintsTheFlaggedRowsOfTheStoredRange)
{
    writeSettings("File=某人社(2007)71号\r\nStart=7\r\nEnd=9\r\nexcelFileName=" + workbook().string() + "\r\n");
    const BatchRun run = batch("--pdf " + pdf() + " --txt " + txt() + " --json " + json());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = fileBytes(folder / "out.txt");
    EXPECT_NE(text.find("林晓明"), std::string::npos);
    EXPECT_EQ(text.find("乙"), std::string::npos);
    EXPECT_NE(text.find("丙"), std::string::npos);
    EXPECT_NE(text.find("拟同意其岗位工"), std::string::npos);
    EXPECT_NE(text.find("同意科员任职，2009 年 08 月起执行。"), std::string::npos);
    EXPECT_EQ(fileBytes(folder / "out.pdf").substr(0, 5), "%PDF-");
    EXPECT_LT(text.find("林晓明"), text.find("丙"));
}

TEST_F(ZwBatch, OptionsReplaceTheStoredWorkbookRowsAndWidth)
{
    writeSettings("Start=8\r\nEnd=8\r\nexcelFileName=/nowhere/zw.xlsx\r\n");
    const BatchRun run =
        batch("--workbook " + shellQuoted(workbook().string()) + " --rows 7-7 --width 200 --pdf " + pdf() + " --txt " + txt());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = fileBytes(folder / "out.txt");
    EXPECT_NE(text.find("林晓明"), std::string::npos);
    EXPECT_EQ(text.find("丙"), std::string::npos);
    // At 200 bytes a line the opinion stays on its first line, which 78 would break.
    EXPECT_NE(text.find("拟同意其岗位工资由7 590 元晋升到8 640 元"), std::string::npos) << text;
}

TEST_F(ZwBatch, RunsThatWriteNothing)
{
    struct Case
    {
        std::string settings;
        std::string args;
        int status;
        const char *message;
    };
    const Case cases[] = {
        {"Start=8\r\nEnd=8\r\nexcelFileName=" + workbook().string() + "\r\n", "", 1, "没有打印否为 1 的行"},
        {"Start=9\r\nEnd=7\r\nexcelFileName=" + workbook().string() + "\r\n", "", 1, "没有打印否为 1 的行"},
        {"", "", 1, "请选择EXCEL数据表格！"},
        {"zwRow=0102x3\r\nexcelFileName=" + workbook().string() + "\r\n", "", 1, "is not a valid integer value"},
        {"", "--rows 7 ", 2, "--rows"},
        {"", "--width x ", 2, "--width"},
    };
    for (const Case &c : cases) {
        writeSettings(c.settings);
        std::filesystem::remove(folder / "out.pdf");
        const BatchRun run = batch(c.args + "--pdf " + pdf());
        EXPECT_EQ(run.status, c.status) << c.settings << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(folder / "out.pdf")) << c.settings << c.args;
    }
}

} // namespace
