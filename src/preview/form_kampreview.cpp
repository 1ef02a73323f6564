#include "preview/form_kampreview.h"

#include "common/errors.h"
#include "common/prompts.h"
#include "preview/page_view.h"
#include "preview/printer_page_sink.h"
#include "preview/toolbar_icons.h"
#include "preview/zoom_spin_box.h"
#include "report/pdf_document_writer.h"
#include "report/text_export.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace quvela::preview {

QPointer<TFormKampreview> FormKampreview;

namespace {

constexpr int kToolBarHeight = 30;
constexpr int kButtonSize = 26;

std::optional<TFormKampreview::SaveChoice> runSaveDialog(QWidget *parent)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(TFormKampreview::saveFilters());
    dialog.setDefaultSuffix(QStringLiteral("TXT"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        dialog.setDefaultSuffix(TFormKampreview::saveFilters().indexOf(filter) == TFormKampreview::PdfFile
                                    ? QStringLiteral("PDF")
                                    : QStringLiteral("TXT"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return TFormKampreview::SaveChoice{dialog.selectedFiles().constFirst(),
                                       static_cast<int>(TFormKampreview::saveFilters().indexOf(dialog.selectedNameFilter()))};
}

bool runPrinterSetup(QPrinter &printer, QWidget *parent)
{
    if (!printerInstalled())
        throw QuvelaError(noPrinterMessage());
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

TFormKampreview::TFormKampreview(Prompts &prompts, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , m_prompts(prompts)
    , m_saveDialog(runSaveDialog)
    , m_printerSetup(runPrinterSetup)
    , m_printerSource(newSystemPrinter)
{
    setObjectName(QString::fromLatin1(kObjectName));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("打印预览..."));
    QFont song(QStringLiteral("宋体"));
    song.setPixelSize(12);
    setFont(song);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto *bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("PanelToolBar"));
    bar->setFixedHeight(kToolBarHeight);
    bar->setFrameShape(QFrame::StyledPanel);
    buildToolBar(bar);
    column->addWidget(bar);

    m_view = new PageView(this);
    m_view->setObjectName(QStringLiteral("QRPreview1"));
    column->addWidget(m_view, 1);
    connect(m_view, &PageView::pageAvailable, this, [this] { QRPreview1PageAvailable(); });

    FormKampreview = this;
}

TFormKampreview::~TFormKampreview() = default;

QStringList TFormKampreview::saveFilters()
{
    return {QStringLiteral("文本文件(*.TXT)"), QStringLiteral("PDF文件(*.PDF)")};
}

QToolButton *TFormKampreview::speedButton(const char *name, const char *hint, int icon, QWidget *bar)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleName(QString::fromUtf8(hint));
    button->setIcon(toolbarIcon(static_cast<ToolbarIcon>(icon)));
    button->setIconSize(QSize(20, 20));
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    bar->layout()->addWidget(button);
    return button;
}

void TFormKampreview::buildToolBar(QWidget *bar)
{
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 1, 4, 1);
    row->setSpacing(1);
    const auto separator = [row] { row->addSpacing(10); };

    QToolButton *fit = speedButton("SpeedButtonFit", "满页", int(ToolbarIcon::FitPage), bar);
    QToolButton *same = speedButton("SpeedButtonSame", "100%", int(ToolbarIcon::ActualSize), bar);
    QToolButton *width = speedButton("SpeedButtonWidth", "潢宽", int(ToolbarIcon::FitWidth), bar);

    // The caption runs around the box: the blanks in its middle are where the box sits.
    const QString caption = QStringLiteral("缩放比例        %");
    auto *zoomPanel = new QFrame(bar);
    zoomPanel->setObjectName(QStringLiteral("Panel3"));
    zoomPanel->setAccessibleName(caption);
    auto *zoomRow = new QHBoxLayout(zoomPanel);
    zoomRow->setContentsMargins(6, 0, 6, 0);
    zoomRow->setSpacing(4);
    zoomRow->addWidget(new QLabel(caption.section(QLatin1Char(' '), 0, 0), zoomPanel));
    m_zoom = new ZoomSpinBox(zoomPanel);
    m_zoom->setObjectName(QStringLiteral("SpinEdit2"));
    m_zoom->setFixedWidth(56);
    zoomRow->addWidget(m_zoom);
    zoomRow->addWidget(new QLabel(caption.section(QLatin1Char(' '), -1), zoomPanel));
    row->addWidget(zoomPanel);
    separator();

    m_first = speedButton("SpeedButtonFirst", "第一页", int(ToolbarIcon::First), bar);
    m_prior = speedButton("SpeedButtonPrior", "上一页", int(ToolbarIcon::Prior), bar);
    m_counter = new QLabel(QStringLiteral("第页（共页）"), bar);
    m_counter->setObjectName(QStringLiteral("PanelPage"));
    m_counter->setFrameShape(QFrame::Panel);
    m_counter->setFrameShadow(QFrame::Sunken);
    m_counter->setAlignment(Qt::AlignCenter);
    m_counter->setMinimumWidth(130);
    row->addWidget(m_counter);
    m_next = speedButton("SpeedButtonNext", "下一页", int(ToolbarIcon::Next), bar);
    m_last = speedButton("SpeedButtonLast", "最后一页", int(ToolbarIcon::Last), bar);
    separator();

    QToolButton *print = speedButton("SpeedButtonPrint", "打印", int(ToolbarIcon::Print), bar);
    QToolButton *setup = speedButton("SpeedButtonPrintSetup", "打印设置", int(ToolbarIcon::PrintSetup), bar);
    QToolButton *save = speedButton("SpeedButtonSave", "存盘", int(ToolbarIcon::Save), bar);
    separator();
    QToolButton *close = speedButton("SpeedButtonClose", "关闭", int(ToolbarIcon::Close), bar);
    row->addStretch(1);

    // Nothing to page through until pages arrive.
    setPageButtons(false, false);

    connect(m_zoom, &QSpinBox::valueChanged, this, [this](int value) { SpinEdit2Change(value); });
    connect(fit, &QToolButton::clicked, this, [this] { SpeedButtonFitClick(); });
    connect(same, &QToolButton::clicked, this, [this] { SpeedButtonSameClick(); });
    connect(width, &QToolButton::clicked, this, [this] { SpeedButtonWidthClick(); });
    connect(m_first, &QToolButton::clicked, this, [this] { SpeedButtonFirstClick(); });
    connect(m_prior, &QToolButton::clicked, this, [this] { SpeedButtonPriorClick(); });
    connect(m_next, &QToolButton::clicked, this, [this] { SpeedButtonNextClick(); });
    connect(m_last, &QToolButton::clicked, this, [this] { SpeedButtonLastClick(); });
    connect(print, &QToolButton::clicked, this, [this] { guarded([this] { SpeedButtonPrintClick(); }); });
    connect(setup, &QToolButton::clicked, this, [this] { guarded([this] { SpeedButtonPrintSetupClick(); }); });
    connect(save, &QToolButton::clicked, this, [this] { guarded([this] { SpeedButtonSaveClick(); }); });
    connect(close, &QToolButton::clicked, this, [this] { SpeedButtonCloseClick(); });
}

void TFormKampreview::setPageStore(report::PageStore pages)
{
    m_view->setPageStore(std::move(pages));
}

void TFormKampreview::showPreview()
{
    if (isVisible()) {
        if (isMinimized())
            setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        raise();
        activateWindow();
        return;
    }
    showMaximized();
}

QString TFormKampreview::counterText() const
{
    return m_counter->text();
}

void TFormKampreview::writeCounter()
{
    m_counter->setText(QStringLiteral("第 %1 页(共 %2 页)").arg(m_view->currentPage()).arg(m_view->pageCount()));
}

void TFormKampreview::setPageButtons(bool backEnabled, bool forwardEnabled)
{
    m_first->setEnabled(backEnabled);
    m_prior->setEnabled(backEnabled);
    m_next->setEnabled(forwardEnabled);
    m_last->setEnabled(forwardEnabled);
}

void TFormKampreview::guarded(const std::function<void()> &work)
{
    runHandlerShowingErrors(m_prompts, work);
}

void TFormKampreview::SpinEdit2Change(int value)
{
    m_view->setZoom(value);
}

void TFormKampreview::SpeedButtonFitClick()
{
    m_view->setZoom(m_view->fitPageZoom());
    // The box keeps to its range; a fitted zoom beyond it becomes the nearest bound,
    // for the box and, through its change, for the view.
    m_zoom->setValue(m_view->zoom());
}

void TFormKampreview::SpeedButtonSameClick()
{
    m_view->setZoom(100);
    m_zoom->setValue(m_view->zoom());
}

void TFormKampreview::SpeedButtonWidthClick()
{
    m_view->setZoom(m_view->fitWidthZoom());
    m_zoom->setValue(m_view->zoom());
}

void TFormKampreview::SpeedButtonFirstClick()
{
    m_view->setCurrentPage(1);
    setPageButtons(false, true);
    writeCounter();
}

void TFormKampreview::SpeedButtonLastClick()
{
    m_view->setCurrentPage(m_view->pageCount());
    setPageButtons(true, false);
    writeCounter();
}

void TFormKampreview::SpeedButtonPriorClick()
{
    m_view->setCurrentPage(m_view->currentPage() - 1);
    writeCounter();
    setPageButtons(m_view->currentPage() > 1, true);
}

void TFormKampreview::SpeedButtonNextClick()
{
    m_view->setCurrentPage(m_view->currentPage() + 1);
    writeCounter();
    setPageButtons(true, m_view->currentPage() < m_view->pageCount());
}

void TFormKampreview::QRPreview1PageAvailable()
{
    m_view->setCurrentPage(1);
    setPageButtons(false, m_view->pageCount() > 1);
    writeCounter();
    m_zoom->setValue(m_view->zoom());
}

void TFormKampreview::SpeedButtonPrintClick()
{
    const report::PageStore &pages = m_view->pageStore();
    if (pages.empty())
        return;
    PrinterPageSink sink(formPrinter());
    for (const report::RenderedPage &page : pages)
        sink.printJob(page);
}

void TFormKampreview::SpeedButtonPrintSetupClick()
{
    // A cancelled set-up leaves the printer as it was: the dialog changes it only when
    // the clerk confirms.
    m_printerSetup(formPrinter(), this);
}

QPrinter &TFormKampreview::formPrinter()
{
    if (!m_printer) {
        std::unique_ptr<QPrinter> printer = m_printerSource();
        setUpFormPrinter(*printer);
        m_printer = std::move(printer);
    }
    return *m_printer;
}

void TFormKampreview::SpeedButtonSaveClick()
{
    const report::PageStore &pages = m_view->pageStore();
    if (pages.empty())
        return;
    const std::optional<SaveChoice> choice = m_saveDialog(this);
    if (!choice || choice->fileName.isEmpty())
        return;
    QString fileName = choice->fileName;
    // A name's own extension wins over the type left selected in the dialog.
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const bool pdf = suffix == QLatin1String("pdf") || (suffix != QLatin1String("txt") && choice->filter == PdfFile);
    if (suffix.isEmpty())
        fileName += pdf ? QStringLiteral(".PDF") : QStringLiteral(".TXT");
    if (pdf)
        report::writePdf(pages, fileName);
    else
        report::writeTextExport(pages, fileName);
}

void TFormKampreview::SpeedButtonCloseClick()
{
    close();
}

void TFormKampreview::closeEvent(QCloseEvent *event)
{
    // Destruction follows later; from now on the owner must not find this window again.
    setObjectName(QString());
    QWidget::closeEvent(event);
}

TFormKampreview *findPreviewWindow(const QWidget &owner)
{
    const QList<TFormKampreview *> windows = owner.findChildren<TFormKampreview *>(Qt::FindDirectChildrenOnly);
    for (TFormKampreview *window : windows) {
        if (window->objectName().compare(QLatin1String(TFormKampreview::kObjectName), Qt::CaseInsensitive) == 0)
            return window;
    }
    return nullptr;
}

void previewPages(TFormKampreview &window, report::PageStore pages)
{
    QPointer<TFormKampreview> alive(&window);
    window.setPageStore(std::move(pages));
    window.showPreview();
    if (!alive)
        return;
    QEventLoop loop;
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace quvela::preview
