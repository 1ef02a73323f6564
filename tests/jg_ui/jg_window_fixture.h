// The JG window on a program folder of its own, with scripted prompts.
#pragma once

#include "jg/ui/jg_main_form.h"

#include "common/settings_records.h"
#include "support/tool_window_fixture.h"

#include <QLineEdit>
#include <QTest>

#include <string>

namespace quvela::test {

class JgWindowTest : public ToolWindowTest<jg::TJgMainForm, TJgcs, &jgcs>
{
protected:
    JgWindowTest()
        : ToolWindowTest("gwyzwgz.ini")
    {
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
};

} // namespace quvela::test
