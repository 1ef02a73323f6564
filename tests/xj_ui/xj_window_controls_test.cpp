// The XJ window as a clerk sees it before pressing anything: caption, boxes, buttons,
// labels, hints, tab order, the loaded settings and the grid's columns.
#include "xj_window_fixture.h"

#include "widgets/data_grid.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <fstream>

using namespace quvela;
using namespace quvela::test;

namespace {

class XjWindowControls : public XjWindowTest
{
};

TEST_F(XjWindowControls, CaptionFontAndBottomPanel)
{
    xj::TXjMainForm &w = open();
    EXPECT_EQ(w.objectName(), QStringLiteral("XjMainForm"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("事业单位薪级工资个人申报表打印工具"));
    EXPECT_EQ(w.font().family(), QStringLiteral("MS Sans Serif"));
    w.resize(1024, 700);
    w.show();
    QApplication::processEvents();
    auto *bottom = child<QWidget>("Panel1");
    auto *panel = child<QWidget>("Panel2");
    ASSERT_TRUE(bottom && panel);
    EXPECT_EQ(bottom->height(), 118);
    EXPECT_EQ(panel->width(), 712);
    // The control panel keeps to the right, the grid fills what is above the panel.
    EXPECT_EQ(panel->mapTo(&w, QPoint(panel->width(), 0)).x(), w.width());
    EXPECT_EQ(w.grid()->geometry().bottom() + 1, bottom->geometry().top());
    EXPECT_EQ(w.grid()->width(), w.width());
}

TEST_F(XjWindowControls, ControlsStandWhereTheFormPutsThem)
{
    struct Case
    {
        const char *name;
        QRect geometry;
        const char *text; // button caption, or nullptr for a box
        const char *hint; // nullptr: no hint
    };
    const Case cases[] = {
        {"edFile", {46, 28, 121, 23}, nullptr, nullptr},
        {"edArea", {213, 28, 133, 23}, nullptr, nullptr},
        {"edYear", {46, 68, 38, 23}, nullptr, nullptr},
        {"edMonth", {129, 68, 38, 23}, nullptr, nullptr},
        {"dtPrint", {213, 65, 135, 20}, nullptr, nullptr},
        {"edStart", {393, 27, 38, 23}, nullptr, "薪级工资调整表除标题行外欲打印、调整的开始行号，不小于7"},
        {"edEnd", {393, 64, 38, 23}, nullptr, "薪级工资调整表除标题行外欲打印、调整的结束行号，不小于7"},
        {"btnClear", {463, 27, 46, 25}, "清空", "清空上表显示内容，如果已调整但没回写，请慎用！"},
        {"btnRead", {463, 64, 46, 25}, "读入", "从薪级工资调整花名册按左边设定的行号范围读取调资数据到上表中。"},
        {"btnOK", {519, 27, 46, 25}, "调薪", "自动按条件调整薪级工资和增资额，即只处理19-21，24-25列。"},
        {"btnWrite", {519, 64, 46, 25}, "回写",
         "将调整后的薪级工资、增资即19-21、24-25写回薪级工资调整花名册(Excel\n表)。"},
        {"btnPre", {575, 27, 46, 25}, "预览", nullptr},
        {"btnPrn", {575, 64, 46, 25}, "打印", nullptr},
        {"btnPara", {640, 27, 46, 25}, "设置", nullptr},
        {"btnExit", {640, 64, 46, 24}, "退出", nullptr},
    };
    open();
    auto *panel = child<QWidget>("Panel2");
    ASSERT_TRUE(panel);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto *widget = child<QWidget>(c.name);
        ASSERT_TRUE(widget);
        EXPECT_EQ(widget->parentWidget(), panel);
        EXPECT_EQ(widget->geometry(), c.geometry);
        if (c.text) {
            auto *button = qobject_cast<QPushButton *>(widget);
            ASSERT_TRUE(button);
            EXPECT_EQ(button->text(), QString::fromUtf8(c.text));
        }
        EXPECT_EQ(widget->toolTip(), c.hint ? QString::fromUtf8(c.hint) : QString());
    }
}

TEST_F(XjWindowControls, LabelsBesideTheirBoxes)
{
    struct Case
    {
        const char *text;
        QPoint at;
        const char *box; // the box right of the label, which it must not cover
    };
    const Case cases[] = {
        {"文件\n依据 ", {16, 27}, "edFile"},  {"制表\n机构 ", {181, 27}, "edArea"},
        {"调资\n年份 ", {16, 67}, "edYear"},  {"补发\n月数  ", {102, 67}, "edMonth"},
        {"打印\n日期 ", {181, 64}, "dtPrint"}, {"开始\n行号 ", {366, 27}, "edStart"},
        {"结束\n行号 ", {366, 64}, "edEnd"},
    };
    open();
    auto *panel = child<QWidget>("Panel2");
    const QList<QLabel *> labels = panel->findChildren<QLabel *>();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        QLabel *found = nullptr;
        for (QLabel *label : labels)
            if (label->text() == QString::fromUtf8(c.text))
                found = label;
        ASSERT_TRUE(found);
        EXPECT_EQ(found->pos(), c.at);
        // Both lines of the caption fit, and the caption stays clear of its box.
        EXPECT_GE(found->height(), 2 * found->fontMetrics().height());
        EXPECT_LE(found->x() + found->fontMetrics().horizontalAdvance(QStringLiteral("文件")),
                  child<QWidget>(c.box)->x());
    }
}

TEST_F(XjWindowControls, TabOrderRunsThroughTheBoxesThenTheButtons)
{
    const QStringList order = {QStringLiteral("edFile"),   QStringLiteral("edYear"),  QStringLiteral("dtPrint"),
                               QStringLiteral("edStart"),  QStringLiteral("edEnd"),   QStringLiteral("btnClear"),
                               QStringLiteral("btnRead"),  QStringLiteral("btnOK"),   QStringLiteral("btnWrite"),
                               QStringLiteral("btnPre"),   QStringLiteral("btnPrn"),  QStringLiteral("btnExit"),
                               QStringLiteral("edMonth"),  QStringLiteral("edArea"),  QStringLiteral("btnPara")};
    xj::TXjMainForm &w = open();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    child<QWidget>("edFile")->setFocus();
    QStringList visited;
    for (qsizetype i = 0; i < order.size(); ++i) {
        // The control the focus is in (the date picker's focus sits in its inner edit).
        QWidget *focus = QApplication::focusWidget();
        while (focus && !order.contains(focus->objectName()))
            focus = focus->parentWidget();
        visited << (focus ? focus->objectName() : QStringLiteral("?"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, order);
}

TEST_F(XjWindowControls, BoxesShowTheLoadedSettings)
{
    struct Case
    {
        const char *file, *area, *year, *month, *start, *end;
        QDate date;
    };
    const Case cases[] = {
        // Nothing stored: the defaults, with today's date.
        {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, QDate::currentDate()},
        {"人社(2021)12", "某市人社局", "2021", "7", "9", "120", QDate(2021, 3, 15)},
        // A year that is not a number falls back to its default.
        {nullptr, nullptr, "abc", nullptr, nullptr, nullptr, QDate::currentDate()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.year ? c.year : "defaults");
        std::filesystem::remove(dir / "xjgz.ini");
        if (c.file) {
            setIni("File", c.file);
            setIni("Area", c.area);
            setIni("Month", c.month);
            setIni("Start", c.start);
            setIni("End", c.end);
            ini().writeDateTime("xtcs", "Date", QDateTime(c.date, QTime(9, 30)));
        }
        if (c.year)
            setIni("Year", c.year);
        const bool stored = c.file != nullptr;
        open();
        EXPECT_EQ(child<QLineEdit>("edFile")->text(), stored ? QString::fromUtf8(c.file) : QStringLiteral("zar(2007)50"));
        EXPECT_EQ(child<QLineEdit>("edArea")->text(),
                  stored ? QString::fromUtf8(c.area) : QStringLiteral("vodeve工资处制"));
        EXPECT_EQ(child<QLineEdit>("edYear")->text(), stored ? QString::fromUtf8(c.year) : QStringLiteral("2010"));
        EXPECT_EQ(child<QLineEdit>("edMonth")->text(), stored ? QString::fromUtf8(c.month) : QStringLiteral("4"));
        EXPECT_EQ(child<QLineEdit>("edStart")->text(), stored ? QString::fromUtf8(c.start) : QStringLiteral("7"));
        EXPECT_EQ(child<QLineEdit>("edEnd")->text(), stored ? QString::fromUtf8(c.end) : QStringLiteral("7"));
        EXPECT_EQ(child<QDateEdit>("dtPrint")->date(), c.date);
        // The long date of a Chinese desktop.
        EXPECT_EQ(child<QDateEdit>("dtPrint")->text(), c.date.toString(QStringLiteral("yyyy'年'M'月'd'日'")));
        EXPECT_EQ(gbk::toUtf8(xjcs.ProgramDir), dir.path().string());
    }
}

TEST_F(XjWindowControls, UsageTextShownOnlyWhenTheFileIsThere)
{
    open().show();
    auto *usage = child<QPlainTextEdit>("Memo1");
    ASSERT_TRUE(usage);
    EXPECT_FALSE(usage->isVisible());
    window->hide();

    // The file lies in the program folder, written in GBK as a clerk's editor saves it.
    const GbkString text = gbk::fromUtf8("1. 先设置列号；\r\n2. 再读入花名册。");
    std::ofstream(dir / "使用说明.txt", std::ios::binary).write(text.data(), std::streamsize(text.size()));
    window->show();
    EXPECT_TRUE(usage->isVisible());
    EXPECT_EQ(usage->toPlainText(), QStringLiteral("1. 先设置列号；\n2. 再读入花名册。"));

    window->hide();
    std::filesystem::remove(dir / "使用说明.txt");
    window->show();
    EXPECT_FALSE(usage->isVisible());
    EXPECT_TRUE(usage->toPlainText().isEmpty());
}

TEST_F(XjWindowControls, UnopenableTableReportsAndLeavesTheGridEmpty)
{
    // A folder where the database file should be cannot be opened as one.
    std::filesystem::create_directory(dir / "xjgz.db");
    xj::TXjMainForm &w = open();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
    EXPECT_EQ(w.table(), nullptr);
    EXPECT_EQ(w.grid()->model()->rowCount(), 0);
    EXPECT_EQ(w.grid()->model()->columnCount(), 33);

    // Every action on the table fails with the same message, asking nothing.
    for (const char *name : {"btnClear", "btnRead", "btnOK", "btnWrite"}) {
        SCOPED_TRACE(name);
        child<QPushButton>(name)->click();
        ASSERT_EQ(prompts.shown.back().kind, "error");
        EXPECT_EQ(prompts.shown.back().text, prompts.shown[0].text);
    }
    EXPECT_EQ(prompts.shown.size(), 5u);
}

} // namespace
