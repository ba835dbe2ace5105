#pragma once
#include <string>

#include "core/Stack.h"
#include "core/TObject.h"
#include "media/TImageFont.h"

// A snapshot of the whole drawing state, so a routine can change colour, alpha,
// blend, transform, origin, viewport and font freely and put everything back.
class TGraphicsState : public TObject {
    TOTEM_CLASS(TGraphicsState)

    int Blend = 0;
    float Rotation = 0;
    float ScaleX = 0, ScaleY = 0;
    float alpha = 0;
    int r = 0, g = 0, b = 0;
    int vpx = 0, vpy = 0, vpw = 0, vph = 0;
    float OrX = 0, OrY = 0;
    FontPtr font;  // null = the built-in default font
};

// The saved drawing states, innermost on top.
extern LIFO DrawStateStack;

// Saves the current drawing state. Every routine that changes the state for
// its own drawing brackets it with PushDrawState / PopDrawState.
void PushDrawState();
// Restores the last saved state; does nothing when none is saved.
void PopDrawState();
// Width of `text` in `font` (the current font when null), scale not applied;
// the drawing state is unchanged afterwards.
int TextWidthWithFont(const std::string& text, const FontPtr& font);
// Width of "A" in `font`: the unit dialogs lay their text out in.
int LetterWidth(const FontPtr& font);
