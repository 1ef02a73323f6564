#include "xj/xj_tsv_dump.h"

#include "xj/xj_columns.h"
#include "xj/xj_table.h"

#include <string>

namespace quvela::xj {
namespace {

void appendEscaped(std::string &line, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '\\': line += "\\\\"; break;
        case '\t': line += "\\t"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        default: line += c;
        }
    }
}

} // namespace

void writeTableTsv(const XjTable &table, std::ostream &out)
{
    std::string line;
    for (const XjColumn &c : kXjColumns) {
        if (!line.empty())
            line += '\t';
        line += c.name;
    }
    out << line << '\n';
    // Pages keep the memory flat however long the table is.
    constexpr int64_t kPage = 5000;
    for (int64_t offset = 0;; offset += kPage) {
        const std::vector<XjRecord> rows = table.readRange(offset, kPage);
        for (const XjRecord &r : rows) {
            line.clear();
            for (std::size_t i = 0; i < kXjColumns.size(); ++i) {
                if (i > 0)
                    line += '\t';
                if (kXjColumns[i].integer)
                    line += std::to_string(r.*kXjColumns[i].integer);
                else
                    appendEscaped(line, gbk::toUtf8(r.*kXjColumns[i].text));
            }
            out << line << '\n';
        }
        if (static_cast<int64_t>(rows.size()) < kPage)
            break;
    }
}

} // namespace quvela::xj
