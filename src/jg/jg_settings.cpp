#include "jg/jg_settings.h"

namespace quvela::jg {

std::filesystem::path jgSettingsFile(const GbkString &programDir)
{
    return gbk::toPath(programDir) / "gwyzwgz.ini";
}

void LoadJgSettings(const IniFile &ini, TJgcs &rec)
{
    roster::RosterDefaults defaults;
    defaults.fileNo = gbk::fromUtf8("zar(2007)71号");
    defaults.issuer = gbk::fromUtf8("vodeve工资处制");
    defaults.opinionWidth = 78;
    defaults.startRow = 7;
    defaults.endRow = 7;
    roster::RosterKeys keys;
    keys.workbook = kWorkbookKey;
    roster::readRosterSettings(ini, keys, defaults, rec);
}

void SaveJgSettings(IniFile &ini, const roster::RosterBoxTexts &boxes)
{
    const std::string_view s = kSettingsSection;
    ini.writeString(s, "File", boxes.file);
    ini.writeDateTime(s, "Date", boxes.printDate);
    ini.writeString(s, "Start", boxes.start);
    ini.writeString(s, "End", boxes.end);
    ini.writeString(s, "yjkd", boxes.width);
    ini.writeString(s, "Area", boxes.area);
}

} // namespace quvela::jg
