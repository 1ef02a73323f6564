#include "jb/ui/jb_main_form.h"

#include "jb/jb_roster_forms.h"
#include "jb/jb_settings.h"
#include "widgets/panel_controls.h"
#include "widgets/program_folder.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

// The help page lives in this static library; a resource there is only registered when
// something refers to it.
static void initJbHelp()
{
    Q_INIT_RESOURCE(jb_help);
}

namespace quvela::jb {
namespace {

roster::RosterWindowTexts windowTexts()
{
    // Before the base constructor loads the help page.
    initJbHelp();
    roster::RosterWindowTexts t;
    t.objectName = QStringLiteral("JbMainForm");
    t.viewName = QStringLiteral("JbBrowser");
    t.caption = QStringLiteral("公务员级别工资晋升、滚动个人申报表打印工具");
    t.notice = QStringLiteral("☆☆注意：如果上表有数据修改，请务必按 Ctrl+S 保存数据！");
    t.helpPage = QStringLiteral("qrc:/jb/help.html");
    t.openTitle = gbk::fromUtf8("打开职务变动工资调整花名册");
    t.controlPanelWidth = 654;
    return t;
}

std::filesystem::path settingsPath()
{
    return jbSettingsFile(gbk::fromQString(widgets::programFolder()));
}

} // namespace

TJbMainForm::TJbMainForm(Prompts &prompts, QWidget *parent)
    : RosterToolWindow(prompts, settingsPath(), windowTexts(), parent)
{
    jbcs.ProgramDir = gbk::fromQString(widgets::programFolder());
    LoadJbSettings(settingsFile(), jbcs);

    // The JB panel has the mode buttons where the ZW panel has its notice: the notice
    // and the help button move right of them, the help button showing its picture only.
    QWidget *panel = controlPanel();
    notice()->setGeometry(218, 5, 419, 27);
    notice()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    btnHelp->setParent(panel);
    btnHelp->setText({});
    btnHelp->setGeometry(182, 6, 29, 26);
    btnHelp->show();
    buildModeButtons();
    btnPara = addButton("btnPara", "设置", QRect(591, 39, 46, 25), nullptr);

    widgets::setTabChain({m_modes->button(0), m_modes->button(1), btnHelp, edFile(), edArea(), edStart(), btnClear,
                          btnPre, btnPara, dtPrint(), edWidth(), edEnd(), btnRead, btnPrn, btnExit});

    showModeSettings();
}

void TJbMainForm::buildModeButtons()
{
    m_rgJbgz = new QGroupBox(QStringLiteral("晋升类别"), controlPanel());
    m_rgJbgz->setObjectName(QStringLiteral("rgJbgz"));
    m_rgJbgz->setGeometry(8, 0, 169, 33);
    auto *row = new QHBoxLayout(m_rgJbgz);
    // The first indicator clears the frame; the title takes the top of the 33 pixels.
    row->setContentsMargins(8, 0, 4, 0);
    row->setSpacing(4);
    m_modes = new QButtonGroup(m_rgJbgz);
    m_modes->setExclusive(true);
    const char *items[] = {"正常晋升", "滚动晋升"};
    for (int i = 0; i < 2; ++i) {
        auto *b = new QRadioButton(QString::fromUtf8(items[i]), m_rgJbgz);
        b->setObjectName(QStringLiteral("rgJbgzItem%1").arg(i));
        m_modes->addButton(b, i);
        row->addWidget(b);
    }
    connect(m_modes, &QButtonGroup::idClicked, this, [this](int) { guarded([this] { rgJbgzClick(); }); });
}

int TJbMainForm::selectedMode() const
{
    return m_modes->checkedId();
}

void TJbMainForm::selectMode(int index)
{
    if (QAbstractButton *b = m_modes->button(index))
        b->click();
}

void TJbMainForm::showModeSettings()
{
    if (QAbstractButton *b = m_modes->button(jbcs.Mode))
        b->setChecked(true);
    showSettings(jbcs.FileNo, jbcs.PrintDate, jbcs.StartRow, jbcs.EndRow, jbcs.OpinionWidth, jbcs.Issuer);
}

void TJbMainForm::rgJbgzClick()
{
    const int selected = selectedMode();
    if (selected == jbcs.Mode)
        return;
    try {
        SaveJbModeSettings(settingsFile(), jbcs.Mode, jbcs.Mode, boxTexts());
    } catch (...) {
        // The boxes stay those of the mode they belong to: a switch that could not
        // save them would lose what was typed.
        if (QAbstractButton *b = m_modes->button(jbcs.Mode))
            b->setChecked(true);
        throw;
    }
    LoadJbModeSettings(settingsFile(), selected, jbcs);
    showModeSettings();
    ShowWorkbook();
}

GbkString &TJbMainForm::workbookFile()
{
    return jbcs.WorkbookFile;
}

std::string TJbMainForm::workbookKey() const
{
    return jbModeKeys(jbcs.Mode).workbook;
}

std::unique_ptr<roster::RosterForms> TJbMainForm::makeForms()
{
    return std::make_unique<JbRosterForms>(gbk::fromQString(edWidth()->text()), jbcs);
}

void TJbMainForm::SaveSettings()
{
    SaveJbModeSettings(settingsFile(), jbcs.Mode, selectedMode() < 0 ? jbcs.Mode : selectedMode(), boxTexts());
}

} // namespace quvela::jb
