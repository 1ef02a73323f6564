#include "xj/ui/para_form.h"

#include "common/settings_records.h"
#include "xj/xj_column_settings.h"

namespace quvela::xj {
namespace {

widgets::ColumnDialogLayout paraLayout()
{
    static constexpr widgets::ColumnFieldName kFields[] = {
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
    };
    static_assert(std::size(kFields) == kColumnMapFields);
    constexpr int kFirstTop = 52;
    constexpr int kRowStep = 24;

    widgets::ColumnDialogLayout layout;
    layout.objectName = QStringLiteral("ParaForm");
    // The client area of a 495 x 524 dialog with its caption and borders.
    layout.clientSize = QSize(487, 490);
    for (int k = 0; k < kColumnMapFields; ++k) {
        const bool left = k < 16;
        const int row = left ? k : k - 16;
        layout.fields.push_back({kFields[k].spin, kFields[k].label, left ? 112 : 368, kFirstTop + row * kRowStep});
    }
    layout.spinHeight = 19;
    layout.okName = "Button1";
    layout.okGeometry = QRect(280, 448, 66, 25);
    layout.cancelName = "Button2";
    layout.cancelGeometry = QRect(368, 448, 66, 25);
    layout.key = "xjRow";
    return layout;
}

} // namespace

TParaForm::TParaForm(IniFile &ini, Prompts &prompts, QWidget *parent)
    : ColumnMapDialog(ini, prompts, paraLayout(), xjcs.ColumnMap, parent)
{
}

bool TParaForm::edit(IniFile &ini, Prompts &prompts, QWidget *parent)
{
    TParaForm dialog(ini, prompts, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace quvela::xj
