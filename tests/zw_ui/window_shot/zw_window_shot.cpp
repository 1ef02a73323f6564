// zw-window-shot PROGRAM_DIR WINDOW_PNG DIALOG_PNG: the ZW window on the workbook that
// PROGRAM_DIR/zwgz.ini names, filling the screen, with its help pane open, and the
// column dialog "参数设置" over it.
#include "screenshot/shot_steps.h"
#include "widgets/program_folder.h"
#include "widgets/qt_prompts.h"
#include "zw/ui/zw_main_form.h"
#include "zw/ui/zwpa_form.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: zw-window-shot PROGRAM_DIR WINDOW_PNG DIALOG_PNG\n");
        return 2;
    }
    const auto app = quvela::shot::startApplication(argc, argv);
    quvela::widgets::setProgramFolderOverride(QString::fromLocal8Bit(argv[1]));

    quvela::widgets::QtPrompts prompts;
    quvela::zw::TZwMainForm window(prompts);
    quvela::shot::showOnScreen(window, 800);
    quvela::shot::openHelpPane(window, 300);
    if (!quvela::shot::save(window, argv[2], "zw-window-shot"))
        return 1;

    quvela::zw::TZwpaForm dialog(window.settingsFile(), prompts, &window);
    dialog.show();
    quvela::shot::settle(500);
    return quvela::shot::save(dialog, argv[3], "zw-window-shot") ? 0 : 1;
}
