// The tool windows: owned by the application, not by the launcher, and kept until the
// program ends, also after a newer window of the same tool took the reference.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <vector>

namespace quvela::app {

// The window of each tool created last. The XJ tool's is xj::XjMainForm.
extern QPointer<QMainWindow> ZwMainForm;
extern QPointer<QMainWindow> JbMainForm;
extern QPointer<QMainWindow> JgMainForm;

// Keeps window until the application quits, then deletes it.
void adoptToolWindow(QWidget *window);
// The adopted windows still alive, oldest first.
std::vector<QWidget *> toolWindows();
// Closes (hides) every tool window.
void closeToolWindows();
// Deletes every tool window now (program end; tests).
void deleteToolWindows();

} // namespace quvela::app
