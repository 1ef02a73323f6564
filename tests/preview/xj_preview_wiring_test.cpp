// 预览 and 打印 of the XJ tool window on the example roster, imported as a clerk would.
#include "preview/form_kampreview.h"
#include "preview/form_pages.h"
#include "preview/page_view.h"
#include "preview/printer_page_sink.h"
#include "support/scripted_prompts.h"
#include "widgets/data_grid.h"
#include "widgets/program_folder.h"
#include "xj/ui/xj_main_form.h"
#include "xj/xj_table.h"

#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quvela;
using preview::TFormKampreview;

namespace {

class XjPreviewWiring : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }

    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QProcess batch;
        batch.start(QStringLiteral(QUVELA_BINARY_DIR "/bin/quvela-batch"),
                    {QStringLiteral("--dir"), folder.path(), QStringLiteral("xj"), QStringLiteral("import"),
                     QStringLiteral("--workbook"), QStringLiteral(QUVELA_SOURCE_DIR "/examples/xj-roster.xlsx"),
                     QStringLiteral("--rows"), QStringLiteral("7-30")});
        ASSERT_TRUE(batch.waitForFinished(60000));
        ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
        widgets::setProgramFolderOverride(folder.path());
        window = std::make_unique<xj::TXjMainForm>(prompts);
        ASSERT_NE(window->table(), nullptr);
        ASSERT_EQ(window->table()->rowCount(), 24);
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        widgets::setProgramFolderOverride(QString());
    }

    void click(const char *name) const { window->findChild<QPushButton *>(QString::fromLatin1(name))->click(); }
    int previewWindows() const
    {
        return static_cast<int>(window->findChildren<TFormKampreview *>(Qt::FindDirectChildrenOnly).size());
    }

    QTemporaryDir folder;
    test::ScriptedPrompts prompts;
    std::unique_ptr<xj::TXjMainForm> window;
};

TEST_F(XjPreviewWiring, PreviewShowsTheFirstRowUntilClosedAndASecondPreviewOnlyRaisesIt)
{
    const GbkString firstName = window->table()->readRange(0, 1).at(0).xm;
    QPointer<TFormKampreview> seen;
    bool suspended = false;
    int windowsAfterSecondPreview = 0;
    QString counter;
    GbkString shownName;
    QTimer::singleShot(0, window.get(), [&] {
        seen = preview::findPreviewWindow(*window);
        if (!seen)
            return;
        suspended = window->grid()->isSuspended();
        counter = seen->counterText();
        for (const report::ReportLabel &l : seen->pageView()->pageStore().at(0).labels) {
            if (l.name == "l_xm")
                shownName = l.text;
        }
        click("btnPre");
        windowsAfterSecondPreview = previewWindows();
        const QByteArray shot = qgetenv("QUVELA_PREVIEW_SCREENSHOT");
        if (!shot.isEmpty()) {
            // A bare X server has no window manager to maximize the window.
            seen->setGeometry(seen->screen()->availableGeometry());
            QCoreApplication::processEvents();
            seen->grab().save(QString::fromLocal8Bit(shot));
        }
        seen->close();
    });
    click("btnPre");

    EXPECT_EQ(counter, QStringLiteral("第 1 页(共 1 页)"));
    EXPECT_EQ(shownName, firstName);
    EXPECT_TRUE(suspended);
    EXPECT_EQ(windowsAfterSecondPreview, 1);
    // The click returned because the window went; the grid follows the table again.
    EXPECT_FALSE(seen);
    EXPECT_FALSE(window->grid()->isSuspended());
    EXPECT_EQ(preview::findPreviewWindow(*window), nullptr);
    EXPECT_TRUE(prompts.shown.empty());

    // The next 预览 opens a new window.
    bool opened = false;
    QTimer::singleShot(0, window.get(), [&] {
        TFormKampreview *again = preview::findPreviewWindow(*window);
        opened = again && again->isVisible();
        if (again)
            again->close();
    });
    click("btnPre");
    EXPECT_TRUE(opened);
}

TEST_F(XjPreviewWiring, AnEmptyTableLeavesAHiddenWindowThatTheNextPreviewBringsUpEmpty)
{
    window->table()->clear();
    click("btnPre");
    TFormKampreview *hidden = preview::findPreviewWindow(*window);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_FALSE(window->grid()->isSuspended());

    click("btnPre");
    EXPECT_EQ(preview::findPreviewWindow(*window), hidden);
    EXPECT_TRUE(hidden->isVisible());
    EXPECT_EQ(hidden->counterText(), QStringLiteral("第页（共页）"));
    EXPECT_EQ(previewWindows(), 1);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(XjPreviewWiring, PrintWithoutAPrinterShowsTheMessageOnceAndResumesTheGrid)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer installed";
    click("btnPrn");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
    EXPECT_EQ(prompts.shown[0].text, preview::noPrinterMessage());
    EXPECT_FALSE(window->grid()->isSuspended());
}

} // namespace
