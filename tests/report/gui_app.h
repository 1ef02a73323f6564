// The Qt application object that painting on a PDF or an image needs, created once per
// test program with the font mapping the program uses.
#pragma once

#include "report/font_setup.h"
#include "support/qt_application.h"

#include <QGuiApplication>

namespace quvela::test {

inline void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    ensureApplication<QGuiApplication>();
    report::installFontSubstitutions();
}

} // namespace quvela::test
