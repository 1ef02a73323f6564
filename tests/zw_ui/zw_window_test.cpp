// The ZW window offscreen on a program folder of its own: the controls, FormShow with
// the open dialog, 调阅 / 关闭 / 退出, the help pane and the print runs that end before a
// form, all with scripted prompts.
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "roster_tools/sheet_fixture.h"
#include "roster_tools/ui/workbook_model.h"
#include "roster_tools/ui/workbook_view.h"
#include "support/tool_window_checks.h"
#include "support/tool_window_fixture.h"
#include "widgets/program_folder.h"
#include "zw/ui/zw_main_form.h"
#include "zw/ui/zwpa_form.h"
#include "widgets/spin_edit.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <fstream>

using namespace quvela;
using namespace quvela::test;

namespace {

class ZwWindowTest : public ToolWindowTest<zw::TZwMainForm, TZwcs, &zwcs>
{
protected:
    ZwWindowTest()
        : ToolWindowTest("zwgz.ini")
    {
    }

    void SetUp() override
    {
        ToolWindowTest::SetUp();
        writeSheet(dir / "zw.xlsx", {{1, {{1, std::string("花名册")}}},
                                     {7, {{2, std::string("甲")}, {28, 1.0}}},
                                     {8, {{2, std::string("乙")}, {28, std::string("否")}}}});
    }

    // The roster written for every test, or another name in the program folder.
    GbkString workbook(const char *name = "zw.xlsx") const { return gbk::fromPath(dir / name); }

    // FormShow runs its dialog part once the window stands.
    void show()
    {
        window->show();
        QApplication::processEvents();
        QApplication::processEvents();
    }
};

TEST_F(ZwWindowTest, AFreshInstallation)
{
    const QDate today = QDate::currentDate();
    open();
    EXPECT_EQ(window->edFile()->text(), QStringLiteral("zar(2007)71号"));
    EXPECT_EQ(window->edArea()->text(), QStringLiteral("vodeve工资处制"));
    EXPECT_EQ(window->dtPrint()->date(), today);
    EXPECT_EQ(window->edStart()->text(), QStringLiteral("7"));
    EXPECT_EQ(window->edEnd()->text(), QStringLiteral("7"));
    EXPECT_EQ(window->edWidth()->text(), QStringLiteral("78"));
    // A cancel leaves the name empty: stored so, and asked again from ShowWorkbook.
    show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("事业单位职务工资变动个人申报表打印工具"));
    ASSERT_EQ(fileDialogs(), 2);
    EXPECT_EQ(gbk::toUtf8(prompts.shown[0].caption), "打开职务变动工资调整花名册");
    EXPECT_EQ(prompts.shown[0].text, gbk::fromPath(dir.path()));
    EXPECT_EQ(iniValue("excelFileName"), "");
    // Shown again: the dialog comes again, the usage text box stays hidden.
    window->hide();
    show();
    EXPECT_EQ(fileDialogs(), 4);
    EXPECT_FALSE(window->usageText()->isVisible());
}

TEST_F(ZwWindowTest, TheChosenWorkbookIsStoredAndShown)
{
    prompts.fileChoices = {workbook()};
    open();
    show();
    EXPECT_EQ(fileDialogs(), 1);
    EXPECT_EQ(iniValue("excelFileName"), dir.path().string() + "/zw.xlsx");
    EXPECT_EQ(window->workbookView()->model()->data(window->workbookView()->model()->index(6, 1)).toString(),
              QStringLiteral("甲"));
    // 关闭 empties the view; the stored name stays for the print runs.
    child<QPushButton>("btnClear")->click();
    EXPECT_EQ(window->workbookView()->model()->rowCount(), 0);
    EXPECT_EQ(iniValue("excelFileName"), dir.path().string() + "/zw.xlsx");
    // 调阅 replaces it by a new choice at once.
    writeSheet(dir / "other.xlsx", {{1, {{1, std::string("另一册")}}}});
    prompts.fileChoices = {workbook("other.xlsx")};
    child<QPushButton>("btnRead")->click();
    EXPECT_EQ(iniValue("excelFileName"), dir.path().string() + "/other.xlsx");
    EXPECT_EQ(gbk::fromQString(window->workbookView()->file()), workbook("other.xlsx"));
    EXPECT_EQ(window->workbookView()->model()->data(window->workbookView()->model()->index(0, 0)).toString(),
              QStringLiteral("另一册"));
}

TEST_F(ZwWindowTest, AStoredWorkbookThatIsGoneAsksOnce)
{
    setIni("excelFileName", dir.path().string() + "/gone.xlsx");
    prompts.fileChoices = {gbk::fromPath(dir / "also-gone.xlsx")};
    open();
    show();
    EXPECT_EQ(fileDialogs(), 1);
    // The name the dialog left is shown all the same: the reader says what is wrong.
    EXPECT_FALSE(window->workbookView()->message().isEmpty());
    EXPECT_EQ(iniValue("excelFileName"), dir.path().string() + "/also-gone.xlsx");
}

TEST_F(ZwWindowTest, ControlsTextsHintsAndTabOrder)
{
    setIni("excelFileName", dir.path().string() + "/zw.xlsx");
    open();
    struct Place
    {
        const char *name;
        QRect geometry;
        const char *text;
    };
    const Place buttons[] = {
        {"btnClear", QRect(474, 39, 46, 25), "关闭"}, {"btnRead", QRect(474, 76, 46, 25), "调阅"},
        {"btnPre", QRect(531, 39, 46, 25), "预览"},   {"btnPrn", QRect(531, 76, 46, 25), "打印"},
        {"btnPara", QRect(591, 39, 46, 25), "设置"},  {"btnExit", QRect(591, 76, 46, 24), "退出"},
        {"btnHelp", QRect(0, 2, 89, 21), "在线帮助"},
    };
    for (const Place &p : buttons) {
        auto *b = child<QPushButton>(p.name);
        EXPECT_EQ(b->geometry(), p.geometry) << p.name;
        EXPECT_EQ(b->text(), QString::fromUtf8(p.text));
    }
    const Place boxes[] = {
        {"edFile", QRect(56, 40, 120, 23), nullptr}, {"edArea", QRect(217, 40, 133, 23), nullptr},
        {"edWidth", QRect(254, 77, 48, 23), nullptr}, {"edStart", QRect(410, 40, 36, 23), nullptr},
        {"edEnd", QRect(409, 77, 38, 23), nullptr},
    };
    for (const Place &p : boxes)
        EXPECT_EQ(child<QLineEdit>(p.name)->geometry(), p.geometry) << p.name;
    EXPECT_EQ(child<QDateEdit>("dtPrint")->geometry(), QRect(56, 77, 120, 20));
    EXPECT_EQ(child<QLabel>("Panel4")->text(),
              QStringLiteral("☆☆☆注意：如果上表有数据修改，请务必按 Ctrl+S 保存数据！☆☆☆"));
    EXPECT_EQ(child<QLabel>("Label3")->text(), QStringLiteral("申报意见栏\n 每行宽度    "));
    EXPECT_EQ(child<QWidget>("Panel2")->width(), 656);
    EXPECT_EQ(child<QWidget>("Panel1")->height(), 118);
    EXPECT_EQ(window->edStart()->toolTip(), QStringLiteral("职务工资变动表除标题行外欲打印的开始行号，不小于7"));
    EXPECT_EQ(window->edEnd()->toolTip(), QStringLiteral("职务工资变动表除标题行外欲打印的结束行号，不小于7"));
    EXPECT_EQ(child<QPushButton>("btnClear")->toolTip(), QStringLiteral("清空上表显示以关闭调资表。"));
    EXPECT_EQ(child<QPushButton>("btnRead")->toolTip(),
              QStringLiteral("从磁盘内调阅职务工资变动表花名册，仅显示，不提供保存功能。"));

    const char *order[] = {"btnHelp", "edFile", "dtPrint", "edArea", "edWidth", "edStart", "edEnd",
                           "btnClear", "btnRead", "btnPre", "btnPrn", "btnPara", "btnExit"};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget *w = child<QWidget>(order[i]);
        QWidget *next = w->nextInFocusChain();
        while (next && next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        // A date edit's own line edit sits inside it in the chain.
        while (next && next->parentWidget() && next->parentWidget()->objectName() == QString::fromUtf8(order[i]))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, child<QWidget>(order[i + 1])) << order[i];
    }
}

TEST_F(ZwWindowTest, DigitBoxesDropLetters)
{
    setIni("excelFileName", dir.path().string() + "/zw.xlsx");
    open();
    for (QLineEdit *box : {window->edStart(), window->edEnd(), window->edWidth()}) {
        box->clear();
        QTest::keyClicks(box, QStringLiteral("1a2"));
        EXPECT_EQ(box->text(), QStringLiteral("12"));
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), QStringLiteral("1"));
    }
}

TEST_F(ZwWindowTest, HelpPaneToggles)
{
    setIni("excelFileName", dir.path().string() + "/zw.xlsx");
    open();
    EXPECT_TRUE(window->helpBrowser()->toPlainText().contains(QStringLiteral("打印否")));
    expectHelpPaneToggles(*window, QSize(1000, 700));
}

TEST_F(ZwWindowTest, UsageTextWhenPresent)
{
    setIni("excelFileName", dir.path().string() + "/zw.xlsx");
    std::ofstream(dir / "使用说明.txt", std::ios::binary) << gbk::fromUtf8("先选择花名册。");
    open();
    show();
    EXPECT_TRUE(window->usageText()->isVisible());
    EXPECT_EQ(window->usageText()->toPlainText(), QStringLiteral("先选择花名册。"));
}

TEST_F(ZwWindowTest, PrintRunsThatEndBeforeAForm)
{
    setIni("excelFileName", dir.path().string() + "/zw.xlsx");
    open();
    show();
    // Row 8 is not flagged: the status line says so, and no preview window waits hidden.
    window->edStart()->setText(QStringLiteral("8"));
    window->edEnd()->setText(QStringLiteral("8"));
    child<QPushButton>("btnPre")->click();
    EXPECT_TRUE(window->statusBar()->currentMessage().contains(QStringLiteral("没有打印否为 1 的行")));
    EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("FormKampreview")), nullptr);
    EXPECT_TRUE(prompts.shown.empty() || prompts.shown.back().kind == "file");

    window->edStart()->setText(QString());
    child<QPushButton>("btnPrn")->click();
    ASSERT_FALSE(prompts.textsUtf8().empty());
    EXPECT_EQ(prompts.textsUtf8().back(), "'' is not a valid integer value");

    window->edStart()->setText(QStringLiteral("7"));
    zwcs.WorkbookFile = workbook("missing.xlsx");
    child<QPushButton>("btnPrn")->click();
    EXPECT_EQ(prompts.textsUtf8().back(), "请选择EXCEL数据表格！");
}

TEST_F(ZwWindowTest, ExitSavesTheBoxesAndHides)
{
    setIni("excelFileName", dir.path().string() + "/zw.xlsx");
    open();
    show();
    window->edFile()->setText(QStringLiteral("某人社(2010)3号"));
    window->edArea()->setText(QStringLiteral("人事处"));
    window->edStart()->setText(QStringLiteral("9"));
    window->edEnd()->setText(QString());
    window->edWidth()->setText(QStringLiteral("80"));
    window->dtPrint()->setDate(QDate(2010, 4, 9));
    child<QPushButton>("btnExit")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(iniValue("File"), "某人社(2010)3号");
    EXPECT_EQ(iniValue("Area"), "人事处");
    EXPECT_EQ(iniValue("Start"), "9");
    EXPECT_EQ(iniValue("End"), "");
    EXPECT_EQ(iniValue("yjkd"), "80");
    EXPECT_EQ(iniValue("Date"), "2010-4-9");
    EXPECT_EQ(iniValue("zwRow"), "<missing>");
    // The record keeps what was loaded; the next window reads the file.
    EXPECT_EQ(gbk::toUtf8(zwcs.FileNo), "zar(2007)71号");
    open();
    EXPECT_EQ(window->edWidth()->text(), QStringLiteral("80"));
    EXPECT_EQ(window->edEnd()->text(), QStringLiteral("7"));
}

class ZwpaFormTest : public ZwWindowTest
{
protected:
    std::unique_ptr<zw::TZwpaForm> dialog;
    zw::TZwpaForm &openDialog(const std::string &map)
    {
        zwcs.ColumnMap = map;
        iniFile = std::make_unique<IniFile>(dir / "zwgz.ini");
        dialog = std::make_unique<zw::TZwpaForm>(*iniFile, prompts);
        return *dialog;
    }
    std::unique_ptr<IniFile> iniFile;
};

constexpr const char *kDefaultMap = "0102030405060708091011121314151718192021222325262728293031323334353637383940";

TEST_F(ZwpaFormTest, ShowsTheDefaultMapLessOne)
{
    zw::TZwpaForm &d = openDialog(kDefaultMap);
    EXPECT_EQ(d.fieldCount(), 31);
    for (int k = 1; k <= 31; ++k) {
        const int expected = k <= 15 ? k - 1 : k <= 22 ? k : k + 1;
        EXPECT_EQ(d.spin(k)->value(), expected) << k;
    }
    EXPECT_EQ(d.spin(26)->objectName(), QStringLiteral("spSFDY"));
    EXPECT_EQ(d.spin(1)->geometry(), QRect(112, 75, 65, 20));
    EXPECT_EQ(d.spin(9)->geometry().top(), 268);
    EXPECT_EQ(d.spin(16)->geometry(), QRect(368, 52, 65, 20));
    EXPECT_EQ(d.spin(31)->geometry(), QRect(368, 412, 65, 20));
    EXPECT_EQ(d.okButton()->geometry(), QRect(280, 454, 66, 25));
    EXPECT_EQ(d.okButton()->objectName(), QStringLiteral("btnOK"));
    EXPECT_EQ(d.cancelButton()->geometry(), QRect(368, 454, 66, 25));
}

TEST_F(ZwpaFormTest, OkStoresTheSixtyTwoByteMap)
{
    zw::TZwpaForm &d = openDialog(kDefaultMap);
    d.okButton()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    const std::string stored = "01020304050607080910111213141517181920212223252627282930313233";
    EXPECT_EQ(iniValue("zwRow"), stored);
    EXPECT_EQ(zwcs.ColumnMap, stored);
}

TEST_F(ZwpaFormTest, ClashesAreReportedInOrderAndNothingIsStored)
{
    zw::TZwpaForm &d = openDialog(kDefaultMap);
    d.show();
    d.spin(5)->setValue(2);
    d.spin(7)->setValue(2);
    d.okButton()->click();
    EXPECT_EQ(prompts.textsUtf8(), (std::vector<std::string>{"第 3 项与第 5 项列号重复！", "第 5 项与第 7 项列号重复！"}));
    EXPECT_EQ(d.focusWidget(), d.spin(5));
    EXPECT_EQ(iniValue("zwRow"), "<missing>");
    EXPECT_EQ(zwcs.ColumnMap, kDefaultMap);
    d.cancelButton()->click();
    EXPECT_EQ(zwcs.ColumnMap, kDefaultMap);
}

TEST_F(ZwpaFormTest, TwoDigitPiecesAndABrokenStoredMap)
{
    zw::TZwpaForm &d = openDialog("0102x3");
    EXPECT_EQ(prompts.textsUtf8(), (std::vector<std::string>{"'x3' is not a valid integer value"}));
    EXPECT_EQ(d.spin(2)->value(), 1);
    EXPECT_EQ(d.spin(3)->value(), 0);
    for (int k = 1; k <= 31; ++k)
        d.spin(k)->setValue(k == 1 ? 8 : k == 2 ? 9 : 10 + k);
    d.okButton()->click();
    EXPECT_EQ(iniValue("zwRow").substr(0, 4), "0910");
    EXPECT_EQ(iniValue("zwRow").size(), 62u);
}

} // namespace
