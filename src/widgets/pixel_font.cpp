#include "widgets/pixel_font.h"

namespace quvela::widgets {

QFont pixelFont(const char *family, int pixels)
{
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixels);
    return font;
}

} // namespace quvela::widgets
