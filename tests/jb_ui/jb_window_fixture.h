// A program folder with its own gwyjbgz.ini, and the JB window opened on it offscreen
// with scripted prompts.
#pragma once

#include "jb/ui/jb_main_form.h"

#include "common/settings_records.h"
#include "support/tool_window_fixture.h"
#include "support/type_text.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <string>

namespace quvela::test {

class JbWindowTest : public ToolWindowTest<jb::TJbMainForm, TJbcs, &jbcs>
{
protected:
    JbWindowTest()
        : ToolWindowTest("gwyjbgz.ini")
    {
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

    // Types the text one key at a time, as a keyboard (or an input method for characters
    // without a key) delivers it.
    void retype(const char *edit, const QString &value)
    {
        QLineEdit *e = child<QLineEdit>(edit);
        e->clear();
        typeText(e, value);
    }
    QRadioButton *modeButton(int index) const
    {
        return child<QRadioButton>(index == 0 ? "rgJbgzItem0" : "rgJbgzItem1");
    }
    void clickMode(int index) { QTest::mouseClick(modeButton(index), Qt::LeftButton); }
};

} // namespace quvela::test
