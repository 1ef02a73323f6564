// The XJ tool window: the roster table in a grid above the boxes and buttons of the
// salary-grade step. Each button calls the XJ logic; errors end at the standard error box.
#pragma once

#include "common/gbk.h"
#include "common/ini_file.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quvela {
class Prompts;
struct XjBoxTexts;
}

namespace quvela::widgets {
class DataGrid;
}

namespace quvela::xj {

class XjTable;
class XjTableSource;

class TXjMainForm final : public QMainWindow
{
    Q_OBJECT

public:
    // prompts serves every question and message of the window; it must outlive it.
    explicit TXjMainForm(Prompts &prompts, QWidget *parent = nullptr);
    ~TXjMainForm() override;

    widgets::DataGrid *grid() const { return m_grid; }
    // Null when the database could not be opened.
    XjTable *table() const { return m_table.get(); }
    IniFile &settingsFile() { return m_ini; }
    // The texts of the boxes as they stand.
    XjBoxTexts boxTexts() const;
    // Widths of grid columns 0..31, as saved.
    std::vector<int> gridWidths() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void openTable();
    void refreshGrid();
    // Runs an event handler; an error it raises goes to the standard error box.
    void guarded(const std::function<void()> &handler);
    // The table, or the error of its opening raised again.
    XjTable &requireTable();

    void btnClearClick();
    void btnReadClick();
    void btnOKClick();
    void btnWriteClick();
    void btnPreClick();
    void btnPrnClick();
    void btnParaClick();
    void btnExitClick();

    Prompts &m_prompts;
    IniFile m_ini;
    std::unique_ptr<XjTable> m_table;
    GbkString m_tableError;
    std::unique_ptr<XjTableSource> m_source;

    widgets::DataGrid *m_grid = nullptr;
    QPlainTextEdit *m_usage = nullptr;
    QLineEdit *m_edFile = nullptr;
    QLineEdit *m_edArea = nullptr;
    QLineEdit *m_edYear = nullptr;
    QLineEdit *m_edMonth = nullptr;
    QDateEdit *m_dtPrint = nullptr;
    QLineEdit *m_edStart = nullptr;
    QLineEdit *m_edEnd = nullptr;
};

// The XJ window created last; the reports read from it.
extern QPointer<TXjMainForm> XjMainForm;

} // namespace quvela::xj
