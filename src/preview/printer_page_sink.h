// Form pages on paper: one print job per form through Qt's printing.
#pragma once

#include "common/gbk.h"
#include "report/page_sink.h"

#include <memory>

class QPrinter;

namespace quvela::preview {

// What a clerk reads when there is nothing to print on.
GbkString noPrinterMessage();
bool printerInstalled();

// The settings every form job uses: the sheet is B5 portrait with the form drawn from its
// corner (the form places its own margins), one copy, both sides requested, the paper
// bin chosen by the printer.
void setUpFormPrinter(QPrinter &printer);

class PrinterPageSink final : public report::PageSink
{
public:
    // The system's default printer, looked up at the first job so that a run that prints
    // nothing needs no printer.
    PrinterPageSink();
    // A printer already chosen, for example in the printer set-up; it must outlive the sink.
    explicit PrinterPageSink(QPrinter &printer);
    ~PrinterPageSink() override;

    // Throws QuvelaError with noPrinterMessage() when there is no printer, or when the
    // job cannot be started.
    void printJob(const report::RenderedPage &page) override;

private:
    std::unique_ptr<QPrinter> m_own;
    QPrinter *m_printer = nullptr;
};

} // namespace quvela::preview
