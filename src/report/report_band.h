// A band of fixed size holding ruled lines and labels.
#pragma once

#include "report/report_label.h"
#include "report/ruled_line.h"

#include <string>
#include <string_view>
#include <vector>

namespace quvela::report {

class ReportBand
{
public:
    ReportBand(std::string name, double widthMm, double heightMm);

    const std::string &name() const { return m_name; }
    double width() const { return m_width; }
    double height() const { return m_height; }

    // The reference stays valid until the next addLabel.
    ReportLabel &addLabel(ReportLabel label);
    void addLine(const RuledLine &line) { m_lines.push_back(line); }

    // The label with this component name; throws std::out_of_range when there is none,
    // because a form that names a missing label is a programming error.
    ReportLabel &label(std::string_view name);
    const ReportLabel &label(std::string_view name) const;
    bool hasLabel(std::string_view name) const;

    const std::vector<ReportLabel> &labels() const { return m_labels; }
    const std::vector<RuledLine> &lines() const { return m_lines; }

private:
    std::string m_name;
    double m_width;
    double m_height;
    std::vector<ReportLabel> m_labels;
    std::vector<RuledLine> m_lines;
};

} // namespace quvela::report
