// The game's one typeface: Liberation Mono Bold, carried by the program, as
// "Courier New", the face whose metrics the layout was measured with.
#pragma once

#include <QFont>

namespace morvik {

// False when it cannot be loaded: captions then take the system's monospace.
bool installLayoutFont(const QString& fontFile);
// At a size in pixels, so that nothing depends on the screen's dots per inch.
QFont layoutFont(int pixelSize);

} // namespace morvik
