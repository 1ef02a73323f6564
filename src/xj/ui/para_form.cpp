#include "xj/ui/para_form.h"

#include "common/errors.h"
#include "common/ini_file.h"
#include "common/prompts.h"
#include "common/settings_records.h"
#include "widgets/spin_edit.h"

#include <QLabel>
#include <QPushButton>

namespace quvela::xj {
namespace {

struct FieldInfo
{
    const char *spin;
    const char *label;
};

// Map order.
constexpr std::array<FieldInfo, kColumnMapFields> kFields = {{
    {"spXH", "序号："},        {"spXM", "姓名："},         {"spXB", "性别："},
    {"spCSNY", "出生年月："},  {"spGZNY", "工作年月："},   {"spTSNY", "推算年月："},
    {"spNDKH", "年度考核："},  {"spZW", "职务："},         {"spRZNY", "任职时间："},
    {"spHEJI1", "合计1："},    {"spGWDJ1", "岗位等级1："}, {"spGWGZ1", "岗位金额1："},
    {"spXJDJ1", "薪级等级1："}, {"spXJGZ1", "薪级金额1："}, {"spBF101", "提高10％1："},
    {"spQTGZ1", "其它工资1："}, {"spHEJI2", "合计2："},     {"spGWDJ2", "岗位等级2："},
    {"spGWGZ2", "岗位金额2："}, {"spXJDJ2", "薪级等级2："}, {"spXJGZ2", "薪级金额2："},
    {"spBF102", "提高10％2："}, {"spQTGZ2", "其它工资2："}, {"spZZHJ", "增资合计："},
    {"spZZXJ", "增资薪级："},  {"spZZ10", "增资10％："},   {"spZZQT", "增资其它："},
    {"spBFGZ", "补发工资："},  {"spBZ", "备注："},         {"spZWLB", "职务类别："},
    {"spSFTZ", "是否增资："},  {"spWHCD", "文化程度："},
}};

constexpr int kSpinWidth = 65;
constexpr int kSpinHeight = 19;
constexpr int kFirstTop = 52;
constexpr int kRowStep = 24;

QFont pixelFont(int pixels)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixels);
    return font;
}

} // namespace

TParaForm::TParaForm(IniFile &ini, Prompts &prompts, QWidget *parent)
    : QDialog(parent)
    , m_ini(ini)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("ParaForm"));
    setWindowTitle(QStringLiteral("参数设置"));
    setFont(pixelFont(12));
    // The client area of a 495 x 524 dialog with its caption and borders.
    setFixedSize(487, 490);

    auto *heading = new QLabel(QStringLiteral("打印项列号设置"), this);
    heading->setFont(pixelFont(24));
    heading->move(32, 16);
    heading->adjustSize();
    auto *hint = new QLabel(QStringLiteral("（A=0,B=1,C=2......）"), this);
    hint->move(200, 24);
    hint->adjustSize();

    for (int k = 0; k < kColumnMapFields; ++k) {
        const bool left = k < 16;
        const int row = left ? k : k - 16;
        const int x = left ? 112 : 368;
        const int y = kFirstTop + row * kRowStep;
        auto *spin = new widgets::SpinEdit(0, kMaxDialogColumn, this);
        spin->setObjectName(QString::fromUtf8(kFields[std::size_t(k)].spin));
        spin->setGeometry(x, y, kSpinWidth, kSpinHeight);
        auto *label = new QLabel(QString::fromUtf8(kFields[std::size_t(k)].label), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(x - 104, y, 102, kSpinHeight);
        label->setBuddy(spin);
        m_spins[std::size_t(k)] = spin;
    }

    m_button1 = new QPushButton(QStringLiteral("确定"), this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setGeometry(280, 448, 66, 25);
    m_button1->setAutoDefault(false);
    m_button2 = new QPushButton(QStringLiteral("取消"), this);
    m_button2->setObjectName(QStringLiteral("Button2"));
    m_button2->setGeometry(368, 448, 66, 25);
    m_button2->setAutoDefault(false);
    connect(m_button1, &QPushButton::clicked, this, &TParaForm::Button1Click);
    connect(m_button2, &QPushButton::clicked, this, &QDialog::reject);

    const DialogColumnsRead read = dialogColumnsFromMap(xjcs.ColumnMap);
    for (int k = 0; k < kColumnMapFields; ++k)
        m_spins[std::size_t(k)]->setValue(read.values[std::size_t(k)]);
    if (read.error)
        m_prompts.showError(*read.error);
}

bool TParaForm::edit(IniFile &ini, Prompts &prompts, QWidget *parent)
{
    TParaForm dialog(ini, prompts, parent);
    return dialog.exec() == QDialog::Accepted;
}

void TParaForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_spins[0]->setFocus();
}

void TParaForm::Button1Click()
{
    DialogColumns values{};
    for (int k = 0; k < kColumnMapFields; ++k) {
        m_spins[std::size_t(k)]->interpretText();
        values[std::size_t(k)] = m_spins[std::size_t(k)]->value();
    }
    const GbkString map = columnMapFromDialog(values);
    const std::vector<ColumnClash> clashes = findColumnClashes(map);
    for (const ColumnClash &clash : clashes) {
        m_prompts.message(clashMessage(clash));
        m_spins[std::size_t(clash.field - 1)]->setFocus();
    }
    if (!clashes.empty())
        return;
    try {
        m_ini.writeString(kSettingsSection, "xjRow", map);
    } catch (const QuvelaError &error) {
        // Not stored: the dialog stays open so that nothing chosen is lost.
        m_prompts.showError(error.message());
        return;
    }
    xjcs.ColumnMap = map;
    accept();
}

} // namespace quvela::xj
