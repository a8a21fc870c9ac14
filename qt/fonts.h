// The game's one typeface: Liberation Mono Bold, carried by the program, as
// "Courier New", the face whose metrics the layout was measured with.
#pragma once

#include "layout/figures.h"

#include <QColor>
#include <QFont>

namespace morvik {

// False when it cannot be loaded: captions then take the system's monospace.
bool installLayoutFont(const QString& fontFile);
// At a size in pixels, so that nothing depends on the screen's dots per inch.
QFont layoutFont(int pixelSize);

inline QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}
inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace morvik
