// dialogs-shot FOLDER BOX_PNG OPEN_PNG: a question of the program's own and the roster
// open dialog on FOLDER, both as a clerk meets them, with Qt's texts in Chinese.
#include "common/gbk.h"
#include "screenshot/shot_steps.h"
#include "widgets/qt_chinese.h"
#include "widgets/qt_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace {

// Saves the modal dialog once it has settled, then closes it as a cancel would.
void shootWhenShown(const char *file, bool &saved)
{
    QTimer::singleShot(1200, [file, &saved] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog) {
            std::fprintf(stderr, "dialogs-shot: no dialog for %s\n", file);
            QApplication::exit(1);
            return;
        }
        saved = dialog->grab().save(QString::fromLocal8Bit(file));
        if (!saved)
            std::fprintf(stderr, "dialogs-shot: cannot save %s\n", file);
        if (auto *d = qobject_cast<QDialog *>(dialog))
            d->reject();
    });
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: dialogs-shot FOLDER BOX_PNG OPEN_PNG\n");
        return 2;
    }
    const QString programDir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    const auto app = quvela::shot::startApplication(argc, argv);
    const auto chinese = quvela::widgets::installQtChinese(quvela::widgets::qtTranslationFolders(programDir));
    if (!chinese) {
        std::fprintf(stderr, "dialogs-shot: Qt's Chinese translation is not installed\n");
        return 1;
    }
    quvela::widgets::QtPrompts prompts;
    quvela::shot::settle(200);

    bool boxSaved = false;
    shootWhenShown(argv[2], boxSaved);
    prompts.askYesNo(quvela::gbk::fromUtf8("读入Excel表时将清除上表所有显示调资数据？\n\n"
                                           "是－清除上表数据并从Excel表读入调资数据，否－返回"),
                     quvela::gbk::fromUtf8("薪级调整"), quvela::MessageIcon::Information);

    bool openSaved = false;
    shootWhenShown(argv[3], openSaved);
    prompts.chooseOpenFile({}, quvela::gbk::fromQString(QString::fromLocal8Bit(argv[1])));
    return boxSaved && openSaved ? 0 : 1;
}
