// The pictures and the font, as the program's resources hold them. The game's
// one typeface is Liberation Mono Bold, carried by the program, as "Courier
// New", the face whose metrics the layout was measured with.
#pragma once

#include "layout/controls.h"

#include <QFont>
#include <QImage>
#include <QString>

namespace morvik {

// False when it cannot be loaded: captions then take the system's monospace.
bool installLayoutFont(const QString& fontFile);
// At a size in pixels, so that nothing depends on the screen's dots per inch.
QFont layoutFont(int pixelSize);

namespace assets {

inline const QString Font = QStringLiteral(":/fonts/LiberationMono-Bold.ttf");

// The picture `art` shows (`index`: a chip's denomination) as rendered for
// `density` device pixels to the layout pixel, 1 or 2: at the layout's size
// times the density, with that device pixel ratio, so that it is drawn sharp
// on the screens of either density without scaling. A picture that cannot be
// read ends the program with a message: a window never shows a blank one.
QImage picture(Art art, int index, int density);

} // namespace assets

} // namespace morvik
