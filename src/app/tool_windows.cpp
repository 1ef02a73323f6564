#include "app/tool_windows.h"

#include <QCoreApplication>

namespace quvela::app {

QPointer<QMainWindow> ZwMainForm;
QPointer<QMainWindow> JbMainForm;
QPointer<QMainWindow> JgMainForm;

namespace {
std::vector<QPointer<QWidget>> &adopted()
{
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}
} // namespace

void adoptToolWindow(QWidget *window)
{
    adopted().emplace_back(window);
    static bool connected = false;
    if (!connected && QCoreApplication::instance()) {
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] { deleteToolWindows(); });
        connected = true;
    }
}

std::vector<QWidget *> toolWindows()
{
    std::vector<QWidget *> alive;
    for (const QPointer<QWidget> &window : adopted())
        if (window)
            alive.push_back(window.data());
    return alive;
}

void closeToolWindows()
{
    for (QWidget *window : toolWindows())
        window->close();
}

void deleteToolWindows()
{
    std::vector<QPointer<QWidget>> windows;
    windows.swap(adopted());
    for (const QPointer<QWidget> &window : windows)
        delete window.data();
}

} // namespace quvela::app
