// Paper and margins of a report, in millimetres.
#pragma once

namespace quvela::report {

struct PageMargins
{
    double top = 10;
    double bottom = 10;
    double left = 10;
    double right = 10;
};

// B5 portrait with the margins the forms were designed with.
struct PageSetup
{
    double widthMm = 182;
    double heightMm = 257;
    PageMargins margins;
};

} // namespace quvela::report
