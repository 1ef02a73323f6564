// The preview window of the four form reports: pages, zoom, printing and saving.
#pragma once

#include "report/rendered_page.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPrinter;
class QToolButton;

namespace quvela {
class Prompts;
}

namespace quvela::preview {

class PageView;
class ZoomSpinBox;

class TFormKampreview final : public QWidget
{
    Q_OBJECT

public:
    enum SaveFilter { TextFile = 0, PdfFile = 1 };
    struct SaveChoice
    {
        QString fileName;
        int filter = TextFile; // the file type chosen in the dialog
    };
    // The save dialog: the chosen name and type, or nothing after a cancel.
    using SaveDialog = std::function<std::optional<SaveChoice>(QWidget *parent)>;
    // The printer set-up on a printer already holding the form settings; false after a
    // cancel. Throws QuvelaError when it cannot be shown.
    using PrinterSetup = std::function<bool(QPrinter &printer, QWidget *parent)>;
    // Where the window's printer comes from, once, before the form settings are given to it.
    using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;

    static constexpr const char *kObjectName = "FormKampreview";

    // A separate window owned by owner, hidden until showPreview(); it destroys itself
    // when closed. prompts shows its errors and must outlive it.
    TFormKampreview(Prompts &prompts, QWidget *owner);
    ~TFormKampreview() override;

    PageView *pageView() const { return m_view; }
    // The pages the view is to show; the counter and buttons follow as each arrives.
    void setPageStore(report::PageStore pages);
    // Shows the window maximized, or brings it to the front when it is already shown.
    void showPreview();

    QString counterText() const;

    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }
    void setPrinterSetup(PrinterSetup setup) { m_printerSetup = std::move(setup); }
    void setPrinterSource(PrinterSource source) { m_printerSource = std::move(source); }

    // The save dialog's file types, in the order of SaveFilter.
    static QStringList saveFilters();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolBar(QWidget *bar);
    QToolButton *speedButton(const char *name, const char *hint, int icon, QWidget *bar);
    void writeCounter();
    void setPageButtons(bool backEnabled, bool forwardEnabled);
    // Runs a button's work; an error it raises goes to the standard error box.
    void guarded(const std::function<void()> &work);
    // The one printer of the window's set-up and printing, set up for the forms when
    // first needed.
    QPrinter &formPrinter();

    void SpinEdit2Change(int value);
    void SpeedButtonFitClick();
    void SpeedButtonSameClick();
    void SpeedButtonWidthClick();
    void SpeedButtonFirstClick();
    void SpeedButtonPriorClick();
    void SpeedButtonNextClick();
    void SpeedButtonLastClick();
    void SpeedButtonPrintClick();
    void SpeedButtonPrintSetupClick();
    void SpeedButtonSaveClick();
    void SpeedButtonCloseClick();
    void QRPreview1PageAvailable();

    Prompts &m_prompts;
    PageView *m_view = nullptr;
    ZoomSpinBox *m_zoom = nullptr;
    QLabel *m_counter = nullptr;
    QToolButton *m_first = nullptr;
    QToolButton *m_prior = nullptr;
    QToolButton *m_next = nullptr;
    QToolButton *m_last = nullptr;
    SaveDialog m_saveDialog;
    PrinterSetup m_printerSetup;
    PrinterSource m_printerSource;
    // Holds the clerk's choices of the set-up from one print to the next.
    std::unique_ptr<QPrinter> m_printer;
};

// The preview window created last; every report hands its pages to it.
extern QPointer<TFormKampreview> FormKampreview;

// The preview window owned by owner, found by its object name in any letter case; null
// when there is none.
TFormKampreview *findPreviewWindow(const QWidget &owner);

// Hands the pages to the window, shows it and returns when the window has been closed
// and destroyed. The caller's window stays usable meanwhile.
void previewPages(TFormKampreview &window, report::PageStore pages);

} // namespace quvela::preview
