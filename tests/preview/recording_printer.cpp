#include "recording_printer.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QVariant>

namespace quvela::test {

class RecordingPrinter::Engine final : public QPrintEngine
{
public:
    void setProperty(PrintEnginePropertyKey key, const QVariant &value) override { m_properties[key] = value; }
    QVariant property(PrintEnginePropertyKey key) const override { return m_properties.value(key); }
    bool newPage() override { return true; }
    bool abort() override { return false; }
    int metric(QPaintDevice::PaintDeviceMetric metric) const override
    {
        const int dpi = 600;
        const QRectF mm = pageLayout().fullRect(QPageLayout::Millimeter);
        switch (metric) {
        case QPaintDevice::PdmWidth: return int(mm.width() / 25.4 * dpi);
        case QPaintDevice::PdmHeight: return int(mm.height() / 25.4 * dpi);
        case QPaintDevice::PdmWidthMM: return int(mm.width());
        case QPaintDevice::PdmHeightMM: return int(mm.height());
        case QPaintDevice::PdmNumColors: return 1 << 24;
        case QPaintDevice::PdmDepth: return 24;
        case QPaintDevice::PdmDevicePixelRatio: return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return dpi;
        }
    }
    QPrinter::PrinterState printerState() const override { return QPrinter::Idle; }

    QPageLayout pageLayout() const { return property(PPK_QPageLayout).value<QPageLayout>(); }

private:
    QMap<PrintEnginePropertyKey, QVariant> m_properties{
        {PPK_OutputFileName, QStringLiteral("recorder")},
        {PPK_PrinterName, QStringLiteral("recorder")},
        {PPK_CopyCount, 1},
        {PPK_Resolution, 600},
        {PPK_QPageLayout, QVariant::fromValue(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}))},
    };
};

class RecordingPrinter::Painting final : public QPaintEngine
{
public:
    Painting(Engine &engine, std::vector<RecordedJob> &jobs)
        : QPaintEngine(QPaintEngine::AllFeatures), m_engine(engine), m_jobs(jobs)
    {
    }

    bool begin(QPaintDevice *) override
    {
        RecordedJob job;
        job.copies = m_engine.property(QPrintEngine::PPK_CopyCount).toInt();
        job.duplex = QPrinter::DuplexMode(m_engine.property(QPrintEngine::PPK_Duplex).toInt());
        job.paperSource = QPrinter::PaperSource(m_engine.property(QPrintEngine::PPK_PaperSource).toInt());
        job.layout = m_engine.pageLayout();
        job.fullPage = m_engine.property(QPrintEngine::PPK_FullPage).toBool();
        job.pages = 1;
        m_jobs.push_back(job);
        return true;
    }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF &, const QTextItem &item) override { m_jobs.back().texts << item.text(); }
    Type type() const override { return QPaintEngine::User; }

private:
    Engine &m_engine;
    std::vector<RecordedJob> &m_jobs;
};

RecordingPrinter::RecordingPrinter(std::vector<RecordedJob> &jobs)
    : QPrinter(QPrinter::HighResolution)
    , m_engine(std::make_unique<Engine>())
    , m_painting(std::make_unique<Painting>(*m_engine, jobs))
{
    setEngines(m_engine.get(), m_painting.get());
}

RecordingPrinter::~RecordingPrinter() = default;

} // namespace quvela::test
