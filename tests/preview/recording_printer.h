// A printer whose device is a recorder instead of a driver: every job it prints is kept
// with the settings the printer held when the job began and the texts drawn on its page.
// Qt's file printers drop the duplex and paper-bin settings, so a job's real settings can
// only be seen on a printer that keeps them, as a driver does.
#pragma once

#include <QMap>
#include <QPageLayout>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>

#include <memory>
#include <vector>

namespace quvela::test {

struct RecordedJob
{
    int copies = 0;
    QPrinter::DuplexMode duplex = QPrinter::DuplexAuto;
    QPrinter::PaperSource paperSource = QPrinter::Auto;
    QPageLayout layout;
    bool fullPage = false;
    int pages = 0;
    QStringList texts;
};

class RecordingPrinter final : public QPrinter
{
public:
    // The jobs go to jobs, which must outlive the printer.
    explicit RecordingPrinter(std::vector<RecordedJob> &jobs);
    ~RecordingPrinter() override;

private:
    class Engine;
    class Painting;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<Painting> m_painting;
};

} // namespace quvela::test
