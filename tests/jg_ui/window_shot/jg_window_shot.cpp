// jg-window-shot PROGRAM_DIR WINDOW_PNG: the JG window on the settings and the roster of
// PROGRAM_DIR, filling the screen.
#include "jg/ui/jg_main_form.h"
#include "report/font_setup.h"
#include "widgets/program_folder.h"
#include "widgets/qt_prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
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
        std::fprintf(stderr, "usage: jg-window-shot PROGRAM_DIR WINDOW_PNG\n");
        return 2;
    }
    quvela::report::prepareFontConfig(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quvela"));
    quvela::report::installFontSubstitutions();
    quvela::widgets::setProgramFolderOverride(QString::fromLocal8Bit(argv[1]));

    quvela::widgets::QtPrompts prompts;
    quvela::jg::TJgMainForm window(prompts);
    // Without a window manager "maximized" means nothing; take the screen's work area.
    window.setGeometry(QApplication::primaryScreen()->availableGeometry());
    window.show();
    settle(1000);
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "jg-window-shot: cannot save %s\n", argv[2]);
        return 1;
    }
    return 0;
}
