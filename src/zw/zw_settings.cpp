#include "zw/zw_settings.h"

#include "common/column_map.h"

namespace quvela::zw {

std::filesystem::path zwSettingsFile(const GbkString &programDir)
{
    return gbk::toPath(programDir) / "zwgz.ini";
}

roster::RosterKeys zwKeys()
{
    return {};
}

roster::RosterDefaults zwDefaults()
{
    return {};
}

void LoadZwSettings(const IniFile &ini, TZwcs &rec)
{
    roster::readRosterSettings(ini, zwKeys(), zwDefaults(), rec);
    rec.ColumnMap = CompleteColumnMap(ini.readString(kSettingsSection, "zwRow", GbkString(kDefaultZwColumnMap)),
                                      kZwColumnFields);
}

void SaveZwSettings(IniFile &ini, const roster::RosterBoxTexts &boxes)
{
    const roster::RosterKeys keys = zwKeys();
    ini.writeString(kSettingsSection, keys.file, boxes.file);
    ini.writeString(kSettingsSection, keys.area, boxes.area);
    ini.writeDateTime(kSettingsSection, keys.date, boxes.printDate);
    ini.writeString(kSettingsSection, keys.start, boxes.start);
    ini.writeString(kSettingsSection, keys.end, boxes.end);
    ini.writeString(kSettingsSection, keys.width, boxes.width);
}

std::vector<int> LoadColumnMap(const TZwcs &rec)
{
    return DecodeColumnMap(rec.ColumnMap, kZwColumnFields);
}

} // namespace quvela::zw
