// xj-window-shot PROGRAM_DIR WINDOW_PNG DIALOG_PNG: the XJ window on the roster table of
// PROGRAM_DIR, filling the screen, and the column dialog "参数设置" over it.
#include "screenshot/shot_steps.h"
#include "widgets/program_folder.h"
#include "widgets/qt_prompts.h"
#include "xj/ui/para_form.h"
#include "xj/ui/xj_main_form.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: xj-window-shot PROGRAM_DIR WINDOW_PNG DIALOG_PNG\n");
        return 2;
    }
    const auto app = quvela::shot::startApplication(argc, argv);
    quvela::widgets::setProgramFolderOverride(QString::fromLocal8Bit(argv[1]));

    quvela::widgets::QtPrompts prompts;
    quvela::xj::TXjMainForm window(prompts);
    quvela::shot::showOnScreen(window, 800);
    if (!quvela::shot::save(window, argv[2], "xj-window-shot"))
        return 1;

    quvela::xj::TParaForm dialog(window.settingsFile(), prompts, &window);
    dialog.show();
    quvela::shot::settle(500);
    return quvela::shot::save(dialog, argv[3], "xj-window-shot") ? 0 : 1;
}
