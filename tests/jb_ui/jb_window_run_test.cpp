// "预览" and "打印" of the JB window: the forms of the mode selected, CurrentRow, the
// preview of the first flagged row only, a form that cannot be made.
#include "jb_window_fixture.h"

#include "common/errors.h"
#include "jb/jb_roster.h"
#include "preview/form_kampreview.h"
#include "support/page_labels.h"
#include "support/preview_capture.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace quvela;
using namespace quvela::test;

namespace {

class JbWindowRun : public JbWindowTest
{
protected:
    std::filesystem::path normalBook = dir / "正常.xlsx";
    std::filesystem::path rollingBook = dir / "滚动.xlsx";

    void SetUp() override
    {
        JbWindowTest::SetUp();
        Cells unflagged = normalStepPerson("甲");
        unflagged[22] = std::string("01");
        Cells worker = normalStepPerson("乙");
        worker[12] = 195.0;
        worker[16] = 195.0;
        worker[22] = std::string(" 1 ");
        writeJbRoster(normalBook, {{7, unflagged}, {8, worker}, {9, normalStepPerson("丙")}});
        writeJbRoster(rollingBook, {{7, rollingPerson("丁")}});
        setIni("excelFileName0", normalBook.string());
        setIni("excelFileName1", rollingBook.string());
        setIni("Date0", "2010-4-7");
        setIni("Date1", "2010-4-7");
        setIni("End0", "9");
    }

    // Runs a preview; the page the preview window received, which is then closed.
    std::optional<report::RenderedPage> previewPage()
    {
        return previewedPage([this] { window->RunFormReport(roster::ReportMode::Preview); });
    }
};

TEST_F(JbWindowRun, PreviewShowsTheFirstFlaggedRowOfTheMode)
{
    open();
    const std::optional<report::RenderedPage> page = previewPage();
    ASSERT_TRUE(page);
    EXPECT_EQ(window->CurrentRow, 8);
    EXPECT_EQ(textOf(*page, "l_xm"), "乙");
    EXPECT_EQ(textOf(*page, "l_gw1"), "高级工");
    EXPECT_EQ(textOf(*page, "lb_bdyy"), "正常增加岗位工资");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(JbWindowRun, AfterASwitchTheOtherModesRosterAndForm)
{
    open();
    clickMode(1);
    const std::optional<report::RenderedPage> page = previewPage();
    ASSERT_TRUE(page);
    EXPECT_EQ(window->CurrentRow, 7);
    EXPECT_EQ(textOf(*page, "l_xm"), "丁");
    EXPECT_EQ(textOf(*page, "lb_bdyy"), "滚动级别工资");
    EXPECT_EQ(textOf(*page, "l_ph1"), "1660");
}

TEST_F(JbWindowRun, TheWidthBoxAsItStandsWrapsTheWording)
{
    open();
    retype("edWidth", QStringLiteral("300"));
    const std::optional<report::RenderedPage> page = previewPage();
    ASSERT_TRUE(page);
    EXPECT_EQ(textOf(*page, "y2"), "");
    EXPECT_NE(textOf(*page, "y1").find("（高级工）"), std::string::npos);
}

TEST_F(JbWindowRun, AFormThatCannotBeMadeStopsTheRunWithTheError)
{
    Cells bad = normalStepPerson("戊");
    bad[12] = std::string("410元");
    writeJbRoster(normalBook, {{7, bad}});
    open();
    EXPECT_THROW(window->RunFormReport(roster::ReportMode::Preview), ConversionError);
    EXPECT_EQ(window->CurrentRow, 7);
    EXPECT_TRUE(window->findChildren<preview::TFormKampreview *>().isEmpty());
    // Through the button the error reaches the standard error box.
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnPre")), Qt::LeftButton);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back().kind, "error");
    EXPECT_EQ(gbk::toUtf8(prompts.shown.back().text), "'410元' is not a valid integer value");
}

TEST_F(JbWindowRun, EmptyWidthBoxStopsTheForm)
{
    open();
    retype("edWidth", QString());
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnPre")), Qt::LeftButton);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(gbk::toUtf8(prompts.shown.back().text), "'' is not a valid integer value");
}

} // namespace
