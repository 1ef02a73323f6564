// The launcher as a clerk meets it: its controls, the tool windows it opens, the
// shortcut written at start and the end of the program with it.
#include "app/main_form.h"
#include "app/tool_windows.h"
#include "common/errors.h"
#include "common/settings_records.h"
#include "jg/ui/jg_main_form.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "widgets/gradient_button.h"
#include "widgets/program_folder.h"
#include "xj/ui/xj_main_form.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>

#include "support/qt_application.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quvela;

namespace {

class Launcher : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        test::ensureApplication<QApplication>();
    }

    void SetUp() override
    {
        widgets::setProgramFolderOverride(QString::fromStdString(folder.path().string()));
        launcher = std::make_unique<app::TMainForm>(prompts, [this](const GbkString &target, const GbkString &args,
                                                                  const GbkString &link, const GbkString &desc) {
            shortcuts.push_back({target, args, link, desc});
        });
    }

    void TearDown() override
    {
        app::deleteToolWindows();
        launcher.reset();
        widgets::setProgramFolderOverride({});
    }

    template <typename T>
    T *child(const char *name) const
    {
        return launcher->findChild<T *>(QString::fromUtf8(name));
    }

    std::vector<QWidget *> toolWindowsTitled(const QString &caption) const
    {
        std::vector<QWidget *> found;
        for (QWidget *w : app::toolWindows())
            if (w->windowTitle() == caption && w->isVisible())
                found.push_back(w);
        return found;
    }

    test::TempFolder folder;
    test::ScriptedPrompts prompts;
    std::vector<std::array<GbkString, 4>> shortcuts;
    std::unique_ptr<app::TMainForm> launcher;
};

TEST_F(Launcher, WindowIsTheSmallRoundedBorderlessOne)
{
    EXPECT_EQ(launcher->size(), QSize(493, 377));
    EXPECT_TRUE(launcher->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(launcher->windowTitle(), QStringLiteral("Quvela"));
    EXPECT_EQ(launcher->palette().color(QPalette::Window), QColor(190, 235, 245));
    // Rounded corners: the very corner is cut away, the edge's middle is not.
    EXPECT_FALSE(launcher->mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(launcher->mask().contains(QPoint(492, 376)));
    EXPECT_TRUE(launcher->mask().contains(QPoint(246, 0)));
    EXPECT_TRUE(launcher->mask().contains(QPoint(10, 10)));
}

TEST_F(Launcher, ControlsStandWhereTheClerkExpectsThem)
{
    struct Expected
    {
        const char *name;
        QRect geometry;
        const char *text;
        const char *family;
        int pixels;
    };
    const Expected table[] = {
        {"Lb_bt", {52, 36, 404, 31}, "Quvela", "宋体", 31},
        {"Label1", {188, 84, 124, 31}, "辅助工具", "宋体", 31},
        {"btXJGZ", {64, 144, 369, 30}, "事业单位薪级工资调整", "楷体_GB2312", 23},
        {"btGWGZ", {64, 176, 369, 30}, "事业单位岗位工资变动", "楷体_GB2312", 23},
        {"btJBGZ", {64, 208, 369, 30}, "机关工作人员级别工资滚动与正常升档", "楷体_GB2312", 20},
        {"btZWGZ", {64, 240, 369, 30}, "机关工作人员职务工资变动", "楷体_GB2312", 23},
        {"XPButton1", {392, 328, 75, 30}, "退出", "楷体_GB2312", 17},
    };
    for (const Expected &e : table) {
        SCOPED_TRACE(e.name);
        QWidget *w = child<QWidget>(e.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), e.geometry);
        const QString text = qobject_cast<QLabel *>(w) ? qobject_cast<QLabel *>(w)->text()
                                                        : qobject_cast<QPushButton *>(w)->text();
        EXPECT_EQ(text, QString::fromUtf8(e.text));
        EXPECT_EQ(w->font().family(), QString::fromUtf8(e.family));
        EXPECT_EQ(w->font().pixelSize(), e.pixels);
    }
    for (const char *name : {"Lb_bt", "Label1"})
        EXPECT_EQ(child<QLabel>(name)->palette().color(QPalette::WindowText), QColor(Qt::blue)) << name;
    for (const char *name : {"btXJGZ", "btGWGZ", "btJBGZ", "btZWGZ"})
        EXPECT_EQ(child<widgets::GradientButton>(name)->textColor(), QColor(255, 0, 255)) << name;
    EXPECT_EQ(child<widgets::GradientButton>("btXJGZ")->faceColor(), QColor(192, 192, 192));
    EXPECT_EQ(child<widgets::GradientButton>("XPButton1")->borderColor(), QColor(128, 128, 0));
}

TEST_F(Launcher, TabGoesDownTheToolButtonsThenToExit)
{
    const char *order[] = {"btXJGZ", "btGWGZ", "btJBGZ", "btZWGZ", "XPButton1"};
    QWidget *w = child<QWidget>(order[0]);
    for (size_t i = 1; i < std::size(order); ++i) {
        w = w->nextInFocusChain();
        while (w && !(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), QString::fromUtf8(order[i]));
    }
}

TEST_F(Launcher, EachPressOpensAnotherWindowOfItsTool)
{
    launcher->show();
    struct Tool
    {
        const char *button;
        const char *caption;
    };
    // The second and fourth buttons' names do not follow their tools: btGWGZ opens the
    // post tool, btZWGZ the duty tool.
    const Tool tools[] = {
        {"btXJGZ", "事业单位薪级工资个人申报表打印工具"},
        {"btGWGZ", "事业单位职务工资变动个人申报表打印工具"},
        {"btJBGZ", "公务员级别工资晋升、滚动个人申报表打印工具"},
        {"btZWGZ", "机关工作人员职务变动工资调整个人申报表打印工具"},
    };
    for (const Tool &tool : tools) {
        SCOPED_TRACE(tool.button);
        const QString caption = QString::fromUtf8(tool.caption);
        child<QPushButton>(tool.button)->click();
        child<QPushButton>(tool.button)->click();
        const auto windows = toolWindowsTitled(caption);
        ASSERT_EQ(windows.size(), 2u);
        EXPECT_NE(windows[0], windows[1]);
        for (QWidget *w : windows) {
            EXPECT_TRUE(w->isWindow());
            EXPECT_EQ(w->parentWidget(), nullptr);
            EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
        }
    }
    // The reports read from the window opened last.
    EXPECT_EQ(xj::XjMainForm.data(), toolWindowsTitled(QString::fromUtf8(tools[0].caption)).back());
    EXPECT_EQ(app::ZwMainForm.data(), toolWindowsTitled(QString::fromUtf8(tools[1].caption)).back());
    EXPECT_EQ(app::JbMainForm.data(), toolWindowsTitled(QString::fromUtf8(tools[2].caption)).back());
    EXPECT_EQ(app::JgMainForm.data(), toolWindowsTitled(QString::fromUtf8(tools[3].caption)).back());
    EXPECT_NE(qobject_cast<jg::TJgMainForm *>(app::JgMainForm.data()), nullptr);
    EXPECT_TRUE(launcher->isVisible());
}

TEST_F(Launcher, ShowingRecordsTheProgramFolder)
{
    xjcs.ProgramDir.clear();
    launcher->show();
    EXPECT_EQ(xjcs.ProgramDir, gbk::fromQString(QString::fromStdString(folder.path().string())));
    EXPECT_NE(xjcs.ProgramDir.back(), '/');
}

TEST_F(Launcher, ClosingItClosesEveryToolWindow)
{
    launcher->show();
    child<QPushButton>("btXJGZ")->click();
    child<QPushButton>("btJBGZ")->click();
    ASSERT_EQ(app::toolWindows().size(), 2u);
    child<QPushButton>("XPButton1")->click();
    EXPECT_FALSE(launcher->isVisible());
    for (QWidget *w : app::toolWindows())
        EXPECT_FALSE(w->isVisible());
}

TEST_F(Launcher, WritesTheShortcutToItselfAtEveryStart)
{
    ASSERT_EQ(shortcuts.size(), 1u);
    const auto &[target, args, link, desc] = shortcuts[0];
    EXPECT_EQ(gbk::toQString(target), QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    EXPECT_TRUE(args.empty());
    EXPECT_TRUE(gbk::toQString(link).endsWith(QStringLiteral("Quvela.lnk")));
    EXPECT_EQ(desc, "Quvela");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Launcher, AShortcutErrorIsShownAndTheLauncherStillComes)
{
    test::ScriptedPrompts failing;
    app::TMainForm second(failing, [](const GbkString &, const GbkString &, const GbkString &, const GbkString &) {
        throw QuvelaError(gbk::fromUtf8("无法创建快捷方式"));
    });
    ASSERT_EQ(failing.textsUtf8().size(), 1u);
    EXPECT_EQ(failing.shown[0].kind, "error");
    EXPECT_EQ(failing.textsUtf8()[0], "无法创建快捷方式");
    second.show();
    EXPECT_TRUE(second.isVisible());
}

} // namespace
