#include "screens/THelpText.h"

#include "content/ResourceCatalogue.h"
#include "gui/DrawWrappedText.h"
#include "media/Graphics.h"

void THelpText::SetText(const std::string& s) {
    if (state == HIDDEN && !s.empty()) {
        text = s;
        state = FADING_IN;
    } else if (state == SHOWN && s != text) {
        state = FADING_OUT;
    }
}

void THelpText::Update(float dt) {
    if (state == FADING_IN) {
        alpha += dt / 10.0f;
        // It overshoots to 1.5 so the text holds full strength a little before
        // counting as shown.
        if (alpha > 1.5f) {
            alpha = 1;
            state = SHOWN;
        }
    } else if (state == FADING_OUT) {
        alpha -= dt / 10.0f;
        if (alpha <= 0) {
            alpha = 0;
            state = HIDDEN;
        }
    }
}

void THelpText::Draw() {
    if (text.empty()) return;
    SetFont(FONT_HELP_B);
    SetAlpha(alpha);
    SetColor(0, 0, 0);
    DrawWrappedText(0, 50, text, _width, 1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
}
