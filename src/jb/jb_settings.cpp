#include "jb/jb_settings.h"

#include <string>

namespace quvela::jb {
namespace {

GbkString defaultIssuer()
{
    return roster::RosterDefaults{}.issuer;
}

} // namespace

std::filesystem::path jbSettingsFile(const GbkString &programDir)
{
    return gbk::toPath(programDir) / "gwyjbgz.ini";
}

roster::RosterKeys jbModeKeys(int mode)
{
    const std::string m = std::to_string(mode);
    roster::RosterKeys keys;
    keys.file = "File" + m;
    keys.date = "Date" + m;
    keys.start = "Start" + m;
    keys.end = "End" + m;
    keys.width = "yjkd" + m;
    keys.workbook = "excelFileName" + m;
    return keys;
}

GbkString defaultJbFileNo(int mode)
{
    return gbk::fromUtf8(mode == kRollingPromotion ? "zar(2007)196号" : "zar(2007)49号");
}

void LoadJbSettings(const IniFile &ini, TJbcs &rec)
{
    int32_t mode = ini.readInteger(kSettingsSection, "Type", kNormalStep);
    if (mode != kNormalStep && mode != kRollingPromotion)
        mode = kNormalStep;
    rec.Issuer = ini.readString(kSettingsSection, "Area", defaultIssuer());
    LoadJbModeSettings(ini, mode, rec);
}

void LoadJbModeSettings(const IniFile &ini, int mode, TJbcs &rec)
{
    roster::RosterDefaults defaults;
    defaults.fileNo = defaultJbFileNo(mode);
    defaults.issuer = rec.Issuer;
    const GbkString issuer = rec.Issuer;
    roster::readRosterSettings(ini, jbModeKeys(mode), defaults, rec);
    rec.Issuer = issuer;
    rec.Mode = mode;
}

void SaveJbModeSettings(IniFile &ini, int32_t typeValue, int mode, const roster::RosterBoxTexts &boxes)
{
    ini.writeInteger(kSettingsSection, "Type", typeValue);
    roster::writeRosterBoxes(ini, jbModeKeys(mode), boxes);
}

} // namespace quvela::jb
