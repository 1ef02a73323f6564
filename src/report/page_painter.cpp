#include "report/page_painter.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace quvela::report {

void paintPage(QPainter &painter, const RenderedPage &page, double dotsPerMm)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(0, 0, page.widthMm * dotsPerMm, page.heightMm * dotsPerMm), Qt::white);

    for (const RuledLine &l : page.lines) {
        // At low zoom a 0.26 mm rule would fade to a grey smear; keep it one dot wide.
        const double w = std::max(l.width * dotsPerMm, 1.0);
        const QRectF r = l.y1 == l.y2
            ? QRectF(l.x1 * dotsPerMm, l.y1 * dotsPerMm, (l.x2 - l.x1) * dotsPerMm, w)
            : QRectF(l.x1 * dotsPerMm, l.y1 * dotsPerMm, w, (l.y2 - l.y1) * dotsPerMm);
        painter.fillRect(r, Qt::black);
    }

    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 72.0;
    const double fontScale = dotsPerMm * 25.4 / deviceDpi;
    painter.setPen(Qt::black);
    for (const ReportLabel &l : page.labels) {
        if (l.text.empty())
            continue;
        QFont font(gbk::toQString(l.font));
        font.setPointSizeF(l.sizePt * fontScale);
        font.setBold(l.bold);
        font.setUnderline(l.underline);
        font.setKerning(false);
        painter.setFont(font);
        int flags = Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
        flags |= l.align == Align::Center  ? Qt::AlignHCenter
                 : l.align == Align::Right ? Qt::AlignRight
                                           : Qt::AlignLeft;
        const QRectF box(l.x * dotsPerMm, l.y * dotsPerMm, l.width * dotsPerMm, l.height * dotsPerMm);
        painter.drawText(box, flags, gbk::toQString(l.text));
    }
    painter.restore();
}

} // namespace quvela::report
