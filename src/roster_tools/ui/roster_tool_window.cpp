#include "roster_tools/ui/roster_tool_window.h"

#include "common/prompts.h"
#include "roster_tools/ui/roster_window_report_host.h"
#include "roster_tools/ui/workbook_view.h"
#include "widgets/digits_only.h"
#include "widgets/panel_controls.h"
#include "widgets/pixel_font.h"
#include "widgets/program_folder.h"
#include "widgets/tool_strip.h"
#include "widgets/usage_text.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

namespace quvela::roster {
namespace {

constexpr int kHelpPaneHeight = 100;

} // namespace

RosterToolWindow::RosterToolWindow(Prompts &prompts, const std::filesystem::path &settingsFile,
                                   RosterWindowTexts texts, QWidget *parent)
    : QMainWindow(parent)
    , m_prompts(prompts)
    , m_ini(settingsFile)
    , m_texts(std::move(texts))
{
    setObjectName(m_texts.objectName);
    setFont(widgets::toolFont());
    buildControls();
}

RosterToolWindow::~RosterToolWindow() = default;

void RosterToolWindow::buildControls()
{
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_split = new QSplitter(Qt::Vertical, central);
    m_split->setHandleWidth(3);
    m_split->setChildrenCollapsible(true);
    m_view = new WorkbookView(m_split);
    m_view->setObjectName(m_texts.viewName);
    m_help = new QTextBrowser(m_split);
    m_help->setObjectName(QStringLiteral("helpBrowser"));
    m_help->setOpenLinks(true);
    m_help->setSource(QUrl(m_texts.helpPage));
    m_help->hide();
    m_split->addWidget(m_view);
    m_split->addWidget(m_help);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 0);
    column->addWidget(m_split, 1);

    const widgets::ToolStrip bottom = widgets::makeToolStrip(central, m_texts.controlPanelWidth);
    m_usage = bottom.usage;
    m_usage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_panel = bottom.panel;
    column->addWidget(bottom.strip);
    setCentralWidget(central);
    // The line where a run that found nothing to print says so.
    statusBar()->setSizeGripEnabled(false);

    m_notice = new QLabel(m_texts.notice, m_panel);
    m_notice->setObjectName(QStringLiteral("Panel4"));
    m_notice->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_notice->setLineWidth(2);
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setGeometry(0, 0, m_texts.controlPanelWidth, 26);
    btnHelp = new QPushButton(QStringLiteral("在线帮助"), m_notice);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnHelp->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    btnHelp->setGeometry(0, 2, 89, 21);

    Label4 = addLabel("Label4", "文件\r\n依据 ", 28, 40);
    m_edFile = widgets::panelBox("edFile", QRect(56, 40, 120, 23), m_panel);
    Label5 = addLabel("Label5", "打印\r\n日期 ", 28, 77);
    m_dtPrint = widgets::printDateBox(QRect(56, 77, 120, 20), m_panel);
    Label7 = addLabel("Label7", "制表\r\n机构 ", 189, 40);
    m_edArea = widgets::panelBox("edArea", QRect(217, 40, 133, 23), m_panel);
    Label3 = addLabel("Label3", "申报意见栏\r\n 每行宽度    ", 189, 77);
    m_edWidth = widgets::panelBox("edWidth", QRect(254, 77, 48, 23), m_panel);
    Label1 = addLabel("Label1", "开始打\r\n印行号 ", 365, 40);
    m_edStart = widgets::panelBox("edStart", QRect(410, 40, 36, 23), m_panel);
    Label2 = addLabel("Label2", "结束打\r\n印行号 ", 366, 77);
    m_edEnd = widgets::panelBox("edEnd", QRect(409, 77, 38, 23), m_panel);
    for (QLineEdit *digits : {m_edStart, m_edEnd, m_edWidth})
        widgets::makeDigitsOnly(digits);
    m_edStart->setToolTip(QStringLiteral("职务工资变动表除标题行外欲打印的开始行号，不小于7"));
    m_edEnd->setToolTip(QStringLiteral("职务工资变动表除标题行外欲打印的结束行号，不小于7"));

    btnClear = addButton("btnClear", "关闭", QRect(474, 39, 46, 25), "清空上表显示以关闭调资表。");
    btnRead = addButton("btnRead", "调阅", QRect(474, 76, 46, 25),
                        "从磁盘内调阅职务工资变动表花名册，仅显示，不提供保存功能。");
    btnPre = addButton("btnPre", "预览", QRect(531, 39, 46, 25), nullptr);
    btnPrn = addButton("btnPrn", "打印", QRect(531, 76, 46, 25), nullptr);
    btnExit = addButton("btnExit", "退出", QRect(591, 76, 46, 24), nullptr);

    connect(btnHelp, &QPushButton::clicked, this, [this] { guarded([this] { btnHelpClick(); }); });
    connect(btnClear, &QPushButton::clicked, this, [this] { guarded([this] { btnClearClick(); }); });
    connect(btnRead, &QPushButton::clicked, this, [this] { guarded([this] { btnReadClick(); }); });
    connect(btnPre, &QPushButton::clicked, this, [this] { guarded([this] { RunFormReport(ReportMode::Preview); }); });
    connect(btnPrn, &QPushButton::clicked, this, [this] { guarded([this] { RunFormReport(ReportMode::Print); }); });
    connect(btnExit, &QPushButton::clicked, this, [this] { guarded([this] { btnExitClick(); }); });
}

QLabel *RosterToolWindow::addLabel(const char *name, const char *text, int left, int top)
{
    return widgets::panelLabel(name, text, left, top, m_panel);
}

QPushButton *RosterToolWindow::addButton(const char *name, const char *text, const QRect &geometry, const char *hint)
{
    return widgets::panelButton(name, text, geometry, hint, m_panel);
}

void RosterToolWindow::showSettings(const GbkString &fileNo, const QDateTime &printDate, int32_t startRow,
                                    int32_t endRow, int32_t opinionWidth, const GbkString &issuer)
{
    m_edFile->setText(gbk::toQString(fileNo));
    m_dtPrint->setDate(printDate.date());
    m_edStart->setText(QString::number(startRow));
    m_edEnd->setText(QString::number(endRow));
    m_edWidth->setText(QString::number(opinionWidth));
    m_edArea->setText(gbk::toQString(issuer));
}

RosterBoxTexts RosterToolWindow::boxTexts() const
{
    RosterBoxTexts texts;
    texts.file = gbk::fromQString(m_edFile->text());
    texts.area = gbk::fromQString(m_edArea->text());
    texts.start = gbk::fromQString(m_edStart->text());
    texts.end = gbk::fromQString(m_edEnd->text());
    texts.width = gbk::fromQString(m_edWidth->text());
    texts.printDate = QDateTime(m_dtPrint->date(), QTime(0, 0));
    return texts;
}

std::function<GbkString()> RosterToolWindow::widthReader() const
{
    QPointer<QLineEdit> width = m_edWidth;
    return [width] { return width ? gbk::fromQString(width->text()) : GbkString(); };
}

void RosterToolWindow::guarded(const std::function<void()> &handler)
{
    runHandlerShowingErrors(m_prompts, handler);
}

void RosterToolWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Restoring a minimized window is no new showing: nothing is asked again.
    if (event->spontaneous())
        return;
    widgets::loadUsageText(*m_usage);
    setWindowTitle(m_texts.caption);
    // The open dialog comes once the window stands on the screen behind it.
    QTimer::singleShot(0, this, [this] { guarded([this] { FormShowRest(); }); });
}

void RosterToolWindow::FormShowRest()
{
    if (workbookFile().empty())
        ChooseWorkbook();
    ShowWorkbook();
}

void RosterToolWindow::ChooseWorkbook()
{
    m_view->clear();
    const GbkString name = m_prompts.chooseOpenFile(m_texts.openTitle, gbk::fromQString(widgets::programFolder()));
    StoreWorkbookFile(name);
}

void RosterToolWindow::StoreWorkbookFile(const GbkString &name)
{
    storeWorkbookFile(m_ini, workbookKey(), name, workbookFile());
}

void RosterToolWindow::ShowWorkbook()
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(gbk::toPath(workbookFile()), error))
        ChooseWorkbook();
    m_view->showWorkbook(gbk::toQString(workbookFile()));
}

RosterRunResult RosterToolWindow::RunFormReport(ReportMode mode)
{
    RosterRunRequest request;
    request.mode = mode;
    request.startText = gbk::fromQString(m_edStart->text());
    request.endText = gbk::fromQString(m_edEnd->text());
    request.workbookFile = workbookFile();
    statusBar()->clearMessage();
    const std::unique_ptr<RosterForms> forms = makeForms();
    RosterWindowReportHost host(*this, m_prompts, CurrentRow);
    return roster::RunFormReport(request, *forms, host, m_prompts);
}

void RosterToolWindow::btnHelpClick()
{
    if (m_help->isVisible()) {
        m_help->hide();
        return;
    }
    m_help->show();
    const int total = m_split->height();
    m_split->setSizes({std::max(0, total - kHelpPaneHeight - m_split->handleWidth()), kHelpPaneHeight});
}

void RosterToolWindow::btnClearClick()
{
    m_view->clear();
}

void RosterToolWindow::btnReadClick()
{
    ChooseWorkbook();
    ShowWorkbook();
}

void RosterToolWindow::btnExitClick()
{
    SaveSettings();
    close();
}

} // namespace quvela::roster
