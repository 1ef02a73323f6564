#include "zw/ui/zw_main_form.h"

#include "common/settings_records.h"
#include "widgets/panel_controls.h"
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
    btnPara = addButton("btnPara", "设置", QRect(591, 39, 46, 25), nullptr);
    connect(btnPara, &QPushButton::clicked, this, [this] { guarded([this] { btnParaClick(); }); });

    widgets::setTabChain({btnHelp, edFile(), dtPrint(), edArea(), edWidth(), edStart(), edEnd(), btnClear, btnRead,
                          btnPre, btnPrn, btnPara, btnExit});

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
    return std::make_unique<ZwForms>(widthReader(), zwcs);
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
