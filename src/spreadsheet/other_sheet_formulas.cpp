#include "spreadsheet/other_sheet_formulas.h"

#include "common/errors.h"
#include "spreadsheet/cell_store.h"
#include "spreadsheet/cell_write_guard.h"
#include "spreadsheet/formula_references.h"
#include "spreadsheet/sheet_formulas.h"
#include "spreadsheet/xlsx_sheet_reader.h"

#include <algorithm>
#include <memory>

namespace quvela::spreadsheet {

namespace {

bool sameName(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

struct Sheet
{
    std::string part;
    std::string name;
    SheetFormulas formulas;
    std::vector<std::vector<FormulaReference>> reads;
    std::vector<uint8_t> stale;
    bool anyStale = false;
};

} // namespace

std::map<std::string, FormulaCellEdits> staleFormulasOfOtherSheets(ZipPackage &package,
                                                                  const std::vector<XlsxParts::Sheet> &sheets,
                                                                  const std::string &writtenSheet)
{
    std::vector<std::unique_ptr<Sheet>> read;
    for (const XlsxParts::Sheet &s : sheets) {
        auto sheet = std::make_unique<Sheet>();
        sheet->part = s.part;
        sheet->name = s.name;
        try {
            CellStore cells;
            CellWriteGuard guard;
            readSheetCells(package, s.part, {}, 0, false, cells, guard, sheet->formulas);
        } catch (const QuvelaError &) {
            continue; // a sheet we cannot read keeps what it holds
        }
        if (sheet->formulas.all().empty())
            continue;
        const auto &all = sheet->formulas.all();
        sheet->reads.resize(all.size());
        sheet->stale.assign(all.size(), 0);
        for (std::size_t i = 0; i < all.size(); ++i) {
            const auto text = sheet->formulas.textAt(all[i]);
            if (!text) {
                sheet->stale[i] = 1; // what it reads is not known
                sheet->anyStale = true;
                continue;
            }
            sheet->reads[i] = FormulaReferences::find(*text, s.name);
        }
        read.push_back(std::move(sheet));
    }
    // Until nothing more turns stale: a formula reads the written sheet, a name, a sheet
    // with stale formulas, or a cell of its own sheet whose formula is stale. Past the
    // bound every formula of a sheet with a stale one is taken as stale.
    constexpr int kMaxPasses = 32;
    for (int pass = 0;; ++pass) {
        bool grew = false;
        for (auto &sheet : read) {
            const auto &all = sheet->formulas.all();
            for (std::size_t i = 0; i < all.size(); ++i) {
                if (sheet->stale[i])
                    continue;
                bool reaches = pass >= kMaxPasses && sheet->anyStale;
                for (const FormulaReference &ref : sheet->reads[i]) {
                    if (reaches)
                        break;
                    if (ref.name || (!ref.sheet.empty() && sameName(ref.sheet, writtenSheet))) {
                        reaches = true;
                    } else if (ref.otherSheet) {
                        for (const auto &other : read) {
                            if (other->anyStale && sameName(other->name, ref.sheet))
                                reaches = true;
                        }
                    } else if (sheet->anyStale) {
                        // A large sheet is not searched cell by cell: its stale formulas
                        // are taken to reach every formula of it that reads its cells.
                        reaches = all.size() > 4096;
                        for (std::size_t k = 0; k < all.size() && !reaches; ++k)
                            reaches = sheet->stale[k] && ref.range.contains(all[k].cell.row, all[k].cell.column);
                    }
                }
                if (reaches) {
                    sheet->stale[i] = 1;
                    sheet->anyStale = true;
                    grew = true;
                }
            }
        }
        if (!grew || pass > kMaxPasses)
            break;
    }
    std::map<std::string, FormulaCellEdits> edits;
    for (const auto &sheet : read) {
        const auto &all = sheet->formulas.all();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (sheet->stale[i] && all[i].hasResult)
                edits[sheet->part][all[i].cell.row][all[i].cell.column].replaceResult = true;
        }
    }
    return edits;
}

} // namespace quvela::spreadsheet
