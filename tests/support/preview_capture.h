// The page a print run hands to the preview window, taken from the window as soon as it
// shows and the window then closed, so that the run's preview call returns.
#pragma once

#include "preview/form_kampreview.h"
#include "preview/page_view.h"
#include "report/rendered_page.h"

#include <QApplication>
#include <QTimer>

#include <functional>
#include <optional>

namespace quvela::test {

// run starts the run ("预览" clicked, or the print driver called); none when the run
// stopped before its preview.
inline std::optional<report::RenderedPage> previewedPage(const std::function<void()> &run)
{
    std::optional<report::RenderedPage> page;
    QTimer::singleShot(0, [&page] {
        if (preview::FormKampreview) {
            const report::PageStore &pages = preview::FormKampreview->pageView()->pageStore();
            if (!pages.empty())
                page = pages.front();
            preview::FormKampreview->close();
        }
    });
    run();
    // A run that stopped before its preview leaves the timer pending; it must not fire
    // after page is gone.
    QApplication::processEvents();
    return page;
}

} // namespace quvela::test
