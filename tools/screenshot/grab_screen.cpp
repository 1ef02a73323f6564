// grab-screen OUT.png [X Y W H]: saves what the X display shows, shaped windows and all,
// for the screenshots in docs/ (taken under Xvfb by tools/screenshots.sh).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 6) {
        std::fprintf(stderr, "usage: grab-screen OUT.png [X Y W H]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "grab-screen: no screen\n");
        return 1;
    }
    QPixmap shot = argc == 6 ? screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                                                  std::atoi(argv[5]))
                             : screen->grabWindow(0);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "grab-screen: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
