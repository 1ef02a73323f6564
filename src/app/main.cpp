// Program entry: the application title, the fonts, then the launcher as main window.
#include "report/font_setup.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    quvela::report::prepareFontConfig(QString::fromLocal8Bit(argv[0]).section(QLatin1Char('/'), 0, -2));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quvela"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quvela"));
    quvela::report::installFontSubstitutions();
    QLabel placeholder(QStringLiteral("Quvela"));
    placeholder.show();
    return app.exec();
}
