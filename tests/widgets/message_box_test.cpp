// The message and question boxes of the windows: the caller's caption, or the
// application title when the caller gives none.
#include "widgets/qt_prompts.h"

#include "support/qt_application.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <string_view>

using namespace quvela;

namespace {

struct SeenBox
{
    QString title;
    QString text;
};

// Notes the box as soon as it shows and closes it with its first button, as a clerk would.
void whenBoxShows(SeenBox &seen)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        seen = {box->windowTitle(), box->text()};
        box->buttons().constFirst()->click();
    });
    timer->start();
}

TEST(MessageBox, CaptionOrTheApplicationTitle)
{
    test::ensureApplication<QApplication>();
    const QString programName = QApplication::applicationName();
    QApplication::setApplicationName(QStringLiteral("Quvela 工资"));

    struct Case
    {
        const char *kind;
        const char *caption;
        const char *title;
    };
    const Case cases[] = {
        {"message", "", "Quvela 工资"},
        {"message", "薪级调整", "薪级调整"},
        {"question", "", "Quvela 工资"},
        {"question", "薪级调整", "薪级调整"},
    };
    widgets::QtPrompts prompts;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " / " << c.caption);
        SeenBox seen;
        whenBoxShows(seen);
        const GbkString text = gbk::fromUtf8("无调资数据 ！");
        if (std::string_view(c.kind) == "message")
            prompts.message(text, gbk::fromUtf8(c.caption), MessageIcon::Error);
        else
            prompts.askYesNo(text, gbk::fromUtf8(c.caption), MessageIcon::Question);
        EXPECT_EQ(seen.title.toStdString(), c.title);
        EXPECT_EQ(seen.text.toStdString(), "无调资数据 ！");
    }
    QApplication::setApplicationName(programName);
}

} // namespace
