// "参数设置" of the ZW tool: which worksheet column each of the 31 fields of the ZW
// column map stands in; stored under "zwRow" and in zwcs.ColumnMap.
#pragma once

#include "widgets/column_map_dialog.h"

namespace quvela::zw {

class TZwpaForm final : public widgets::ColumnMapDialog
{
    Q_OBJECT

public:
    // Shows the values of zwcs.ColumnMap (a broken map is reported through prompts).
    TZwpaForm(IniFile &ini, Prompts &prompts, QWidget *parent = nullptr);

    // Opens the dialog modally. Returns true when a new map was stored in ini and
    // zwcs.ColumnMap.
    static bool edit(IniFile &ini, Prompts &prompts, QWidget *parent);
};

} // namespace quvela::zw
