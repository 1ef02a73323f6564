#include "spreadsheet/defined_names.h"

#include "spreadsheet/formula_references.h"

#include <cctype>

namespace quvela::spreadsheet {

namespace {

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// "$D$2", "$D" or "$2": a part that a copy of the formula does not move.
bool absolutePart(std::string_view part)
{
    std::size_t i = 0;
    auto run = [&](auto isClass) {
        if (i >= part.size() || part[i] != '$')
            return false;
        const std::size_t start = ++i;
        while (i < part.size() && isClass(static_cast<unsigned char>(part[i])))
            ++i;
        return i > start;
    };
    const bool letters = run([](unsigned char c) { return std::isalpha(c) != 0; });
    if (!letters)
        i = 0;
    const bool digits = run([](unsigned char c) { return std::isdigit(c) != 0; });
    return (letters || digits) && i == part.size();
}

bool plainNumber(std::string_view text)
{
    std::size_t digits = 0;
    std::size_t points = 0;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)))
            ++digits;
        else if (c == '.')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

// What the name may be replaced by: a fixed place on a named sheet of this workbook,
// or a number; empty otherwise.
std::string spelling(const std::string &text)
{
    if (plainNumber(text))
        return text;
    const std::vector<FormulaReference> refs = FormulaReferences::find(text);
    if (refs.size() != 1 || refs[0].name || refs[0].external || refs[0].sheet.empty()
        || refs[0].offset + refs[0].length != text.size() || refs[0].offset == 0 || text[refs[0].offset - 1] != '!')
        return {};
    const std::string_view prefix = std::string_view(text).substr(0, refs[0].offset - 1);
    const bool quoted = prefix.size() >= 2 && prefix.front() == '\'' && prefix.back() == '\'';
    if (!quoted && prefix != refs[0].sheet)
        return {}; // more than a sheet name before the "!"
    const std::string_view place = std::string_view(text).substr(refs[0].offset, refs[0].length);
    const std::size_t colon = place.find(':');
    if (!absolutePart(place.substr(0, colon))
        || (colon != std::string_view::npos && !absolutePart(place.substr(colon + 1))))
        return {};
    return text;
}

} // namespace

void DefinedNames::add(std::string name, std::string sheet, std::string text)
{
    if (!text.empty() && text.front() == '=')
        text.erase(0, 1);
    m_names.push_back({std::move(name), std::move(sheet), spelling(text)});
}

const DefinedNames::Name *DefinedNames::find(std::string_view name, std::string_view ownSheet) const
{
    // A name of the formula's own sheet hides the workbook's name of the same spelling.
    const Name *global = nullptr;
    for (const Name &n : m_names) {
        if (!sameName(n.name, name))
            continue;
        if (!n.sheet.empty() && sameName(n.sheet, ownSheet))
            return &n;
        if (n.sheet.empty() && !global)
            global = &n;
    }
    return global;
}

std::optional<std::string> DefinedNames::spelledOut(std::string_view formula, std::string_view ownSheet) const
{
    std::string out;
    std::size_t copied = 0;
    bool any = false;
    for (const FormulaReference &ref : FormulaReferences::find(formula, ownSheet)) {
        if (!ref.name)
            continue;
        const Name *name = find(formula.substr(ref.offset, ref.length), ownSheet);
        // A name followed by "[" is a table's column, not a name of the workbook.
        const bool table = ref.offset + ref.length < formula.size() && formula[ref.offset + ref.length] == '[';
        if (!name || name->text.empty() || table)
            return std::nullopt;
        out.append(formula.substr(copied, ref.offset - copied));
        out += name->text;
        copied = ref.offset + ref.length;
        any = true;
    }
    if (!any)
        return std::nullopt;
    out.append(formula.substr(copied));
    return out;
}

} // namespace quvela::spreadsheet
