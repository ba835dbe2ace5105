#pragma once
#include <string>

// Lays out `text` in a box `width` pixels wide with its top-left corner at
// (x, y), in the current font, colour, alpha and blend, and draws it when
// `draw` is non-zero. Returns the height of the laid-out text, also when
// nothing is drawn, so callers size their boxes with draw = 0 first.
//
// The two characters backslash and "n" start a new line (content texts are
// one line each). Words wrap at spaces; a word alone on a line is never
// broken, however wide. A word stays on its line only while the line up to
// and including the word's trailing space, plus that space once more, is
// narrower than the box. With `centered` each line is centred on
// x + width / 2. Characters are drawn one by one, so whole-pixel widths add up
// exactly as measured.
int DrawWrappedText(float x, float y, const std::string& text, int width, int centered, int draw);
