// The JB form filled from roster rows: staff categories, both modes' labels, the rolling
// fallbacks, the workers' column and its reset, dates, failures.
#include "jb/jb_form.h"

#include "common/errors.h"
#include "jb_roster.h"
#include "report/json_dump.h"
#include "spreadsheet/spreadsheet_session.h"
#include "support/temp_folder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>

using namespace quvela;
using namespace quvela::test;
using quvela::jb::TJbPrnForm;

namespace {

constexpr double kMarginLeft = 15;
constexpr double kCivilX = 48.2 + kMarginLeft;  // the civil servants' value column
constexpr double kWorkerX = 143.4 + kMarginLeft; // inside the workers' value cells

const char *const kAmountLabels[] = {"l_gw1", "l_gw2", "m_gw1", "m_gw2", "l_xj1",
                                     "l_xj2", "m_xj1", "m_xj2", "l_ph1", "l_ph2"};

TJbcs settingsOf(int mode)
{
    TJbcs s;
    s.Mode = mode;
    s.FileNo = gbk::fromUtf8(mode == 0 ? "某人社(2007)49号" : "某人社(2007)196号");
    s.PrintDate = QDateTime(QDate(2010, 4, 7), QTime(0, 0));
    s.Issuer = gbk::fromUtf8("vodeve工资处制");
    return s;
}

// The labels of one page by name, texts in UTF-8.
struct Page
{
    std::map<std::string, report::ReportLabel> labels;

    std::string text(const std::string &name) const { return gbk::toUtf8(labels.at(name).text); }
    const report::ReportLabel &operator[](const std::string &name) const { return labels.at(name); }
};

Page pageOf(const report::RenderedPage &rendered)
{
    Page p;
    for (const report::ReportLabel &l : rendered.labels)
        if (!l.name.empty())
            p.labels[l.name] = l;
    return p;
}

class JbFormTest : public testing::Test
{
protected:
    void writeRows(const std::vector<SheetRow> &rows)
    {
        writeJbRoster(m_book, rows);
        m_sheet = std::make_unique<spreadsheet::SpreadsheetSession>();
        m_sheet->connect();
        m_sheet->open(m_book);
        m_sheet->bindWorkbook();
        m_sheet->bindFirstWorksheet();
    }

    Page form(int mode, const Cells &cells, const char *width = "78")
    {
        writeRows({{7, cells}});
        m_settings = settingsOf(mode);
        TJbPrnForm f(*m_sheet, 7, width, m_settings);
        return pageOf(f.run());
    }

    TempFolder m_dir;
    std::filesystem::path m_book = m_dir / "jb.xlsx";
    std::unique_ptr<spreadsheet::SpreadsheetSession> m_sheet;
    TJbcs m_settings;
};

std::string nameOf(const char *text)
{
    std::string name = text;
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

// ---- normal step: the category decides where the duty wage goes ----------------------

struct NormalCase
{
    const char *name;
    Cell oldDuty; // column 12
    Cell newDuty; // column 16
    const char *lgw1, *lgw2, *mgw1, *mgw2;
    const char *reason;
    bool workersColumn;
};

const NormalCase kNormalCases[] = {
    {"leading_830", 830.0, 1080.0, "830", "1080", "", "", "正常晋升级别工资", false},
    {"first_of_the_list_4000", 4000.0, 4000.0, "", "", "4000", "4000", "正常晋升级别工资", false},
    {"above_270_not_listed_590", 590.0, 640.0, "", "", "590", "640", "正常晋升级别工资", false},
    {"duty_wage_as_text", std::string("640"), std::string("830"), "640", "830", "", "", "正常晋升级别工资", false},
    {"top_grade_410", 410.0, 410.0, "高级技师", "高级技师", "410", "410", "正常增加岗位工资", true},
    {"technician_270", 270.0, 410.0, "技师", "技师", "270", "410", "正常增加岗位工资", true},
    {"junior_125", 125.0, 155.0, "初级工", "初级工", "125", "155", "正常增加岗位工资", true},
    {"empty_is_a_general_worker", std::monostate{}, 125.0, "普工", "普工", "", "125", "正常增加岗位工资", true},
    {"200_names_no_grade", 200.0, 200.0, "", "", "200", "200", "正常增加岗位工资", true},
};

class NormalStepCategory : public JbFormTest, public testing::WithParamInterface<NormalCase>
{
};

TEST_P(NormalStepCategory, FillsTheDutyWageLabels)
{
    const NormalCase &c = GetParam();
    Cells cells = normalStepPerson("张三");
    cells[12] = c.oldDuty;
    cells[16] = c.newDuty;
    const Page p = form(0, cells);
    EXPECT_EQ(p.text("l_gw1"), c.lgw1);
    EXPECT_EQ(p.text("l_gw2"), c.lgw2);
    EXPECT_EQ(p.text("m_gw1"), c.mgw1);
    EXPECT_EQ(p.text("m_gw2"), c.mgw2);
    EXPECT_EQ(p.text("lb_bdyy"), c.reason);
    for (const char *name : kAmountLabels)
        EXPECT_NEAR(p[name].x, c.workersColumn ? kWorkerX : kCivilX, 1e-9) << name;
    for (const char *name : {"l_gw1", "l_gw2"}) {
        EXPECT_EQ(p[name].align, c.workersColumn ? report::Align::Center : report::Align::Right) << name;
        EXPECT_EQ(p[name].autoWidth, c.workersColumn) << name;
    }
    for (const char *name : {"m_gw1", "l_xj1", "m_xj2", "l_ph2"}) {
        EXPECT_EQ(p[name].align, report::Align::Right) << name;
        EXPECT_FALSE(p[name].autoWidth) << name;
    }
    // The tops never move.
    EXPECT_NEAR(p["l_gw1"].y, p["m_gw1"].y - (43.9 - 36.0), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Amounts, NormalStepCategory, testing::ValuesIn(kNormalCases),
                         [](const testing::TestParamInfo<NormalCase> &p) { return nameOf(p.param.name); });

TEST_F(JbFormTest, NormalStepCopiesTheRow)
{
    Cells cells = normalStepPerson("张三");
    cells[4] = std::string(" 200805 ");
    cells[5] = std::string("20085");
    cells[6] = std::string("2008.05");
    const Page p = form(0, cells);
    const std::map<std::string, std::string> expected = {
        {"l_xm", "张三"},       {"l_xb", "男"},         {"l_whcd", "大学"},     {"l_csny", "2008.05"},
        {"l_gzny", "2008.5"},   {"l_tsny", "2008.05"},  {"lb_ndkh", "2008"},    {"zw0", "主任科员"},
        {"zw1", "主任科员"},    {"zw2", "主任科员"},    {"l_ny1", "2004.03"},   {"l_ny2", "2004.03"},
        {"l_xj1", "3"},         {"l_xj2", "4"},         {"m_xj1", "790"},       {"m_xj2", "850"},
        {"l_ph1", "1620"},      {"l_ph2", "1680"},      {"Lb_year", "2010 年 4 月 7 日"},
        {"lb_area", "vodeve工资处制"},
    };
    for (const auto &[name, text] : expected)
        EXPECT_EQ(p.text(name), text) << name;
}

// ---- rolling promotion ------------------------------------------------------------

struct RollingCase
{
    const char *name;
    Cells changes;
    const char *post, *lgw, *mgw, *lxj1, *mxj1, *lph1, *lph2;
};

const RollingCase kRollingCases[] = {
    {"leading_640", {}, "副主任科员", "640", "", "20-3", "1020", "1660", "1740"},
    {"non_leading_760", {{29, 760.0}}, "副主任科员", "", "760", "20-3", "1020", "1780", "1860"},
    {"no_worker_grade_410", {{29, 410.0}}, "副主任科员", "", "410", "20-3", "1020", "1430", "1510"},
    {"first_of_the_list_4000", {{29, 4000.0}}, "副主任科员", "", "4000", "20-3", "1020", "5020", "5100"},
    {"empty_duty_wage", {{29, std::monostate{}}}, "副主任科员", "", "0", "20-3", "1020", "1020", "1100"},
    {"post_blank", {{11, std::string("   ")}}, "科员", "640", "", "20-3", "1020", "1660", "1740"},
    {"post_empty", {{11, std::monostate{}}}, "科员", "640", "", "20-3", "1020", "1660", "1740"},
    // Column 12 empty: the former step and total come from columns 7 and 8, the former
    // rank wage still from column 13.
    {"former_step_empty", {{12, std::monostate{}}}, "副主任科员", "640", "", "21-3", "1020", "1600", "1740"},
    {"former_step_and_wage_empty", {{12, std::monostate{}}, {13, std::monostate{}}}, "副主任科员", "640", "",
     "21-3", "960", "1600", "1740"},
    // Blanks are an entry: no fallback.
    {"former_step_blank", {{12, std::string(" ")}}, "副主任科员", "640", "", " ", "1020", "1660", "1740"},
    // Column 13 empty beside a step: the printed wage falls back, the total takes 0.
    {"former_wage_empty", {{13, std::monostate{}}}, "副主任科员", "640", "", "20-3", "960", "640", "1740"},
    {"former_wage_as_text", {{13, std::string("1020")}}, "副主任科员", "640", "", "20-3", "1020", "1660", "1740"},
    {"sum_past_32_bits", {{13, 2147483000.0}, {29, 830.0}}, "副主任科员", "830", "", "20-3", "2147483000",
     "2147483830", "1930"},
};

class RollingPromotion : public JbFormTest, public testing::WithParamInterface<RollingCase>
{
};

TEST_P(RollingPromotion, FillsTheLabels)
{
    const RollingCase &c = GetParam();
    Cells cells = rollingPerson("李四");
    for (const auto &[column, value] : c.changes)
        cells[column] = value;
    const Page p = form(1, cells);
    for (const char *name : {"zw0", "zw1", "zw2"})
        EXPECT_EQ(p.text(name), c.post) << name;
    EXPECT_EQ(p.text("l_gw1"), c.lgw);
    EXPECT_EQ(p.text("l_gw2"), c.lgw);
    EXPECT_EQ(p.text("m_gw1"), c.mgw);
    EXPECT_EQ(p.text("m_gw2"), c.mgw);
    EXPECT_EQ(p.text("l_xj1"), c.lxj1);
    EXPECT_EQ(p.text("m_xj1"), c.mxj1);
    EXPECT_EQ(p.text("l_ph1"), c.lph1);
    EXPECT_EQ(p.text("l_ph2"), c.lph2);
    EXPECT_EQ(p.text("l_xj2"), "19-3");
    EXPECT_EQ(p.text("m_xj2"), "1100");
    for (const char *name : kAmountLabels)
        EXPECT_NEAR(p[name].x, kCivilX, 1e-9) << name;
}

INSTANTIATE_TEST_SUITE_P(Rows, RollingPromotion, testing::ValuesIn(kRollingCases),
                         [](const testing::TestParamInfo<RollingCase> &p) { return nameOf(p.param.name); });

TEST_F(JbFormTest, RollingPromotionCopiesTheRow)
{
    const Page p = form(1, rollingPerson("李四"));
    const std::map<std::string, std::string> expected = {
        {"l_xm", "李四"},       {"l_xb", "女"},        {"l_whcd", "研究生"},      {"l_csny", "1975.11"},
        {"l_gzny", "1996.08"},  {"l_tsny", "1996.08"}, {"lb_bdyy", "滚动级别工资"}, {"lb_ndkh", "2006"},
        {"l_ny1", "2006.1"},    {"l_ny2", "2006.1"},   {"Lb_year", "2010 年 4 月 7 日"},
        {"lb_area", "vodeve工资处制"},
    };
    for (const auto &[name, text] : expected)
        EXPECT_EQ(p.text(name), text) << name;
}

// ---- wording on the form ---------------------------------------------------------

TEST_F(JbFormTest, NormalStepWordingInThreeLines)
{
    const Page p = form(0, normalStepPerson("张三"));
    EXPECT_EQ(p.text("y1"), "根据某人社(2007)49号文件规定，该同志2008、2009年年度考核为称职，拟同意其正");
    EXPECT_EQ(p.text("y2"), "常增加一个级别工资档次，级别工资由 3 档 790 元晋升到 4 档 850 元，月增资 60 元");
    EXPECT_EQ(p.text("y3"), "，从 2010 年 1 月起执行。");
    EXPECT_EQ(p.text("y4"), "");
    EXPECT_EQ(p["y1"].text.size(), 74u);
    EXPECT_EQ(p["y2"].text.size(), 78u);
}

TEST_F(JbFormTest, WorkerWordingNamesTheGradeTwice)
{
    Cells cells = normalStepPerson("王五");
    cells[12] = 410.0;
    cells[16] = 410.0;
    const Page p = form(0, cells, "300");
    EXPECT_EQ(p.text("y1"), "根据某人社(2007)49号文件规定，该同志2008、2009年年度考核为称职，拟同意其正常增加一个"
                            "岗位工资档次，岗位工资由（高级技师）3 档 790 元晋升到（高级技师）4 档 850 元，月增资 "
                            "60 元，从 2010 年 1 月起执行。");
    EXPECT_EQ(p.text("y2") + p.text("y3") + p.text("y4"), "");
}

TEST_F(JbFormTest, WorkerWithoutGradeKeepsEmptyBrackets)
{
    Cells cells = normalStepPerson("王五");
    cells[12] = 200.0;
    const Page p = form(0, cells, "300");
    EXPECT_NE(p.text("y1").find("岗位工资由（）3 档 790 元晋升到（）4 档"), std::string::npos) << p.text("y1");
}

TEST_F(JbFormTest, RollingWordingKeepsCharactersWhole)
{
    const Page p = form(1, rollingPerson("李四"));
    EXPECT_EQ(p.text("y1"), "根据某人社(2007)196号文件规定，该同志2010年达到级别工资套改表规定的上一级");
    EXPECT_EQ(p["y1"].text.size(), 73u);
    EXPECT_EQ(p.text("y2").rfind("别套改年限", 0), 0u) << p.text("y2");
    EXPECT_EQ(p.text("y1") + p.text("y2") + p.text("y3") + p.text("y4"),
              "根据某人社(2007)196号文件规定，该同志2010年达到级别工资套改表规定的上一级别套改年限（或任职年限），"
              "拟同意其晋升一个级别，级别工资由 20-3 档 1020 元晋升为 19-3 档 1100 元，月增资 80 元，从 2010 年 1 "
              "月起执行。");
}

TEST_F(JbFormTest, WidthZeroPutsTheWholeWordingIntoLineFour)
{
    const Page p = form(0, normalStepPerson("张三"), "0");
    EXPECT_EQ(p.text("y1") + p.text("y2") + p.text("y3"), "");
    EXPECT_EQ(p["y4"].text.size(), 177u);
}

// ---- each form from the design layout ---------------------------------------------

std::map<std::string, QJsonObject> dumpedLabels(const report::RenderedPage &page)
{
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(report::pageJson(page)));
    std::map<std::string, QJsonObject> out;
    for (const QJsonValue &v : doc.object().value(QStringLiteral("labels")).toArray()) {
        const QJsonObject l = v.toObject();
        out[l.value(QStringLiteral("name")).toString().toStdString()] = l;
    }
    return out;
}

TEST_F(JbFormTest, WorkersColumnInTheDumpAndBackOnTheNextForm)
{
    Cells worker = normalStepPerson("王五");
    worker[12] = 410.0;
    worker[16] = 410.0;
    writeRows({{7, worker}, {8, normalStepPerson("张三")}});
    m_settings = settingsOf(0);

    TJbPrnForm first(*m_sheet, 7, "78", m_settings);
    const std::string once = report::pageJson(first.run());
    // The engine may fill a page more than once: the same page again.
    EXPECT_EQ(report::pageJson(first.run()), once);
    std::map<std::string, QJsonObject> labels = dumpedLabels(first.run());
    for (const char *name : kAmountLabels)
        EXPECT_NEAR(labels[name].value(QStringLiteral("x_mm")).toDouble(), kWorkerX, 1e-3) << name;
    EXPECT_EQ(labels["l_gw1"].value(QStringLiteral("align")).toString(), QStringLiteral("center"));
    EXPECT_TRUE(labels["l_gw2"].value(QStringLiteral("auto_width")).toBool());
    // Automatic width: as wide as 高级技师 at 10 points, not the design's 12.2 mm.
    EXPECT_LT(std::abs(labels["l_gw1"].value(QStringLiteral("width_mm")).toDouble() - 12.2), 12.2);
    EXPECT_NE(labels["l_gw1"].value(QStringLiteral("width_mm")).toDouble(), 12.2);

    TJbPrnForm next(*m_sheet, 8, "78", m_settings);
    labels = dumpedLabels(next.run());
    for (const char *name : kAmountLabels)
        EXPECT_NEAR(labels[name].value(QStringLiteral("x_mm")).toDouble(), kCivilX, 1e-3) << name;
    EXPECT_EQ(labels["l_gw1"].value(QStringLiteral("align")).toString(), QStringLiteral("right"));
    EXPECT_FALSE(labels["l_gw1"].value(QStringLiteral("auto_width")).toBool());
    EXPECT_NEAR(labels["l_gw1"].value(QStringLiteral("width_mm")).toDouble(), 12.2, 1e-3);
    EXPECT_EQ(labels["l_gw1"].value(QStringLiteral("text")).toString(), QStringLiteral("830"));
}

TEST_F(JbFormTest, ModeOfTheSettingsChoosesTheLayout)
{
    // The rolling person read as a normal step: its column 12 "20-3" is no integer.
    writeRows({{7, rollingPerson("李四")}});
    m_settings = settingsOf(0);
    TJbPrnForm f(*m_sheet, 7, "78", m_settings);
    EXPECT_THROW(f.run(), ConversionError);
    m_settings.Mode = 1;
    EXPECT_EQ(gbk::toUtf8(pageOf(f.run()).labels.at("lb_bdyy").text), "滚动级别工资");
}

// ---- failures: the form is not made ------------------------------------------------

struct FailureCase
{
    const char *name;
    int mode;
    int column;
    Cell value;
    const char *width;
    const char *message;
};

const FailureCase kFailures[] = {
    {"normal_duty_wage_with_unit", 0, 12, std::string("410元"), "78", "'410元' is not a valid integer value"},
    {"rolling_duty_wage_text", 1, 29, std::string("无"), "78", "'无' is not a valid integer value"},
    {"rolling_former_wage_text", 1, 13, std::string("x1020"), "78", "'x1020' is not a valid integer value"},
    {"rolling_new_wage_text", 1, 18, std::string("1100元"), "78", "'1100元' is not a valid integer value"},
    {"width_empty", 0, 2, std::string("张三"), "", "'' is not a valid integer value"},
    {"width_not_a_number", 1, 2, std::string("李四"), "7a", "'7a' is not a valid integer value"},
};

class JbFormFailure : public JbFormTest, public testing::WithParamInterface<FailureCase>
{
};

TEST_P(JbFormFailure, RaisesTheConversionError)
{
    const FailureCase &c = GetParam();
    Cells cells = c.mode == 0 ? normalStepPerson("张三") : rollingPerson("李四");
    cells[c.column] = c.value;
    writeRows({{7, cells}});
    m_settings = settingsOf(c.mode);
    TJbPrnForm f(*m_sheet, 7, c.width, m_settings);
    try {
        f.run();
        FAIL() << "no error";
    } catch (const ConversionError &e) {
        EXPECT_EQ(gbk::toUtf8(e.message()), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(Cells, JbFormFailure, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase> &p) { return nameOf(p.param.name); });

TEST_F(JbFormTest, TextColumnsTakeAnyText)
{
    Cells cells = normalStepPerson("张三");
    cells[14] = std::string("七百九");
    cells[16] = std::string("八三零元");
    const Page p = form(0, cells);
    EXPECT_EQ(p.text("m_xj1"), "七百九");
    EXPECT_EQ(p.text("l_gw2"), "八三零元");
}

TEST_F(JbFormTest, NoDesignTextReachesThePaper)
{
    for (int mode : {0, 1}) {
        const Page p = form(mode, mode == 0 ? normalStepPerson("张三") : rollingPerson("李四"));
        for (const auto &[name, label] : p.labels) {
            const std::string t = gbk::toUtf8(label.text);
            EXPECT_EQ(t.find('&'), std::string::npos) << name << ": " << t;
            EXPECT_NE(t, name);
        }
    }
}

} // namespace
