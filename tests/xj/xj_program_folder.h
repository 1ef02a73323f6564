// A program folder as the XJ tool window sees it: settings file, settings loaded from
// it, the roster table in a real SQLite file, and scripted prompts.
#pragma once

#include "common/ini_file.h"
#include "common/settings_records.h"
#include "common/xj_settings.h"
#include "support/scripted_prompts.h"
#include "xj/temp_folder.h"
#include "xj/xj_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quvela::test {

class XjProgramFolder : public ::testing::Test
{
protected:
    TempFolder dir;
    IniFile ini{dir / "xjgz.ini"};
    TXtcs settings = loadedSettings();
    std::unique_ptr<xj::XjTable> table = xj::XjTable::open(dir / "xjgz.db");
    ScriptedPrompts prompts;

    TXtcs loadedSettings()
    {
        TXtcs s;
        s.ProgramDir = gbk::fromPath(dir.path());
        LoadXjSettings(ini, s);
        return s;
    }

    // Through a second connection, so only what was committed counts.
    std::vector<xj::XjRecord> storedRows() const { return xj::XjTable::open(dir / "xjgz.db")->readAll(); }

    // What was shown, in order, as "kind: text" (UTF-8).
    std::vector<std::string> shownLog() const
    {
        std::vector<std::string> log;
        for (const auto &s : prompts.shown)
            log.push_back(s.kind + ": " + gbk::toUtf8(s.text));
        return log;
    }
};

} // namespace quvela::test
