// jb-window-shot PROGRAM_DIR WINDOW_PNG: the JB window on the settings of PROGRAM_DIR,
// filling the screen, with its help pane open.
#include "common/settings_records.h"
#include "jb/ui/jb_main_form.h"
#include "report/font_setup.h"
#include "widgets/program_folder.h"
#include "widgets/qt_prompts.h"

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

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: jb-window-shot PROGRAM_DIR WINDOW_PNG\n");
        return 2;
    }
    quvela::report::prepareFontConfig(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quvela"));
    quvela::report::installFontSubstitutions();
    quvela::widgets::setProgramFolderOverride(QString::fromLocal8Bit(argv[1]));

    quvela::widgets::QtPrompts prompts;
    quvela::jb::TJbMainForm window(prompts);
    // Without a window manager "maximized" means nothing; take the screen's work area.
    window.setGeometry(QApplication::primaryScreen()->availableGeometry());
    window.show();
    settle(800);
    if (auto *help = window.findChild<QPushButton *>(QStringLiteral("btnHelp")))
        help->click();
    settle(400);
    if (window.grab().save(QString::fromLocal8Bit(argv[2])))
        return 0;
    std::fprintf(stderr, "jb-window-shot: cannot save %s\n", argv[2]);
    return 1;
}
