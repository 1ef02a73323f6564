#include "roster_tools/roster_settings.h"

namespace quvela::roster {

void writeRosterBoxes(IniFile &ini, const RosterKeys &keys, const RosterBoxTexts &boxes)
{
    ini.writeString(kSettingsSection, keys.file, boxes.file);
    ini.writeDateTime(kSettingsSection, keys.date, boxes.printDate);
    ini.writeString(kSettingsSection, keys.start, boxes.start);
    ini.writeString(kSettingsSection, keys.end, boxes.end);
    ini.writeString(kSettingsSection, keys.width, boxes.width);
    ini.writeString(kSettingsSection, keys.area, boxes.area);
}

void storeWorkbookFile(IniFile &ini, const std::string &key, const GbkString &name, GbkString &recordFile)
{
    ini.writeString(kSettingsSection, key, name);
    recordFile = name;
}

} // namespace quvela::roster
