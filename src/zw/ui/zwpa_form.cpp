#include "zw/ui/zwpa_form.h"

#include "common/settings_records.h"

namespace quvela::zw {
namespace {

widgets::ColumnDialogLayout zwpaLayout()
{
    static constexpr widgets::ColumnFieldName kFields[] = {
        {"spXH", "序号："},         {"spXM", "姓名："},         {"spXB", "性别："},
        {"spCSNY", "出生年月："},   {"spGZNY", "工作年月："},   {"spTSNY", "推算年月："},
        {"spZW", "现任职务："},     {"spRZNY", "任职时间："},   {"spHEJI1", "合计1："},
        {"spGWDJ1", "岗位等级1："}, {"spGWGZ1", "岗位金额1："}, {"spXJDJ1", "薪级等级1："},
        {"spXJGZ1", "薪级金额1："}, {"spBF101", "提高10％1："}, {"spQTGZ1", "其它工资1："},
        {"spHEJI2", "合计2："},     {"spGWDJ2", "岗位等级2："}, {"spGWGZ2", "岗位金额2："},
        {"spXJDJ2", "薪级等级2："}, {"spXJGZ2", "薪级金额2："}, {"spBF102", "提高10％2："},
        {"spQTGZ2", "其它工资2："}, {"spZZ", "月增资："},       {"spBFGZ", "补发工资："},
        {"spBZ", "备注："},         {"spSFDY", "打印否："},     {"spWHCD", "文化程度："},
        {"spBDYY", "变动原因："},   {"spQRZW", "前任职务："},   {"spQZNY", "前职时间："},
        {"spCBYJ", "呈报意见："},
    };
    // Left column: fields 1 to 15; right column: fields 16 to 31.
    static constexpr int kTops[] = {75,  99,  123, 147, 171, 195, 219, 243, 268, 292, 316, 340, 364, 388, 412,
                                    52,  76,  100, 124, 148, 172, 196, 220, 244, 268, 292, 316, 340, 364, 388,
                                    412};
    widgets::ColumnDialogLayout layout;
    layout.objectName = QStringLiteral("ZwpaForm");
    // The client area of a 497 x 530 dialog with its caption and borders.
    layout.clientSize = QSize(489, 496);
    for (std::size_t k = 0; k < std::size(kFields); ++k)
        layout.fields.push_back({kFields[k].spin, kFields[k].label, k < 15 ? 112 : 368, kTops[k]});
    layout.okName = "btnOK";
    layout.okGeometry = QRect(280, 454, 66, 25);
    layout.cancelName = "btnCancel";
    layout.cancelGeometry = QRect(368, 454, 66, 25);
    layout.key = "zwRow";
    return layout;
}

} // namespace

TZwpaForm::TZwpaForm(IniFile &ini, Prompts &prompts, QWidget *parent)
    : ColumnMapDialog(ini, prompts, zwpaLayout(), zwcs.ColumnMap, parent)
{
}

bool TZwpaForm::edit(IniFile &ini, Prompts &prompts, QWidget *parent)
{
    TZwpaForm dialog(ini, prompts, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace quvela::zw
