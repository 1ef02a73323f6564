// The forms name Windows font families ("宋体", "黑体", "楷体_GB2312", "Arial", "MS Sans
// Serif"); on Linux they must land on installed CJK fonts, or Chinese text prints as boxes.
#pragma once

#include <QString>

namespace quvela::report {

// Before the Qt application object exists: points fontconfig at the alias file shipped
// beside the executable, unless the environment names one already.
void prepareFontConfig(const QString &executableDir);

// After the Qt application object exists: Qt's own substitutions for the same names, so
// that the mapping holds where fontconfig is not used (Windows, other platforms).
void installFontSubstitutions();

} // namespace quvela::report
