// Loading and saving the XJ tool's settings (xjgz.ini).
#pragma once

#include "common/gbk.h"
#include "common/ini_file.h"
#include "common/settings_records.h"

#include <QDateTime>

#include <filesystem>
#include <string_view>
#include <vector>

namespace quvela {

// Salary-grade amounts, four digits per grade from grade 1: staff categories 1 and 2
// (63 grades) and categories 3 and 4 (40 grades). Fixed by the wage office, never stored.
inline constexpr std::string_view kGradeTable1 =
    "00800091010201130125013701510165018101970215023302530273029503170341036503910417"
    "04430471049905270555058306130643067307030735076707990834086909040944098410241064"
    "11091154119912441289133413841434148415341590165517201785185019201990206021302200"
    "228023602440";
inline constexpr std::string_view kGradeTable2 =
    "00700080009001010112012401360148016101740188020202170232024802640282030003200340"
    "03630386040904320455047805040530055605850614064306750707073907740809084408790915";

// ProgramDir/xjgz.ini.
std::filesystem::path xjSettingsFile(const GbkString &programDir);

// Fills rec from the file (missing keys give the defaults; Date defaults to now), sets
// the grade tables, gives the grid ten spare widths and completes the column map.
// ProgramDir is left as it is.
void LoadXjSettings(IniFile &ini, TXtcs &rec);

// The texts of the tool window's boxes, saved as typed.
struct XjBoxTexts
{
    GbkString file, area, year, month, start, end;
    QDateTime printDate;
};

// Writes the boxes, and the grid widths when the grid has more than 10 columns (a grid
// still without its columns must not overwrite the stored widths).
void SaveXjSettings(IniFile &ini, const XjBoxTexts &boxes, const std::vector<int> &gridWidths);

// The workbook chosen for import, read again by the write-back.
void RememberWorkbook(IniFile &ini, const GbkString &file);
// The workbook remembered, or xjgz.xls in the program folder.
GbkString RecallWorkbook(IniFile &ini, const TXtcs &rec);

} // namespace quvela
