// The page view of the preview window: shows one page of a page store at a zoom.
#pragma once

#include "report/rendered_page.h"

#include <QAbstractScrollArea>

namespace quvela::preview {

class PageView final : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit PageView(QWidget *parent = nullptr);

    // Takes the pages to show and announces each with pageAvailable, first to last.
    void setPageStore(report::PageStore pages);
    const report::PageStore &pageStore() const { return m_pages; }
    int pageCount() const { return static_cast<int>(m_pages.size()); }

    // 1-based; 0 while the store is empty. Numbers outside 1..pageCount are ignored; a
    // change of page returns the view to the page's top-left corner.
    int currentPage() const { return m_page; }
    void setCurrentPage(int page);

    // In percent of the page's size on paper, as the screen's resolution gives it.
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    // The largest whole zoom at which the whole page, or the page's width, fits the view.
    int fitPageZoom() const;
    int fitWidthZoom() const;

    // The page's size in screen pixels at the current zoom.
    QSizeF pageSizePixels() const;

Q_SIGNALS:
    void pageAvailable(int page);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    double pixelsPerMm(int zoom) const;
    QSizeF pageMm() const;
    void updateScrollBars();

    report::PageStore m_pages;
    int m_page = 0;
    int m_zoom = 100;
};

} // namespace quvela::preview
