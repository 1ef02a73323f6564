// "参数设置": which worksheet column each of the 32 roster fields stands in.
#pragma once

#include "xj/xj_column_settings.h"

#include <QDialog>

#include <array>

class QPushButton;

namespace quvela {
class IniFile;
class Prompts;
}

namespace quvela::widgets {
class SpinEdit;
}

namespace quvela::xj {

class TParaForm final : public QDialog
{
    Q_OBJECT

public:
    // Shows the values of xjcs.ColumnMap (a broken map is reported through prompts).
    TParaForm(IniFile &ini, Prompts &prompts, QWidget *parent = nullptr);

    // Opens the dialog modally. Returns true when a new map was stored in ini and
    // xjcs.ColumnMap.
    static bool edit(IniFile &ini, Prompts &prompts, QWidget *parent);

    widgets::SpinEdit *spin(int field) const { return m_spins[std::size_t(field - 1)]; } // 1-based
    QPushButton *okButton() const { return m_button1; }
    QPushButton *cancelButton() const { return m_button2; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Button1Click();

    IniFile &m_ini;
    Prompts &m_prompts;
    std::array<widgets::SpinEdit *, kColumnMapFields> m_spins{};
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
};

} // namespace quvela::xj
