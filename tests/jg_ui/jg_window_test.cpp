// The JG window: its controls and tab order, the settings it loads and "退出" saves, the
// circular printed from the record, the digit boxes and the help pane.
#include "jg_window_fixture.h"

#include "support/tool_window_checks.h"

#include "roster_tools/ui/workbook_view.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace quvela;
using namespace quvela::test;
using quvela::jg::TJgMainForm;

namespace {

TEST_F(JgWindowTest, FreshInstallationShowsTheDefaults)
{
    open();
    EXPECT_EQ(window->objectName(), QStringLiteral("JgMainForm"));
    EXPECT_EQ(text("edFile"), QStringLiteral("zar(2007)71号"));
    EXPECT_EQ(text("edArea"), QStringLiteral("vodeve工资处制"));
    EXPECT_EQ(text("edStart"), QStringLiteral("7"));
    EXPECT_EQ(text("edEnd"), QStringLiteral("7"));
    EXPECT_EQ(text("edWidth"), QStringLiteral("78"));
    EXPECT_EQ(child<QDateEdit>("dtPrint")->date(), QDate::currentDate());
    EXPECT_EQ(gbk::toUtf8(jgcs.ProgramDir), dir.path().string());
    EXPECT_FALSE(std::filesystem::exists(dir / "gwyzwgz.ini"));
}

TEST_F(JgWindowTest, CreationLoadsTheStoredSettings)
{
    storeSettings();
    open();
    EXPECT_EQ(text("edFile"), QStringLiteral("某人社(2010)12号"));
    EXPECT_EQ(text("edArea"), QStringLiteral("某市人社局制"));
    EXPECT_EQ(text("edStart"), QStringLiteral("9"));
    EXPECT_EQ(text("edEnd"), QStringLiteral("40"));
    EXPECT_EQ(text("edWidth"), QStringLiteral("80"));
    EXPECT_EQ(child<QDateEdit>("dtPrint")->date(), QDate(2010, 3, 5));
    EXPECT_EQ(gbk::toUtf8(jgcs.WorkbookFile), (dir / "职务变动.xlsx").string());
}

TEST_F(JgWindowTest, ControlsOfThePanel)
{
    open();
    const PanelPlace places[] = {
        {"btnHelp", {30, 6, 91, 26}, "在线帮助", nullptr},
        {"Panel4", {128, 5, 509, 27}, "☆☆☆注意：如果上表有数据修改，请务必按 Ctrl+S 保存数据！☆☆☆", nullptr},
        {"edFile", {56, 40, 120, 23}, nullptr, nullptr},
        {"edArea", {217, 40, 133, 23}, nullptr, nullptr},
        {"edStart", {410, 40, 36, 23}, nullptr, "职务工资变动表除标题行外欲打印的开始行号，不小于7"},
        {"btnClear", {474, 39, 46, 25}, "关闭", "清空上表显示以关闭调资表。"},
        {"btnPre", {531, 39, 46, 25}, "预览", nullptr},
        {"dtPrint", {56, 77, 120, 20}, nullptr, nullptr},
        {"edWidth", {254, 77, 48, 23}, nullptr, nullptr},
        {"edEnd", {409, 77, 38, 23}, nullptr, "职务工资变动表除标题行外欲打印的结束行号，不小于7"},
        {"btnRead", {474, 76, 46, 25}, "调阅", "从磁盘内调阅职务工资变动表花名册，仅显示，不提供保存功能。"},
        {"btnPrn", {531, 76, 46, 25}, "打印", nullptr},
        {"btnExit", {591, 77, 46, 24}, "退出", nullptr},
    };
    QWidget *panel = child<QWidget>("Panel2");
    EXPECT_EQ(panel->width(), 654);
    expectPanelPlaces(*window, panel, places);
    const std::pair<const char *, QPoint> labels[] = {
        {"文件\n依据 ", {28, 40}},          {"制表\n机构 ", {189, 40}},   {"开始打\n印行号 ", {365, 40}},
        {"打印\n日期 ", {28, 77}},          {"结束打\n印行号 ", {366, 77}},
        {"申报意见栏\n 每行宽度    ", {189, 77}},
    };
    for (const auto &[caption, at] : labels) {
        bool found = false;
        for (QLabel *l : panel->findChildren<QLabel *>())
            if (l->text() == QString::fromUtf8(caption)) {
                found = true;
                EXPECT_EQ(l->pos(), at) << caption;
            }
        EXPECT_TRUE(found) << caption;
    }
    EXPECT_TRUE(child<QLabel>("Panel4")->alignment() & Qt::AlignHCenter);
    EXPECT_FALSE(child<QPushButton>("btnHelp")->icon().isNull());
    EXPECT_NE(child<QTextBrowser>("helpBrowser")->toHtml().indexOf(QStringLiteral("职务变动")), -1);
    EXPECT_NE(child<roster::WorkbookView>("JbBrowser"), nullptr);
}

TEST_F(JgWindowTest, TabOrder)
{
    open();
    const std::vector<std::string> expected = {"edFile", "dtPrint", "edStart", "edEnd", "btnRead", "btnPre",
                                           "btnPrn", "btnExit", "edArea", "btnClear", "edWidth", "btnHelp"};
    EXPECT_EQ(tabOrderFrom(child<QWidget>("edFile"), expected), expected);
    for (const std::string &name : expected)
        EXPECT_TRUE(child<QWidget>(name.c_str())->focusPolicy() & Qt::TabFocus) << name;
}

TEST_F(JgWindowTest, ShowingSetsTheCaptionAndShowsTheStoredWorkbook)
{
    storeSettings();
    open();
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("机关工作人员职务变动工资调整个人申报表打印工具"));
    EXPECT_EQ(fileDialogs(), 0);
    EXPECT_EQ(child<roster::WorkbookView>("JbBrowser")->file(),
              QString::fromStdString((dir / "职务变动.xlsx").string()));
    EXPECT_TRUE(child<QPlainTextEdit>("Memo1")->isHidden());
}

TEST_F(JgWindowTest, FirstShowingWithoutAWorkbookAsksForOne)
{
    const std::string chosen = workbook("新花名册.xlsx");
    prompts.fileChoices.push_back(gbk::fromUtf8(chosen));
    open();
    window->show();
    QApplication::processEvents();
    ASSERT_EQ(fileDialogs(), 1);
    EXPECT_EQ(gbk::toUtf8(prompts.shown.back().caption), "打开职务变动工资调整花名册");
    EXPECT_EQ(iniValue("excelFileName"), chosen);
    EXPECT_EQ(gbk::toUtf8(jgcs.WorkbookFile), chosen);
}

TEST_F(JgWindowTest, ExitSavesTheBoxesForTheNextWindow)
{
    storeSettings();
    open();
    retype("edFile", QStringLiteral("新文(2011)1号"));
    retype("edStart", QStringLiteral("11"));
    retype("edEnd", QStringLiteral("12"));
    retype("edWidth", QStringLiteral("70"));
    retype("edArea", QStringLiteral("另一机构"));
    child<QDateEdit>("dtPrint")->setDate(QDate(2012, 3, 4));
    // typed, not yet loaded: the forms of this window still print the loaded circular
    EXPECT_EQ(gbk::toUtf8(jgcs.FileNo), "某人社(2010)12号");
    QTest::mouseClick(child<QPushButton>("btnExit"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(iniValue("File"), "新文(2011)1号");
    EXPECT_EQ(iniValue("Start"), "11");
    EXPECT_EQ(iniValue("End"), "12");
    EXPECT_EQ(iniValue("yjkd"), "70");
    EXPECT_EQ(iniValue("Date"), "2012-3-4");
    EXPECT_EQ(iniValue("Area"), "另一机构");
    EXPECT_EQ(gbk::toUtf8(jgcs.FileNo), "某人社(2010)12号");

    window.reset();
    jgcs = TJgcs{};
    open();
    EXPECT_EQ(text("edFile"), QStringLiteral("新文(2011)1号"));
    EXPECT_EQ(gbk::toUtf8(jgcs.FileNo), "新文(2011)1号");
    EXPECT_EQ(gbk::toUtf8(jgcs.Issuer), "另一机构");
    EXPECT_EQ(text("edWidth"), QStringLiteral("70"));
}

TEST_F(JgWindowTest, ClosingByTheCaptionButtonSavesNothing)
{
    storeSettings();
    open();
    retype("edFile", QStringLiteral("丢弃"));
    window->close();
    EXPECT_EQ(iniValue("File"), "某人社(2010)12号");
}

TEST_F(JgWindowTest, LettersInTheNumberBoxesAreIgnored)
{
    open();
    for (const char *name : {"edStart", "edEnd", "edWidth"}) {
        retype(name, QStringLiteral("1a2 -3"));
        EXPECT_EQ(text(name), QStringLiteral("123")) << name;
    }
}

TEST_F(JgWindowTest, HelpButtonTogglesTheHelpPane)
{
    storeSettings();
    open();
    expectHelpPaneToggles(*window, QSize(900, 700));
}

} // namespace
