// Where the pictures and the font live inside the program's resources.
#pragma once

#include "rules.h"

#include <QString>

namespace morvik::assets {

inline const QString Font = QStringLiteral(":/fonts/LiberationMono-Bold.ttf");
inline const QString Title = QStringLiteral(":/title.gif");
inline const QString Logo = QStringLiteral(":/logo.bmp");

// The chip picture of denomination index i is named after its value.
inline QString chip(int denomination)
{
    return QStringLiteral(":/chip-%1.bmp").arg(ChipValues[denomination]);
}

} // namespace morvik::assets
