// The first worksheet of a roster as a read-only table: column letters across, row
// numbers down, each cell's text as the tools read it. Cells are read only when the view
// asks for them, so a roster of any length shows at once.
#pragma once

#include <QAbstractTableModel>

#include <memory>

namespace quvela::spreadsheet {
class SpreadsheetSession;
}

namespace quvela::roster {

class WorkbookModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit WorkbookModel(QObject *parent = nullptr);
    ~WorkbookModel() override;

    // The open session; null empties the model. rows and columns: at least the extent of
    // the cells, more when merged ranges or the frozen rows reach further.
    void setSheet(std::shared_ptr<const spreadsheet::SpreadsheetSession> sheet, int rows, int columns);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::shared_ptr<const spreadsheet::SpreadsheetSession> m_sheet;
    int m_rows = 0;
    int m_columns = 0;
};

} // namespace quvela::roster
