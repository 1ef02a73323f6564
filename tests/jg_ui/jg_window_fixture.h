// The JG window on a program folder of its own, with scripted prompts.
#pragma once

#include "jg/ui/jg_main_form.h"

#include "common/ini_file.h"
#include "common/settings_records.h"
#include "support/qt_application.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "widgets/program_folder.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace quvela::test {

class JgWindowTest : public testing::Test
{
protected:
    TempFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<jg::TJgMainForm> window;

    static void SetUpTestSuite() { ensureApplication<QApplication>(); }

    void SetUp() override
    {
        widgets::setProgramFolderOverride(QString::fromStdString(dir.path().string()));
        jgcs = TJgcs{};
    }

    void TearDown() override
    {
        window.reset();
        widgets::setProgramFolderOverride({});
        jgcs = TJgcs{};
    }

    IniFile ini() const { return IniFile(dir / "gwyzwgz.ini"); }
    std::string iniValue(const char *key) const
    {
        return gbk::toUtf8(ini().readString("xtcs", key, gbk::fromUtf8("<missing>")));
    }
    void setIni(const char *key, const std::string &utf8) { ini().writeString("xtcs", key, gbk::fromUtf8(utf8)); }

    std::string workbook(const char *name)
    {
        const std::filesystem::path p = dir / name;
        std::ofstream(p) << "x";
        return p.string();
    }

    void storeSettings()
    {
        setIni("Area", "某市人社局制");
        setIni("File", "某人社(2010)12号");
        setIni("Date", "2010-3-5");
        setIni("Start", "9");
        setIni("End", "40");
        setIni("excelFileName", workbook("职务变动.xlsx"));
        setIni("yjkd", "80");
    }

    void open() { window = std::make_unique<jg::TJgMainForm>(prompts); }

    template <class W>
    W *child(const char *name) const
    {
        W *w = window->findChild<W *>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QString text(const char *edit) const { return child<QLineEdit>(edit)->text(); }
    // Typed key by key where QTest can type the characters; Chinese text goes in as an
    // input method would hand it over.
    void retype(const char *edit, const QString &value)
    {
        QLineEdit *e = child<QLineEdit>(edit);
        e->clear();
        bool latin = true;
        for (QChar c : value)
            latin = latin && c.unicode() < 0x80;
        if (latin)
            QTest::keyClicks(e, value);
        else
            e->insert(value);
    }
    int fileDialogs() const
    {
        int n = 0;
        for (const auto &s : prompts.shown)
            n += s.kind == "file";
        return n;
    }
};

} // namespace quvela::test
