// jb-window-shot PROGRAM_DIR WINDOW_PNG: the JB window on the settings of PROGRAM_DIR,
// filling the screen, with its help pane open.
#include "jb/ui/jb_main_form.h"
#include "screenshot/shot_steps.h"
#include "widgets/program_folder.h"
#include "widgets/qt_prompts.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: jb-window-shot PROGRAM_DIR WINDOW_PNG\n");
        return 2;
    }
    const auto app = quvela::shot::startApplication(argc, argv);
    quvela::widgets::setProgramFolderOverride(QString::fromLocal8Bit(argv[1]));

    quvela::widgets::QtPrompts prompts;
    quvela::jb::TJbMainForm window(prompts);
    quvela::shot::showOnScreen(window, 800);
    quvela::shot::openHelpPane(window, 400);
    return quvela::shot::save(window, argv[2], "jb-window-shot") ? 0 : 1;
}
