#include "common/xj_settings.h"

#include "common/column_map.h"

#include <QtGlobal>

namespace quvela {
namespace {

// Columns added to the grid after the stored widths were written get 56 pixels.
constexpr std::string_view kSpareGridWidths = "056056056056056056056056056056";

#ifdef Q_OS_WIN
constexpr std::string_view kPathSeparator = "\\";
#else
constexpr std::string_view kPathSeparator = "/";
#endif

} // namespace

std::filesystem::path xjSettingsFile(const GbkString &programDir)
{
    return gbk::toPath(programDir) / "xjgz.ini";
}

void LoadXjSettings(IniFile &ini, TXtcs &rec)
{
    const std::string_view s = kSettingsSection;
    rec.FileNo = ini.readString(s, "File", "zar(2007)50");
    rec.Issuer = ini.readString(s, "Area", gbk::fromUtf8("vodeve工资处制"));
    rec.Year = ini.readInteger(s, "Year", 2010);
    rec.Month = ini.readInteger(s, "Month", 4);
    rec.PrintDate = ini.readDateTime(s, "Date", QDateTime::currentDateTime());
    rec.StartRow = ini.readInteger(s, "Start", 7);
    rec.EndRow = ini.readInteger(s, "End", 7);
    rec.GradeTable1 = kGradeTable1;
    rec.GradeTable2 = kGradeTable2;
    rec.GridWidth = ini.readString(s, "GridWidth", GbkString(kDefaultGridWidth)) + GbkString(kSpareGridWidths);
    rec.ColumnMap = CompleteColumnMap(ini.readString(s, "xjRow", GbkString(kDefaultXjColumnMap)), kXjColumnFields);
}

void SaveXjSettings(IniFile &ini, const XjBoxTexts &boxes, const std::vector<int> &gridWidths)
{
    const std::string_view s = kSettingsSection;
    ini.writeString(s, "File", boxes.file);
    ini.writeString(s, "Area", boxes.area);
    ini.writeString(s, "Year", boxes.year);
    ini.writeString(s, "Month", boxes.month);
    ini.writeDateTime(s, "Date", boxes.printDate);
    ini.writeString(s, "Start", boxes.start);
    ini.writeString(s, "End", boxes.end);
    if (gridWidths.size() > 10)
        ini.writeString(s, "GridWidth", EncodeGridWidths(gridWidths));
}

void RememberWorkbook(IniFile &ini, const GbkString &file)
{
    ini.writeString(kSettingsSection, "excelFileName", file);
}

GbkString RecallWorkbook(IniFile &ini, const TXtcs &rec)
{
    return ini.readString(kSettingsSection, "excelFileName",
                          rec.ProgramDir + GbkString(kPathSeparator) + "xjgz.xls");
}

} // namespace quvela
