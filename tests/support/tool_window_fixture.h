// A program folder of its own with the tool's settings file, and the tool's window opened
// on it offscreen with scripted prompts. Record is the tool's settings record, Global its
// one instance: every test starts and ends with a fresh record.
#pragma once

#include "common/gbk.h"
#include "common/ini_file.h"
#include "support/qt_application.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "widgets/program_folder.h"

#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace quvela::test {

template <class Window, class Record, Record *Global>
class ToolWindowTest : public testing::Test
{
protected:
    // settingsName: the tool's settings file in the program folder ("zwgz.ini").
    explicit ToolWindowTest(const char *settingsName)
        : m_settingsName(settingsName)
    {
    }

    TempFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<Window> window;

    static void SetUpTestSuite() { ensureApplication<QApplication>(); }

    void SetUp() override
    {
        widgets::setProgramFolderOverride(QString::fromStdString(dir.path().string()));
        *Global = Record{};
    }

    void TearDown() override
    {
        window.reset();
        widgets::setProgramFolderOverride({});
        *Global = Record{};
    }

    IniFile ini() const { return IniFile(dir / m_settingsName); }
    std::string iniValue(const char *key) const
    {
        return gbk::toUtf8(ini().readString("xtcs", key, gbk::fromUtf8("<missing>")));
    }
    void setIni(const char *key, const std::string &utf8) { ini().writeString("xtcs", key, gbk::fromUtf8(utf8)); }

    // A workbook file that exists; the view shows what it can of it.
    std::string workbook(const char *name)
    {
        const std::filesystem::path p = dir / name;
        std::ofstream(p) << "x";
        return p.string();
    }

    Window &open()
    {
        window = std::make_unique<Window>(prompts);
        return *window;
    }

    template <class W>
    W *child(const char *name) const
    {
        W *w = window->template findChild<W *>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char *edit) const { return child<QLineEdit>(edit)->text(); }

    int fileDialogs() const
    {
        int n = 0;
        for (const auto &s : prompts.shown)
            n += s.kind == "file";
        return n;
    }

private:
    std::string m_settingsName;
};

} // namespace quvela::test
