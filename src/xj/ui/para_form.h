// "参数设置": which worksheet column each of the 32 roster fields stands in.
#pragma once

#include "widgets/column_map_dialog.h"

namespace quvela::xj {

class TParaForm final : public widgets::ColumnMapDialog
{
    Q_OBJECT

public:
    // Shows the values of xjcs.ColumnMap (a broken map is reported through prompts).
    TParaForm(IniFile &ini, Prompts &prompts, QWidget *parent = nullptr);

    // Opens the dialog modally. Returns true when a new map was stored in ini and
    // xjcs.ColumnMap.
    static bool edit(IniFile &ini, Prompts &prompts, QWidget *parent);
};

} // namespace quvela::xj
