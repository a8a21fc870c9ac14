// Where the pictures and the font live inside the program's resources.
#pragma once

#include "game/rules.h"

#include <QImage>
#include <QString>

namespace morvik::assets {

inline const QString Font = QStringLiteral(":/fonts/LiberationMono-Bold.ttf");
inline const QString Logo = QStringLiteral(":/logo.bmp");

// The title artwork as the title window shows it on a screen of `density`
// device pixels to the pixel: made at that size when the game is built, at one
// and at two device pixels, so that the common screens need no scaling.
inline QString title(qreal density)
{
    return density > 1 ? QStringLiteral(":/title@2x.ppm") : QStringLiteral(":/title@1x.ppm");
}

// The chip picture of denomination index i is named after its value.
inline QString chip(int denomination)
{
    return QStringLiteral(":/chip-%1.bmp").arg(ChipValues[denomination]);
}

// The picture, read by the reader its suffix names. One that cannot be read
// ends the program with a message: a window must never show a blank picture.
QImage picture(const QString& name);

} // namespace morvik::assets
