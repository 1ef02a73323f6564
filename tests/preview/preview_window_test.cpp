// The preview window: page buttons and counter, zoom, saving, finding and closing.
#include "preview/form_kampreview.h"
#include "preview/page_view.h"
#include "preview/form_pages.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSpinBox>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace quvela;
using preview::TFormKampreview;

namespace {

void key(QWidget *target, Qt::Key k, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

class PreviewWindow : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }

    void SetUp() override
    {
        owner = new QWidget;
        window = new TFormKampreview(prompts, owner);
    }
    void TearDown() override { delete owner; }

    QToolButton *button(const char *name) const { return window->findChild<QToolButton *>(QString::fromLatin1(name)); }
    QSpinBox *spin() const { return window->findChild<QSpinBox *>(QStringLiteral("SpinEdit2")); }
    void click(const char *name) const { button(name)->click(); }

    // first, prior, next, last
    std::array<bool, 4> enabled() const
    {
        return {button("SpeedButtonFirst")->isEnabled(), button("SpeedButtonPrior")->isEnabled(),
                button("SpeedButtonNext")->isEnabled(), button("SpeedButtonLast")->isEnabled()};
    }

    // A normal window of the given size with the pages in it.
    void showSized(const QSize &size, int pages = 1)
    {
        std::vector<std::string> names;
        for (int i = 0; i < pages; ++i)
            names.push_back("页" + std::to_string(i + 1));
        window->setPageStore(test::formPages(names));
        window->show();
        window->setWindowState(Qt::WindowNoState);
        window->resize(size);
        QCoreApplication::processEvents();
    }

    test::ScriptedPrompts prompts;
    QWidget *owner = nullptr;
    TFormKampreview *window = nullptr;
};

TEST_F(PreviewWindow, StartsHiddenNonModalWithTheCounterEmptyAndPagingOff)
{
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parent(), owner);
    EXPECT_EQ(window->windowModality(), Qt::NonModal);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("打印预览..."));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window->counterText(), QStringLiteral("第页（共页）"));
    EXPECT_EQ(enabled(), (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(spin()->value(), 100);
    EXPECT_EQ(window->pageView()->zoom(), 100);

    window->showPreview();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMaximized());
}

TEST_F(PreviewWindow, ButtonsCarryTheirHintsAsTheirOnlyText)
{
    const std::vector<std::pair<const char *, const char *>> hints = {
        {"SpeedButtonFit", "满页"},       {"SpeedButtonSame", "100%"},         {"SpeedButtonWidth", "潢宽"},
        {"SpeedButtonFirst", "第一页"},   {"SpeedButtonPrior", "上一页"},      {"SpeedButtonNext", "下一页"},
        {"SpeedButtonLast", "最后一页"},  {"SpeedButtonPrint", "打印"},        {"SpeedButtonPrintSetup", "打印设置"},
        {"SpeedButtonSave", "存盘"},      {"SpeedButtonClose", "关闭"}};
    for (const auto &[name, hint] : hints) {
        SCOPED_TRACE(name);
        ASSERT_NE(button(name), nullptr);
        EXPECT_EQ(button(name)->toolTip(), QString::fromUtf8(hint));
        EXPECT_TRUE(button(name)->text().isEmpty());
        EXPECT_FALSE(button(name)->icon().isNull());
    }
    EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("Panel3"))->accessibleName(), QStringLiteral("缩放比例        %"));
}

TEST_F(PreviewWindow, OnePageDisablesAllPageButtons)
{
    window->setPageStore(test::formPages({"张三"}));
    EXPECT_EQ(window->counterText(), QStringLiteral("第 1 页(共 1 页)"));
    EXPECT_EQ(window->pageView()->currentPage(), 1);
    EXPECT_EQ(enabled(), (std::array<bool, 4>{false, false, false, false}));
}

TEST_F(PreviewWindow, ThreePagesFollowTheButtons)
{
    window->setPageStore(test::formPages({"甲", "乙", "丙"}));
    EXPECT_EQ(window->counterText(), QStringLiteral("第 1 页(共 3 页)"));
    EXPECT_EQ(enabled(), (std::array<bool, 4>{false, false, true, true}));

    struct Step
    {
        const char *button;
        int page;
        std::array<bool, 4> enabled;
    };
    const std::vector<Step> steps = {
        {"SpeedButtonNext", 2, {true, true, true, true}},
        {"SpeedButtonNext", 3, {true, true, false, false}},
        {"SpeedButtonFirst", 1, {false, false, true, true}},
        {"SpeedButtonLast", 3, {true, true, false, false}},
        {"SpeedButtonPrior", 2, {true, true, true, true}},
        {"SpeedButtonPrior", 1, {false, false, true, true}},
        {"SpeedButtonNext", 2, {true, true, true, true}},
        {"SpeedButtonFirst", 1, {false, false, true, true}},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(std::string(s.button) + " to " + std::to_string(s.page));
        click(s.button);
        EXPECT_EQ(window->pageView()->currentPage(), s.page);
        EXPECT_EQ(window->counterText(), QStringLiteral("第 %1 页(共 3 页)").arg(s.page));
        EXPECT_EQ(enabled(), s.enabled);
    }
}

// Dark pixels: the ruled lines and the text of a drawn form.
int darkPixels(const QImage &image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 60;
    return dark;
}

TEST_F(PreviewWindow, TheViewDrawsTheCurrentPage)
{
    showSized(QSize(800, 600));
    preview::PageView *view = window->pageView();
    window->setPageStore({});
    const int empty = darkPixels(view->viewport()->grab().toImage());
    window->setPageStore(test::formPages({"张三"}));
    const int drawn = darkPixels(view->viewport()->grab().toImage());
    EXPECT_EQ(empty, 0);
    // Hundreds of millimetres of rules alone make thousands of dark pixels.
    EXPECT_GT(drawn, 2000);
}

TEST_F(PreviewWindow, PageNumbersOutsideTheStoreAreIgnored)
{
    window->setPageStore(test::formPages({"甲", "乙", "丙"}));
    preview::PageView *view = window->pageView();
    for (int page : {0, -1, 4, 100}) {
        view->setCurrentPage(page);
        EXPECT_EQ(view->currentPage(), 1) << page;
    }
    view->setCurrentPage(3);
    EXPECT_EQ(view->currentPage(), 3);
}

TEST_F(PreviewWindow, AChangeOfPageReturnsToTheTopLeftCorner)
{
    showSized(QSize(500, 400), 3);
    spin()->setValue(200);
    preview::PageView *view = window->pageView();
    ASSERT_GT(view->verticalScrollBar()->maximum(), 0);
    ASSERT_GT(view->horizontalScrollBar()->maximum(), 0);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    click("SpeedButtonNext");
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
}

TEST_F(PreviewWindow, ZoomStepsByTenWithinTenToThreeHundred)
{
    window->setPageStore(test::formPages({"张三"}));
    QSpinBox *box = spin();
    for (int expected = 110; expected <= 300; expected += 10) {
        box->stepUp();
        EXPECT_EQ(box->value(), expected);
        EXPECT_EQ(window->pageView()->zoom(), expected);
    }
    box->stepUp();
    EXPECT_EQ(box->value(), 300);
    EXPECT_EQ(window->pageView()->zoom(), 300);
    for (int expected = 290; expected >= 10; expected -= 10) {
        box->stepDown();
        EXPECT_EQ(window->pageView()->zoom(), expected);
    }
    box->stepDown();
    EXPECT_EQ(box->value(), 10);
    EXPECT_EQ(window->pageView()->zoom(), 10);
}

TEST_F(PreviewWindow, ZoomCannotBeTyped)
{
    showSized(QSize(800, 600));
    QSpinBox *box = spin();
    box->setFocus();
    key(box, Qt::Key_End);
    key(box, Qt::Key_5, QStringLiteral("5"));
    key(box, Qt::Key_Backspace);
    key(box, Qt::Key_Return);
    EXPECT_EQ(box->value(), 100);
    EXPECT_EQ(window->pageView()->zoom(), 100);
    key(box, Qt::Key_Up);
    EXPECT_EQ(box->value(), 110);
    EXPECT_EQ(window->pageView()->zoom(), 110);
}

TEST_F(PreviewWindow, FittedZoomsFitTheViewAndKeepToTheBoxRange)
{
    struct Case
    {
        QSize window;
        const char *button;
        int expected; // 0: within range, checked by fit
    };
    const std::vector<Case> cases = {
        {QSize(900, 700), "SpeedButtonFit", 0},
        {QSize(900, 700), "SpeedButtonWidth", 0},
        {QSize(640, 1000), "SpeedButtonWidth", 0},
        {QSize(700, 120), "SpeedButtonFit", 10},
        {QSize(2400, 1000), "SpeedButtonWidth", 300},
        {QSize(3600, 3400), "SpeedButtonFit", 300},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + std::to_string(c.window.width()) + "x" + std::to_string(c.window.height()));
        showSized(c.window);
        if (window->size() != c.window)
            FAIL() << window->width() << "x" << window->height();
        click("SpeedButtonSame");
        click(c.button);
        preview::PageView *view = window->pageView();
        EXPECT_EQ(spin()->value(), view->zoom());
        if (c.expected) {
            EXPECT_EQ(view->zoom(), c.expected);
            continue;
        }
        const QSizeF page = view->pageSizePixels();
        const QSize area = view->maximumViewportSize();
        EXPECT_LE(page.width(), area.width());
        if (std::string(c.button) == "SpeedButtonFit") {
            EXPECT_LE(page.height(), area.height());
            // A zoom step more would no longer fit.
            EXPECT_GT(page.height() * (view->zoom() + 10) / view->zoom(), area.height() - 30);
        } else {
            EXPECT_GT(page.width() * (view->zoom() + 10) / view->zoom(), area.width() - 40);
            // With the page taller than the view, its width still fits beside the bar.
            if (page.height() > area.height()) {
                EXPECT_LE(page.width(), view->viewport()->width());
            }
        }
    }
}

TEST_F(PreviewWindow, HundredPercentAfterFitSetsViewAndBoxToHundred)
{
    showSized(QSize(900, 700));
    click("SpeedButtonFit");
    ASSERT_NE(window->pageView()->zoom(), 100);
    click("SpeedButtonSame");
    EXPECT_EQ(window->pageView()->zoom(), 100);
    EXPECT_EQ(spin()->value(), 100);
}

TEST_F(PreviewWindow, SaveCancelledWritesNothing)
{
    // A window that went on after a cancel would write ".TXT" into the working folder,
    // a hidden file there: make that the folder inspected, and list hidden files too.
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    struct Restore
    {
        QString path;
        ~Restore() { QDir::setCurrent(path); }
    } restore{before};
    window->setPageStore(test::formPages({"张三"}));
    int asked = 0;
    for (std::optional<TFormKampreview::SaveChoice> answer :
         {std::optional<TFormKampreview::SaveChoice>{}, std::optional(TFormKampreview::SaveChoice{QString(), 0})}) {
        window->setSaveDialog([&](QWidget *) {
            ++asked;
            return answer;
        });
        click("SpeedButtonSave");
    }
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PreviewWindow, SaveWritesTextOrPdfByTypeAndName)
{
    struct Case
    {
        QString chosen;
        int filter;
        QString written;
        bool pdf;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("form"), TFormKampreview::TextFile, QStringLiteral("form.TXT"), false},
        {QStringLiteral("form"), TFormKampreview::PdfFile, QStringLiteral("form.PDF"), true},
        {QStringLiteral("a.txt"), TFormKampreview::PdfFile, QStringLiteral("a.txt"), false},
        {QStringLiteral("b.pdf"), TFormKampreview::TextFile, QStringLiteral("b.pdf"), true},
        {QStringLiteral("c.lst"), TFormKampreview::TextFile, QStringLiteral("c.lst"), false},
    };
    window->setPageStore(test::formPages({"张三", "李四"}));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        window->setSaveDialog([&](QWidget *) { return TFormKampreview::SaveChoice{folder + c.chosen, c.filter}; });
        click("SpeedButtonSave");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{c.written});
        QFile file(folder + c.written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (c.pdf) {
            EXPECT_TRUE(bytes.startsWith("%PDF"));
            EXPECT_EQ(test::pdfInfo(folder + c.written, QStringLiteral("Pages")), QStringLiteral("2"));
            const QString text = test::pdfText(folder + c.written);
            EXPECT_TRUE(text.contains(QStringLiteral("薪级工资由 14 级 377 元增加到 15 级 412 元"))) << text.toStdString();
            EXPECT_TRUE(text.contains(QStringLiteral("李四")));
        } else {
            EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
            const QString text = QString::fromUtf8(bytes);
            EXPECT_TRUE(text.contains(QStringLiteral("正常增加一个薪级，薪级工资由 14 级 377 元增加到 15 级 412 元")));
            EXPECT_TRUE(text.contains(QStringLiteral("\n\f\n")));
            EXPECT_LT(text.indexOf(QStringLiteral("张三")), text.indexOf(QStringLiteral("李四")));
        }
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PreviewWindow, SaveFailureIsShownAndTheWindowStays)
{
    QTemporaryDir dir;
    window->setPageStore(test::formPages({"张三"}));
    const QString target = dir.filePath(QStringLiteral("no-such-folder/form.TXT"));
    window->setSaveDialog([&](QWidget *) { return TFormKampreview::SaveChoice{target, TFormKampreview::TextFile}; });
    QPointer<TFormKampreview> alive(window);
    click("SpeedButtonSave");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
    EXPECT_NE(gbk::toUtf8(prompts.shown[0].text).find("无法写入文件"), std::string::npos);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_TRUE(alive);
}

TEST_F(PreviewWindow, AnEmptyWindowOffersNothingToSave)
{
    int asked = 0;
    window->setSaveDialog([&](QWidget *) {
        ++asked;
        return std::optional<TFormKampreview::SaveChoice>{};
    });
    click("SpeedButtonSave");
    click("SpeedButtonPrint");
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(window->counterText(), QStringLiteral("第页（共页）"));
}

TEST_F(PreviewWindow, FoundByNameInAnyCaseUntilClosed)
{
    EXPECT_EQ(preview::findPreviewWindow(*owner), window);
    window->setObjectName(QStringLiteral("formKAMpreview"));
    EXPECT_EQ(preview::findPreviewWindow(*owner), window);
    QWidget other;
    EXPECT_EQ(preview::findPreviewWindow(other), nullptr);

    QPointer<TFormKampreview> alive(window);
    click("SpeedButtonClose");
    // Destruction waits for the event loop; the owner already no longer finds it.
    EXPECT_EQ(preview::findPreviewWindow(*owner), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
}

TEST_F(PreviewWindow, PreviewReturnsWhenTheWindowIsClosed)
{
    QPointer<TFormKampreview> alive(window);
    bool shownDuringPreview = false;
    QString counter;
    QTimer::singleShot(0, window, [&] {
        shownDuringPreview = window->isVisible();
        counter = window->counterText();
        click("SpeedButtonClose");
    });
    preview::previewPages(*window, test::formPages({"张三"}));
    EXPECT_TRUE(shownDuringPreview);
    EXPECT_EQ(counter, QStringLiteral("第 1 页(共 1 页)"));
    EXPECT_FALSE(alive);
}

TEST_F(PreviewWindow, PreviewReturnsWhenTheOwnerGoes)
{
    QPointer<TFormKampreview> alive(window);
    QTimer::singleShot(0, [&] {
        delete owner;
        owner = nullptr;
    });
    preview::previewPages(*window, test::formPages({"张三"}));
    EXPECT_FALSE(alive);
}

} // namespace
