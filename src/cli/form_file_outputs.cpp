#include "cli/form_file_outputs.h"

#include <QDir>

#include <charconv>
#include <filesystem>

namespace quvela::cli {

QString fileOption(const std::string &utf8)
{
    return QString::fromStdString(std::filesystem::absolute(utf8).string());
}

FormFileOutputs::FormFileOutputs(const BatchOptions &options)
    : m_pdf(fileOption(options.required("pdf")))
{
    if (auto txt = options.value("txt"))
        m_text.emplace(fileOption(*txt));
    if (auto json = options.value("json"))
        m_json.emplace(fileOption(*json));
    int pngDpi = 150;
    if (auto dpi = options.value("png-dpi")) {
        const char *end = dpi->data() + dpi->size();
        auto [ptr, ec] = std::from_chars(dpi->data(), end, pngDpi);
        if (ec != std::errc() || ptr != end || pngDpi < 10 || pngDpi > 1200)
            throw UsageError("--png-dpi takes a resolution from 10 to 1200");
    }
    if (auto dir = options.value("png-dir")) {
        const QString folder = fileOption(*dir);
        if (!QDir().mkpath(folder))
            throw UsageError("cannot create the folder " + folder.toStdString());
        m_png.emplace(folder, pngDpi);
    }
}

std::vector<std::string> FormFileOutputs::optionNames()
{
    return {"pdf", "txt", "json", "png-dir", "png-dpi"};
}

void FormFileOutputs::print(const report::RenderedPage &page)
{
    ++m_pages;
    m_pdf.printJob(page);
    if (m_text)
        m_text->printJob(page);
    if (m_json)
        m_json->printJob(page);
    if (m_png)
        m_png->printJob(page);
}

void FormFileOutputs::commit()
{
    m_pdf.commit();
    if (m_text)
        m_text->commit();
    if (m_json)
        m_json->commit();
    if (m_png)
        m_png->commit();
}

} // namespace quvela::cli
