// The data labels that the two forms of public-institution staff (salary grade, post
// change) share.
#pragma once

#include "report/report_band.h"

namespace quvela::report {

// The personal cells, the reason of change (bold, automatic width), the appraisal year
// "lb_ndkh", the post cells and the amount labels of both wage blocks, right-aligned in
// the institutions' value column. The reason label is named by the form: the two tools
// have always called it differently ("QRLabel47", "lb_bdyy") and their dumps keep the name.
// All start empty, 3.7 mm high.
void addInstitutionFormLabels(ReportBand &band, const char *reasonLabel);

} // namespace quvela::report
