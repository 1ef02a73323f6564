// The steps the picture-taking programs share: an application with the program's fonts,
// time for the event loop, a window on the whole screen, its picture saved.
#pragma once

#include <QApplication>

#include <memory>

namespace quvela::shot {

// The fonts as the program sets them up, around the application object; argc must
// outlive it.
std::unique_ptr<QApplication> startApplication(int &argc, char **argv);
// Lets the event loop run for ms milliseconds: layouts, deferred work, painting.
void settle(int ms);
// Without a window manager "maximized" means nothing: the window takes the screen's
// work area, is shown and settles for ms.
void showOnScreen(QWidget &window, int ms);
// Clicks the window's "btnHelp", if it has one, and settles for ms.
void openHelpPane(QWidget &window, int ms);
// Saves a picture of widget as file; says on stderr, after program's name, when it cannot.
bool save(QWidget &widget, const char *file, const char *program);

} // namespace quvela::shot
