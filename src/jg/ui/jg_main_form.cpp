#include "jg/ui/jg_main_form.h"

#include "common/settings_records.h"
#include "jg/jg_forms.h"
#include "jg/jg_settings.h"
#include "widgets/panel_controls.h"
#include "widgets/program_folder.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// A resource of a static library is registered only when something refers to it.
static void initJgHelp()
{
    Q_INIT_RESOURCE(jg_help);
}

namespace quvela::jg {
namespace {

roster::RosterWindowTexts jgTexts()
{
    // Before the base constructor loads the help page.
    initJgHelp();
    roster::RosterWindowTexts t;
    t.objectName = QStringLiteral("JgMainForm");
    t.viewName = QStringLiteral("JbBrowser");
    t.caption = QStringLiteral("机关工作人员职务变动工资调整个人申报表打印工具");
    t.notice = QStringLiteral("☆☆☆注意：如果上表有数据修改，请务必按 Ctrl+S 保存数据！☆☆☆");
    t.helpPage = QStringLiteral("qrc:/jg/help.html");
    t.openTitle = gbk::fromUtf8("打开职务变动工资调整花名册");
    t.controlPanelWidth = 654;
    return t;
}

std::filesystem::path settingsPath()
{
    return jgSettingsFile(gbk::fromQString(widgets::programFolder()));
}

} // namespace

TJgMainForm::TJgMainForm(Prompts &prompts, QWidget *parent)
    : RosterToolWindow(prompts, settingsPath(), jgTexts(), parent)
{
    FormCreate();
}

void TJgMainForm::FormCreate()
{
    jgcs = TJgcs{};
    jgcs.ProgramDir = gbk::fromQString(widgets::programFolder());
    LoadJgSettings(settingsFile(), jgcs);
    showSettings(jgcs.FileNo, jgcs.PrintDate, jgcs.StartRow, jgcs.EndRow, jgcs.OpinionWidth, jgcs.Issuer);
    placeControls();
}

void TJgMainForm::placeControls()
{
    // The JG panel has the help button beside the notice rather than on it.
    btnHelp->setParent(controlPanel());
    btnHelp->setGeometry(30, 6, 91, 26);
    btnHelp->show(); // a widget given a new parent is hidden until shown
    notice()->setGeometry(128, 5, 509, 27);
    btnExit->setGeometry(591, 77, 46, 24);

    // The notice panel takes no focus, so the order runs from the circular to the help
    // button without it.
    widgets::setTabChain({edFile(), dtPrint(), edStart(), edEnd(), btnRead, btnPre, btnPrn, btnExit, edArea(), btnClear,
                          edWidth(), btnHelp});
}

GbkString &TJgMainForm::workbookFile()
{
    return jgcs.WorkbookFile;
}

std::string TJgMainForm::workbookKey() const
{
    return kWorkbookKey;
}

std::unique_ptr<roster::RosterForms> TJgMainForm::makeForms()
{
    // The width box is read by every form as it is filled, the rest from the record.
    return std::make_unique<JgForms>(widthReader(), jgcs);
}

void TJgMainForm::SaveSettings()
{
    SaveJgSettings(settingsFile(), boxTexts());
}

} // namespace quvela::jg
