// The looping clip of the wait window: a magnifier circling over a sheet, drawn frame by
// frame. The clip has kFrameCount frames; frames kFirstPlayed to kLastPlayed (1-based)
// play in a loop.
#pragma once

#include <QWidget>

class QTimer;

namespace quvela::widgets {

class WaitAnimation final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kFrameCount = 12;
    static constexpr int kFirstPlayed = 1;
    static constexpr int kLastPlayed = 8;

    explicit WaitAnimation(QWidget *parent = nullptr);

    int currentFrame() const { return m_frame; } // 1-based
    void advance();

    // Draws clip frame (1-based) into the rectangle.
    static void paintFrame(QPainter &painter, const QRect &rect, int frame);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTimer *m_timer;
    int m_frame = kFirstPlayed;
};

} // namespace quvela::widgets
