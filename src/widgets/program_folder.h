// The program folder: where the settings files, the roster table and the usage text
// live. The folder of the executable, unless a test or the screenshot mode points the
// windows elsewhere.
#pragma once

#include <QString>

namespace quvela::widgets {

// Native separators, no trailing separator.
QString programFolder();
// An empty folder restores the folder of the executable.
void setProgramFolderOverride(const QString &folder);

} // namespace quvela::widgets
