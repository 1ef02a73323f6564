// A program folder with its own gwyjbgz.ini, and the JB window opened on it offscreen
// with scripted prompts.
#pragma once

#include "jb/ui/jb_main_form.h"

#include "common/ini_file.h"
#include "common/settings_records.h"
#include "support/qt_application.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "widgets/program_folder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace quvela::test {

class JbWindowTest : public testing::Test
{
protected:
    TempFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<jb::TJbMainForm> window;

    static void SetUpTestSuite() { ensureApplication<QApplication>(); }

    void SetUp() override
    {
        widgets::setProgramFolderOverride(QString::fromStdString(dir.path().string()));
        jbcs = TJbcs{};
    }

    void TearDown() override
    {
        window.reset();
        widgets::setProgramFolderOverride({});
        jbcs = TJbcs{};
    }

    IniFile ini() const { return IniFile(dir / "gwyjbgz.ini"); }
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

    // Two modes stored as a previous "退出" and switch left them.
    void storeBothModes()
    {
        setIni("Type", "0");
        setIni("Area", "某市人社局制");
        setIni("File0", "某人社(2007)49号");
        setIni("Date0", "2010-4-7");
        setIni("Start0", "8");
        setIni("End0", "20");
        setIni("yjkd0", "80");
        setIni("excelFileName0", workbook("正常.xlsx"));
        setIni("File1", "某人社(2007)196号");
        setIni("Date1", "2011-1-5");
        setIni("Start1", "9");
        setIni("End1", "30");
        setIni("yjkd1", "76");
        setIni("excelFileName1", workbook("滚动.xlsx"));
    }

    void open() { window = std::make_unique<jb::TJbMainForm>(prompts); }

    template <class W>
    W *child(const char *name) const
    {
        W *w = window->findChild<W *>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QString text(const char *edit) const { return child<QLineEdit>(edit)->text(); }
    // Types the text one key at a time, as a keyboard (or an input method for characters
    // without a key) delivers it.
    void retype(const char *edit, const QString &value)
    {
        QLineEdit *e = child<QLineEdit>(edit);
        e->clear();
        for (const QChar c : value) {
            const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &release);
        }
    }
    QRadioButton *modeButton(int index) const
    {
        return child<QRadioButton>(index == 0 ? "rgJbgzItem0" : "rgJbgzItem1");
    }
    void clickMode(int index) { QTest::mouseClick(modeButton(index), Qt::LeftButton); }
    int fileDialogs() const
    {
        int n = 0;
        for (const auto &s : prompts.shown)
            n += s.kind == "file";
        return n;
    }
};

} // namespace quvela::test
