// Runs dump_xlrd.py (Debian's python3-xlrd, an independent reader) on an .xls workbook.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quvela::test {

// The script's output lines; mode "cells" or "structure". Fails the test when the
// script does not run.
std::vector<std::string> dumpWithXlrd(const std::filesystem::path &file, const char *mode);

} // namespace quvela::test
