#include "zw/ui/zw_main_form.h"

#include "common/settings_records.h"
#include "widgets/program_folder.h"
#include "zw/ui/zwpa_form.h"
#include "zw/zw_forms.h"
#include "zw/zw_settings.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The help page is compiled into this library; a static library's resources must be
// registered by name, outside any namespace.
static void registerZwHelp()
{
    Q_INIT_RESOURCE(zw_help);
}

namespace quvela::zw {

QPointer<TZwMainForm> ZwMainForm;

namespace {

roster::RosterWindowTexts zwTexts()
{
    roster::RosterWindowTexts texts;
    texts.objectName = QStringLiteral("ZwMainForm");
    texts.viewName = QStringLiteral("ZwBrowser");
    texts.caption = QStringLiteral("事业单位职务工资变动个人申报表打印工具");
    texts.notice = QStringLiteral("☆☆☆注意：如果上表有数据修改，请务必按 Ctrl+S 保存数据！☆☆☆");
    texts.helpPage = QStringLiteral("qrc:/zw/zw_help.html");
    texts.openTitle = gbk::fromUtf8("打开职务变动工资调整花名册");
    texts.controlPanelWidth = 656;
    return texts;
}

GbkString programDir()
{
    registerZwHelp();
    return gbk::fromQString(widgets::programFolder());
}

} // namespace

TZwMainForm::TZwMainForm(Prompts &prompts, QWidget *parent)
    : RosterToolWindow(prompts, zwSettingsFile(programDir()), zwTexts(), parent)
{
    zwcs.ProgramDir = gbk::fromQString(widgets::programFolder());
    edStart()->setToolTip(QStringLiteral("职务工资变动表除标题行外欲打印的开始行号，不小于7"));
    edEnd()->setToolTip(QStringLiteral("职务工资变动表除标题行外欲打印的结束行号，不小于7"));
    btnClear->setToolTip(QStringLiteral("清空上表显示以关闭调资表。"));
    btnRead->setToolTip(QStringLiteral("从磁盘内调阅职务工资变动表花名册，仅显示，不提供保存功能。"));
    btnPara = addButton("btnPara", "设置", QRect(591, 39, 46, 25), nullptr);
    connect(btnPara, &QPushButton::clicked, this, [this] { guarded([this] { btnParaClick(); }); });

    const QList<QWidget *> order = {btnHelp, edFile(), dtPrint(), edArea(), edWidth(), edStart(), edEnd(),
                                    btnClear, btnRead, btnPre, btnPrn, btnPara, btnExit};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    guarded([this] { LoadSettings(); });
}

void TZwMainForm::LoadSettings()
{
    LoadZwSettings(settingsFile(), zwcs);
    showSettings(zwcs.FileNo, zwcs.PrintDate, zwcs.StartRow, zwcs.EndRow, zwcs.OpinionWidth, zwcs.Issuer);
}

GbkString &TZwMainForm::workbookFile()
{
    return zwcs.WorkbookFile;
}

std::string TZwMainForm::workbookKey() const
{
    return zwKeys().workbook;
}

std::unique_ptr<roster::RosterForms> TZwMainForm::makeForms()
{
    // The width is read from the box at every fill, as it stands then.
    QPointer<QLineEdit> width = edWidth();
    return std::make_unique<ZwForms>([width] { return width ? gbk::fromQString(width->text()) : GbkString(); },
                                     zwcs);
}

void TZwMainForm::SaveSettings()
{
    SaveZwSettings(settingsFile(), boxTexts());
}

void TZwMainForm::btnParaClick()
{
    TZwpaForm::edit(settingsFile(), prompts(), this);
}

} // namespace quvela::zw
