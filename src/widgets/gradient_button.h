// A push button with a gradient face and a drawn border, the look of the launcher's
// tool buttons.
#pragma once

#include <QColor>
#include <QPushButton>

namespace quvela::widgets {

class GradientButton final : public QPushButton
{
    Q_OBJECT

public:
    explicit GradientButton(const QString &text, QWidget *parent = nullptr);

    // The colour at the bottom of the face; the top is a lighter shade of it.
    void setFaceColor(const QColor &color);
    QColor faceColor() const { return m_face; }

    void setBorderColor(const QColor &color);
    QColor borderColor() const { return m_border; }

    void setTextColor(const QColor &color);
    QColor textColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QColor m_face;
    QColor m_border;
    bool m_hovered = false;
};

} // namespace quvela::widgets
