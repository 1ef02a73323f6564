// A program folder with its own xjgz.ini and xjgz.db, and the XJ window opened on it
// offscreen with scripted prompts.
#pragma once

#include "common/ini_file.h"
#include "common/settings_records.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "widgets/program_folder.h"
#include "xj/ui/xj_main_form.h"
#include "xj/xj_table.h"

#include "support/qt_application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quvela::test {

inline void ensureApplication()
{
    ensureApplication<QApplication>();
}

// Types text into widget one key at a time, as a keyboard (or an input method for
// characters without a key) delivers it.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

class XjWindowTest : public ::testing::Test
{
protected:
    TempFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<xj::TXjMainForm> window;

    static void SetUpTestSuite() { ensureApplication(); }

    void SetUp() override
    {
        widgets::setProgramFolderOverride(QString::fromStdString(dir.path().string()));
        xjcs = TXtcs{};
    }

    void TearDown() override
    {
        window.reset();
        widgets::setProgramFolderOverride({});
        xjcs = TXtcs{};
    }

    IniFile ini() const { return IniFile(dir / "xjgz.ini"); }

    std::string iniValue(const char *key) const
    {
        return gbk::toUtf8(ini().readString("xtcs", key, gbk::fromUtf8("<missing>")));
    }

    void setIni(const char *key, const std::string &utf8) { ini().writeString("xtcs", key, gbk::fromUtf8(utf8)); }

    // Rows through a connection of their own, as a second program would see them.
    std::vector<xj::XjRecord> storedRows() const { return xj::XjTable::open(dir / "xjgz.db")->readAll(); }

    void storeRows(const std::vector<xj::XjRecord> &rows) const
    {
        auto table = xj::XjTable::open(dir / "xjgz.db");
        xj::XjTable::Transaction transaction(*table);
        for (const xj::XjRecord &row : rows)
            table->append(row);
        transaction.commit();
    }

    xj::TXjMainForm &open()
    {
        window = std::make_unique<xj::TXjMainForm>(prompts);
        return *window;
    }

    template <typename T>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QString::fromUtf8(name));
    }

    std::vector<std::string> shownTexts() const { return prompts.textsUtf8(); }
};

inline xj::XjRecord person(int xh, const char *nameUtf8)
{
    xj::XjRecord r;
    r.xh = xh;
    r.xm = gbk::fromUtf8(nameUtf8);
    return r;
}

} // namespace quvela::test
