#include "jg/jg_settings.h"

namespace quvela::jg {

std::filesystem::path jgSettingsFile(const GbkString &programDir)
{
    return gbk::toPath(programDir) / "gwyzwgz.ini";
}

void LoadJgSettings(const IniFile &ini, TJgcs &rec)
{
    roster::RosterKeys keys;
    keys.workbook = kWorkbookKey;
    roster::readRosterSettings(ini, keys, roster::RosterDefaults{}, rec);
}

void SaveJgSettings(IniFile &ini, const roster::RosterBoxTexts &boxes)
{
    roster::writeRosterBoxes(ini, roster::RosterKeys{}, boxes);
}

} // namespace quvela::jg
