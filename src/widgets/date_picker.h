// A date box with a calendar drop-down whose Tab key moves on to the next control, as
// the Windows date picker does; the day, month and year are reached with the arrow keys.
#pragma once

#include <QDateEdit>

namespace quvela::widgets {

class DatePicker final : public QDateEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget *parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
};

} // namespace quvela::widgets
