#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "fx/TEmitter.h"
#include "game/TItem.h"
#include "game/TNoteStar.h"
#include "media/Audio.h"

class TNote;
using NotePtr = std::shared_ptr<TNote>;

// A note on one line of the highway. A long note drags a tail that is held
// over the catch point, with stars along it to collect; notes of a melody are
// joined to the note before them by a band; starred notes have their own
// picture; during a gold rush every visible note sparkles and glows.
class TNote : public TItem {
    TOTEM_CLASS(TNote)

    using Triangle = std::array<float, 6>;  // three x, y pairs

    float length = 0;             // the chart note's Length, units of 30 ms
    int32_t Starred = 0;
    Triangle tri1{}, tri2{};      // the long note's tail
    Triangle tri3{}, tri4{};      // the band to Prev
    float MinLength = 4;          // longer than this is a long note
    float PrevDist = -1;          // progress to the end of Prev; −1 = not yet
    std::vector<NoteStarPtr> StarsList;
    EmitterPtr Emitter;           // gold-rush sparkle
    int32_t NoteLineZ1 = 0;       // progress of the tail's head end
    int32_t NoteLineZ2 = 0;       // progress of the tail's far end
    int32_t IsMelody = 0;         // linked to or from another note
    ChannelPtr LongnoteChannel;   // hold sound of a long note being held

    ~TNote() override;

    static NotePtr Create(int line, int single, float length, int starred);
    virtual void InitEmitter();
    virtual int IsLongNote();
    virtual void DrawNoteLine();
    virtual void DrawNoteStars();
    virtual void DrawNoteLink();
    virtual void UpdateNoteLine();
    virtual void UpdateNoteStars();
    virtual void UpdateNoteLink();

    void Remove() override;
    void SetPrevious(const ItemPtr& item) override;
    int PickUp() override;
    void Draw() override;
    void Update(float dt) override;
    void IsOutCheck() override;

    // Caught and its points not yet awarded: a long note being held.
    bool IsHeld() const { return PickUpStarted != 0 && PickUpEnded == 0; }

protected:
    void CountPoints() override;

private:
    bool InGoldRush();
    // A band across the highway from depth z1 (centre x1, half width half1)
    // to z2, as the two triangles the tail and the melody link are drawn with.
    void BandTriangles(float x1, float half1, float z1, float x2, float half2, float z2, Triangle& first,
                       Triangle& second);
    // Draws a band in this note's line colour, lightened, then restores white.
    void DrawBand(const Triangle& a, const Triangle& b);
};
