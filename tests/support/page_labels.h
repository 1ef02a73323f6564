// The labels of a rendered page by name, as the form tests read them.
#pragma once

#include "common/gbk.h"
#include "report/rendered_page.h"

#include <stdexcept>
#include <string>

namespace quvela::test {

// Throws std::out_of_range when the page has no label of that name: the test reading it
// fails there.
inline const report::ReportLabel &labelOf(const report::RenderedPage &page, const std::string &name)
{
    for (const report::ReportLabel &l : page.labels)
        if (l.name == name)
            return l;
    throw std::out_of_range("no label " + name);
}

// The label's text in UTF-8.
inline std::string textOf(const report::RenderedPage &page, const std::string &name)
{
    return gbk::toUtf8(labelOf(page, name).text);
}

} // namespace quvela::test
