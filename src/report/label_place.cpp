#include "report/label_place.h"

#include "report/approval_form_frame.h"

namespace quvela::report {

void addDataLabels(ReportBand &band, std::span<const LabelPlace> places)
{
    for (const LabelPlace &place : places) {
        ReportLabel l = dataLabel(place.name, place.x, place.y, place.width, place.align);
        l.autoWidth = place.width == 0;
        band.addLabel(std::move(l));
    }
}

} // namespace quvela::report
