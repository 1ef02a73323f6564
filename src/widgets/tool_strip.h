// The strip along the bottom of every tool window: the usage text on the left, hidden
// until there is one (see loadUsageText), and the tool's control panel of fixed width on
// the right.
#pragma once

class QPlainTextEdit;
class QWidget;

namespace quvela::widgets {

struct ToolStrip
{
    QWidget *strip;         // "Panel1", 118 pixels high
    QPlainTextEdit *usage;  // "Memo1"
    QWidget *panel;         // "Panel2"
};

// A new strip, child of parent, for the caller to put into the window's layout.
ToolStrip makeToolStrip(QWidget *parent, int panelWidth);

} // namespace quvela::widgets
