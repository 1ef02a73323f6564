#include "report/page_painter.h"

#include "report/cell_fit.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

namespace quvela::report {
namespace {

// Every page of a run repeats the same captions; converting them once per thread saves
// a converter per label and page. Data texts vary, so the cache is emptied when it grows.
const QString &displayText(const GbkString &text)
{
    thread_local std::unordered_map<GbkString, QString> cache;
    if (cache.size() > 4096)
        cache.clear();
    auto it = cache.find(text);
    if (it == cache.end()) {
        // Labels are single lines: a line break typed into a roster cell is a blank here.
        QString display = gbk::toQString(text);
        for (QChar &c : display)
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
                c = QLatin1Char(' ');
        it = cache.emplace(text, std::move(display)).first;
    }
    return it->second;
}

// The few text styles of a page, each with its metrics.
struct TextStyle
{
    const ReportLabel *key;
    QFont font;
    QFontMetricsF metrics;
};

bool sameStyle(const ReportLabel &a, const ReportLabel &b)
{
    return a.font == b.font && drawnSizePt(a) == drawnSizePt(b) && a.bold == b.bold && a.underline == b.underline;
}

} // namespace

void paintPage(QPainter &painter, const RenderedPage &page, double dotsPerMm)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(0, 0, page.widthMm * dotsPerMm, page.heightMm * dotsPerMm), Qt::white);

    // All rules in one call: one fill state for the whole frame.
    std::vector<QRectF> rules;
    rules.reserve(page.lines.size());
    for (const RuledLine &l : page.lines) {
        // At low zoom a 0.26 mm rule would fade to a grey smear; keep it one dot wide.
        const double w = std::max(l.width * dotsPerMm, 1.0);
        rules.push_back(l.y1 == l.y2 ? QRectF(l.x1 * dotsPerMm, l.y1 * dotsPerMm, (l.x2 - l.x1) * dotsPerMm, w)
                                     : QRectF(l.x1 * dotsPerMm, l.y1 * dotsPerMm, w, (l.y2 - l.y1) * dotsPerMm));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(rules.data(), static_cast<int>(rules.size()));
    painter.setBrush(Qt::NoBrush);

    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 72.0;
    const double fontScale = dotsPerMm * 25.4 / deviceDpi;
    painter.setPen(Qt::black);
    std::vector<TextStyle> styles;
    const TextStyle *current = nullptr;
    for (const ReportLabel &l : page.labels) {
        if (l.text.empty())
            continue;
        if (!current || !sameStyle(*current->key, l)) {
            auto it = std::find_if(styles.begin(), styles.end(), [&](const TextStyle &s) { return sameStyle(*s.key, l); });
            if (it == styles.end()) {
                QFont font(displayText(l.font));
                font.setPointSizeF(drawnSizePt(l) * fontScale);
                font.setBold(l.bold);
                font.setUnderline(l.underline);
                font.setKerning(false);
                styles.push_back({&l, font, QFontMetricsF(font, painter.device())});
                it = styles.end() - 1;
            }
            current = &*it;
            painter.setFont(current->font);
        }
        // Single line, top-aligned in the label's box: the baseline lies one ascent below
        // the top; centred and right-aligned text is placed by its own advance.
        //
        // The face's advances are whole device pixels, up to 2.5 % off the half em per byte
        // the layout counts with, and a few of its characters are narrower still. A fitted
        // text is squeezed to exactly its fitted width; any other data label only where its
        // real advance would cross a rule of its cell, so the ink never leaves the cell.
        const QString &text = displayText(l.text);
        const double advance = current->metrics.horizontalAdvance(text);
        double limit = std::numeric_limits<double>::infinity();
        if (isFitted(l))
            limit = drawnWidthMm(l) * dotsPerMm;
        else if (l.fitToCell)
            limit = cellRoomMm(l) * dotsPerMm;
        const double squeeze = advance > limit ? limit / advance : 1.0;
        const double x = drawnLeftMm(l, advance * squeeze / dotsPerMm) * dotsPerMm;
        const double baseline = drawnTopMm(l) * dotsPerMm + current->metrics.ascent();
        if (squeeze < 1.0) {
            painter.save();
            painter.translate(x, baseline);
            painter.scale(squeeze, 1.0);
            painter.drawText(QPointF(0, 0), text);
            painter.restore();
        } else {
            painter.drawText(QPointF(x, baseline), text);
        }
    }
    painter.restore();
}

} // namespace quvela::report
