// Resource numbers shared by resources.rc and the code that loads them.
#pragma once

#define MORVIK_FONT 101
#define MORVIK_TITLE_ARTWORK 110
#define MORVIK_LOGO 111
#define MORVIK_CHIP_FIRST 120 // the chips of 1, 5, 10, 20, 50 and 100, in that order
