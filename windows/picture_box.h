// Picture1 and Picture2: child windows of one colour that draw the fixed
// figures of their backdrop and hold labels. Hiding one hides all it holds.
#pragma once

#include "windows/win32.h"

namespace morvik::win32 {

// Clicks of the labels inside go on to the box's parent, as if the labels
// were the parent's own. The box is placed by its parent.
HWND createPictureBox(HWND parent, int id, const Backdrop* backdrop, Box box);

} // namespace morvik::win32
