#include "preview/printer_page_sink.h"

#include "common/errors.h"
#include "report/page_painter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace quvela::preview {

GbkString noPrinterMessage()
{
    return gbk::fromUtf8("没有安装打印机，无法打印。请先在系统中安装打印机并设为默认打印机。");
}

bool printerInstalled()
{
    return !QPrinterInfo::availablePrinters().isEmpty();
}

void setUpFormPrinter(QPrinter &printer)
{
    const report::RenderedPage paper;
    const QPageSize b5(QSizeF(paper.widthMm, paper.heightMm), QPageSize::Millimeter,
                       QStringLiteral("B5 (182 x 257 mm)"), QPageSize::ExactMatch);
    printer.setPageLayout(QPageLayout(b5, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    printer.setFullPage(true);
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexLongSide);
    printer.setPaperSource(QPrinter::Auto);
    printer.setDocName(QStringLiteral("国家机关事业单位工作人员工资变动审批表"));
}

std::unique_ptr<QPrinter> newSystemPrinter()
{
    if (!printerInstalled())
        return std::make_unique<QPrinter>(QPrinter::HighResolution);
    return std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter().isNull()
                                          ? QPrinterInfo::availablePrinters().constFirst()
                                          : QPrinterInfo::defaultPrinter(),
                                      QPrinter::HighResolution);
}

PrinterPageSink::PrinterPageSink() = default;

PrinterPageSink::PrinterPageSink(QPrinter &printer) : m_printer(&printer)
{
}

PrinterPageSink::~PrinterPageSink() = default;

void PrinterPageSink::printJob(const report::RenderedPage &page)
{
    if (!m_printer) {
        // Without a printer Qt quietly falls back to writing a PDF nobody asked for.
        if (!printerInstalled())
            throw QuvelaError(noPrinterMessage());
        m_own = newSystemPrinter();
        setUpFormPrinter(*m_own);
        m_printer = m_own.get();
    }
    const bool nowhere = m_printer->outputFormat() == QPrinter::PdfFormat ? m_printer->outputFileName().isEmpty()
                                                                          : m_printer->printerName().isEmpty();
    if (nowhere)
        throw QuvelaError(noPrinterMessage());

    // One painter per page: each form is a job of its own in the printer's queue.
    QPainter painter;
    if (!painter.begin(m_printer))
        throw QuvelaError(gbk::fromQString(QStringLiteral("打印机 %1 无法开始打印。").arg(m_printer->printerName())));
    report::paintPage(painter, page, m_printer->resolution() / 25.4);
    if (!painter.end())
        throw QuvelaError(gbk::fromQString(QStringLiteral("打印机 %1 打印失败。").arg(m_printer->printerName())));
}

} // namespace quvela::preview
