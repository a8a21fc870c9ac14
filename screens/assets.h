// Where the pictures and the font live inside the program's resources.
#pragma once

#include "game/rules.h"

#include <QImage>
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

// The picture read by the reader its suffix names, transparent ones
// premultiplied. One that cannot be read ends the program with a message: a
// window must never show a blank picture.
QImage picture(const QString& name);

// Starts reading the title on a thread of its own: of all the start-up, its
// GIF takes the longest to decode (about 5 ms), and it is ready by the time
// the main thread has set up the font and the window.
void readTitleAhead();

} // namespace morvik::assets
