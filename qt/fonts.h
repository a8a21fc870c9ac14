// The one typeface of the game. Captions are laid out to the pixel for a
// monospaced face with Courier New's metrics, so the game carries Liberation
// Mono (metric-compatible) and maps Courier New to it.
#pragma once

#include "layout/figures.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string_view>

namespace morvik {

// Loads the embedded font file and makes "Courier New" resolve to it.
// Returns false when the file cannot be loaded; captions then fall back to
// whatever monospaced face the system offers.
bool installLayoutFont(const QString& fontFile);

// Courier New, bold, at a size in pixels, so the layout does not depend on
// the screen's dots per inch.
QFont layoutFont(int pixelSize);

inline QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }
inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace morvik
