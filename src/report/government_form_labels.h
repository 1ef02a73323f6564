// The data labels that the two forms of government staff (rank wage, duty change) share.
#pragma once

#include "report/report_band.h"

namespace quvela::report {

// The personal cells, the reason of change "lb_bdyy" (bold, automatic width), the
// appraisal year "lb_ndkh", the post cells and the five amount labels of each wage block
// ("l_gw1", "m_gw1", "l_xj1", "m_xj1", "l_ph1" and those ending in 2), right-aligned in
// the civil servants' value column. All start empty, 3.7 mm high.
void addGovernmentFormLabels(ReportBand &band);

enum class WageBlock { Old, New };

// Puts a block's five amount labels into the workers' value column, left edge at x, for
// a person whose amounts are a worker's: the grade label ("l_gw1" / "l_gw2") then holds
// the technical grade, a word, and is centred and as wide as its text.
void moveAmountsToWorkerColumn(ReportBand &band, WageBlock block, double x);

} // namespace quvela::report
