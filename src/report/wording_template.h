// The wording lines of the approval forms: design texts with placeholders such as
// "&file" or "&year" that a fill replaces.
#pragma once

#include "common/gbk.h"

#include <span>
#include <string_view>

namespace quvela::report {

struct TemplateValue
{
    std::string_view placeholder; // "&file"
    GbkString value;
};

// Replaces, in the order given, the first occurrence of each placeholder in the text of
// the template, as ReplaceFirstNoCase does: found in any letter case, only on whole
// characters, the value inserted with its ASCII letters upper-cased. Unlike a chain of
// ReplaceFirstNoCase calls, inserted values are never searched again, so a circular
// number typed as "x&year" cannot steal the place of the template's own "&year".
GbkString fillTemplate(std::string_view text, std::span<const TemplateValue> values);

} // namespace quvela::report
