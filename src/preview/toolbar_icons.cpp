#include "preview/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quvela::preview {
namespace {

constexpr int kSize = 24;

void sheet(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (double y = r.top() + 4; y < r.bottom() - 2; y += 3)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void triangle(QPainter &p, double tipX, bool pointsLeft)
{
    QPainterPath path;
    const double back = pointsLeft ? tipX + 8 : tipX - 8;
    path.moveTo(tipX, 12);
    path.lineTo(back, 5);
    path.lineTo(back, 19);
    path.closeSubpath();
    p.fillPath(path, QColor(20, 70, 160));
}

void printer(QPainter &p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 3.5, 9, 7));
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(QRectF(3.5, 10.5, 17, 7));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 15.5, 9, 5));
}

void paint(QPainter &p, ToolbarIcon which)
{
    switch (which) {
    case ToolbarIcon::FitPage:
        sheet(p, QRectF(6.5, 2.5, 11, 19));
        break;
    case ToolbarIcon::ActualSize: {
        QFont font = p.font();
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("1:1"));
        break;
    }
    case ToolbarIcon::FitWidth:
        sheet(p, QRectF(2.5, 6.5, 19, 17));
        p.setPen(QPen(QColor(20, 70, 160), 2));
        p.drawLine(QPointF(3, 3), QPointF(21, 3));
        break;
    case ToolbarIcon::First:
        p.fillRect(QRectF(5, 5, 2, 14), QColor(20, 70, 160));
        triangle(p, 8, true);
        triangle(p, 14, true);
        break;
    case ToolbarIcon::Prior:
        triangle(p, 8, true);
        break;
    case ToolbarIcon::Next:
        triangle(p, 16, false);
        break;
    case ToolbarIcon::Last:
        triangle(p, 10, false);
        triangle(p, 16, false);
        p.fillRect(QRectF(17, 5, 2, 14), QColor(20, 70, 160));
        break;
    case ToolbarIcon::Print:
        printer(p);
        break;
    case ToolbarIcon::PrintSetup:
        printer(p);
        p.setPen(QPen(QColor(20, 70, 160), 2));
        p.drawLine(QPointF(15, 22), QPointF(22, 15));
        p.drawEllipse(QPointF(20, 20), 2.5, 2.5);
        break;
    case ToolbarIcon::Save:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(40, 80, 170));
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 11, 7));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(7.5, 14.5, 9, 6));
        break;
    case ToolbarIcon::Close:
        p.setPen(QPen(QColor(170, 30, 30), 2.5));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
        break;
    }
}

} // namespace

QIcon toolbarIcon(ToolbarIcon which)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, which);
    painter.end();
    return QIcon(pixmap);
}

} // namespace quvela::preview
