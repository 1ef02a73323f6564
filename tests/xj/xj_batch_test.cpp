// quvela-batch xj import | adjust | writeback | dump, run as the built program in a
// program folder of its own.
#include "support/file_bytes.h"
#include "xj/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using quvela::test::fileBytes;
using quvela::test::TempFolder;

namespace {

const char *const kBatch = QUVELA_BINARY_DIR "/bin/quvela-batch";
const char *const kHeader = "xh\txm\txb\tcsny\tgzny\ttsny\tndkh\txrzw\tzwny\theji1\tgwdj1\tgwgz1\txjdj1\txjgz1\t"
                            "bf101\tqita1\theji2\tgwdj2\tgwgz2\txjdj2\txjgz2\tbf102\tqita2\tzzhj\tzzxj\tzz10\tzzqt\t"
                            "bufa\tbz\tzwlb\tsftz\twhcd";

struct BatchRun
{
    int status = -1;
    std::string out, err;
};

std::string quoted(const std::string &s)
{
    return "'" + s + "'";
}

// Runs a command line, capturing both streams in files of the folder.
BatchRun shell(const TempFolder &dir, const std::string &command)
{
    const auto out = dir / "stdout.txt", err = dir / "stderr.txt";
    const int raw = std::system((command + " >" + quoted(out.string()) + " 2>" + quoted(err.string())).c_str());
    BatchRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = fileBytes(out);
    run.err = fileBytes(err);
    return run;
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::vector<std::string> fields(const std::string &line)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        result.push_back(line.substr(start, tab - start));
    result.push_back(line.substr(start));
    return result;
}

class XjBatch : public ::testing::Test
{
protected:
    TempFolder dir;
    TempFolder work; // the captured streams, outside the program folder
    std::filesystem::path book = dir / "roster.xlsx";
    std::filesystem::path original = std::filesystem::path(QUVELA_SOURCE_DIR) / "examples" / "xj-roster.xlsx";

    void SetUp() override { std::filesystem::copy_file(original, book); }

    // Qt warns on standard error without a runtime folder of the user's own.
    BatchRun batch(const std::string &args)
    {
        const auto runtime = work / "runtime";
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        return shell(work, "XDG_RUNTIME_DIR=" + quoted(runtime.string()) + " " + kBatch + " --dir "
                               + quoted(dir.path().string()) + " " + args);
    }

    std::string python(const std::string &script, const std::string &args)
    {
        const BatchRun r = shell(work, "/usr/bin/python3 " + quoted(std::string(QUVELA_SOURCE_DIR) + "/tests/xj/" + script)
                                      + " " + args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
};

} // namespace

TEST_F(XjBatch, ImportAdjustWriteBackAndDump)
{
    // An empty program folder: the table is created, the dump is its header.
    BatchRun r = batch("xj dump");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(kHeader) + "\n");

    r = batch("xj import --workbook " + quoted(book.string()) + " --rows 7-31");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    r = batch("xj dump");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string imported = r.out;
    EXPECT_EQ(imported, python("roster_tsv.py", quoted(book.string()) + " 7 31"));
    ASSERT_EQ(lines(imported).size(), 25u);

    r = batch("xj adjust");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    r = batch("xj dump");
    const auto before = lines(imported), after = lines(r.out);
    ASSERT_EQ(after.size(), before.size());
    const std::set<std::size_t> computed = {19, 20, 21, 25, 24, 16, 23, 27}; // xjdj2 .. bufa, 0-based
    for (std::size_t i = 1; i < after.size(); ++i) {
        const auto b = fields(before[i]), a = fields(after[i]);
        ASSERT_EQ(a.size(), 32u);
        for (std::size_t k = 0; k < 32; ++k) {
            if (b[30] != "1" || !computed.contains(k)) {
                EXPECT_EQ(a[k], b[k]) << "row " << i << " column " << k + 1;
            }
        }
    }
    // Sequence number 2: 专技, grade 23 (499), post wage 680, supplement 50 = 10 % of 499.
    const auto second = fields(after[2]);
    EXPECT_EQ(second[1], "尹士");
    const std::vector<std::string> newValues = {second[19], second[20], second[21], second[24],
                                                second[25], second[16], second[23], second[27]};
    EXPECT_EQ(newValues, (std::vector<std::string>{"24", "527", "53", "28", "3", "1260", "31", "124"}));

    r = batch("xj writeback --rows 7-31");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "OK!!! 数据保存完毕。\n");
    // Only the five written columns differ from the example.
    const auto changes = lines(python("changed_cells.py", quoted(original.string()) + " " + quoted(book.string())));
    EXPECT_GT(changes.size(), 40u);
    for (const std::string &line : changes) {
        const auto f = fields(line);
        ASSERT_GE(f.size(), 3u) << line;
        EXPECT_EQ(f[0], "1") << line;
        EXPECT_TRUE(std::set<std::string>({"20", "21", "22", "25", "26"}).contains(f[2])) << line;
    }
    // A second import of the written workbook sees the adjusted values in those cells.
    r = batch("xj import --workbook " + quoted(book.string()) + " --rows 7-31");
    ASSERT_EQ(r.status, 0) << r.err;
    r = batch("xj dump");
    const auto reread = lines(r.out);
    ASSERT_EQ(reread.size(), after.size());
    EXPECT_EQ(fields(reread[2])[19], "24");
    EXPECT_EQ(fields(reread[2])[24], "28");
}

TEST_F(XjBatch, ExitCodesAndMessages)
{
    struct Case
    {
        std::string args;
        int status;
        std::string err; // the start of standard error
    };
    const std::string wb = " --workbook " + quoted(book.string());
    const Case cases[] = {
        {"xj adjust", 1, "无调资数据 ！\n"},
        {"xj import" + wb + " --rows 3-31", 1, "开始行号不能小于7 ！\n"},
        {"xj import --workbook " + quoted((dir / "gone.xlsx").string()) + " --rows 7-31", 1, "请选择EXCEL数据表格！\n"},
        {"xj writeback --rows 7-31", 1, "请选择EXCEL数据表格！\n"}, // remembers gone.xlsx now
        {"xj import" + wb + " --rows 7-x", 2, "quvela-batch: --rows takes S-E"},
        {"xj import --rows 7-31", 2, "quvela-batch: missing option --workbook"},
        {"xj adjust --rows 7-9", 2, "quvela-batch: unknown option --rows"},
        {"xj frobnicate", 2, "quvela-batch: unknown action: xj frobnicate"},
        {"xj import" + wb + " --rows 8-31", 0, ""},
        {"xj writeback --rows 7-31", 1, "Excel数据表与上表格数据对不上号，请检查开始行号！\n\nExcel数据表开始行对应上表第一行。\n回写数据错误！\n"},
    };
    for (const Case &c : cases) {
        const BatchRun r = batch(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
    // None of the failed steps changed the workbook.
    EXPECT_EQ(fileBytes(book), fileBytes(original));
}

TEST_F(XjBatch, WriteBackWithoutARememberedWorkbookSaysSo)
{
    std::ofstream(dir / "xjgz.ini") << "[xtcs]\nexcelFileName=\n";
    const BatchRun r = batch("xj writeback --rows 7-31");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no workbook remembered"), std::string::npos) << r.err;
}

TEST_F(XjBatch, ABadCellStopsWithStatusOneAndKeepsTheRowsBefore)
{
    const auto settings = dir / "xjgz.ini";
    // Map the name onto the post column (H): row 9's post is longer than a name may be.
    const BatchRun probe = batch("xj import --workbook " + quoted(book.string()) + " --rows 7-31");
    ASSERT_EQ(probe.status, 0);
    std::ofstream(settings, std::ios::app) << "\nxjRow=0108\n";
    const BatchRun r = batch("xj import --workbook " + quoted(book.string()) + " --rows 7-31");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(",姓名最长4个汉字！"), std::string::npos) << r.err;
    const BatchRun dump = batch("xj dump");
    const auto rows = lines(dump.out);
    ASSERT_GE(rows.size(), 1u);
    // Rows before the bad one are stored; none after it.
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_EQ(fields(rows[i])[0], std::to_string(i));
    EXPECT_LT(rows.size(), 25u);
}

// Rosters live in folders like …/工资 2010/ under names like 2010年薪级花名册.xlsx, and a
// character outside GBK (𠀀, four bytes in GB18030) may be anywhere in a name.
TEST_F(XjBatch, ChineseAndFourByteNamesOfFoldersAndFiles)
{
    const auto program = dir / "薪级程序 𠀀";
    const auto rosters = dir / "工资 2010 𠀀";
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(rosters);
    const auto roster = rosters / "2010年薪级花名册𠀀.xlsx";
    std::filesystem::copy_file(original, roster);
    const auto pdf = rosters / "审批表𠀀.pdf";
    const auto run = [&](const std::string &args) {
        const auto runtime = work / "runtime";
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        return shell(work, "XDG_RUNTIME_DIR=" + quoted(runtime.string()) + " " + kBatch + " --dir "
                               + quoted(program.string()) + " " + args);
    };

    BatchRun r = run("xj import --workbook " + quoted(roster.string()) + " --rows 7-31");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // The settings file remembers the roster in GB18030, as read by another decoder.
    const std::string settings = python("gb18030_text.py", quoted((program / "xjgz.ini").string()));
    EXPECT_NE(settings.find("excelFileName=" + roster.string()), std::string::npos) << settings;

    r = run("xj adjust");
    ASSERT_EQ(r.status, 0) << r.err;
    // The write-back finds the roster through the settings file alone.
    r = run("xj writeback --rows 7-31");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "OK!!! 数据保存完毕。\n");
    EXPECT_GT(lines(python("changed_cells.py", quoted(original.string()) + " " + quoted(roster.string()))).size(), 40u);

    r = run("xj print --pdf " + quoted(pdf.string()));
    ASSERT_EQ(r.status, 0) << r.err;
    const BatchRun info = shell(work, "pdfinfo " + quoted(pdf.string()));
    EXPECT_NE(info.out.find("Pages:           24\n"), std::string::npos) << info.out << info.err;
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(rosters))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"2010年薪级花名册𠀀.xlsx", "审批表𠀀.pdf"}));
}
