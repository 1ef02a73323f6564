#include "widgets/column_map_dialog.h"

#include "common/column_dialog_map.h"
#include "common/errors.h"
#include "common/ini_file.h"
#include "common/prompts.h"
#include "widgets/pixel_font.h"
#include "widgets/spin_edit.h"

#include <QLabel>
#include <QPushButton>

namespace quvela::widgets {
ColumnMapDialog::ColumnMapDialog(IniFile &ini, Prompts &prompts, ColumnDialogLayout layout, GbkString &recordMap,
                                 QWidget *parent)
    : QDialog(parent)
    , m_ini(ini)
    , m_prompts(prompts)
    , m_layout(std::move(layout))
    , m_recordMap(recordMap)
{
    setObjectName(m_layout.objectName);
    setWindowTitle(QStringLiteral("参数设置"));
    setFont(toolFont());
    setFixedSize(m_layout.clientSize);

    auto *heading = new QLabel(QStringLiteral("打印项列号设置"), this);
    heading->setFont(toolFont(24));
    heading->move(32, 16);
    heading->adjustSize();
    auto *hint = new QLabel(QStringLiteral("（A=0,B=1,C=2......）"), this);
    hint->move(200, 24);
    hint->adjustSize();

    for (const ColumnDialogField &field : m_layout.fields) {
        auto *spin = new SpinEdit(0, kMaxDialogColumnValue, this);
        spin->setObjectName(QString::fromUtf8(field.spin));
        spin->setGeometry(field.x, field.y, m_layout.spinWidth, m_layout.spinHeight);
        auto *label = new QLabel(QString::fromUtf8(field.label), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(field.x - 104, field.y, 102, m_layout.spinHeight);
        label->setBuddy(spin);
        m_spins.push_back(spin);
    }

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QString::fromUtf8(m_layout.okName));
    m_ok->setGeometry(m_layout.okGeometry);
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QString::fromUtf8(m_layout.cancelName));
    m_cancel->setGeometry(m_layout.cancelGeometry);
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &ColumnMapDialog::okClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    const DialogValuesRead read = dialogValuesFromMap(m_recordMap, fieldCount());
    for (int k = 0; k < fieldCount(); ++k)
        m_spins[std::size_t(k)]->setValue(read.values[std::size_t(k)]);
    if (read.error)
        m_prompts.showError(*read.error);
}

void ColumnMapDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_spins.empty())
        m_spins.front()->setFocus();
}

void ColumnMapDialog::okClick()
{
    std::vector<int> values;
    for (SpinEdit *spin : m_spins) {
        spin->interpretText();
        values.push_back(spin->value());
    }
    const GbkString map = columnMapFromValues(values);
    const std::vector<FieldClash> clashes = findFieldClashes(map, fieldCount());
    for (const FieldClash &clash : clashes) {
        m_prompts.message(fieldClashMessage(clash));
        m_spins[std::size_t(clash.field - 1)]->setFocus();
    }
    if (!clashes.empty())
        return;
    try {
        m_ini.writeString(kSettingsSection, m_layout.key, map);
    } catch (const QuvelaError &error) {
        // Not stored: the dialog stays open so that nothing chosen is lost.
        m_prompts.showError(error.message());
        return;
    }
    m_recordMap = map;
    accept();
}

} // namespace quvela::widgets
