// "预览" and "打印" of the JG window: the first flagged row previewed from the stored
// workbook, the width box as it stands, the circular as loaded, and runs that stop.
#include "jg_window_fixture.h"

#include "jg/jg_roster.h"
#include "preview/form_kampreview.h"
#include "support/preview_capture.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace quvela;
using namespace quvela::test;

namespace {

namespace col = quvela::jg::column;

class JgWindowRun : public JgWindowTest
{
protected:
    std::filesystem::path book = dir / "职务变动.xlsx";

    void SetUp() override
    {
        JgWindowTest::SetUp();
        writeJgRoster(book, {
                                {7, with(dutyChange(), {{col::Name, std::string("甲")},
                                                        {col::PrintFlag, std::string("01")}})},
                                {8, with(dutyChange(), {{col::Name, std::string("乙")},
                                                        {col::PrintFlag, std::string(" 1 ")},
                                                        {col::OldAmount, 195.0},
                                                        {col::OldPost, std::string("高级工")},
                                                        {col::NewAmount, 270.0},
                                                        {col::NewPost, std::string("技师")}})},
                                {9, with(dutyChange(), {{col::Name, std::string("丙")}})},
                            });
        setIni("excelFileName", book.string());
        setIni("Date", "2010-3-5");
        setIni("End", "9");
    }

    void click(const char *button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }

    // Runs "预览"; the page the preview window received, which is then closed.
    std::optional<report::RenderedPage> previewPage()
    {
        return previewedPage([this] { click("btnPre"); });
    }

    std::string lastError() const
    {
        for (auto it = prompts.shown.rbegin(); it != prompts.shown.rend(); ++it)
            if (it->kind == "error")
                return gbk::toUtf8(it->text);
        return "<none>";
    }
};

TEST_F(JgWindowRun, PreviewShowsTheFirstFlaggedRow)
{
    open();
    const std::optional<report::RenderedPage> page = previewPage();
    ASSERT_TRUE(page);
    EXPECT_EQ(window->CurrentRow, 8);
    EXPECT_EQ(textOf(*page, "l_xm"), "乙");
    EXPECT_EQ(textOf(*page, "l_gw2"), "技师");
    EXPECT_NEAR(labelOf(*page, "m_gw2").x, 15 + 143.9, 1e-9);
    EXPECT_EQ(textOf(*page, "Lb_year"), "2010 年 3 月 5 日");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(JgWindowRun, TheWidthBoxAsItStandsAndTheCircularAsLoaded)
{
    open();
    retype("edWidth", QStringLiteral("300"));
    retype("edFile", QStringLiteral("新文(2011)1号"));
    const std::optional<report::RenderedPage> page = previewPage();
    ASSERT_TRUE(page);
    EXPECT_EQ(textOf(*page, "y2"), "");
    EXPECT_EQ(textOf(*page, "y1").rfind("根据zar(2007)71号文件规定，拟同意该同志技术等级工资", 0), 0u)
        << textOf(*page, "y1");
}

TEST_F(JgWindowRun, AFormThatCannotBeMadeStopsTheRunWithTheError)
{
    writeJgRoster(book, {{7, with(dutyChange(), {{col::OldAmount, std::string("1080元")}})}});
    open();
    retype("edEnd", QStringLiteral("7"));
    const std::optional<report::RenderedPage> page = previewPage();
    EXPECT_FALSE(page);
    EXPECT_TRUE(window->findChildren<preview::TFormKampreview *>().isEmpty());
    EXPECT_EQ(lastError(), "'1080元' is not a valid integer value");
}

TEST_F(JgWindowRun, EmptyBoxesStopTheRun)
{
    open();
    for (const char *box : {"edStart", "edWidth"}) {
        SCOPED_TRACE(box);
        prompts.shown.clear();
        retype("edStart", QStringLiteral("7"));
        retype("edWidth", QStringLiteral("78"));
        retype(box, QString());
        click("btnPre");
        EXPECT_EQ(lastError(), "'' is not a valid integer value");
        EXPECT_TRUE(window->findChildren<preview::TFormKampreview *>().isEmpty());
    }
}

} // namespace
