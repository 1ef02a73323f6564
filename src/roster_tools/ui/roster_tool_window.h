// The window the ZW, JB and JG tools share: the workbook view above a help pane, and a
// bottom strip with the usage text and the tool's control panel.
//
// A tool derives its own window class (TZwMainForm, TJbMainForm, TJgMainForm) and:
//  - passes its texts in RosterWindowTexts (object names, caption, notice, help page,
//    open-dialog title) and its settings file;
//  - after the base constructor, loads its settings and shows them with showSettings(),
//    moves the shared controls where its layout puts them (they start where the ZW
//    window has them), adds what only it has (controlPanel(), addButton()) and sets the
//    tab order;
//  - implements the pure virtuals: its record's workbook name and key, its forms for the
//    print driver, and SaveSettings in its own key order.
// The base does the rest as the three tools do it alike: FormShow (usage text, caption,
// the open dialog on a fresh installation, the workbook view), ChooseWorkbook,
// StoreWorkbookFile and ShowWorkbook with their cancel semantics, "调阅", "关闭", "预览",
// "打印", "退出", "在线帮助", and every handler's error to the standard error box.
#pragma once

#include "common/gbk.h"
#include "common/ini_file.h"
#include "roster_tools/roster_report_run.h"
#include "roster_tools/roster_settings.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTextBrowser;

namespace quvela {
class Prompts;
}

namespace quvela::roster {

class WorkbookView;

struct RosterWindowTexts
{
    QString objectName;      // "ZwMainForm"
    QString viewName;        // "ZwBrowser"
    QString caption;         // set each time the window is shown
    QString notice;          // Panel4
    QString helpPage;        // a resource: "qrc:/zw/help.html"
    GbkString openTitle;     // the title of the open dialog
    int controlPanelWidth = 656;
};

class RosterToolWindow : public QMainWindow
{
    Q_OBJECT

public:
    ~RosterToolWindow() override;

    WorkbookView *workbookView() const { return m_view; }
    QTextBrowser *helpBrowser() const { return m_help; }
    QPlainTextEdit *usageText() const { return m_usage; }
    QLabel *notice() const { return m_notice; }
    QLineEdit *edFile() const { return m_edFile; }
    QLineEdit *edArea() const { return m_edArea; }
    QDateEdit *dtPrint() const { return m_dtPrint; }
    QLineEdit *edWidth() const { return m_edWidth; }
    QLineEdit *edStart() const { return m_edStart; }
    QLineEdit *edEnd() const { return m_edEnd; }
    IniFile &settingsFile() { return m_ini; }
    // The row whose form is being made; 0 before the first run.
    int CurrentRow = 0;

    RosterBoxTexts boxTexts() const;

    void ChooseWorkbook();
    void StoreWorkbookFile(const GbkString &name);
    void ShowWorkbook();
    // The print run of "预览" / "打印".
    RosterRunResult RunFormReport(ReportMode mode);

protected:
    // prompts serves every question and message of the window; it must outlive it.
    RosterToolWindow(Prompts &prompts, const std::filesystem::path &settingsFile, RosterWindowTexts texts,
                     QWidget *parent);

    // The record's workbook name and its key in the settings file.
    virtual GbkString &workbookFile() = 0;
    virtual std::string workbookKey() const = 0;
    // The tool's rules for one print run.
    virtual std::unique_ptr<RosterForms> makeForms() = 0;
    // "退出" writes the boxes in the tool's own key order.
    virtual void SaveSettings() = 0;

    void showSettings(const GbkString &fileNo, const QDateTime &printDate, int32_t startRow, int32_t endRow,
                      int32_t opinionWidth, const GbkString &issuer);
    QWidget *controlPanel() const { return m_panel; }
    QPushButton *addButton(const char *name, const char *text, const QRect &geometry, const char *hint);
    QLabel *addLabel(const char *name, const char *text, int left, int top);
    Prompts &prompts() { return m_prompts; }
    // Reads the width box as it stands at each call, for forms that read it at every
    // fill; an empty text once the window is gone.
    std::function<GbkString()> widthReader() const;
    // Runs an event handler; an error it raises goes to the standard error box.
    void guarded(const std::function<void()> &handler);

    void showEvent(QShowEvent *event) override;

    QPushButton *btnHelp = nullptr;
    QPushButton *btnClear = nullptr;
    QPushButton *btnRead = nullptr;
    QPushButton *btnPre = nullptr;
    QPushButton *btnPrn = nullptr;
    QPushButton *btnExit = nullptr;
    QLabel *Label1 = nullptr; // edStart
    QLabel *Label2 = nullptr; // edEnd
    QLabel *Label3 = nullptr; // edWidth
    QLabel *Label4 = nullptr; // edFile
    QLabel *Label5 = nullptr; // dtPrint
    QLabel *Label7 = nullptr; // edArea

private:
    void buildControls();
    void FormShowRest();

    void btnHelpClick();
    void btnClearClick();
    void btnReadClick();
    void btnExitClick();

    Prompts &m_prompts;
    IniFile m_ini;
    RosterWindowTexts m_texts;

    QSplitter *m_split = nullptr;
    WorkbookView *m_view = nullptr;
    QTextBrowser *m_help = nullptr;
    QPlainTextEdit *m_usage = nullptr;
    QWidget *m_panel = nullptr;
    QLabel *m_notice = nullptr;
    QLineEdit *m_edFile = nullptr;
    QLineEdit *m_edArea = nullptr;
    QDateEdit *m_dtPrint = nullptr;
    QLineEdit *m_edWidth = nullptr;
    QLineEdit *m_edStart = nullptr;
    QLineEdit *m_edEnd = nullptr;
};

} // namespace quvela::roster
