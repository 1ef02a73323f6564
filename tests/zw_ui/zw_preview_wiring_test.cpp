// 预览 and 打印 of the ZW window on the example roster: the first flagged row's form in the
// preview window until it is closed, a second 预览 only raising it, and printing without
// a printer.
#include "preview/form_kampreview.h"
#include "preview/page_view.h"
#include "preview/printer_page_sink.h"
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "support/qt_application.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "widgets/program_folder.h"
#include "zw/ui/zw_main_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quvela;
using preview::TFormKampreview;

namespace {

class ZwPreviewWiring : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication<QApplication>(); }

    void SetUp() override
    {
        zwcs = TZwcs{};
        widgets::setProgramFolderOverride(QString::fromStdString(dir.path().string()));
        IniFile ini(dir / "zwgz.ini");
        ini.writeString(kSettingsSection, "excelFileName", QUVELA_SOURCE_DIR "/examples/zw-roster.xlsx");
        ini.writeString(kSettingsSection, "Start", "7");
        ini.writeString(kSettingsSection, "End", "21");
        window = std::make_unique<zw::TZwMainForm>(prompts);
        window->show();
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        window.reset();
        widgets::setProgramFolderOverride(QString());
        zwcs = TZwcs{};
    }

    void click(const char *name) const { window->findChild<QPushButton *>(QString::fromLatin1(name))->click(); }
    int previewWindows() const
    {
        return static_cast<int>(window->findChildren<TFormKampreview *>(Qt::FindDirectChildrenOnly).size());
    }

    test::TempFolder dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<zw::TZwMainForm> window;
};

TEST_F(ZwPreviewWiring, PreviewShowsTheFirstFlaggedRowUntilClosedAndASecondPreviewOnlyRaisesIt)
{
    // Rows 7 and 8 of the example roster are not flagged; row 9 is the first that is.
    QPointer<TFormKampreview> seen;
    int windowsAfterSecondPreview = 0;
    int rowWhileShown = 0;
    std::string shownName;
    QTimer::singleShot(0, window.get(), [&] {
        seen = preview::findPreviewWindow(*window);
        if (!seen)
            return;
        rowWhileShown = window->CurrentRow;
        for (const report::ReportLabel &l : seen->pageView()->pageStore().at(0).labels)
            if (l.name == "l_xm")
                shownName = gbk::toUtf8(l.text);
        click("btnPre");
        windowsAfterSecondPreview = previewWindows();
        seen->close();
    });
    click("btnPre");

    EXPECT_EQ(rowWhileShown, 9);
    EXPECT_EQ(shownName, "钟乐亨");
    EXPECT_EQ(windowsAfterSecondPreview, 1);
    EXPECT_FALSE(seen);
    EXPECT_EQ(preview::findPreviewWindow(*window), nullptr);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ZwPreviewWiring, TheWidthIsReadFromTheBoxAtEveryForm)
{
    std::string firstLine;
    window->edWidth()->setText(QStringLiteral("25"));
    QTimer::singleShot(0, window.get(), [&] {
        if (TFormKampreview *open = preview::findPreviewWindow(*window)) {
            for (const report::ReportLabel &l : open->pageView()->pageStore().at(0).labels)
                if (l.name == "y1")
                    firstLine = gbk::toUtf8(l.text);
            open->close();
        }
    });
    click("btnPre");
    EXPECT_EQ(firstLine, "根据zar(2007)71号文件");
}

TEST_F(ZwPreviewWiring, PrintWithoutAPrinterShowsTheMessageOnce)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer installed";
    click("btnPrn");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
    EXPECT_EQ(prompts.shown[0].text, preview::noPrinterMessage());
    EXPECT_EQ(window->CurrentRow, 9);
}

} // namespace
