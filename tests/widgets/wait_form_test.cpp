// The wait window: how it shows, what it says, how it plays and how it goes away.
#include "support/scripted_prompts.h"
#include "widgets/qt_prompts.h"
#include "widgets/wait_animation.h"
#include "widgets/wait_form.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>

#include "support/qt_application.h"

#include <gtest/gtest.h>

using namespace quvela;
using widgets::TWaitForm;
using widgets::WaitAnimation;

namespace {

class WaitWindow : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        test::ensureApplication<QApplication>();
    }
};

TEST_F(WaitWindow, ShowsOnTopCentredWithTheMessageOrTheDefault)
{
    struct Case
    {
        QString message;
        QString shown;
    };
    const Case cases[] = {
        {QString(), QStringLiteral("正在查找, 请稍候...")},
        {QStringLiteral("正在读入数据..."), QStringLiteral("正在读入数据...")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        QPointer<TWaitForm> form = widgets::ShowWaitForm(c.message);
        ASSERT_TRUE(form);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->size(), QSize(347, 48));
        EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(form->message(), c.shown);
        auto *panel = form->findChild<QLabel *>(QStringLiteral("PanelMessage"));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->font().pixelSize(), 16);
        EXPECT_EQ(form->animation()->width(), 45);
        const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
        EXPECT_LE((form->geometry().center() - centre).manhattanLength(), 2);
        delete form.data();
    }
}

TEST_F(WaitWindow, ClipLoopsFromTheFirstFrameToFrameEight)
{
    WaitAnimation clip;
    std::vector<int> frames{clip.currentFrame()};
    for (int i = 0; i < 17; ++i) {
        clip.advance();
        frames.push_back(clip.currentFrame());
    }
    const std::vector<int> expected{1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2};
    EXPECT_EQ(frames, expected);
}

TEST_F(WaitWindow, ClosingByTheSystemDestroysIt)
{
    QPointer<TWaitForm> form = widgets::ShowWaitForm(QString());
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_F(WaitWindow, PromptsWaitWindowGoesAwayWithItsOwnerAlsoOnAnError)
{
    widgets::QtPrompts prompts;
    auto visibleWaitForms = [] {
        int n = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<TWaitForm *>(w) && w->isVisible())
                ++n;
        return n;
    };
    try {
        auto wait = prompts.showWait(gbk::fromUtf8("正在写入..."));
        EXPECT_EQ(visibleWaitForms(), 1);
        throw std::runtime_error("operation failed");
    } catch (const std::runtime_error &) {
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(visibleWaitForms(), 0);
}

} // namespace
