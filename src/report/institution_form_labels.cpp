#include "report/institution_form_labels.h"

#include "report/label_place.h"

#include <array>

namespace quvela::report {
namespace {

// The reason of change stands at index kReason; its name comes from the form.
constexpr std::size_t kReason = 6;

constexpr std::array<LabelPlace, 26> kLabels = {{
    {"l_xm", 19.3, 1.6, 14.3, Align::Left},     {"l_xb", 63.2, 1.3, 12.7, Align::Center},
    {"l_whcd", 92.3, 1.6, 20.1, Align::Center}, {"l_csny", 19.3, 9.3, 14.3, Align::Left},
    {"l_gzny", 63.5, 9.3, 15.6, Align::Left},   {"l_tsny", 130.2, 9.3, 13.2, Align::Left},
    {nullptr, 24.6, 15.3, 0, Align::Left},      {"lb_ndkh", 94.5, 15.3, 0, Align::Left},
    {"zw0", 128.6, 16.1, 29.6, Align::Left},    {"zw1", 62.7, 22.2, 43.4, Align::Left},
    {"l_ny1", 128.9, 22.2, 16.9, Align::Left},  {"l_gw1", 92.1, 36.0, 12.2, Align::Right},
    {"m_gw1", 93.4, 43.9, 12.2, Align::Right},  {"l_xj1", 95.0, 49.7, 10.6, Align::Right},
    {"m_xj1", 93.4, 57.1, 12.2, Align::Right},  {"l_bt1", 93.4, 64.3, 12.2, Align::Right},
    {"l_tmp1", 93.4, 78.1, 12.2, Align::Right}, {"l_ph1", 93.4, 84.4, 12.2, Align::Right},
    {"zw2", 63.0, 90.5, 43.1, Align::Left},     {"l_ny2", 128.9, 90.5, 16.9, Align::Left},
    {"l_gw2", 91.8, 105.6, 12.2, Align::Right}, {"m_gw2", 93.4, 113.0, 12.7, Align::Right},
    {"l_xj2", 95.0, 119.3, 10.6, Align::Right}, {"m_xj2", 93.1, 125.7, 13.0, Align::Right},
    {"l_bt2", 93.4, 133.1, 12.7, Align::Right}, {"l_ph2", 93.7, 146.6, 12.2, Align::Right},
}};

} // namespace

void addInstitutionFormLabels(ReportBand &band, const char *reasonLabel)
{
    std::array<LabelPlace, kLabels.size()> places = kLabels;
    places[kReason].name = reasonLabel;
    addDataLabels(band, places);
    band.label(reasonLabel).bold = true;
}

} // namespace quvela::report
