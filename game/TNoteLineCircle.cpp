#include "game/TNoteLineCircle.h"

#include "content/ResourceCatalogue.h"
#include "media/Graphics.h"

void TNoteLineCircle::Fail() { fail_ = 1; }

int TNoteLineCircle::IsFailed() { return fail_; }

void TNoteLineCircle::SetNote(int line) {
    note = line;
    const ImagePtr pictures[5] = {IMAGE_NOTELINE_CIRCLE_1, IMAGE_NOTELINE_CIRCLE_2, IMAGE_NOTELINE_CIRCLE_3,
                                  IMAGE_NOTELINE_CIRCLE_4, IMAGE_NOTELINE_CIRCLE_5};
    if (line >= 0 && line < 5) image = pictures[line];
}

void TNoteLineCircle::Draw(float x, float y) {
    DrawImage(image, x, y, 0);
    if (fail_ == 1) DrawImage(IMAGE_NOTELINE_CIRCLE_FAIL, x, y);
}
