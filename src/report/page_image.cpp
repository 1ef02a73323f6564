#include "report/page_image.h"

#include "common/errors.h"
#include "report/page_painter.h"

#include <QPainter>
#include <QSaveFile>

#include <cmath>

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
        throw QuvelaError(gbk::fromQString(QStringLiteral("无法写入文件 %1：%2").arg(fileName, file.errorString())));
}

} // namespace quvela::report
