#include "xj/grade_table.h"

#include "common/errors.h"

namespace quvela::xj {

GradeTable::GradeTable(std::string_view text)
{
    for (std::size_t pos = 0; pos + 4 <= text.size(); pos += 4) {
        int32_t value = 0;
        for (std::size_t i = pos; i < pos + 4; ++i) {
            if (text[i] < '0' || text[i] > '9')
                throw ConversionError("'" + GbkString(text.substr(pos, 4)) + "' is not a valid integer value");
            value = value * 10 + (text[i] - '0');
        }
        m_amounts.push_back(value);
    }
}

std::optional<int32_t> GradeTable::amount(int64_t grade) const
{
    if (grade < 1 || grade > static_cast<int64_t>(m_amounts.size()))
        return std::nullopt;
    return m_amounts[static_cast<std::size_t>(grade - 1)];
}

} // namespace quvela::xj
