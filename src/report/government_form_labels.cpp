#include "report/government_form_labels.h"

#include "report/label_place.h"

namespace quvela::report {
namespace {

constexpr LabelPlace kLabels[] = {
    {"l_xm", 19.3, 1.6, 14.3, Align::Left},     {"l_xb", 63.2, 1.3, 12.7, Align::Center},
    {"l_whcd", 92.3, 1.6, 20.1, Align::Center}, {"l_csny", 19.3, 9.3, 14.3, Align::Left},
    {"l_gzny", 63.5, 9.3, 15.6, Align::Left},   {"l_tsny", 130.2, 9.3, 13.2, Align::Left},
    {"lb_bdyy", 24.6, 15.3, 0, Align::Left},    {"lb_ndkh", 94.5, 15.3, 0, Align::Left},
    {"zw0", 128.6, 16.1, 29.6, Align::Left},    {"zw1", 62.7, 22.2, 43.4, Align::Left},
    {"l_ny1", 128.9, 22.2, 16.9, Align::Left},  {"l_gw1", 48.2, 36.0, 12.2, Align::Right},
    {"m_gw1", 48.2, 43.9, 12.2, Align::Right},  {"l_xj1", 48.2, 49.7, 12.2, Align::Right},
    {"m_xj1", 48.2, 57.1, 12.2, Align::Right},  {"l_ph1", 48.2, 84.4, 12.2, Align::Right},
    {"zw2", 63.0, 90.5, 43.1, Align::Left},     {"l_ny2", 128.9, 90.5, 16.9, Align::Left},
    {"l_gw2", 48.2, 105.6, 12.2, Align::Right}, {"m_gw2", 48.2, 113.0, 12.2, Align::Right},
    {"l_xj2", 48.2, 119.3, 12.2, Align::Right}, {"m_xj2", 48.2, 125.7, 12.2, Align::Right},
    {"l_ph2", 48.2, 146.6, 12.2, Align::Right},
};

constexpr const char *kOldAmounts[] = {"l_gw1", "m_gw1", "l_xj1", "m_xj1", "l_ph1"};
constexpr const char *kNewAmounts[] = {"l_gw2", "m_gw2", "l_xj2", "m_xj2", "l_ph2"};

} // namespace

void addGovernmentFormLabels(ReportBand &band)
{
    addDataLabels(band, kLabels);
    band.label("lb_bdyy").bold = true;
}

void moveAmountsToWorkerColumn(ReportBand &band, WageBlock block, double x)
{
    const auto &names = block == WageBlock::Old ? kOldAmounts : kNewAmounts;
    ReportLabel &grade = band.label(names[0]);
    grade.align = Align::Center;
    grade.autoWidth = true;
    for (const char *name : names)
        band.label(name).x = x;
}

} // namespace quvela::report
