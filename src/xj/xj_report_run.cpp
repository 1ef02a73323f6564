#include "xj/xj_report_run.h"

#include "xj/xj_form.h"

namespace quvela::xj {
namespace {

// Rows are read a batch at a time so that a long roster never sits in memory whole.
constexpr int64_t kBatch = 64;

class DisplaySuspension
{
public:
    explicit DisplaySuspension(XjReportHost &host) : m_host(host) { m_host.suspendDisplay(); }
    ~DisplaySuspension() { m_host.resumeDisplay(); }
    DisplaySuspension(const DisplaySuspension &) = delete;
    DisplaySuspension &operator=(const DisplaySuspension &) = delete;

private:
    XjReportHost &m_host;
};

} // namespace

int RunFormReport(ReportMode mode, const XjRowReader &rows, XjReportHost &host, const TXtcs &settings)
{
    DisplaySuspension suspension(host);
    int forms = 0;
    for (int64_t offset = 0;; offset += kBatch) {
        const std::vector<XjRecord> batch = rows(offset, mode == ReportMode::Preview ? 1 : kBatch);
        for (const XjRecord &record : batch) {
            TXjPrnForm form(record, settings);
            const report::RenderedPage page = form.run();
            ++forms;
            if (mode == ReportMode::Preview) {
                host.preview(report::PageStore{page});
                return forms;
            }
            host.print(page);
        }
        if (static_cast<int64_t>(batch.size()) < (mode == ReportMode::Preview ? 1 : kBatch))
            return forms;
    }
}

} // namespace quvela::xj
