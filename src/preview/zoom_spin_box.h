// The zoom box of the preview tool bar: changed with its arrows only, never typed into.
#pragma once

#include <QSpinBox>

namespace quvela::preview {

class ZoomSpinBox final : public QSpinBox
{
    Q_OBJECT

public:
    explicit ZoomSpinBox(QWidget *parent = nullptr);

protected:
    // A turn of the wheel over the tool bar should not change the zoom by accident.
    void wheelEvent(QWheelEvent *event) override;
};

} // namespace quvela::preview
