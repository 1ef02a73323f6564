// Replacing a file so that a failure at any point leaves the original as it was.
#pragma once

#include <filesystem>

namespace quvela::spreadsheet {

// A name for a temporary file in the folder of target, not yet taken.
std::filesystem::path temporarySibling(const std::filesystem::path &target);

// Flushes temporary to disk, gives it the permissions of target and renames it over
// target. Throws QuvelaError (and removes temporary) on failure; target is then
// unchanged.
void replaceFile(const std::filesystem::path &temporary, const std::filesystem::path &target);

} // namespace quvela::spreadsheet
