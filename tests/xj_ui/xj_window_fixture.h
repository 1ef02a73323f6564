// A program folder with its own xjgz.ini and xjgz.db, and the XJ window opened on it
// offscreen with scripted prompts.
#pragma once

#include "common/settings_records.h"
#include "support/tool_window_fixture.h"
#include "support/type_text.h"
#include "xj/ui/xj_main_form.h"
#include "xj/xj_table.h"

#include <string>
#include <vector>

namespace quvela::test {

class XjWindowTest : public ToolWindowTest<xj::TXjMainForm, TXtcs, &xjcs>
{
protected:
    XjWindowTest()
        : ToolWindowTest("xjgz.ini")
    {
    }

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
