// Loading and saving the JG tool's settings (gwyzwgz.ini).
#pragma once

#include "common/gbk.h"
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "roster_tools/roster_settings.h"

#include <filesystem>

namespace quvela::jg {

// ProgramDir/gwyzwgz.ini.
std::filesystem::path jgSettingsFile(const GbkString &programDir);

// The key the chosen workbook is stored under.
inline constexpr const char *kWorkbookKey = "excelFileName";

// Fills rec from the file, a missing key giving its default: circular
// "zar(2007)71号", issuer "vodeve工资处制", print date now, rows 7 to 7, width 78, no
// workbook. ProgramDir is left as it is.
void LoadJgSettings(const IniFile &ini, TJgcs &rec);

// "退出": the boxes as typed, the circular first and the issuer last. The record keeps
// what it was loaded with. Throws QuvelaError when the file cannot be written.
void SaveJgSettings(IniFile &ini, const roster::RosterBoxTexts &boxes);

} // namespace quvela::jg
