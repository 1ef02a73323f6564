// Where the running program file lies, known before any Qt application object exists
// (the font set-up must happen before that).
#pragma once

#include <filesystem>

namespace quvela {

// The folder of the running executable; argv0 is the fallback where the system cannot
// tell (no /proc).
std::filesystem::path executableDir(const char *argv0);

} // namespace quvela
