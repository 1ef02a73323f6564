#include "preview/page_view.h"

#include "report/page_painter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace quvela::preview {
namespace {

// Grey border around the page, in pixels.
constexpr int kGap = 12;
// Beyond these the view would draw nothing useful; the tool bar keeps to 10..300.
constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 1000;

} // namespace

PageView::PageView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    updateScrollBars();
}

void PageView::setPageStore(report::PageStore pages)
{
    m_pages = std::move(pages);
    m_page = m_pages.empty() ? 0 : 1;
    updateScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
    for (int page = 1; page <= pageCount(); ++page)
        Q_EMIT pageAvailable(page);
}

void PageView::setCurrentPage(int page)
{
    if (page < 1 || page > pageCount() || page == m_page)
        return;
    m_page = page;
    updateScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void PageView::setZoom(int percent)
{
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    updateScrollBars();
    viewport()->update();
}

double PageView::pixelsPerMm(int zoom) const
{
    return logicalDpiX() / 25.4 * zoom / 100.0;
}

QSizeF PageView::pageMm() const
{
    // An empty view still fits and zooms as for the forms' paper.
    if (m_page < 1)
        return {report::RenderedPage{}.widthMm, report::RenderedPage{}.heightMm};
    const report::RenderedPage &page = m_pages[std::size_t(m_page - 1)];
    return {page.widthMm, page.heightMm};
}

QSizeF PageView::pageSizePixels() const
{
    return pageMm() * pixelsPerMm(m_zoom);
}

int PageView::fitPageZoom() const
{
    const QSize area = maximumViewportSize() - QSize(2 * kGap, 2 * kGap);
    const QSizeF page = pageMm() * pixelsPerMm(100);
    const double scale = std::min(area.width() / page.width(), area.height() / page.height());
    return std::clamp(static_cast<int>(std::floor(scale * 100)), kMinZoom, kMaxZoom);
}

int PageView::fitWidthZoom() const
{
    const QSize area = maximumViewportSize() - QSize(2 * kGap, 2 * kGap);
    const QSizeF page = pageMm() * pixelsPerMm(100);
    double scale = area.width() / page.width();
    // A page that then runs below the view brings up the vertical bar, which takes its
    // width from the view.
    if (page.height() * scale > area.height())
        scale = (area.width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)) / page.width();
    return std::clamp(static_cast<int>(std::floor(scale * 100)), kMinZoom, kMaxZoom);
}

void PageView::updateScrollBars()
{
    const QSizeF page = pageSizePixels();
    const QSize content(static_cast<int>(std::ceil(page.width())) + 2 * kGap,
                        static_cast<int>(std::ceil(page.height())) + 2 * kGap);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(20);
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void PageView::paintEvent(QPaintEvent *)
{
    if (m_page < 1)
        return;
    QPainter painter(viewport());
    const QSizeF page = pageSizePixels();
    // A page narrower than the view stands in its middle.
    const double left = std::max<double>(kGap, (viewport()->width() - page.width()) / 2);
    const QPointF origin(left - horizontalScrollBar()->value(), kGap - verticalScrollBar()->value());
    painter.fillRect(QRectF(origin + QPointF(3, 3), page), QColor(0, 0, 0, 90));
    painter.translate(origin);
    report::paintPage(painter, m_pages[std::size_t(m_page - 1)], pixelsPerMm(m_zoom));
}

} // namespace quvela::preview
