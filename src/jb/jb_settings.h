// The JB tool's settings file gwyjbgz.ini: one set of keys per mode (their names end in
// the mode's digit), the mode itself under "Type" and the issuer under "Area".
#pragma once

#include "common/gbk.h"
#include "common/ini_file.h"
#include "common/settings_records.h"
#include "roster_tools/roster_settings.h"

#include <filesystem>

namespace quvela::jb {

inline constexpr int kNormalStep = 0;
inline constexpr int kRollingPromotion = 1;

// ProgramDir/gwyjbgz.ini.
std::filesystem::path jbSettingsFile(const GbkString &programDir);

// The keys of mode m: "File"m, "Date"m, "Start"m, "End"m, "yjkd"m, "excelFileName"m, and
// "Area" for both modes.
roster::RosterKeys jbModeKeys(int mode);

// The circular of each mode when none is stored.
GbkString defaultJbFileNo(int mode);

// Window creation: Mode from "Type", Issuer from "Area", then the keys of that mode.
// A stored mode other than 0 or 1 reads as 0: no mode has keys for it, and no mode
// button could show it. ProgramDir is left as it is.
void LoadJbSettings(const IniFile &ini, TJbcs &rec);

// The keys of mode m into the record, which then holds mode m. The issuer stays as it
// was loaded when the window was created.
void LoadJbModeSettings(const IniFile &ini, int mode, TJbcs &rec);

// Writes, in this order, "Type" := typeValue, the boxes of mode m, and "Area". The record
// is not changed. Throws QuvelaError when the file cannot be written.
void SaveJbModeSettings(IniFile &ini, int32_t typeValue, int mode, const roster::RosterBoxTexts &boxes);

} // namespace quvela::jb
