// The one typeface of the game: captions are laid out to the pixel for a
// monospaced face with Courier New's metrics, so the game carries Liberation
// Mono Bold (metric-compatible) and maps Courier New to it.
#pragma once

#include "layout/figures.h"

#include <QColor>
#include <QFont>

#include <string_view>

namespace morvik {

// False when the font cannot be loaded: captions then fall back to whatever
// monospaced face the system offers.
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
