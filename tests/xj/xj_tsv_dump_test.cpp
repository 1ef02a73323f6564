#include "xj/temp_folder.h"
#include "xj/xj_table.h"
#include "xj/xj_tsv_dump.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace quvela;
using namespace quvela::xj;
using quvela::test::TempFolder;

namespace {

std::vector<std::string> dumpLines(const XjTable &table)
{
    std::ostringstream out;
    writeTableTsv(table, out);
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(XjTsvDump, OneLinePerRowWithTextsKeptOnTheirLine)
{
    TempFolder dir;
    auto table = XjTable::open(dir / "xjgz.db");
    struct Case
    {
        const char *bz; // UTF-8
        const char *field;
    };
    const Case cases[] = {
        {"", ""},
        {" 新调入 ", " 新调入 "},
        {"a\tb", "a\\tb"},
        {"一\n二\r", "一\\n二\\r"},
        {"C:\\temp", "C:\\\\temp"},
    };
    for (const Case &c : cases) {
        XjRecord r;
        r.xh = -12;
        r.bufa = 2147483647;
        r.bz = gbk::fromUtf8(c.bz);
        table->append(r);
    }
    const auto lines = dumpLines(*table);
    ASSERT_EQ(lines.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string &line = lines[i + 1];
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        ASSERT_EQ(fields.size(), 32u) << line;
        EXPECT_EQ(fields[0], "-12");
        EXPECT_EQ(fields[1], "") << "a null name is an empty field";
        EXPECT_EQ(fields[9], "0") << "an integer is never empty";
        EXPECT_EQ(fields[27], "2147483647");
        EXPECT_EQ(fields[28], cases[i].field);
    }
}

TEST(XjTsvDump, LongTablesKeepTheirOrderAcrossPages)
{
    TempFolder dir;
    auto table = XjTable::open(dir / "xjgz.db");
    {
        XjTable::Transaction t(*table);
        for (int i = 1; i <= 10'001; ++i) {
            XjRecord r;
            r.xh = i;
            table->append(r);
        }
        t.commit();
    }
    const auto lines = dumpLines(*table);
    ASSERT_EQ(lines.size(), 10'002u);
    for (std::size_t i = 1; i < lines.size(); ++i)
        ASSERT_EQ(lines[i].substr(0, lines[i].find('\t')), std::to_string(i));
}
