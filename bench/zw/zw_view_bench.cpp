// zw-view-bench ROSTER.xlsx: the workbook view of the ZW, JB and JG windows on a roster,
// offscreen at 1280 x 800: the time from asking for the file to the first painted page,
// the slowest and the mean of 200 scroll steps from top to bottom (each painted), and the
// process's peak memory.
#include "roster_tools/ui/workbook_model.h"
#include "roster_tools/ui/workbook_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zw-view-bench ROSTER.xlsx\n");
        return 2;
    }
    QApplication app(argc, argv);
    quvela::roster::WorkbookView view;
    view.resize(1280, 800);
    view.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    view.showWorkbook(QString::fromLocal8Bit(argv[1]));
    view.table()->viewport()->repaint();
    QApplication::processEvents();
    const double shown = timer.nsecsElapsed() / 1e9;
    if (!view.message().isEmpty()) {
        std::fprintf(stderr, "zw-view-bench: %s\n", view.message().toLocal8Bit().constData());
        return 1;
    }

    QScrollBar *bar = view.table()->verticalScrollBar();
    constexpr int kSteps = 200;
    double slowest = 0, total = 0;
    for (int i = 1; i <= kSteps; ++i) {
        timer.restart();
        bar->setValue(int(qint64(bar->maximum()) * i / kSteps));
        view.table()->viewport()->repaint();
        QApplication::processEvents();
        const double step = timer.nsecsElapsed() / 1e9;
        slowest = std::max(slowest, step);
        total += step;
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rows %d  shown %.3f s  scroll step max %.1f ms  mean %.1f ms  peak %.1f MB\n",
                view.model()->rowCount(QModelIndex()), shown, slowest * 1e3, total / kSteps * 1e3,
                usage.ru_maxrss / 1024.0);
    return 0;
}
