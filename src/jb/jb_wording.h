// The approval wording of the JB forms: the normal step of a civil servant or of a
// worker, and the rolling promotion.
#pragma once

#include "common/gbk.h"

#include <cstdint>

namespace quvela::jb {

// The figures a wording quotes, as the form prints them.
struct JbWordingFigures
{
    GbkString fileNo;    // the circular
    int32_t year = 0;    // year of the print date; the change takes effect in its January
    GbkString oldStep;   // l_xj1
    GbkString oldWage;   // m_xj1
    GbkString newStep;   // l_xj2
    GbkString newWage;   // m_xj2
    GbkString increase;  // monthly increase
    GbkString grade;     // workers only: the technical grade, printed in full-width brackets
};

// Civil servants: one step of the rank wage after two years appraised 称职.
GbkString normalStepWording(const JbWordingFigures &f);
// Workers: one step of the post wage, the technical grade named before either step.
GbkString workerStepWording(const JbWordingFigures &f);
// One rank up on reaching the years of the conversion table.
GbkString rollingWording(const JbWordingFigures &f);

} // namespace quvela::jb
