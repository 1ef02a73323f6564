// The JB window: its controls, the mode buttons with the settings of each mode, the
// issuer read at creation only, "退出" and the workbook of each mode.
#include "jb_window_fixture.h"

#include "support/tool_window_checks.h"

#include "roster_tools/ui/workbook_view.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
using quvela::jb::TJbMainForm;

namespace {

TEST_F(JbWindowTest, FreshInstallationShowsTheDefaults)
{
    open();
    EXPECT_EQ(window->objectName(), QStringLiteral("JbMainForm"));
    EXPECT_TRUE(modeButton(0)->isChecked());
    EXPECT_FALSE(modeButton(1)->isChecked());
    EXPECT_EQ(text("edFile"), QStringLiteral("zar(2007)49号"));
    EXPECT_EQ(text("edArea"), QStringLiteral("vodeve工资处制"));
    EXPECT_EQ(text("edStart"), QStringLiteral("7"));
    EXPECT_EQ(text("edEnd"), QStringLiteral("7"));
    EXPECT_EQ(text("edWidth"), QStringLiteral("78"));
    EXPECT_EQ(child<QDateEdit>("dtPrint")->date(), QDate::currentDate());
    EXPECT_EQ(jbcs.Mode, 0);
    EXPECT_EQ(gbk::toUtf8(jbcs.ProgramDir), dir.path().string());
    // Creating the window writes nothing.
    EXPECT_FALSE(std::filesystem::exists(dir / "gwyjbgz.ini"));
}

TEST_F(JbWindowTest, ControlsOfThePanel)
{
    open();
    const PanelPlace places[] = {
        {"rgJbgz", {8, 0, 169, 33}, nullptr, nullptr},
        {"btnHelp", {182, 6, 29, 26}, "", nullptr},
        {"Panel4", {218, 5, 419, 27}, "☆☆注意：如果上表有数据修改，请务必按 Ctrl+S 保存数据！", nullptr},
        {"edFile", {56, 40, 120, 23}, nullptr, nullptr},
        {"edArea", {217, 40, 133, 23}, nullptr, nullptr},
        {"edStart", {410, 40, 36, 23}, nullptr, "职务工资变动表除标题行外欲打印的开始行号，不小于7"},
        {"btnClear", {474, 39, 46, 25}, "关闭", "清空上表显示以关闭调资表。"},
        {"btnPre", {531, 39, 46, 25}, "预览", nullptr},
        {"btnPara", {591, 39, 46, 25}, "设置", nullptr},
        {"dtPrint", {56, 77, 120, 20}, nullptr, nullptr},
        {"edWidth", {254, 77, 48, 23}, nullptr, nullptr},
        {"edEnd", {409, 77, 38, 23}, nullptr, "职务工资变动表除标题行外欲打印的结束行号，不小于7"},
        {"btnRead", {474, 76, 46, 25}, "调阅", "从磁盘内调阅职务工资变动表花名册，仅显示，不提供保存功能。"},
        {"btnPrn", {531, 76, 46, 25}, "打印", nullptr},
        {"btnExit", {591, 76, 46, 24}, "退出", nullptr},
    };
    QWidget *panel = child<QWidget>("Panel2");
    EXPECT_EQ(panel->width(), 654);
    expectPanelPlaces(*window, panel, places);
    EXPECT_EQ(child<QGroupBox>("rgJbgz")->title(), QStringLiteral("晋升类别"));
    EXPECT_EQ(modeButton(0)->text(), QStringLiteral("正常晋升"));
    EXPECT_EQ(modeButton(1)->text(), QStringLiteral("滚动晋升"));
    EXPECT_TRUE(child<QLabel>("Panel4")->alignment() & Qt::AlignRight);
    EXPECT_FALSE(child<QPushButton>("btnHelp")->icon().isNull());
    EXPECT_NE(child<QTextBrowser>("helpBrowser")->toHtml().indexOf(QStringLiteral("滚动晋升")), -1);
}

TEST_F(JbWindowTest, SettingsDoesNothing)
{
    storeBothModes();
    open();
    const std::string before = iniValue("File0");
    QTest::mouseClick(child<QPushButton>("btnPara"), Qt::LeftButton);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(iniValue("File0"), before);
}

TEST_F(JbWindowTest, CreationLoadsTheStoredMode)
{
    storeBothModes();
    setIni("Type", "1");
    open();
    EXPECT_TRUE(modeButton(1)->isChecked());
    EXPECT_EQ(text("edFile"), QStringLiteral("某人社(2007)196号"));
    EXPECT_EQ(text("edStart"), QStringLiteral("9"));
    EXPECT_EQ(text("edEnd"), QStringLiteral("30"));
    EXPECT_EQ(text("edWidth"), QStringLiteral("76"));
    EXPECT_EQ(text("edArea"), QStringLiteral("某市人社局制"));
    EXPECT_EQ(child<QDateEdit>("dtPrint")->date(), QDate(2011, 1, 5));
}

TEST_F(JbWindowTest, SwitchSavesTheModeLeftAndLoadsTheOther)
{
    storeBothModes();
    open();
    retype("edFile", QStringLiteral("新文件(2010)1号"));
    retype("edStart", QStringLiteral("11"));
    retype("edArea", QStringLiteral("新机构"));
    clickMode(1);

    // The mode left, as typed; "Type" still names it.
    EXPECT_EQ(iniValue("Type"), "0");
    EXPECT_EQ(iniValue("File0"), "新文件(2010)1号");
    EXPECT_EQ(iniValue("Start0"), "11");
    EXPECT_EQ(iniValue("Area"), "新机构");
    // The new mode, and the issuer loaded when the window was made.
    EXPECT_EQ(jbcs.Mode, 1);
    EXPECT_EQ(gbk::toUtf8(jbcs.FileNo), "某人社(2007)196号");
    EXPECT_EQ(text("edFile"), QStringLiteral("某人社(2007)196号"));
    EXPECT_EQ(text("edStart"), QStringLiteral("9"));
    EXPECT_EQ(text("edWidth"), QStringLiteral("76"));
    EXPECT_EQ(text("edArea"), QStringLiteral("某市人社局制"));
    EXPECT_EQ(gbk::toUtf8(jbcs.Issuer), "某市人社局制");
    EXPECT_EQ(child<roster::WorkbookView>("JbBrowser")->file(), QString::fromStdString((dir / "滚动.xlsx").string()));
    EXPECT_EQ(fileDialogs(), 0);

    // Back again: the circular typed before is the one loaded, and printed.
    clickMode(0);
    EXPECT_EQ(iniValue("Type"), "1");
    EXPECT_EQ(text("edFile"), QStringLiteral("新文件(2010)1号"));
    EXPECT_EQ(gbk::toUtf8(jbcs.FileNo), "新文件(2010)1号");
    EXPECT_EQ(text("edStart"), QStringLiteral("11"));
    EXPECT_EQ(child<roster::WorkbookView>("JbBrowser")->file(), QString::fromStdString((dir / "正常.xlsx").string()));
}

TEST_F(JbWindowTest, ClickOnTheSelectedModeChangesNothing)
{
    storeBothModes();
    open();
    retype("edFile", QStringLiteral("未保存"));
    clickMode(0);
    EXPECT_EQ(iniValue("File0"), "某人社(2007)49号");
    EXPECT_EQ(text("edFile"), QStringLiteral("未保存"));
}

TEST_F(JbWindowTest, CircularTypedIsNotPrintedBeforeItIsLoaded)
{
    storeBothModes();
    open();
    retype("edFile", QStringLiteral("新文件(2010)1号"));
    EXPECT_EQ(gbk::toUtf8(jbcs.FileNo), "某人社(2007)49号");
}

TEST_F(JbWindowTest, ExitSavesTheSelectedMode)
{
    storeBothModes();
    open();
    clickMode(1);
    retype("edFile", QStringLiteral("滚动(2011)2号"));
    retype("edEnd", QStringLiteral("40"));
    retype("edWidth", QStringLiteral("70"));
    retype("edArea", QStringLiteral("另一机构"));
    child<QDateEdit>("dtPrint")->setDate(QDate(2012, 3, 4));
    QTest::mouseClick(child<QPushButton>("btnExit"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(iniValue("Type"), "1");
    EXPECT_EQ(iniValue("File1"), "滚动(2011)2号");
    EXPECT_EQ(iniValue("End1"), "40");
    EXPECT_EQ(iniValue("yjkd1"), "70");
    EXPECT_EQ(iniValue("Date1"), "2012-3-4");
    EXPECT_EQ(iniValue("Area"), "另一机构");
    EXPECT_EQ(iniValue("File0"), "某人社(2007)49号");

    // The next window opens in the mode saved, with the issuer saved.
    window.reset();
    jbcs = TJbcs{};
    open();
    EXPECT_TRUE(modeButton(1)->isChecked());
    EXPECT_EQ(text("edFile"), QStringLiteral("滚动(2011)2号"));
    EXPECT_EQ(gbk::toUtf8(jbcs.Issuer), "另一机构");
}

TEST_F(JbWindowTest, ClosingByTheCaptionButtonSavesNothing)
{
    storeBothModes();
    open();
    retype("edFile", QStringLiteral("丢弃"));
    window->close();
    EXPECT_EQ(iniValue("File0"), "某人社(2007)49号");
}

TEST_F(JbWindowTest, ModeWithoutAWorkbookOpensTheDialogAndKeepsTheOtherPath)
{
    storeBothModes();
    setIni("excelFileName1", "");
    const std::string chosen = workbook("新滚动.xlsx");
    prompts.fileChoices.push_back(gbk::fromUtf8(chosen));
    open();
    clickMode(1);
    ASSERT_EQ(fileDialogs(), 1);
    EXPECT_EQ(gbk::toUtf8(prompts.shown.back().caption), "打开职务变动工资调整花名册");
    EXPECT_EQ(iniValue("excelFileName1"), chosen);
    EXPECT_EQ(iniValue("excelFileName0"), (dir / "正常.xlsx").string());
    EXPECT_EQ(child<roster::WorkbookView>("JbBrowser")->file(), QString::fromStdString(chosen));
}

TEST_F(JbWindowTest, SwitchThatCannotSaveKeepsTheModeAndItsBoxes)
{
    // A folder where the settings file should be: it reads as empty and cannot be written.
    std::filesystem::create_directory(dir / "gwyjbgz.ini");
    open();
    retype("edFile", QStringLiteral("已输入"));
    clickMode(1);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
    EXPECT_TRUE(modeButton(0)->isChecked());
    EXPECT_FALSE(modeButton(1)->isChecked());
    EXPECT_EQ(jbcs.Mode, 0);
    EXPECT_EQ(text("edFile"), QStringLiteral("已输入"));
}

TEST_F(JbWindowTest, HelpButtonBesideTheModeButtonsTogglesTheHelpPane)
{
    storeBothModes();
    open();
    expectHelpPaneToggles(*window, QSize(900, 700));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("公务员级别工资晋升、滚动个人申报表打印工具"));
}

TEST_F(JbWindowTest, TabOrderRunsThroughThePanel)
{
    open();
    const std::vector<std::string> expected = {"rgJbgzItem0", "rgJbgzItem1", "btnHelp", "edFile",  "edArea",
                                               "edStart",     "btnClear",    "btnPre",  "btnPara", "dtPrint",
                                               "edWidth",     "edEnd",       "btnRead", "btnPrn",  "btnExit"};
    EXPECT_EQ(tabOrderFrom(child<QWidget>("rgJbgzItem0"), expected), expected);
}

TEST_F(JbWindowTest, LettersInTheNumberBoxesAreIgnored)
{
    open();
    for (const char *name : {"edStart", "edEnd", "edWidth"}) {
        retype(name, QStringLiteral("1a2б3"));
        EXPECT_EQ(text(name), QStringLiteral("123")) << name;
    }
}

} // namespace
