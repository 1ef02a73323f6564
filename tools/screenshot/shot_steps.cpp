#include "screenshot/shot_steps.h"

#include "report/font_setup.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <cstdio>

namespace quvela::shot {

std::unique_ptr<QApplication> startApplication(int &argc, char **argv)
{
    // The font configuration is read when the application starts: it must be in place first.
    report::prepareFontConfig(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath());
    auto app = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quvela"));
    report::installFontSubstitutions();
    return app;
}

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void showOnScreen(QWidget &window, int ms)
{
    window.setGeometry(QApplication::primaryScreen()->availableGeometry());
    window.show();
    settle(ms);
}

void openHelpPane(QWidget &window, int ms)
{
    if (auto *help = window.findChild<QPushButton *>(QStringLiteral("btnHelp")))
        help->click();
    settle(ms);
}

bool save(QWidget &widget, const char *file, const char *program)
{
    if (widget.grab().save(QString::fromLocal8Bit(file)))
        return true;
    std::fprintf(stderr, "%s: cannot save %s\n", program, file);
    return false;
}

} // namespace quvela::shot
