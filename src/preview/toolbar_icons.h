// The pictures of the preview window's tool-bar buttons, drawn rather than shipped.
#pragma once

#include <QIcon>

namespace quvela::preview {

enum class ToolbarIcon { FitPage, ActualSize, FitWidth, First, Prior, Next, Last, Print, PrintSetup, Save, Close };

QIcon toolbarIcon(ToolbarIcon which);

} // namespace quvela::preview
