// Where the pictures and the font live inside the program's resources.
#pragma once

#include "game/rules.h"

#include <QImage>
#include <QString>

namespace morvik::assets {

inline const QString Font = QStringLiteral(":/fonts/LiberationMono-Bold.ttf");
// The pictures are decoded when the game is built (assets/title.gif,
// assets/logo.bmp, assets/chip-*.bmp): read them with picture().
inline const QString Title = QStringLiteral(":/pictures/title");
inline const QString Logo = QStringLiteral(":/pictures/logo");

// The chip picture of denomination index i is named after its value.
inline QString chip(int denomination)
{
    return QStringLiteral(":/pictures/chip-%1").arg(ChipValues[denomination]);
}

// A picture as its pixels lie in the resources, neither copied nor decoded:
// RGB32, or premultiplied ARGB32 where it has transparency. Null when there
// is no such picture.
QImage picture(const QString& name);

} // namespace morvik::assets
