// The defined names of a workbook ("应发" for '花名册'!$D$2:$D$4), spelled out inside a
// formula so that what it reads is known and the engine can compute it. Only names
// that stand for a fixed place on a sheet, or for a plain number, are spelled out:
// what any other name covers (a formula, a relative place, a table) is not guessed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvela::spreadsheet {

class DefinedNames
{
public:
    // sheet: the sheet a local name belongs to; empty for the whole workbook. text: what
    // the name stands for, without "=".
    void add(std::string name, std::string sheet, std::string text);
    bool empty() const { return m_names.empty(); }

    // The formula, written on ownSheet, with each name replaced by what it stands for;
    // nullopt when it uses a name that cannot be spelled out, or none at all.
    std::optional<std::string> spelledOut(std::string_view formula, std::string_view ownSheet) const;

private:
    struct Name
    {
        std::string name;
        std::string sheet;
        std::string text; // empty when it cannot be spelled out
    };
    const Name *find(std::string_view name, std::string_view ownSheet) const;

    std::vector<Name> m_names;
};

} // namespace quvela::spreadsheet
