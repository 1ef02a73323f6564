// Column maps (which worksheet column feeds which field) and stored grid widths.
#pragma once

#include "common/gbk.h"

#include <string_view>
#include <vector>

namespace quvela {

// Two digits per field, the 1-based worksheet column: "01" is column A.
inline constexpr std::string_view kDefaultXjColumnMap =
    "01020304050607080910111213141516171819202122232425262728293031323334353637383940";
// ZW and JB: columns 16 and 24 are not part of the default.
inline constexpr std::string_view kDefaultZwColumnMap =
    "0102030405060708091011121314151718192021222325262728293031323334353637383940";
inline constexpr int kXjColumnFields = 32;
inline constexpr int kZwColumnFields = 31;

// Three digits per grid column of the XJ roster grid, in pixels.
inline constexpr std::string_view kDefaultGridWidth =
    "028056028048048048048076048044044044028044040036044044044028044040031040040040029044072030043048";

// The stored map extended to `fields` pairs: each missing field k maps to column k.
// A dangling single digit at the end is not a pair and is replaced as missing, so
// the fields after it stay aligned.
GbkString CompleteColumnMap(const GbkString &stored, int fields);

// Column numbers of fields 1..fields (element 0 is field 1). Throws ConversionError
// "'xx' is not a valid integer value" for a pair that is not a number or is missing.
// Pairs beyond `fields` are ignored. Values are not range-checked here.
std::vector<int> DecodeColumnMap(const GbkString &map, int fields);

// Widths of grid columns 0..columns-1. Throws ConversionError for a group that is not a
// number; a text that runs out gives fewer widths, and the remaining columns keep theirs.
std::vector<int> DecodeGridWidths(const GbkString &text, int columns);

// Each width modulo 1000 as three digits, so every group keeps its place.
GbkString EncodeGridWidths(const std::vector<int> &widths);

} // namespace quvela
