#include "report/page_image.h"

#include "common/errors.h"
#include "report/output_file.h"
#include "report/page_painter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSaveFile>

#include <cmath>
#include <filesystem>
#include <system_error>

namespace quvela::report {

QImage renderPageImage(const RenderedPage &page, double dpi)
{
    const double dotsPerMm = dpi / 25.4;
    QImage image(static_cast<int>(std::ceil(page.widthMm * dotsPerMm)),
                 static_cast<int>(std::ceil(page.heightMm * dotsPerMm)), QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dotsPerMm * 1000));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, page, dotsPerMm);
    painter.end();
    return image;
}

void writePng(const RenderedPage &page, const QString &fileName, double dpi)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || !renderPageImage(page, dpi).save(&file, "PNG")
        || !file.commit())
        throw QuvelaError(writeFailure(fileName, file.errorString()));
}

PngFolderWriter::PngFolderWriter(const QString &folder, double dpi) : m_folder(folder), m_dpi(dpi)
{
}

PngFolderWriter::~PngFolderWriter()
{
    for (const QString &file : m_pending)
        QFile::remove(file);
}

QString PngFolderWriter::pageFileName(int pageNumber)
{
    return QStringLiteral("form-%1.png").arg(pageNumber, 4, 10, QLatin1Char('0'));
}

void PngFolderWriter::printJob(const RenderedPage &page)
{
    const QString name = QDir(m_folder).filePath(
        QStringLiteral(".%1.%2.part").arg(pageFileName(static_cast<int>(m_pending.size()) + 1))
            .arg(QCoreApplication::applicationPid()));
    m_pending.append(name);
    writePng(page, name, m_dpi);
}

void PngFolderWriter::commit()
{
    for (int i = 0; i < m_pending.size(); ++i) {
        const QString target = QDir(m_folder).filePath(pageFileName(i + 1));
        std::error_code ec;
        // rename() replaces an older file of that name in one step.
        std::filesystem::rename(std::filesystem::path(m_pending[i].toStdU16String()),
                                std::filesystem::path(target.toStdU16String()), ec);
        if (ec) {
            m_pending.erase(m_pending.begin(), m_pending.begin() + i);
            throw QuvelaError(writeFailure(target, QString::fromStdString(ec.message())));
        }
    }
    m_pending.clear();
}

} // namespace quvela::report
