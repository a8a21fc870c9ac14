// The two colours of a widget the layout sets: its text and its background.
#pragma once

#include "game/rules.h"

class QWidget;

namespace morvik {

// Sets the colour a label, a container or a window paints its text with.
void setTextColour(QWidget* widget, Rgb colour);
// Sets the colour a widget fills its background with and makes it opaque.
void setBackground(QWidget* widget, Rgb colour);

} // namespace morvik
