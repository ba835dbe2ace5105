#pragma once
#include <cstdint>
#include <memory>

#include "content/TAnimImage.h"
#include "core/TColor.h"
#include "core/TObject.h"
#include "core/TVector.h"
#include "game/TMidiNote.h"
#include "media/TImage.h"

class ItemOwner;
class TItem;
using ItemPtr = std::shared_ptr<TItem>;

// Anything that travels down the note highway: notes, frets, bonus items (and
// the catcher, which shares the geometry). An item moves by GameClock, fades
// in over its first stretch, is drawn at its perspective position and scale,
// and once caught awards its points exactly once. Use the subclasses' Create
// functions; the highway sets `owner`, `MidiNote` and a late-start `time`.
class TItem : public TObject {
    TOTEM_CLASS(TItem)

    ImagePtr Image;             // static picture
    float time = 0;             // progress: 0 far end, 81.5 catch point, 100 gone
    float scale = 0;            // drawing scale, kept by Update
    float UpdTime = 0;          // GameClock at the previous Update; 0 = none yet
    int32_t LineNum = 0;        // 0–4
    VectorPtr pos;              // screen position, kept by Update
    ColorPtr color;             // fade-in colour
    int32_t SongError = 0;      // counted as missed
    int32_t IsOut = 0;          // finished: the highway drops it
    int32_t IsOutTime = 0;      // GameClock when IsOut was set
    int32_t PickUpStarted = 0;  // caught
    int32_t PickUpEnded = 0;    // points awarded
    int32_t single = 0;         // the chart note's `single`
    ItemPtr Prev;               // previous note of a melody; links only go back
    AnimImagePtr AnimImage;     // animated picture
    ItemOwner* owner = nullptr; // the highway that spawned it (not owned)
    int32_t Points = 100;       // before the multiplier
    float SpeedCoef;            // highway units per 30 ms
    MidiNotePtr MidiNote;       // the chart note it was spawned from

    TItem();
    // Unlinks a melody chain iteratively so a long one cannot exhaust the stack.
    ~TItem() override;

    virtual void Draw();
    // Draw as the highway does it: ahead by the screen's delay, VideoLead().
    void DrawShown();
    // How much further on the item is drawn than its progress, in highway
    // units, so that it reaches the catcher on a late screen when heard.
    float VideoLead() const;
    virtual void DrawLine_();
    virtual void Update(float dt);
    virtual void IsOutCheck();
    virtual void PickUpEnd();
    virtual VectorPtr to2d(float x, float y, float z);
    virtual void Remove();
    virtual int PickUp();
    virtual float LineY(float z);
    virtual float LineX(int line);
    virtual void SetPrevious(const ItemPtr& item);

    // The fade-in as drawing colour and alpha: invisible up to progress 15,
    // then seven steps from gold to white; beyond 35 nothing is changed.
    void ApplyFadeIn();
    // Where its points are shown: the catch point of its line.
    VectorPtr CatchPos();

protected:
    // Marks the item finished now, awarding its points if it was caught.
    void MarkOut();
    // Adds an emitter to the owner's list; ignored without an owner.
    void AddOwnerEmitter(const std::shared_ptr<class TEmitter>& emitter);
    // Adds the awarded points to the right category of the level statistics.
    virtual void CountPoints();
};
