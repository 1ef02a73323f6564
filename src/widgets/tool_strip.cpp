#include "widgets/tool_strip.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QWidget>

namespace quvela::widgets {
namespace {

constexpr int kStripHeight = 118;

} // namespace

ToolStrip makeToolStrip(QWidget *parent, int panelWidth)
{
    ToolStrip s;
    s.strip = new QWidget(parent);
    s.strip->setObjectName(QStringLiteral("Panel1"));
    s.strip->setFixedHeight(kStripHeight);
    auto *row = new QHBoxLayout(s.strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    s.usage = new QPlainTextEdit(s.strip);
    s.usage->setObjectName(QStringLiteral("Memo1"));
    s.usage->hide();
    row->addWidget(s.usage, 1);
    s.panel = new QWidget(s.strip);
    s.panel->setObjectName(QStringLiteral("Panel2"));
    s.panel->setFixedWidth(panelWidth);
    // Without a usage text the panel still keeps to the right edge.
    row->addStretch(0);
    row->addWidget(s.panel, 0, Qt::AlignRight);
    return s;
}

} // namespace quvela::widgets
