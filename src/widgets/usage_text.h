// The usage notes "使用说明.txt" of the program folder, shown in every tool window.
#pragma once

class QPlainTextEdit;

namespace quvela::widgets {

// Shows the notes in box, or hides the box when there are none (any more).
void loadUsageText(QPlainTextEdit &box);

} // namespace quvela::widgets
