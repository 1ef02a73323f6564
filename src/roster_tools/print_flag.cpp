#include "roster_tools/print_flag.h"

#include "common/gbk.h"

namespace quvela::roster {

bool isPrintFlag(std::string_view cellText)
{
    return gbk::trimmed(cellText) == "1";
}

} // namespace quvela::roster
