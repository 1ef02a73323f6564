// Writes compound files (OLE2) through libgsf, the writer an established spreadsheet
// program saves .xls files with.
#pragma once

#include <string>
#include <string_view>

namespace quvela::spreadsheet {

// A new compound file holding every storage and stream of original, with the stream
// streamName directly under the root (found without regard to ASCII letter case)
// holding replacement instead. Carried over: the contents of every other stream, the
// storages with their class ids and modification times, the sector size. Not carried
// over, because libgsf cannot write them: creation times, state bits, the order of the
// directory entries and the header's minor version. Throws QuvelaError.
std::string rewriteCompoundFile(std::string_view original, std::string_view streamName,
                                std::string_view replacement);

} // namespace quvela::spreadsheet
