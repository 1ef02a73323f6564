// A salary-grade amount table: the amount of grade g is the g-th group of four digits.
#pragma once

#include "common/gbk.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quvela::xj {

class GradeTable
{
public:
    // Throws ConversionError when a group is not a number.
    explicit GradeTable(std::string_view text);

    // Grades count from 1; nothing for a grade outside the table.
    std::optional<int32_t> amount(int64_t grade) const;
    int32_t highestGrade() const { return static_cast<int32_t>(m_amounts.size()); }

private:
    std::vector<int32_t> m_amounts;
};

} // namespace quvela::xj
