#include "common/column_map.h"
#include "xj/roster_workbook.h"
#include "xj/xj_columns.h"
#include "xj/xj_import.h"
#include "xj/xj_program_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <optional>

using namespace quvela;
using namespace quvela::xj;
using namespace quvela::test;

namespace {

const char *const kQuestion = "ask: 读入Excel表时将清除上表所有显示调资数据？\n\n"
                              "是－清除上表数据并从Excel表读入调资数据，否－返回";
const char *const kWait = "wait: 正在读入数据，请稍等......";
const char *const kYearMonthRule = "年月格式:yyyymm或yyyy.mm, 有无分隔符均可，分隔符长度只能一位";

std::string textOf(const XjRecord &r, int field)
{
    const XjColumn &c = kXjColumns[std::size_t(field - 1)];
    return c.integer ? std::to_string(r.*c.integer) : gbk::toUtf8(r.*c.text);
}

class XjImport : public XjProgramFolder
{
protected:
    std::filesystem::path book = dir / "roster.xlsx";

    ImportResult run(std::string_view start, std::string_view end)
    {
        prompts.fileChoices.push_back(gbk::fromPath(book));
        return importRoster(prompts, ini, settings, start, end, *table);
    }

    // Row 7 holds one person with `field` set to `cell`; imports rows 7 to 7.
    ImportResult runOneCell(int field, const Cell &cell)
    {
        Cells cells = person(1, "张三");
        cells[field] = cell;
        writeRoster(book, {{7, cells}});
        return run("7", "7");
    }

    // The messages of the column rules (plain boxes with the application title).
    std::vector<std::string> cellMessages() const
    {
        std::vector<std::string> texts;
        for (const auto &s : prompts.shown)
            if (s.kind == "message" && s.caption.empty() && s.icon == MessageIcon::None)
                texts.push_back(gbk::toUtf8(s.text));
        return texts;
    }
};

} // namespace

TEST_F(XjImport, StoresARosterRowAndShowsTheStepsInOrder)
{
    writeRoster(book, {{7, person(1, "张三")}, {8, person(2, "李四")}});
    const ImportResult result = run("7", "8");
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.rowsStored, 2);

    const std::vector<std::string> expected = {kQuestion, "file: " + gbk::toUtf8(settings.ProgramDir), kWait};
    EXPECT_EQ(shownLog(), expected);
    EXPECT_EQ(gbk::toUtf8(prompts.shown[0].caption), "薪级调整");
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(prompts.waitWindowsOpen, 0);
    EXPECT_EQ(ini.readString("xtcs", "excelFileName", "-"), gbk::fromPath(book));

    const auto rows = storedRows();
    ASSERT_EQ(rows.size(), 2u);
    const std::vector<std::string> first = {"1", "张三", "男", "1970.05", "199107", "199107", "合格", "科员",
                                            "2005.07", "714", "8", "590", "4", "113", "11", "0", "714", "8",
                                            "590", "4", "113", "11", "0", "0", "0", "0", "0", "0", "", "2",
                                            "1", "大学"};
    for (int field = 1; field <= 32; ++field)
        EXPECT_EQ(textOf(rows[0], field), first[std::size_t(field - 1)]) << kXjColumnNames[std::size_t(field - 1)];
    EXPECT_EQ(rows[1].xh, 2);
    EXPECT_EQ(gbk::toUtf8(rows[1].xm), "李四");
}

TEST_F(XjImport, IntegerCells)
{
    struct Case
    {
        int field;
        Cell cell;
        std::optional<int32_t> stored; // nothing: the import stops with message
        const char *message;
    };
    const Case cases[] = {
        {1, 12.0, 12, nullptr},
        {1, std::string("12a"), std::nullopt, "12a,序号必须是数字！"},
        {1, 12.5, std::nullopt, "12.5,序号必须是数字！"},
        {10, std::string(" 34"), 34, nullptr},
        {10, std::string("34 "), std::nullopt, "34 ,合计必须是数字！"},
        {12, std::string("-2147483648"), std::numeric_limits<int32_t>::min(), nullptr},
        {12, std::string("2147483647"), std::numeric_limits<int32_t>::max(), nullptr},
        {12, std::string("2147483648"), std::nullopt, "2147483648,岗位工资必须是数字！"},
        {28, 1e10, std::nullopt, "10000000000,补发工资必须是数字！"},
        {13, std::string("+5"), 5, nullptr},
        {13, -3.0, -3, nullptr},
        {14, std::string("0x1F"), std::nullopt, "0x1F,薪级工资必须是数字！"},
        {14, std::string("1,200"), std::nullopt, "1,200,薪级工资必须是数字！"},
        {15, std::monostate{}, 0, nullptr},
        {15, std::string("   "), 0, nullptr},
        {31, std::string("是"), std::nullopt, "是,是否调资必须是数字！"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "field " << c.field << ": " << (c.message ? c.message : "stored"));
        prompts = {};
        const ImportResult result = runOneCell(c.field, c.cell);
        const auto rows = storedRows();
        if (c.stored) {
            EXPECT_TRUE(result.completed);
            ASSERT_EQ(rows.size(), 1u);
            EXPECT_EQ(rows[0].*kXjColumns[std::size_t(c.field - 1)].integer, *c.stored);
            EXPECT_TRUE(cellMessages().empty());
        } else {
            EXPECT_FALSE(result.completed);
            EXPECT_TRUE(rows.empty()) << "the row being filled is discarded";
            EXPECT_EQ(cellMessages(), std::vector<std::string>{c.message});
        }
        EXPECT_EQ(prompts.waitWindowsOpen, 0);
    }
}

TEST_F(XjImport, EveryIntegerColumnNamesItsLabel)
{
    const std::pair<int, const char *> labels[] = {
        {1, "序号"},      {10, "合计"},     {12, "岗位工资"}, {13, "薪级等级"}, {14, "薪级工资"},
        {15, "10%工资"},  {16, "其它工资"}, {17, "合计"},     {19, "岗位工资"}, {20, "薪级等级"},
        {21, "薪级工资"}, {22, "10%工资"},  {23, "其它工资"}, {24, "增资合计"}, {25, "薪级增资"},
        {26, "10%增资"},  {27, "其它增资"}, {28, "补发工资"}, {30, "职务类别"}, {31, "是否调资"},
    };
    for (const auto &[field, label] : labels) {
        prompts = {};
        runOneCell(field, std::string("7x"));
        EXPECT_EQ(cellMessages(), std::vector<std::string>{std::string("7x,") + label + "必须是数字！"})
            << "field " << field;
    }
}

TEST_F(XjImport, TextAndYearMonthCells)
{
    struct Case
    {
        int field;
        Cell cell;
        const char *stored; // nullptr: the import stops with message
        const char *message;
    };
    const std::string longYm = std::string("2010-5-1,") + kYearMonthRule;
    const std::string eightBytes = std::string("abcdefgh,") + kYearMonthRule;
    const Case cases[] = {
        {2, std::string("甲乙丙丁"), "甲乙丙丁", nullptr},
        {2, std::string("甲乙丙丁戊"), nullptr, "甲乙丙丁戊,姓名最长4个汉字！"},
        {2, std::string(" 张三 "), " 张三 ", nullptr},
        {2, std::string(" 甲乙丙丁 "), " 甲乙丙丁 ", nullptr},
        {3, std::string("X"), "X", nullptr},
        {3, std::string("男性"), nullptr, "男性,性别只能是1个汉字：男或女！"},
        {4, std::string("2010.05"), "2010.05", nullptr},
        {5, 201005.0, "201005", nullptr},
        {6, std::string("2010-5-1"), nullptr, longYm.c_str()},
        {9, std::string(" 2010.5 "), " 2010.5 ", nullptr},
        {9, std::string("abcdefgh"), nullptr, eightBytes.c_str()},
        {4, std::monostate{}, "", nullptr},
        {7, std::string("基本合格"), "基本合格", nullptr},
        {7, std::string("基本称职合格"), nullptr, "基本称职合格,年度考核最长5个汉字！"},
        {8, std::string("县人民医院内科副主任医师兼科长"), "县人民医院内科副主任医师兼科长", nullptr},
        {8, std::string("县人民医院内科副主任医师兼科长职"), nullptr, "县人民医院内科副主任医师兼科长职,职务最长15个汉字！"},
        {11, std::string("专业技术十级岗位"), "专业技术十级岗位", nullptr},
        {11, std::string("专业技术十级岗位X"), nullptr, "专业技术十级岗位X,岗位等级最长8个汉字！"},
        {18, std::string("管理九级职员岗位等级"), nullptr, "管理九级职员岗位等级,岗位等级最长8个汉字！"},
        {29, std::string("新调入人员补发工资"), nullptr, "新调入人员补发工资,备注最长8个汉字！"},
        {29, std::string("  "), "", nullptr},
        {32, std::string("硕士研究生"), "硕士研究生", nullptr},
        {32, std::string("博士研究生学历"), nullptr, "博士研究生学历,文化程度最长5个汉字！"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "field " << c.field << ": " << (c.stored ? c.stored : c.message));
        prompts = {};
        const ImportResult result = runOneCell(c.field, c.cell);
        const auto rows = storedRows();
        if (c.stored) {
            EXPECT_TRUE(result.completed);
            ASSERT_EQ(rows.size(), 1u);
            EXPECT_EQ(textOf(rows[0], c.field), c.stored);
            EXPECT_TRUE(cellMessages().empty());
        } else {
            EXPECT_FALSE(result.completed);
            EXPECT_TRUE(rows.empty());
            EXPECT_EQ(cellMessages(), std::vector<std::string>{c.message});
        }
    }
}

TEST_F(XjImport, TheFirstBadCellInFillingOrderIsReported)
{
    // A bad value of each field's kind.
    const auto bad = [](int field) -> Cell {
        if (kXjColumns[std::size_t(field - 1)].integer)
            return std::string("n") + std::to_string(field);
        if (field == 4 || field == 5 || field == 6 || field == 9)
            return std::string("2010-05-") + std::to_string(field);
        return std::string("一二三四五六七八九十一二三四五六七八九十") + std::to_string(field);
    };
    struct Case
    {
        int a, b;     // two bad fields
        int reported; // the one whose message comes
    };
    const Case cases[] = {
        {1, 2, 1},   {2, 3, 2},   {6, 9, 6},   {9, 7, 9},   {7, 8, 7},   {8, 11, 8}, {11, 18, 11},
        {18, 10, 18}, {10, 12, 10}, {23, 24, 23}, {28, 29, 28}, {29, 30, 29}, {31, 32, 31},
    };
    for (const Case &c : cases) {
        prompts = {};
        Cells cells = person(1, "张三");
        cells[c.a] = bad(c.a);
        cells[c.b] = bad(c.b);
        writeRoster(book, {{7, cells}});
        run("7", "7");
        const auto messages = cellMessages();
        ASSERT_EQ(messages.size(), 1u) << c.a << " and " << c.b;
        EXPECT_EQ(messages[0].rfind(std::get<std::string>(bad(c.reported)) + ",", 0), 0u)
            << c.a << " and " << c.b << ": " << messages[0];
    }
}

TEST_F(XjImport, RowsWithoutSequenceNumberOrNameAreSkipped)
{
    Cells noNumber = person(2, "李四");
    noNumber.erase(1);
    noNumber[10] = std::string("bad"); // never read: the row is skipped first
    Cells blankNumber = person(3, "王五");
    blankNumber[1] = std::string("  ");
    Cells noName = person(4, "");
    noName.erase(2);
    Cells blankName = person(5, " \t ");
    writeRoster(book, {{7, person(1, "张三")}, {8, noNumber}, {9, blankNumber}, {10, noName}, {11, blankName},
                       {12, person(6, "赵六")}});
    const ImportResult result = run("7", "12");
    EXPECT_TRUE(result.completed);
    const auto rows = storedRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].xh, 1);
    EXPECT_EQ(rows[1].xh, 6);
    EXPECT_TRUE(cellMessages().empty());
}

TEST_F(XjImport, ABadCellKeepsTheRowsStoredBefore)
{
    table->append(XjRecord{.xh = 99});
    Cells badRow = person(3, "王五");
    badRow[29] = std::string("这个备注实在是太长了");
    writeRoster(book, {{7, person(1, "张三")}, {8, person(2, "李四")}, {9, badRow}, {10, person(4, "赵六")}});
    const ImportResult result = run("7", "10");
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(result.rowsStored, 2);
    const auto rows = storedRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].xh, 1);
    EXPECT_EQ(rows[1].xh, 2);
    EXPECT_EQ(shownLog().back(), "message: 这个备注实在是太长了,备注最长8个汉字！");
    EXPECT_EQ(prompts.waitWindowsOpen, 0);
    // The table is free again: another import can run.
    prompts = {};
    writeRoster(book, {{7, person(5, "钱七")}});
    EXPECT_TRUE(run("7", "7").completed);
    EXPECT_EQ(storedRows().size(), 1u);
}

TEST_F(XjImport, RowRangeCheck)
{
    struct Case
    {
        const char *start, *end;
        int messages;
        RangeBox focus;
    };
    const Case cases[] = {
        {"6", "9", 1, RangeBox::Start}, {"7", "6", 1, RangeBox::End}, {"0", "-1", 2, RangeBox::End},
        {"-7", "20", 1, RangeBox::Start},
    };
    table->append(XjRecord{.xh = 99});
    for (const Case &c : cases) {
        prompts = {};
        const ImportResult result = run(c.start, c.end);
        EXPECT_EQ(result.focus, c.focus) << c.start << "-" << c.end;
        EXPECT_FALSE(result.completed);
        ASSERT_EQ(int(prompts.shown.size()), c.messages) << c.start << "-" << c.end << ": nothing else is shown";
        for (const auto &s : prompts.shown) {
            EXPECT_EQ(gbk::toUtf8(s.text), "开始行号不能小于7 ！");
            EXPECT_EQ(gbk::toUtf8(s.caption), "薪级调整");
            EXPECT_EQ(s.icon, MessageIcon::Error);
        }
    }
    EXPECT_EQ(storedRows().size(), 1u);
    EXPECT_EQ(ini.readString("xtcs", "excelFileName", "-"), "-");

    // Texts that are not whole numbers pass the check and reach the question.
    for (const char *text : {"", "abc", "7.5"}) {
        prompts = {};
        prompts.answers = {Answer::No};
        const ImportResult result = run(text, text);
        EXPECT_EQ(result.focus, RangeBox::None) << text;
        EXPECT_EQ(shownLog(), std::vector<std::string>{kQuestion}) << text;
    }
}

TEST_F(XjImport, AnsweringNoChangesNothing)
{
    table->append(XjRecord{.xh = 99});
    writeRoster(book, {{7, person(1, "张三")}});
    prompts.answers = {Answer::No};
    EXPECT_FALSE(run("7", "7").completed);
    EXPECT_EQ(shownLog(), std::vector<std::string>{kQuestion});
    EXPECT_EQ(storedRows().at(0).xh, 99);
    EXPECT_EQ(ini.readString("xtcs", "excelFileName", "-"), "-");
}

TEST_F(XjImport, ACancelledFileChoiceIsRememberedAndKeepsTheTable)
{
    table->append(XjRecord{.xh = 99});
    writeRoster(book, {{7, person(1, "张三")}});
    // First import of the run, cancelled: the dialog holds no name.
    prompts.fileChoices = {GbkString()};
    EXPECT_FALSE(importRoster(prompts, ini, settings, "7", "7", *table).completed);
    EXPECT_EQ(ini.readString("xtcs", "excelFileName", "-"), "");
    EXPECT_EQ(shownLog().back(), "message: 请选择EXCEL数据表格！");
    EXPECT_EQ(storedRows().at(0).xh, 99);

    // Chosen, then cancelled later: the dialog still holds the name chosen before.
    prompts.fileChoices = {gbk::fromPath(book)};
    EXPECT_TRUE(importRoster(prompts, ini, settings, "7", "7", *table).completed);
    prompts.fileChoices = {GbkString()};
    writeRoster(book, {{7, person(5, "钱七")}});
    EXPECT_TRUE(importRoster(prompts, ini, settings, "7", "7", *table).completed);
    EXPECT_EQ(storedRows().at(0).xh, 5);
    EXPECT_EQ(ini.readString("xtcs", "excelFileName", "-"), gbk::fromPath(book));
}

TEST_F(XjImport, AFileThatIsNoWorkbookKeepsTheTable)
{
    table->append(XjRecord{.xh = 99});
    std::ofstream(dir / "notes.xlsx") << "not a workbook";
    for (const auto &file : {dir / "missing.xlsx", dir / "notes.xlsx", dir.path()}) {
        prompts = {};
        prompts.fileChoices = {gbk::fromPath(file)};
        EXPECT_FALSE(importRoster(prompts, ini, settings, "7", "7", *table).completed);
        EXPECT_EQ(shownLog().back(), "message: 请选择EXCEL数据表格！") << file;
        EXPECT_EQ(prompts.shown.back().caption, "");
        EXPECT_EQ(storedRows().at(0).xh, 99) << file;
        EXPECT_EQ(ini.readString("xtcs", "excelFileName", "-"), gbk::fromPath(file));
    }
}

TEST_F(XjImport, AnEndBeforeTheStartEmptiesTheTable)
{
    table->append(XjRecord{.xh = 99});
    writeRoster(book, {{7, person(1, "张三")}, {8, person(2, "李四")}, {9, person(3, "王五")}});
    EXPECT_TRUE(run("9", "8").completed);
    EXPECT_TRUE(storedRows().empty());
    EXPECT_EQ(shownLog().back(), kWait);
}

TEST_F(XjImport, RowBoxesWithoutANumberStopInTheErrorBox)
{
    writeRoster(book, {{7, person(1, "张三")}});
    const std::pair<const char *, const char *> cases[] = {{"", "7"}, {"7", ""}, {"7", "abc"}};
    for (const auto &[start, end] : cases) {
        table->append(XjRecord{.xh = 99});
        prompts = {};
        EXPECT_FALSE(run(start, end).completed);
        ASSERT_FALSE(prompts.shown.empty());
        EXPECT_EQ(prompts.shown.back().kind, "error") << start << "-" << end;
        EXPECT_NE(gbk::toUtf8(prompts.shown.back().text).find("is not a valid integer value"), std::string::npos);
        EXPECT_TRUE(storedRows().empty()) << "the table was cleared before the rows were read";
        EXPECT_EQ(prompts.waitWindowsOpen, 0);
    }
}

TEST_F(XjImport, ColumnMap)
{
    // Name in column C, sex in column B.
    Cells cells = person(1, "男");
    cells[3] = std::string("张三");
    writeRoster(book, {{7, cells}});
    settings.ColumnMap = CompleteColumnMap("010302", 32);
    EXPECT_TRUE(run("7", "7").completed);
    ASSERT_EQ(storedRows().size(), 1u);
    EXPECT_EQ(gbk::toUtf8(storedRows()[0].xm), "张三");
    EXPECT_EQ(gbk::toUtf8(storedRows()[0].xb), "男");

    // A pair that is not a number stops after the table was cleared, in the error box.
    prompts = {};
    settings.ColumnMap = CompleteColumnMap("01x2", 32);
    EXPECT_FALSE(run("7", "7").completed);
    EXPECT_EQ(shownLog().back(), "error: 'x2' is not a valid integer value");
    EXPECT_TRUE(storedRows().empty());
    EXPECT_EQ(prompts.waitWindowsOpen, 0);

    // Column 00 names no worksheet column.
    prompts = {};
    settings.ColumnMap = CompleteColumnMap("0100", 32);
    EXPECT_FALSE(run("7", "7").completed);
    EXPECT_EQ(prompts.shown.back().kind, "error");
}

TEST_F(XjImport, ARangeBeyondTheLastWorksheetRowEnds)
{
    // Without an end at the last worksheet row this would read empty rows for hours.
    writeRoster(book, {{7, person(1, "张三")}});
    EXPECT_TRUE(run("7", "2147483647").completed);
    EXPECT_EQ(storedRows().size(), 1u);
}

TEST_F(XjImport, TheExampleRoster)
{
    book = std::filesystem::path(QUVELA_SOURCE_DIR) / "examples" / "xj-roster.xlsx";
    EXPECT_TRUE(run("7", "31").completed);
    const auto rows = storedRows();
    ASSERT_EQ(rows.size(), 24u) << "row 31 holds the totals, without sequence number";
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].xh, int(i) + 1);
    EXPECT_TRUE(cellMessages().empty());
}
