// The game's one typeface: Liberation Mono Bold, carried by the program, as
// "Courier New", the face whose metrics the layout was measured with; and the
// layout's colours and boxes in Qt's terms.
#pragma once

#include "layout/figures.h"

#include <QColor>
#include <QFont>
#include <QRect>

namespace morvik {

// False when it cannot be loaded: captions then take the system's monospace.
bool installLayoutFont(const QString& fontFile);
// At a size in pixels, so that nothing depends on the screen's dots per inch.
QFont layoutFont(int pixelSize);

inline QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}
inline QRect toQRect(Box b)
{
    return {b.x, b.y, b.width, b.height};
}

} // namespace morvik
