// A horizontal header that draws grouped multi-line titles (see HeaderLayout) from the
// model's header texts, hidden sections left out.
#pragma once

#include "widgets/header_layout.h"

#include <QHeaderView>

#include <utility>
#include <vector>

namespace quvela::widgets {

class GroupedHeaderView final : public QHeaderView
{
    Q_OBJECT

public:
    explicit GroupedHeaderView(QWidget *parent = nullptr);

    // The layout of the shown sections, columns numbered in the order shown.
    HeaderLayout currentLayout() const;
    // Logical sections of the shown columns, in the order shown.
    std::vector<int> shownSections() const;
    // First and last logical section under the heading that covers logicalIndex at the
    // given level (0 = top), or {-1, -1} when there is none.
    std::pair<int, int> groupSpan(int logicalIndex, int level) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int lineHeight() const;
};

} // namespace quvela::widgets
