// The worksheets of an open .xlsx workbook as a recalculation after a write asks for
// them: the first as already read, the others read from the package when needed.
#pragma once

#include "spreadsheet/workbook_recalculation.h"
#include "spreadsheet/xlsx_parts.h"
#include "spreadsheet/zip_package.h"

#include <memory>
#include <vector>

namespace quvela::spreadsheet {

class XlsxRecalculationSheets final : public RecalculationSheets
{
public:
    // The other sheets together hold at most this many cells; a sheet past it is not
    // read, and what reads it is not computed.
    static constexpr std::size_t kMaxOtherCells = CellStore::kMaxCells;

    // All must outlive this; sharedStrings: how many of first's texts are the
    // workbook's shared strings.
    XlsxRecalculationSheets(ZipPackage &package, const XlsxParts &parts, const CellStore &firstCells,
                            const SheetFormulas &firstFormulas, std::size_t sharedStrings);
    ~XlsxRecalculationSheets() override;

    std::size_t count() const override { return 1 + m_parts.otherSheets.size(); }
    const std::string &name(std::size_t sheet) const override;
    const SheetFormulas *formulas(std::size_t sheet) override;
    const CellStore *cells(std::size_t sheet) override;
    const DefinedNames &names() const override { return m_names; }

    const std::string &part(std::size_t sheet) const;

private:
    struct Other
    {
        bool formulasRead = false;
        bool cellsRead = false;
        std::unique_ptr<SheetFormulas> formulas;
        std::unique_ptr<CellStore> cells;
    };

    ZipPackage &m_package;
    const XlsxParts &m_parts;
    const CellStore &m_firstCells;
    const SheetFormulas &m_firstFormulas;
    std::size_t m_sharedStrings;
    std::vector<Other> m_others;
    std::size_t m_otherCells = 0;
    DefinedNames m_names;
};

} // namespace quvela::spreadsheet
