// The workbook open dialog of the windows: its title, its filters, its folder, and the
// name it gives back after a choice and after a cancel.
#include "widgets/qt_prompts.h"

#include "support/qt_application.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace quvela;

namespace {

struct SeenDialog
{
    QString title;
    QStringList filters;
    QString selectedFilter;
    QString folder;
};

// Runs handle on the open dialog as soon as it shows, as a clerk would.
void whenDialogShows(const std::function<void(QFileDialog *)> &handle)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, handle] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        handle(dialog);
    });
    timer->start();
}

TEST(OpenDialog, ShowsWorkbooksFirstAndGivesBackTheLastChoice)
{
    test::ensureApplication<QApplication>();
    test::TempFolder folder;
    for (const char *name : {"花名册.xlsx", "old.xls", "notes.txt"})
        QFile(QString::fromStdString((folder / name).string())).open(QIODevice::WriteOnly);
    const QString dir = QString::fromStdString(folder.path().string());

    struct Case
    {
        const char *title;
        const char *choose; // a file name, or nullptr for a cancel
        const char *returned;
    };
    const Case cases[] = {
        {"", nullptr, ""},
        {"打开职务变动工资调整花名册", "花名册.xlsx", "花名册.xlsx"},
        {"", nullptr, "花名册.xlsx"},
        {"", "old.xls", "old.xls"},
        {"打开职务变动工资调整花名册", nullptr, "old.xls"},
    };
    widgets::QtPrompts prompts;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.title << " / " << (c.choose ? c.choose : "cancel"));
        SeenDialog seen;
        whenDialogShows([&](QFileDialog *dialog) {
            seen = {dialog->windowTitle(), dialog->nameFilters(), dialog->selectedNameFilter(),
                    dialog->directory().absolutePath()};
            if (c.choose) {
                dialog->selectFile(QDir(dir).filePath(QString::fromUtf8(c.choose)));
                static_cast<QDialog *>(dialog)->accept(); // as its Open button does
            } else {
                dialog->reject();
            }
        });
        const GbkString returned = prompts.chooseOpenFile(gbk::fromUtf8(c.title), gbk::fromQString(dir));

        const QStringList filters = {QStringLiteral("Excel 工作簿 (*.xlsx *.xls)"), QStringLiteral("所有文件 (*)")};
        EXPECT_EQ(seen.filters, filters);
        EXPECT_EQ(seen.selectedFilter, filters.first());
        EXPECT_EQ(seen.folder, QDir(dir).absolutePath());
        if (*c.title)
            EXPECT_EQ(seen.title, QString::fromUtf8(c.title));
        else
            EXPECT_FALSE(seen.title.isEmpty()); // the dialog's own title
        const QString expected =
            *c.returned ? QDir::toNativeSeparators(QDir(dir).filePath(QString::fromUtf8(c.returned))) : QString();
        EXPECT_EQ(gbk::toQString(returned), expected);
    }
}

} // namespace
