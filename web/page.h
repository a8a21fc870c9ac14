// The game's two windows as two screens of one web page. Each control is an
// element found by its layout name (data-control), with the role, name and
// state assistive technology is told; inside it, its drawing plan at 100 %
// (CSS pixels: the browser scales them to the screen), one element a shape.
#pragma once

#include "session/session.h"

namespace morvik {

// A control's element with all it holds, as HTML: the page makes its screens
// from it, and the build writes the title's into index.html, so that the
// title shows before the game's code has loaded (web/title.cpp).
std::string markup(const Session& session, int control);

// Takes over the title screen written into the page and shows it; from then
// on the page's raw events go to the session (web/events.js).
void startPage(Session::Services services);

} // namespace morvik
