// Form pages on a printer: the job settings, one job per form, and no printer at all.
#include "preview/form_kampreview.h"
#include "preview/form_pages.h"
#include "preview/printer_page_sink.h"
#include "recording_printer.h"
#include "support/scripted_prompts.h"

#include "common/errors.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace quvela;

namespace {

class PrinterOutput : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }

    // A printer that writes its job into a PDF file, so that the job can be read back.
    static void toFile(QPrinter &printer, const QString &fileName)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
    }
};

// Qt's file printers keep no duplex setting, so the both-sides request is left to a
// machine with a printer driver.
TEST_F(PrinterOutput, FormJobsAreOneB5PortraitPageWithOneCopy)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setCopyCount(3);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    preview::setUpFormPrinter(printer);
    EXPECT_EQ(printer.copyCount(), 1);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    const QSizeF mm = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    EXPECT_NEAR(mm.width(), 182, 0.05);
    EXPECT_NEAR(mm.height(), 257, 0.05);
    EXPECT_TRUE(printer.fullPage());
}

TEST_F(PrinterOutput, EachFormIsAJobOfItsOwn)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("job.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    toFile(printer, file);
    preview::setUpFormPrinter(printer);
    preview::PrinterPageSink sink(printer);
    const report::PageStore pages = test::formPages({"张三", "李四"});

    sink.printJob(pages[0]);
    EXPECT_EQ(test::pdfInfo(file, QStringLiteral("Pages")), QStringLiteral("1"));
    EXPECT_TRUE(test::pdfInfo(file, QStringLiteral("Page size")).startsWith(QStringLiteral("516 x 729"))) << test::pdfInfo(file, QStringLiteral("Page size")).toStdString();
    QString text = test::pdfText(file);
    EXPECT_TRUE(text.contains(QStringLiteral("张三")));
    EXPECT_TRUE(text.contains(QStringLiteral("国家机关事业单位工作人员工资变动审批表")));
    EXPECT_TRUE(text.contains(QStringLiteral("薪级工资由 14 级 377 元增加到 15 级 412 元"))) << text.toStdString();

    // The second job replaces the file: it was not appended to the first.
    sink.printJob(pages[1]);
    EXPECT_EQ(test::pdfInfo(file, QStringLiteral("Pages")), QStringLiteral("1"));
    text = test::pdfText(file);
    EXPECT_TRUE(text.contains(QStringLiteral("李四")));
    EXPECT_FALSE(text.contains(QStringLiteral("张三")));
}

TEST_F(PrinterOutput, WithoutAPrinterTheClerkIsToldAndNothingIsWritten)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer installed";
    const report::PageStore pages = test::formPages({"张三"});
    EXPECT_FALSE(preview::printerInstalled());

    preview::PrinterPageSink sink;
    try {
        sink.printJob(pages[0]);
        ADD_FAILURE() << "printed without a printer";
    } catch (const QuvelaError &error) {
        EXPECT_EQ(error.message(), preview::noPrinterMessage());
    }

    // A printer that has nowhere to go counts as none.
    QPrinter nowhere(QPrinter::HighResolution);
    nowhere.setOutputFormat(QPrinter::PdfFormat);
    preview::PrinterPageSink nowhereSink(nowhere);
    EXPECT_THROW(nowhereSink.printJob(pages[0]), QuvelaError);
}

TEST_F(PrinterOutput, PreviewPrintAndSetUpWithoutAPrinterShowTheMessage)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer installed";
    test::ScriptedPrompts prompts;
    QWidget owner;
    auto *window = new preview::TFormKampreview(prompts, &owner);
    window->setPageStore(test::formPages({"张三"}));
    for (const char *name : {"SpeedButtonPrint", "SpeedButtonPrintSetup", "SpeedButtonPrint"})
        window->findChild<QToolButton *>(QString::fromLatin1(name))->click();
    ASSERT_EQ(prompts.shown.size(), 3u);
    for (const auto &shown : prompts.shown) {
        EXPECT_EQ(shown.kind, "error");
        EXPECT_EQ(shown.text, preview::noPrinterMessage());
    }
    EXPECT_EQ(preview::findPreviewWindow(owner), window);
}

TEST_F(PrinterOutput, PreviewPrintsEveryPageOnThePrinterChosenInTheSetUp)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chosen.pdf"));
    test::ScriptedPrompts prompts;
    QWidget owner;
    auto *window = new preview::TFormKampreview(prompts, &owner);
    window->setPageStore(test::formPages({"甲", "乙", "丙"}));
    int setUps = 0;
    bool formSettingsOffered = false;
    window->setPrinterSetup([&](QPrinter &printer, QWidget *) {
        ++setUps;
        formSettingsOffered = printer.copyCount() == 1 && printer.fullPage();
        // The clerk cancels the first time and picks a printer the second.
        if (setUps == 1)
            return false;
        toFile(printer, file);
        printer.setCopyCount(2);
        return true;
    });
    const auto click = [&](const char *name) { window->findChild<QToolButton *>(QString::fromLatin1(name))->click(); };
    click("SpeedButtonPrintSetup");
    click("SpeedButtonPrintSetup");
    click("SpeedButtonPrint");
    EXPECT_EQ(setUps, 2);
    EXPECT_TRUE(formSettingsOffered);
    EXPECT_TRUE(prompts.shown.empty());
    // Three jobs into one file leave the last one, a single page.
    EXPECT_EQ(test::pdfInfo(file, QStringLiteral("Pages")), QStringLiteral("1"));
    EXPECT_TRUE(test::pdfText(file).contains(QStringLiteral("丙")));
}

// The form's settings are offered once; what the clerk then chooses is what every job
// prints with, print after print, and what the next set-up offers.
TEST_F(PrinterOutput, TheClerksSetUpIsWhatEveryJobPrintsWith)
{
    test::ScriptedPrompts prompts;
    QWidget owner;
    auto *window = new preview::TFormKampreview(prompts, &owner);
    window->setPageStore(test::formPages({"甲", "乙"}));
    std::vector<test::RecordedJob> jobs;
    int printersMade = 0;
    window->setPrinterSource([&]() -> std::unique_ptr<QPrinter> {
        ++printersMade;
        return std::make_unique<test::RecordingPrinter>(jobs);
    });
    struct Offered
    {
        int copies;
        QPrinter::DuplexMode duplex;
        QPrinter::PaperSource source;
        QPageLayout::Orientation orientation;
        QSizeF mm;
        bool fullPage;
    };
    std::vector<Offered> offered;
    window->setPrinterSetup([&](QPrinter &printer, QWidget *) {
        offered.push_back({printer.copyCount(), printer.duplex(), printer.paperSource(),
                           printer.pageLayout().orientation(), printer.pageLayout().fullRect(QPageLayout::Millimeter).size(),
                           printer.fullPage()});
        // First the clerk cancels; then chooses 2 copies, one side, the lower tray.
        if (offered.size() == 1)
            return false;
        printer.setCopyCount(2);
        printer.setDuplex(QPrinter::DuplexNone);
        printer.setPaperSource(QPrinter::Lower);
        return true;
    });
    const auto click = [&](const char *name) { window->findChild<QToolButton *>(QString::fromLatin1(name))->click(); };
    click("SpeedButtonPrintSetup");
    click("SpeedButtonPrintSetup");
    click("SpeedButtonPrint");
    click("SpeedButtonPrint");
    click("SpeedButtonPrintSetup");
    ASSERT_TRUE(prompts.shown.empty()) << gbk::toUtf8(prompts.shown[0].text);
    EXPECT_EQ(printersMade, 1);

    ASSERT_EQ(offered.size(), 3u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(offered[i].copies, 1);
        EXPECT_EQ(offered[i].duplex, QPrinter::DuplexLongSide);
        EXPECT_EQ(offered[i].source, QPrinter::Auto);
        EXPECT_EQ(offered[i].orientation, QPageLayout::Portrait);
        EXPECT_NEAR(offered[i].mm.width(), 182, 0.05);
        EXPECT_NEAR(offered[i].mm.height(), 257, 0.05);
        EXPECT_TRUE(offered[i].fullPage);
    }
    EXPECT_EQ(offered[2].copies, 2);
    EXPECT_EQ(offered[2].duplex, QPrinter::DuplexNone);
    EXPECT_EQ(offered[2].source, QPrinter::Lower);

    // Two prints of two forms: four jobs of one page, each with the clerk's choice.
    ASSERT_EQ(jobs.size(), 4u);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(jobs[i].copies, 2);
        EXPECT_EQ(jobs[i].duplex, QPrinter::DuplexNone);
        EXPECT_EQ(jobs[i].paperSource, QPrinter::Lower);
        EXPECT_EQ(jobs[i].layout.orientation(), QPageLayout::Portrait);
        EXPECT_NEAR(jobs[i].layout.fullRect(QPageLayout::Millimeter).width(), 182, 0.05);
        EXPECT_NEAR(jobs[i].layout.fullRect(QPageLayout::Millimeter).height(), 257, 0.05);
        EXPECT_TRUE(jobs[i].fullPage);
        EXPECT_TRUE(jobs[i].texts.contains(QString::fromUtf8(i % 2 ? "乙" : "甲"))) << jobs[i].texts.join(u'|').toStdString();
    }
}

} // namespace
