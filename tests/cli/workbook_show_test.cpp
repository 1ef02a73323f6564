// quvela-batch workbook show, run as a whole program on real workbook files.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

ProgramRun runShow(const std::vector<std::string> &options)
{
    QStringList args{QStringLiteral("workbook"), QStringLiteral("show")};
    for (const std::string &o : options)
        args << QString::fromStdString(o);
    QProcess process;
    process.start(QStringLiteral(QUVELA_BINARY_DIR "/bin/quvela-batch"), args);
    ProgramRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) {
            result.push_back(text.substr(begin) + "<no line end>");
            break;
        }
        result.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    return result;
}

const std::string kSource = QUVELA_SOURCE_DIR;
const std::string kXjRoster = kSource + "/examples/xj-roster.xlsx";
const std::string kXlsCells = kSource + "/tests/spreadsheet/xls_fixtures/xlwt_cells.xls";

struct ShowCase
{
    const char *name;
    std::vector<std::string> options;
    std::vector<std::string> expected;
};

class WorkbookShow : public testing::TestWithParam<ShowCase>
{
};

TEST_P(WorkbookShow, PrintsTheRowsExactly)
{
    const ProgramRun run = runShow(GetParam().options);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(lines(run.out), GetParam().expected);
}

std::string columnNumbers(int row, int count)
{
    std::string line = std::to_string(row);
    for (int i = 1; i <= count; ++i)
        line += '\t' + std::to_string(i);
    return line;
}

INSTANTIATE_TEST_SUITE_P(
    Rosters, WorkbookShow,
    testing::Values(
        // The title is the top-left cell of a merged range; the blank row has no cells;
        // the column numbers row and a person's row of the XJ layout; formula totals show
        // their cached results; columns Y-AC of the person are empty but AD-AF are not.
        ShowCase{"xlsx_title_and_first_person",
                 {"--workbook", kXjRoster, "--rows", "5-7"},
                 {"5", columnNumbers(6, 32),
                  "7\t1\t冯晨\t男\t197110\t199603\t199605\t优秀\t二级教师\t2009.01\t1614\t10\t500\t36\t904\t90\t120"
                  "\t1614\t10\t500\t36\t904\t90\t120\t0\t\t\t\t\t\t2\t0\t初中"}},
        ShowCase{"xlsx_rows_past_the_last",
                 {"--workbook", kXjRoster, "--rows", "31-33"},
                 // The totals row stores the sums of the rows above (J and Q 25455).
                 {"31\t\t合计\t\t\t\t\t\t\t\t25455\t\t\t\t\t\t\t25455\t\t\t\t\t\t\t0\t\t\t\t0", "32", "33"}},
        // Text, whole numbers, fractions, dates under built-in and custom formats,
        // booleans and errors, texts with leading blanks and outside the BMP.
        ShowCase{"xls_values",
                 {"--workbook", kXlsCells, "--rows", "1-9"},
                 {"1\t姓名\t工资\t薪级\t日期\t备注",
                  "2\t张三\t1200\t15\t2024-1-31\t  有空格  ",
                  "3\t李四\t1234.5\t-7\t1900-2-28\tASCII text",
                  "4\t王五\t0.3\t536870911\t2000-3-1\t𠀀 outside BMP",
                  "5\t赵六\t12.34\t536870912\t2023-12-31 8:30:00",
                  "6\tTRUE\tFALSE\t#DIV/0!\t#N/A",
                  "7\t2023-3-15\t2023-3-15\t1234.5\t3",
                  "8\t0.00001\t-0.005\t123456789012",
                  "9"}}),
    [](const testing::TestParamInfo<ShowCase> &param) { return std::string(param.param.name); });

TEST(WorkbookShowAll, DefaultRangeEndsAtTheLastRowWithCells)
{
    const ProgramRun xlsx = runShow({"--workbook", kXjRoster});
    ASSERT_EQ(xlsx.exitCode, 0) << xlsx.err;
    const auto xlsxLines = lines(xlsx.out);
    ASSERT_EQ(xlsxLines.size(), 31u);
    EXPECT_EQ(xlsxLines.front(), "1\t2010年事业单位工作人员正常增加薪级工资花名册");

    const ProgramRun xls = runShow({"--workbook", kXlsCells});
    ASSERT_EQ(xls.exitCode, 0) << xls.err;
    const auto xlsLines = lines(xls.out);
    ASSERT_EQ(xlsLines.size(), 65536u);
    EXPECT_EQ(xlsLines[9], "10" + std::string(255, '\t') + "\tIV 列");
    EXPECT_EQ(xlsLines.back(), "65536\t最后一行");
}

// Texts holding a line break, a tab or a backslash must not split or shift the row.
TEST(WorkbookShowText, ControlCharactersAreEscapedAndEmptyTailCellsDropped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string file = dir.filePath(QStringLiteral("escapes.xlsx")).toStdString();
    lxw_workbook *workbook = workbook_new(file.c_str());
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "名单");
    worksheet_write_string(sheet, 0, 0, "应发\n工资", nullptr);
    worksheet_write_string(sheet, 0, 1, "a\tb", nullptr);
    worksheet_write_string(sheet, 0, 2, "C:\\工资\\r", nullptr);
    worksheet_write_string(sheet, 0, 3, "x\r\ny", nullptr);
    worksheet_write_number(sheet, 2, 4, 0.1 + 0.2, nullptr);
    worksheet_write_formula_num(sheet, 3, 1, "=1/3", nullptr, 1.0 / 3);
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    // Styled cells without a value come after the last cell with one.
    worksheet_write_blank(sheet, 3, 5, bold);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    const ProgramRun run = runShow({"--workbook", file});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(lines(run.out), (std::vector<std::string>{
                                  "1\t应发\\n工资\ta\\tb\tC:\\\\工资\\\\r\tx\\r\\ny",
                                  "2",
                                  "3\t\t\t\t\t0.3",
                                  "4\t\t0.333333333333333",
                              }));
}

struct FailureCase
{
    const char *name;
    std::vector<std::string> options;
    int exitCode;
    const char *stderrHolds;
};

class WorkbookShowFailure : public testing::TestWithParam<FailureCase>
{
};

TEST_P(WorkbookShowFailure, ExitsWithAMessageAndNoOutput)
{
    std::vector<std::string> options = GetParam().options;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string notAWorkbook = dir.filePath(QStringLiteral("notes.xlsx")).toStdString();
    std::ofstream(notAWorkbook) << "姓名,工资\n张三,1200\n";
    for (std::string &o : options) {
        if (o == "@text")
            o = notAWorkbook;
    }
    const ProgramRun run = runShow(options);
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().stderrHolds), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, WorkbookShowFailure,
    testing::Values(
        FailureCase{"missing_file", {"--workbook", kSource + "/examples/no-such.xlsx"}, 1, "no-such.xlsx"},
        FailureCase{"text_named_xlsx", {"--workbook", "@text"}, 1, "不是 Excel 工作簿"},
        FailureCase{"encrypted", {"--workbook", kSource + "/tests/spreadsheet/xls_fixtures/encrypted.xls"}, 1,
                    "密码"},
        FailureCase{"no_workbook_option", {}, 2, "missing option --workbook"},
        FailureCase{"unknown_option", {"--workbook", kXjRoster, "--sheet", "2"}, 2, "unknown option --sheet"},
        FailureCase{"rows_malformed", {"--workbook", kXjRoster, "--rows", "7"}, 2, "--rows"},
        FailureCase{"rows_reversed", {"--workbook", kXjRoster, "--rows", "9-7"}, 2, "--rows"},
        FailureCase{"rows_past_a_worksheet", {"--workbook", kXjRoster, "--rows", "1-1048577"}, 2, "--rows"},
        // A usage error is found before the file is looked at.
        FailureCase{"rows_reversed_missing_file", {"--workbook", "/no/such.xlsx", "--rows", "9-7"}, 2, "--rows"}),
    [](const testing::TestParamInfo<FailureCase> &param) { return std::string(param.param.name); });

} // namespace
