// Program entry: the fonts, the application title, then the launcher as main window.
// The launcher's closing ends the program.
#include "app/main_form.h"
#include "common/executable_path.h"
#include "report/font_setup.h"
#include "widgets/qt_chinese.h"
#include "widgets/qt_prompts.h"

#include <QApplication>

int main(int argc, char **argv)
{
    const QString programDir = QString::fromStdString(quvela::executableDir(argv[0]).string());
    quvela::report::prepareFontConfig(programDir);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quvela"));
    quvela::report::installFontSubstitutions();
    const auto qtChinese = quvela::widgets::installQtChinese(quvela::widgets::qtTranslationFolders(programDir));

    // One Prompts object for the whole run: the file dialog remembers its last choice.
    quvela::widgets::QtPrompts prompts;
    quvela::app::TMainForm launcher(prompts);
    launcher.show();
    return app.exec();
}
