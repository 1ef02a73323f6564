// zw-window-shot PROGRAM_DIR WINDOW_PNG DIALOG_PNG: the ZW window on the workbook that
// PROGRAM_DIR/zwgz.ini names, filling the screen, with its help pane open, and the
// column dialog "参数设置" over it.
#include "report/font_setup.h"
#include "widgets/program_folder.h"
#include "widgets/qt_prompts.h"
#include "zw/ui/zw_main_form.h"
#include "zw/ui/zwpa_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QScreen>

#include <cstdio>

namespace {

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool save(QWidget &widget, const char *file)
{
    if (widget.grab().save(QString::fromLocal8Bit(file)))
        return true;
    std::fprintf(stderr, "zw-window-shot: cannot save %s\n", file);
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: zw-window-shot PROGRAM_DIR WINDOW_PNG DIALOG_PNG\n");
        return 2;
    }
    quvela::report::prepareFontConfig(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quvela"));
    quvela::report::installFontSubstitutions();
    quvela::widgets::setProgramFolderOverride(QString::fromLocal8Bit(argv[1]));

    quvela::widgets::QtPrompts prompts;
    quvela::zw::TZwMainForm window(prompts);
    // Without a window manager "maximized" means nothing; take the screen's work area.
    window.setGeometry(QApplication::primaryScreen()->availableGeometry());
    window.show();
    settle(800);
    if (auto *help = window.findChild<QPushButton *>(QStringLiteral("btnHelp")))
        help->click();
    settle(300);
    if (!save(window, argv[2]))
        return 1;

    quvela::zw::TZwpaForm dialog(window.settingsFile(), prompts, &window);
    dialog.show();
    settle(500);
    return save(dialog, argv[3]) ? 0 : 1;
}
