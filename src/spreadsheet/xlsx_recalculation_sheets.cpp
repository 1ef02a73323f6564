#include "spreadsheet/xlsx_recalculation_sheets.h"

#include "common/errors.h"
#include "spreadsheet/cell_write_guard.h"
#include "spreadsheet/xlsx_sheet_reader.h"

namespace quvela::spreadsheet {

XlsxRecalculationSheets::XlsxRecalculationSheets(ZipPackage &package, const XlsxParts &parts,
                                                 const CellStore &firstCells,
                                                 const SheetFormulas &firstFormulas, std::size_t sharedStrings)
    : m_package(package)
    , m_parts(parts)
    , m_firstCells(firstCells)
    , m_firstFormulas(firstFormulas)
    , m_sharedStrings(sharedStrings)
    , m_others(parts.otherSheets.size())
{
    for (const XlsxParts::DefinedName &name : parts.definedNames)
        m_names.add(name.name, name.sheet, name.text);
}

XlsxRecalculationSheets::~XlsxRecalculationSheets() = default;

const std::string &XlsxRecalculationSheets::name(std::size_t sheet) const
{
    return sheet == 0 ? m_parts.firstSheetName : m_parts.otherSheets[sheet - 1].name;
}

const std::string &XlsxRecalculationSheets::part(std::size_t sheet) const
{
    return sheet == 0 ? m_parts.firstSheet : m_parts.otherSheets[sheet - 1].part;
}

const SheetFormulas *XlsxRecalculationSheets::formulas(std::size_t sheet)
{
    if (sheet == 0)
        return &m_firstFormulas;
    Other &other = m_others[sheet - 1];
    if (!other.formulasRead) {
        other.formulasRead = true;
        // The cells are not kept: most sheets are only looked through for formulas
        // that read the written one. Texts are left out for the same reason.
        auto formulas = std::make_unique<SheetFormulas>();
        try {
            CellStore cells;
            CellWriteGuard guard;
            readSheetCells(m_package, part(sheet), {}, 0, false, cells, guard, *formulas);
            other.formulas = std::move(formulas);
        } catch (const QuvelaError &) {
            // A sheet we cannot read keeps what it holds.
        }
    }
    return other.formulas.get();
}

const CellStore *XlsxRecalculationSheets::cells(std::size_t sheet)
{
    if (sheet == 0)
        return &m_firstCells;
    Other &other = m_others[sheet - 1];
    if (!other.cellsRead) {
        other.cellsRead = true;
        auto cells = std::make_unique<CellStore>();
        cells->borrowTexts(m_firstCells, m_sharedStrings);
        cells->set1904Dates(m_parts.date1904);
        try {
            SheetFormulas formulas;
            CellWriteGuard guard;
            readSheetCells(m_package, part(sheet), {}, m_sharedStrings, m_parts.date1904, *cells, guard, formulas);
            if (m_otherCells + cells->cellCount() <= kMaxOtherCells) {
                m_otherCells += cells->cellCount();
                other.cells = std::move(cells);
            }
        } catch (const QuvelaError &) {
        }
    }
    return other.cells.get();
}

} // namespace quvela::spreadsheet
