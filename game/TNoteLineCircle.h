#pragma once
#include <cstdint>
#include <memory>

#include "core/TObject.h"
#include "media/TImage.h"

// One circle of the melody row: the colour of its note's line, crossed out
// when the note was missed.
class TNoteLineCircle : public TObject {
    TOTEM_CLASS(TNoteLineCircle)

    int32_t fail_ = 0;
    int32_t note = 0;   // line 0–4
    ImagePtr image;

    virtual void Fail();
    virtual int IsFailed();
    // Lines outside 0–4 keep the picture it had.
    virtual void SetNote(int line);
    virtual void Draw(float x, float y);
};
using NoteLineCirclePtr = std::shared_ptr<TNoteLineCircle>;
