#include "report/report_band.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace quvela::report {

ReportBand::ReportBand(std::string name, double widthMm, double heightMm)
    : m_name(std::move(name)), m_width(widthMm), m_height(heightMm)
{
}

ReportLabel &ReportBand::addLabel(ReportLabel label)
{
    m_labels.push_back(std::move(label));
    return m_labels.back();
}

ReportLabel &ReportBand::label(std::string_view name)
{
    return const_cast<ReportLabel &>(std::as_const(*this).label(name));
}

const ReportLabel &ReportBand::label(std::string_view name) const
{
    const auto it = std::find_if(m_labels.begin(), m_labels.end(),
                                 [&](const ReportLabel &l) { return l.name == name; });
    if (it == m_labels.end())
        throw std::out_of_range("band " + m_name + " has no label " + std::string(name));
    return *it;
}

bool ReportBand::hasLabel(std::string_view name) const
{
    return std::any_of(m_labels.begin(), m_labels.end(),
                       [&](const ReportLabel &l) { return l.name == name; });
}

double textWidthMm(const GbkString &text, double sizePt)
{
    constexpr double mmPerPoint = 25.4 / 72.0;
    return static_cast<double>(text.size()) * sizePt * mmPerPoint / 2.0;
}

} // namespace quvela::report
