#include "roster_tools/ui/workbook_model.h"

#include "spreadsheet/cell_reference.h"
#include "spreadsheet/spreadsheet_session.h"

namespace quvela::roster {

WorkbookModel::WorkbookModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

WorkbookModel::~WorkbookModel() = default;

void WorkbookModel::setSheet(std::shared_ptr<const spreadsheet::SpreadsheetSession> sheet, int rows, int columns)
{
    beginResetModel();
    m_sheet = std::move(sheet);
    m_rows = m_sheet ? rows : 0;
    m_columns = m_sheet ? columns : 0;
    endResetModel();
}

int WorkbookModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int WorkbookModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant WorkbookModel::data(const QModelIndex &index, int role) const
{
    if (!m_sheet || !index.isValid() || role != Qt::DisplayRole)
        return {};
    try {
        return gbk::toQString(m_sheet->readCellText(index.row() + 1, index.column() + 1));
    } catch (const QuvelaError &) {
        // A formula saved without its result that cannot be computed here; the reads of
        // the tools name the cell, the grid only marks it (an exception must not leave
        // a paint).
        return QStringLiteral("#未计算");
    }
}

QVariant WorkbookModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(spreadsheet::columnLetters(section + 1));
    return QString::number(section + 1);
}

Qt::ItemFlags WorkbookModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace quvela::roster
