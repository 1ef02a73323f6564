// The Qt application object that painting on a PDF or an image needs, created once per
// test program with the font mapping the program uses.
#pragma once

#include "report/font_setup.h"

#include <QGuiApplication>

namespace quvela::test {

inline void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quvela-test";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives until the program ends
    report::installFontSubstitutions();
}

} // namespace quvela::test
