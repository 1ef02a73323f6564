// The one Qt application object of a test program, created on first need and kept
// until the program ends (windows, fonts and painting need it; gtest_main makes none).
#pragma once

#include <QCoreApplication>

namespace quvela::test {

// App is QApplication for window tests, QGuiApplication for painting and fonts.
template <class App>
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quvela-test";
    static char *argv[] = {name, nullptr};
    new App(argc, argv);
}

} // namespace quvela::test
