#pragma once
#include <cstdint>
#include <memory>

#include "core/TObject.h"
#include "core/TVector.h"

class TNote;
class TNoteStar;
using NoteStarPtr = std::shared_ptr<TNoteStar>;

// A star along the tail of a long note, a fixed offset across the line and
// behind the note's head. Held over the catch point it is collected and adds
// to the note's points. The note owns its stars; a star only points back.
class TNoteStar : public TObject {
    TOTEM_CLASS(TNoteStar)

    TNote* Note = nullptr;  // the note whose tail carries it (not owned)
    float fX = 0;           // lateral offset from the line
    float fZ = 0;           // progress offset behind the note's head
    float scale_ = 0;
    VectorPtr StarPos;
    int32_t NeedDraw = 0;

    static NoteStarPtr Create(float fX, float fZ, TNote* note);
    virtual void Update();
    virtual void Draw();
    // 1 when the star has just been collected (the note drops it then).
    virtual int Picked();
};
