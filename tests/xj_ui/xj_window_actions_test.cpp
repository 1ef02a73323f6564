// The XJ window's simple actions: the digit boxes (typed and pasted), "清空", "退出" against the title bar,
// "读入" and "调薪" through the window, and "设置" opening the column dialog.
#include "xj_window_fixture.h"

#include "widgets/data_grid.h"
#include "xj/ui/para_form.h"

#include <QClipboard>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using namespace quvela;
using namespace quvela::test;

namespace {

class XjWindowActions : public XjWindowTest
{
protected:
    QPushButton *button(const char *name) { return child<QPushButton>(name); }
};

TEST_F(XjWindowActions, NumberBoxesTakeOnlyDigitsAndBackspace)
{
    struct Case
    {
        const char *typed;
        const char *shown;
    };
    const Case cases[] = {
        {"12", "12"}, {"a", ""}, {"-5", "5"}, {"1x2y3", "123"}, {"+ 7.0", "70"}, {"２", ""}, {"年9", "9"},
    };
    open();
    for (const char *name : {"edYear", "edMonth", "edStart", "edEnd"}) {
        auto *edit = child<QLineEdit>(name);
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << name << " " << c.typed);
            edit->clear();
            typeText(edit, QString::fromUtf8(c.typed));
            EXPECT_EQ(edit->text(), QString::fromUtf8(c.shown));
        }
        edit->setText(QStringLiteral("2010"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), QStringLiteral("201"));
        // A pasted text is judged as a whole, as typing is key by key.
        edit->setFocus();
        for (const auto &[pasted, shown] : {std::pair{"7a", "201"}, std::pair{"9", "2019"}}) {
            QApplication::clipboard()->setText(QString::fromUtf8(pasted));
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(edit->text(), QString::fromUtf8(shown)) << pasted;
        }
    }
    // The other boxes take any text.
    auto *file = child<QLineEdit>("edFile");
    file->clear();
    typeText(file, QStringLiteral("zar-(2010)5"));
    EXPECT_EQ(file->text(), QStringLiteral("zar-(2010)5"));
}

TEST_F(XjWindowActions, ClearAsksAndDeletesOnlyOnYes)
{
    struct Case
    {
        Answer answer;
        std::size_t rowsLeft;
    };
    for (const Case &c : {Case{Answer::No, 2}, Case{Answer::Yes, 0}}) {
        SCOPED_TRACE(c.rowsLeft);
        xj::XjTable::open(dir / "xjgz.db")->clear();
        storeRows({person(1, "张三"), person(2, "李四")});
        open();
        prompts.shown.clear();
        prompts.answers = {c.answer};
        button("btnClear")->click();
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].kind, "ask");
        EXPECT_EQ(gbk::toUtf8(prompts.shown[0].text), "是否清除上表显示调资数据？");
        EXPECT_EQ(gbk::toUtf8(prompts.shown[0].caption), "薪级调整");
        EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Information);
        EXPECT_EQ(storedRows().size(), c.rowsLeft);
        EXPECT_EQ(std::size_t(window->grid()->model()->rowCount()), c.rowsLeft);
    }
}

TEST_F(XjWindowActions, ExitSavesTheBoxesAndWidthsTheTitleBarDoesNot)
{
    struct Case
    {
        const char *how;
        bool saves;
    };
    for (const Case &c : {Case{"title bar", false}, Case{"退出", true}}) {
        SCOPED_TRACE(c.how);
        std::filesystem::remove(dir / "xjgz.ini");
        xj::TXjMainForm &w = open();
        w.show();
        child<QLineEdit>("edFile")->setText(QStringLiteral("人社(2024)8"));
        child<QLineEdit>("edArea")->setText(QStringLiteral("某县人社局"));
        child<QLineEdit>("edYear")->setText(QStringLiteral("2024"));
        child<QLineEdit>("edMonth")->setText(QStringLiteral("9"));
        child<QLineEdit>("edStart")->setText(QStringLiteral("8"));
        child<QLineEdit>("edEnd")->setText(QStringLiteral("412"));
        child<QDateEdit>("dtPrint")->setDate(QDate(2024, 5, 6));
        w.grid()->setColumnWidth(2, 1056); // grid column 1, the name
        w.grid()->setColumnWidth(32, 9);   // grid column 31
        if (c.saves)
            button("btnExit")->click();
        else
            w.close();
        // Either way the window is only hidden.
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(child<QLineEdit>("edFile"));
        if (!c.saves) {
            EXPECT_FALSE(std::filesystem::exists(dir / "xjgz.ini"));
            continue;
        }
        EXPECT_EQ(iniValue("File"), "人社(2024)8");
        EXPECT_EQ(iniValue("Area"), "某县人社局");
        EXPECT_EQ(iniValue("Year"), "2024");
        EXPECT_EQ(iniValue("Month"), "9");
        EXPECT_EQ(iniValue("Start"), "8");
        EXPECT_EQ(iniValue("End"), "412");
        EXPECT_EQ(ini().readDateTime("xtcs", "Date", {}).date(), QDate(2024, 5, 6));
        EXPECT_EQ(iniValue("GridWidth"),
                  "028056028048048048048076048044044044028044040036044044044028044040031040040040029044072030043009");

        // The next window loads what was saved, and its titles show the new year.
        open();
        EXPECT_EQ(child<QLineEdit>("edEnd")->text(), QStringLiteral("412"));
        EXPECT_EQ(xjcs.Year, 2024);
        EXPECT_TRUE(window->grid()->model()->headerData(10, Qt::Horizontal).toString().startsWith(
            QStringLiteral("2023 年 12 月 工 资 情 况|")));
        EXPECT_EQ(window->grid()->columnWidth(32), 9);
    }
}

TEST_F(XjWindowActions, ExitThatCannotSaveSaysSoAndStaysOpen)
{
    xj::TXjMainForm &w = open();
    w.show();
    // A folder in the settings file's place: nothing can be written there.
    std::filesystem::create_directory(dir / "xjgz.ini");
    child<QLineEdit>("edYear")->setText(QStringLiteral("2030"));
    button("btnExit")->click();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
    // What was typed is still there to be saved once the file can be written.
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(child<QLineEdit>("edYear")->text(), QStringLiteral("2030"));
    std::filesystem::remove(dir / "xjgz.ini");
    button("btnExit")->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(iniValue("Year"), "2030");
}

TEST_F(XjWindowActions, ReadImportsTheRangeOfTheChosenWorkbook)
{
    const auto workbook = dir / "roster.xlsx";
    std::filesystem::copy_file(std::filesystem::path(QUVELA_SOURCE_DIR) / "examples" / "xj-roster.xlsx", workbook);
    storeRows({person(99, "旧行")});
    open();
    child<QLineEdit>("edStart")->setText(QStringLiteral("7"));
    child<QLineEdit>("edEnd")->setText(QStringLiteral("30"));
    prompts.answers = {Answer::Yes};
    prompts.fileChoices = {gbk::fromPath(workbook)};
    button("btnRead")->click();

    EXPECT_EQ(prompts.waitWindowsOpen, 0);
    EXPECT_FALSE(window->grid()->isSuspended());
    const std::vector<xj::XjRecord> rows = storedRows();
    ASSERT_EQ(rows.size(), 24u);
    EXPECT_EQ(window->grid()->model()->rowCount(), 24);
    EXPECT_EQ(window->grid()->model()->index(0, 2).data().toString(), QStringLiteral("冯晨"));
    EXPECT_EQ(window->grid()->model()->index(23, 1).data().toInt(), rows.back().xh);
    // The choice is remembered for the write-back.
    EXPECT_EQ(iniValue("excelFileName"), workbook.string());
}

TEST_F(XjWindowActions, ReadAdjustAndWriteBackFromTheWindow)
{
    const auto workbook = dir / "roster.xlsx";
    std::filesystem::copy_file(std::filesystem::path(QUVELA_SOURCE_DIR) / "examples" / "xj-roster.xlsx", workbook);
    open();
    child<QLineEdit>("edStart")->setText(QStringLiteral("7"));
    child<QLineEdit>("edEnd")->setText(QStringLiteral("30"));
    prompts.answers = {Answer::Yes};
    prompts.fileChoices = {gbk::fromPath(workbook)};
    button("btnRead")->click();
    button("btnOK")->click();
    const auto before = std::filesystem::last_write_time(workbook);
    prompts.shown.clear();
    button("btnWrite")->click();
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"OK!!! 数据保存完毕。"});
    EXPECT_EQ(prompts.waitWindowsOpen, 0);
    EXPECT_NE(std::filesystem::last_write_time(workbook), before);

    // The window reads the row boxes afresh: a range that starts on another person
    // is refused and the workbook stays as it is.
    const auto written = std::filesystem::last_write_time(workbook);
    child<QLineEdit>("edStart")->setText(QStringLiteral("8"));
    prompts.shown.clear();
    button("btnWrite")->click();
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_NE(gbk::toUtf8(prompts.shown[0].text).find("对不上号"), std::string::npos);
    EXPECT_EQ(std::filesystem::last_write_time(workbook), written);
}

TEST_F(XjWindowActions, ReadRangeBelowTheFirstDataRowPutsTheFocusOnTheBox)
{
    struct Case
    {
        const char *start, *end, *focus;
        int messages;
    };
    const Case cases[] = {{"6", "30", "edStart", 1}, {"7", "3", "edEnd", 1}, {"0", "1", "edEnd", 2}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.focus);
        storeRows({person(1, "张三")});
        open();
        prompts.shown.clear();
        child<QLineEdit>("edStart")->setText(QString::fromUtf8(c.start));
        child<QLineEdit>("edEnd")->setText(QString::fromUtf8(c.end));
        child<QLineEdit>("edFile")->setFocus();
        button("btnRead")->click();
        ASSERT_EQ(prompts.shown.size(), std::size_t(c.messages));
        for (const auto &shown : prompts.shown) {
            EXPECT_EQ(gbk::toUtf8(shown.text), "开始行号不能小于7 ！");
            EXPECT_EQ(shown.icon, MessageIcon::Error);
        }
        EXPECT_EQ(window->focusWidget(), child<QWidget>(c.focus));
        EXPECT_FALSE(storedRows().empty());
        xj::XjTable::open(dir / "xjgz.db")->clear();
    }
}

TEST_F(XjWindowActions, AdjustUsesTheMonthCountLoadedWithTheWindow)
{
    // 专技, grade 4 at 113 with a supplement of 11: the increase is 13 a month.
    xj::XjRecord r = person(1, "张三");
    r.zwlb = 2;
    r.xjdj1 = 4;
    r.xjgz1 = 113;
    r.gwgz1 = r.gwgz2 = 590;
    r.bf101 = 11;
    r.sftz = 1;
    storeRows({r});
    setIni("Month", "4");
    open();
    child<QLineEdit>("edMonth")->setText(QStringLiteral("6"));
    button("btnOK")->click();
    const std::vector<xj::XjRecord> rows = storedRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].zzhj, 13);
    EXPECT_EQ(rows[0].bufa, 52);
    EXPECT_FALSE(window->grid()->isSuspended());
    EXPECT_EQ(window->grid()->model()->index(0, 28).data().toInt(), 52);
}

TEST_F(XjWindowActions, SettingsButtonOpensTheColumnDialogModally)
{
    struct Case
    {
        const char *button;
        const char *stored;
    };
    const Case cases[] = {
        {"Button2", "<missing>"},
        {"Button1", "0102030405060708091011121314151617181920212223242526272829303132"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        open().show();
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<xj::TParaForm *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("参数设置"));
            dialog->findChild<QPushButton *>(QString::fromUtf8(c.button))->click();
        });
        button("btnPara")->click();
        EXPECT_TRUE(seen);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(window->findChildren<xj::TParaForm *>().size(), 0);
        EXPECT_EQ(iniValue("xjRow"), c.stored);
    }
}

} // namespace
