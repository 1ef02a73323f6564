#include "xj/ui/xj_main_form.h"

#include "common/column_map.h"
#include "common/errors.h"
#include "common/prompts.h"
#include "common/settings_records.h"
#include "common/xj_settings.h"
#include "preview/form_kampreview.h"
#include "widgets/data_grid.h"
#include "widgets/digits_only.h"
#include "widgets/panel_controls.h"
#include "widgets/pixel_font.h"
#include "widgets/program_folder.h"
#include "widgets/tool_strip.h"
#include "widgets/usage_text.h"
#include "xj/ui/para_form.h"
#include "xj/ui/xj_grid_columns.h"
#include "xj/ui/xj_table_source.h"
#include "xj/ui/xj_window_report_host.h"
#include "xj/xj_adjust.h"
#include "xj/xj_import.h"
#include "xj/xj_report_run.h"
#include "xj/xj_table.h"
#include "xj/xj_writeback.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace quvela::xj {

QPointer<TXjMainForm> XjMainForm;

namespace {

constexpr int kControlPanelWidth = 712;

std::vector<int> gridColumns()
{
    // Grid column i is model column i + 1; model column 0 is the hidden row place.
    std::vector<int> columns;
    for (int i = 0; i < kXjGridColumns; ++i)
        columns.push_back(i + 1);
    return columns;
}

} // namespace

TXjMainForm::TXjMainForm(Prompts &prompts, QWidget *parent)
    : QMainWindow(parent)
    , m_prompts(prompts)
    , m_ini(xjSettingsFile(gbk::fromQString(widgets::programFolder())))
{
    setObjectName(QStringLiteral("XjMainForm"));
    setWindowTitle(QStringLiteral("事业单位薪级工资个人申报表打印工具"));
    setFont(widgets::toolFont());

    xjcs.ProgramDir = gbk::fromQString(widgets::programFolder());
    buildControls();
    guarded([this] { LoadXjSettings(m_ini, xjcs); });
    m_edFile->setText(gbk::toQString(xjcs.FileNo));
    m_edArea->setText(gbk::toQString(xjcs.Issuer));
    m_edYear->setText(QString::number(xjcs.Year));
    m_edMonth->setText(QString::number(xjcs.Month));
    m_dtPrint->setDate(xjcs.PrintDate.date());
    m_edStart->setText(QString::number(xjcs.StartRow));
    m_edEnd->setText(QString::number(xjcs.EndRow));

    openTable();
    m_grid->setColumns(QStringList(QString()) + xjGridTitles(xjcs.Year),
                       [] {
                           std::vector<Qt::Alignment> a{Qt::AlignLeft};
                           for (Qt::Alignment x : xjGridAlignments())
                               a.push_back(x);
                           return a;
                       }());
    m_grid->setColumnHidden(0, true);
    // A stored width text that runs out early (an older or hand-edited file) leaves the
    // remaining columns at their usual widths, not at the view's arbitrary default.
    m_grid->setColumnWidths(gridColumns(), DecodeGridWidths(GbkString(kDefaultGridWidth), kXjGridColumns));
    guarded([this] {
        m_grid->setColumnWidths(gridColumns(), DecodeGridWidths(xjcs.GridWidth, kXjGridColumns));
    });
    m_source = std::make_unique<XjTableSource>(m_table.get());
    m_grid->pagedModel()->setSource(m_source.get());
}

TXjMainForm::~TXjMainForm()
{
    // The model reads through the source; detach it before the source and table go.
    m_grid->pagedModel()->setSource(nullptr);
}

void TXjMainForm::buildControls()
{
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_grid = new widgets::DataGrid(central);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    // The column widths were made for the narrow 8-point face of the desktop the tool
    // comes from; a slightly condensed 11-pixel face fits a year-month such as
    // 1960.06 or four Chinese characters into a 48-pixel column.
    QFont gridFont = font();
    gridFont.setPixelSize(11);
    gridFont.setStretch(QFont::SemiCondensed);
    m_grid->setFont(gridFont);
    column->addWidget(m_grid, 1);

    const widgets::ToolStrip bottom = widgets::makeToolStrip(central, kControlPanelWidth);
    m_usage = bottom.usage;
    m_usage->setReadOnly(true);
    QWidget *panel = bottom.panel;
    column->addWidget(bottom.strip);
    setCentralWidget(central);

    widgets::panelLabel(nullptr, "文件\n依据 ", 16, 27, panel);
    m_edFile = widgets::panelBox("edFile", QRect(46, 28, 121, 23), panel);
    widgets::panelLabel(nullptr, "制表\n机构 ", 181, 27, panel);
    m_edArea = widgets::panelBox("edArea", QRect(213, 28, 133, 23), panel);
    widgets::panelLabel(nullptr, "调资\n年份 ", 16, 67, panel);
    m_edYear = widgets::panelBox("edYear", QRect(46, 68, 38, 23), panel);
    widgets::panelLabel(nullptr, "补发\n月数  ", 102, 67, panel);
    m_edMonth = widgets::panelBox("edMonth", QRect(129, 68, 38, 23), panel);
    widgets::panelLabel(nullptr, "打印\n日期 ", 181, 64, panel);
    m_dtPrint = widgets::printDateBox(QRect(213, 65, 135, 20), panel);
    widgets::panelLabel(nullptr, "开始\n行号 ", 366, 27, panel);
    m_edStart = widgets::panelBox("edStart", QRect(393, 27, 38, 23), panel);
    m_edStart->setToolTip(QStringLiteral("薪级工资调整表除标题行外欲打印、调整的开始行号，不小于7"));
    widgets::panelLabel(nullptr, "结束\n行号 ", 366, 64, panel);
    m_edEnd = widgets::panelBox("edEnd", QRect(393, 64, 38, 23), panel);
    m_edEnd->setToolTip(QStringLiteral("薪级工资调整表除标题行外欲打印、调整的结束行号，不小于7"));
    for (QLineEdit *digits : {m_edStart, m_edEnd, m_edYear, m_edMonth})
        widgets::makeDigitsOnly(digits);

    QPushButton *btnClear = widgets::panelButton("btnClear", "清空", QRect(463, 27, 46, 25),
                                                 "清空上表显示内容，如果已调整但没回写，请慎用！", panel);
    QPushButton *btnRead = widgets::panelButton("btnRead", "读入", QRect(463, 64, 46, 25),
                                                "从薪级工资调整花名册按左边设定的行号范围读取调资数据到上表中。", panel);
    QPushButton *btnOK = widgets::panelButton("btnOK", "调薪", QRect(519, 27, 46, 25),
                                              "自动按条件调整薪级工资和增资额，即只处理19-21，24-25列。", panel);
    QPushButton *btnWrite = widgets::panelButton("btnWrite", "回写", QRect(519, 64, 46, 25),
                                                 "将调整后的薪级工资、增资即19-21、24-25写回薪级工资调整花名册(Excel\r\n表)。", panel);
    QPushButton *btnPre = widgets::panelButton("btnPre", "预览", QRect(575, 27, 46, 25), nullptr, panel);
    QPushButton *btnPrn = widgets::panelButton("btnPrn", "打印", QRect(575, 64, 46, 25), nullptr, panel);
    QPushButton *btnPara = widgets::panelButton("btnPara", "设置", QRect(640, 27, 46, 25), nullptr, panel);
    QPushButton *btnExit = widgets::panelButton("btnExit", "退出", QRect(640, 64, 46, 24), nullptr, panel);

    widgets::setTabChain({m_edFile, m_edYear, m_dtPrint, m_edStart, m_edEnd, btnClear, btnRead, btnOK, btnWrite,
                          btnPre, btnPrn, btnExit, m_edMonth, m_edArea, btnPara});

    connect(btnClear, &QPushButton::clicked, this, [this] { guarded([this] { btnClearClick(); }); });
    connect(btnRead, &QPushButton::clicked, this, [this] { guarded([this] { btnReadClick(); }); });
    connect(btnOK, &QPushButton::clicked, this, [this] { guarded([this] { btnOKClick(); }); });
    connect(btnWrite, &QPushButton::clicked, this, [this] { guarded([this] { btnWriteClick(); }); });
    connect(btnPre, &QPushButton::clicked, this, [this] { guarded([this] { btnPreClick(); }); });
    connect(btnPrn, &QPushButton::clicked, this, [this] { guarded([this] { btnPrnClick(); }); });
    connect(btnPara, &QPushButton::clicked, this, [this] { guarded([this] { btnParaClick(); }); });
    connect(btnExit, &QPushButton::clicked, this, [this] { guarded([this] { btnExitClick(); }); });
}

void TXjMainForm::openTable()
{
    try {
        m_table = XjTable::open(gbk::toPath(xjcs.ProgramDir) / "xjgz.db");
    } catch (const QuvelaError &error) {
        m_tableError = error.message();
        m_prompts.showError(m_tableError);
    }
}

XjTable &TXjMainForm::requireTable()
{
    if (!m_table)
        throw QuvelaError(m_tableError);
    return *m_table;
}

void TXjMainForm::guarded(const std::function<void()> &handler)
{
    runHandlerShowingErrors(m_prompts, handler);
}

void TXjMainForm::showEvent(QShowEvent *event)
{
    widgets::loadUsageText(*m_usage);
    QMainWindow::showEvent(event);
}

void TXjMainForm::refreshGrid()
{
    m_grid->refresh();
}

XjBoxTexts TXjMainForm::boxTexts() const
{
    XjBoxTexts texts;
    texts.file = gbk::fromQString(m_edFile->text());
    texts.area = gbk::fromQString(m_edArea->text());
    texts.year = gbk::fromQString(m_edYear->text());
    texts.month = gbk::fromQString(m_edMonth->text());
    texts.start = gbk::fromQString(m_edStart->text());
    texts.end = gbk::fromQString(m_edEnd->text());
    texts.printDate = QDateTime(m_dtPrint->date(), QTime(0, 0));
    return texts;
}

std::vector<int> TXjMainForm::gridWidths() const
{
    return m_grid->columnWidths(gridColumns());
}

void TXjMainForm::btnClearClick()
{
    XjTable &table = requireTable();
    if (m_prompts.askYesNo(gbk::fromUtf8("是否清除上表显示调资数据？"), gbk::fromUtf8("薪级调整"),
                           MessageIcon::Information)
        != Answer::Yes)
        return;
    table.clear();
    refreshGrid();
}

void TXjMainForm::btnReadClick()
{
    XjTable &table = requireTable();
    ImportResult result;
    {
        // The grid must not read a table that is being replaced under it.
        widgets::GridFreeze freeze(*m_grid);
        result = importRoster(m_prompts, m_ini, xjcs, gbk::fromQString(m_edStart->text()),
                              gbk::fromQString(m_edEnd->text()), table);
    }
    if (result.focus == RangeBox::Start)
        m_edStart->setFocus();
    else if (result.focus == RangeBox::End)
        m_edEnd->setFocus();
    m_grid->scrollToTop();
}

void TXjMainForm::btnOKClick()
{
    XjTable &table = requireTable();
    {
        widgets::GridFreeze freeze(*m_grid);
        adjustSalaryGrades(m_prompts, xjcs, table);
    }
    m_grid->scrollToTop();
}

void TXjMainForm::btnWriteClick()
{
    const XjTable &table = requireTable();
    writeBackRoster(m_prompts, m_ini, xjcs, gbk::fromQString(m_edStart->text()), gbk::fromQString(m_edEnd->text()),
                    table);
    m_grid->scrollToTop();
}

void TXjMainForm::btnPreClick()
{
    // While this window's preview is open, a further 预览 only brings it forward.
    if (preview::TFormKampreview *open = preview::findPreviewWindow(*this)) {
        open->showPreview();
        return;
    }
    XjTable &table = requireTable();
    // An empty table leaves the new window hidden; the next 预览 brings it up empty.
    auto *window = new preview::TFormKampreview(m_prompts, this);
    XjWindowReportHost host(m_grid, window);
    RunFormReport(ReportMode::Preview, [&table](int64_t offset, int64_t limit) { return table.readRange(offset, limit); },
                  host);
}

void TXjMainForm::btnPrnClick()
{
    XjTable &table = requireTable();
    XjWindowReportHost host(m_grid, nullptr);
    RunFormReport(ReportMode::Print, [&table](int64_t offset, int64_t limit) { return table.readRange(offset, limit); },
                  host);
}

void TXjMainForm::btnParaClick()
{
    TParaForm::edit(m_ini, m_prompts, this);
}

void TXjMainForm::btnExitClick()
{
    SaveXjSettings(m_ini, boxTexts(), gridWidths());
    close();
}

} // namespace quvela::xj
