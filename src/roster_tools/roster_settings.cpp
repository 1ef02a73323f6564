#include "roster_tools/roster_settings.h"

namespace quvela::roster {

void storeWorkbookFile(IniFile &ini, const std::string &key, const GbkString &name, GbkString &recordFile)
{
    ini.writeString(kSettingsSection, key, name);
    recordFile = name;
}

} // namespace quvela::roster
