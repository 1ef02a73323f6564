// jg-window-shot PROGRAM_DIR WINDOW_PNG: the JG window on the settings and the roster of
// PROGRAM_DIR, filling the screen.
#include "jg/ui/jg_main_form.h"
#include "screenshot/shot_steps.h"
#include "widgets/program_folder.h"
#include "widgets/qt_prompts.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: jg-window-shot PROGRAM_DIR WINDOW_PNG\n");
        return 2;
    }
    const auto app = quvela::shot::startApplication(argc, argv);
    quvela::widgets::setProgramFolderOverride(QString::fromLocal8Bit(argv[1]));

    quvela::widgets::QtPrompts prompts;
    quvela::jg::TJgMainForm window(prompts);
    quvela::shot::showOnScreen(window, 1000);
    return quvela::shot::save(window, argv[2], "jg-window-shot") ? 0 : 1;
}
