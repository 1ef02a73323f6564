// The roster workbook as a clerk knows it from a spreadsheet program, read-only: the
// first worksheet with column letters, row numbers, merged cells, stored column widths
// and row heights, and the frozen top rows kept in view. When the file changes on disk
// (saved beside Quvela in a spreadsheet program) it is read again, the view keeping its
// scroll position. A file that cannot be read shows the reader's message instead.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <vector>

class QFileSystemWatcher;
class QLabel;
class QStackedLayout;
class QTableView;
class QTimer;

namespace quvela::spreadsheet {
struct SheetLayout;
}

namespace quvela::roster {

class WorkbookModel;

class WorkbookView final : public QWidget
{
    Q_OBJECT

public:
    explicit WorkbookView(QWidget *parent = nullptr);
    ~WorkbookView() override;

    // Shows the file (an empty name shows nothing) and follows its changes.
    void showWorkbook(const QString &file);
    // Empties the view and stops following the file.
    void clear();
    // Reads the shown file again now, keeping the scroll position.
    void reload();

    QString file() const { return m_file; }
    // The reader's message while the file cannot be shown; empty otherwise.
    QString message() const;
    QTableView *table() const { return m_table; }
    QTableView *frozenTable() const { return m_frozen; }
    WorkbookModel *model() const { return m_model; }
    int frozenRows() const { return m_frozenRows; }

Q_SIGNALS:
    // After each reading of the file, also a failed one.
    void reloaded();

private:
    void load(bool keepPosition);
    void showMessage(const QString &text);
    void applyLayout(const spreadsheet::SheetLayout &layout, int rows, int columns);
    void watch();
    // Removes the private copies of the file but kept.
    void releaseOldCopies(const QString &kept);

    QString m_file;
    QStackedLayout *m_stack = nullptr;
    QTableView *m_table = nullptr;
    QTableView *m_frozen = nullptr;
    QLabel *m_message = nullptr;
    WorkbookModel *m_model = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_reloadTimer = nullptr;
    QTemporaryDir m_copies;
    int m_copyCount = 0;
    int m_frozenRows = 0;
    std::vector<int> m_hiddenRows;    // 0-based, in either table
    std::vector<int> m_hiddenColumns;
};

} // namespace quvela::roster
