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

// The form's own settings: the sheet is B5 portrait with the form drawn from its corner
// (the form places its own margins), one copy, both sides requested, the paper bin
// chosen by the printer. Given once, when a printer is first prepared for the forms;
// the jobs never give them again, so what a clerk chose in the printer set-up stays.
void setUpFormPrinter(QPrinter &printer);

// The system's default printer, else the first one installed, else Qt's printer with
// nowhere to print to (which a job refuses with noPrinterMessage()); not yet set up.
std::unique_ptr<QPrinter> newSystemPrinter();

class PrinterPageSink final : public report::PageSink
{
public:
    // The system's default printer, looked up at the first job so that a run that prints
    // nothing needs no printer.
    PrinterPageSink();
    // A printer already set up for the forms, for example in the printer set-up; its
    // settings are used as they are. It must outlive the sink.
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
