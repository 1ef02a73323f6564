// A face at a size in pixels: the windows were laid out by pixel, and a point size would
// grow their texts out of their places on a screen of more dots per inch.
#pragma once

#include <QFont>

namespace quvela::widgets {

// family as the design names it ("宋体", "MS Sans Serif"); the font set-up maps it to an
// installed face.
QFont pixelFont(const char *family, int pixels);

// The face of the tool windows and their dialogs.
inline QFont toolFont(int pixels = 12)
{
    return pixelFont("MS Sans Serif", pixels);
}

} // namespace quvela::widgets
