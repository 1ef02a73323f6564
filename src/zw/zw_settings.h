// Loading and saving the ZW tool's settings (zwgz.ini).
#pragma once

#include "common/ini_file.h"
#include "common/settings_records.h"
#include "roster_tools/roster_settings.h"

#include <filesystem>
#include <vector>

namespace quvela::zw {

// ProgramDir/zwgz.ini.
std::filesystem::path zwSettingsFile(const GbkString &programDir);

// The keys of zwgz.ini and their defaults.
roster::RosterKeys zwKeys();
roster::RosterDefaults zwDefaults();

// LoadSettings: fills rec from the file (missing keys give the defaults; Date defaults to
// now) and completes the column map to 31 fields. ProgramDir is left as it is.
void LoadZwSettings(const IniFile &ini, TZwcs &rec);

// SaveSettings: File, Area, Date, Start, End, yjkd, in this order, as typed. The workbook
// name and the column map are written where they change, not here.
void SaveZwSettings(IniFile &ini, const roster::RosterBoxTexts &boxes);

// LoadColumnMap: the worksheet columns of fields 1 to 31 (element 0 is field 1). Throws
// ConversionError for a piece that is not a number.
std::vector<int> LoadColumnMap(const TZwcs &rec);

} // namespace quvela::zw
