// Program entry: the fonts, the application title, then the launcher as main window.
// The launcher's closing ends the program.
#include "app/main_form.h"
#include "common/executable_path.h"
#include "report/font_setup.h"
#include "widgets/qt_prompts.h"

#include <QApplication>

int main(int argc, char **argv)
{
    quvela::report::prepareFontConfig(QString::fromStdString(quvela::executableDir(argv[0]).string()));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quvela"));
    quvela::report::installFontSubstitutions();

    // One Prompts object for the whole run: the file dialog remembers its last choice.
    quvela::widgets::QtPrompts prompts;
    quvela::app::TMainForm launcher(prompts);
    launcher.show();
    return app.exec();
}
