// The layout's plain data in Qt's own types.
#pragma once

#include "layout/figures.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <string_view>

namespace morvik {

inline QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

inline QRect toQRect(Box b)
{
    return QRect(b.x, b.y, b.width, b.height);
}

// The layout's texts are UTF-8.
inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace morvik
