// The pictures and the font, as the program's resources hold them.
#pragma once

#include "layout/controls.h"

#include <QImage>
#include <QString>

namespace morvik::assets {

inline const QString Font = QStringLiteral(":/fonts/LiberationMono-Bold.ttf");

// The picture `art` shows (`index`: a chip's denomination) as rendered for
// `density` device pixels to the layout pixel, 1 or 2: at the layout's size
// times the density, with that device pixel ratio, so that it is drawn sharp
// on the screens of either density without scaling. A picture that cannot be
// read ends the program with a message: a window never shows a blank one.
QImage picture(Art art, int index, int density);

} // namespace morvik::assets
