#pragma once
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "core/TCurveValue.h"
#include "core/TVector.h"
#include "game/GameGlobals.h"
#include "game/ItemOwner.h"
#include "game/TItem.h"
#include "game/TMidiFile.h"
#include "game/TRazogrevValue.h"
#include "media/Audio.h"
#include "media/TImage.h"
#include "media/TStream.h"

class TEmitter;
class TGryph;
using GryphPtr = std::shared_ptr<TGryph>;

// The note highway: the full-screen widget a level is played on. It loads the
// song's chart and its two tracks, spawns the chart's items early enough that
// they reach the catch point exactly when the music plays them, applies the
// rules of play (what is caught, what is missed, the click, the combo meter
// and its gold rush, the muted lead track), and draws the skin, the eyes, the
// lights, the items, the catcher and the message pictures. The game
// controller creates one and calls Load at every level start.
class TGryph : public ItemOwner {
    TOTEM_CLASS(TGryph)

    static constexpr int ITEM_NOTE = 1;
    static constexpr int ITEM_FRET = 2;
    static constexpr int ITEM_BONUS50 = 3;

    std::list<ItemPtr> Items;                 // on the highway, newest first
    std::shared_ptr<TMidiFile> MIDI;          // chart; `notes` = not yet spawned
    int32_t StartTime = 0;
    int32_t SongTime = 0;                     // ms since the song started
    float StepClock = 0;                      // GameClock when the items last moved
    int32_t ErrorTime = 0;                    // GameClock at the last miss
    int32_t PickupTime = 0;                   // GameClock at the last catch
    ItemPtr PickItem;                         // caught last
    ItemPtr LastItem;                         // spawned last; melodies link to it
    int32_t PickedStars = 0, PickedFrets = 0, NotPickedStars = 0, NotPickedFrets = 0;
    ChannelPtr SongChannel, GuitarChannel;
    SoundPtr SongSound, GuitarSound;
    int32_t MouseUpped = 0, MouseUppTime = 0, MouseDowned = 0;  // click tracking
    float GryphLightAlpha = 0;
    float GryphLightDist = 0;
    CurveValuePtr LinesLightAlpha;
    CurveValuePtr LightSFXAlpha;
    std::vector<RazogrevValuePtr> RazogrevList;  // oldest first
    int32_t RazogrevLastMinus = 0;            // GameClock of the last time decay
    int32_t GOldRushLastTime = 0;             // GameClock when the gold rush began
    // Combo levels, in rising order with the owner's Razogrev3 (×2) and
    // Razogrev4 (×4): the eyes reach full glow at Razogrev2 and start to pulse,
    // and the gold rush begins at GoldRushStart.
    int32_t Razogrev2 = 20;
    int32_t GoldRushStart = 40;
    float YellowSkyAlpha = 0;
    // Glow of the three eye layers, 0..1, each easing towards its share of
    // the combo meter: layer 1 fills up to Razogrev2, layers 2 and 3 fill on
    // the way from there to ×2 (drawn behind and in front of the statues).
    float MultGlaza1 = 0, MultGlaza2 = 0, MultGlaza3 = 0;
    CurveValuePtr BlueSkyAlpha;
    int32_t GryphTime = 2445;                 // spawn to catch point at speed 1, ms
    std::vector<VectorPtr> MessagesPos;       // index = message number − 1
    CurveValuePtr MessagesAlpha;
    ImagePtr MessagesImage;
    VectorPtr MessagesCurrentPos;
    VectorPtr Glaz1_1, Glaz1_2, Glaz2_1, GLaz2_2;  // eye positions of the skin
    std::vector<std::shared_ptr<TEmitter>> EmittersBack;  // drawn behind the items

    // Makes the new highway the one CurrentGryph refers to.
    TGryph();
    ~TGryph() override;

    virtual void DrawMessages();
    virtual void DrawGlaza(float x, int rotating, int steady, int phase);
    // Reads the skin's eye positions from "media/skins.xml". Returns 0, or −1
    // for a skin without an entry: the player is told and the program is asked
    // to end.
    virtual int LoadGlazPos(const std::string& skin);
    // The same from a skins file already open.
    int LoadGlazPos(TStream& skins, const std::string& skin);
    virtual void PickUpItem(const ItemPtr& item);
    // 1 when the item is caught now; applies a click catch's points, combo
    // and events on the way.
    virtual int CanPickUpItem(const ItemPtr& item);
    virtual void ErrorPick(const ItemPtr& item);
    virtual int GetItemType(const TMidiNote& note, float& speed);
    virtual void AddItem(const MidiNotePtr& note, int kind, float speed);
    virtual ItemPtr AddNote(const MidiNotePtr& note);
    virtual void StopGame();
    // Where in the chart the player is by what they hear: the song's time less
    // the sound's delay. Items spawn, flash and show messages by it.
    int32_t ChartTime() const { return SongTime - AudioOffsetMs; }
    // Loads the chart and the two tracks of `song` and starts them. Returns 0,
    // or −1 when the chart or a track could not be read: a message naming the
    // file has been shown and nothing is playing.
    virtual int Load(const std::string& song, int complexity, int replay);
    virtual void Pause();
    virtual void Resume();

    void Update(float dt) override;
    void Draw() override;
    void AddedToManager() override {}

    // ItemOwner
    int BatLineNum() override;
    int GoldRush() override;
    int GetPointsMult() override;
    void FloatPoints(int points, const VectorPtr& pos, int small) override;
    void SendEvent(const std::string& name) override;
    void CreateImpulse(const EffectPtr& effect) override;

    // The sum the combo list's entries add up to.
    int RazogrevSum() const;
    // A click is live: pressed and not yet used, or released under 300 ms ago.
    bool ClickLive() const;
    // Takes the click: a held press catches one item only.
    void UseClick();
    // Removes the `count` oldest combo entries (fewer when there are fewer).
    void RemoveOldestRazogrev(int count);

    // Where the song folders are; "media/songs/" unless a test points elsewhere.
    static std::string SongsFolder;
    // Where the eye positions are; "media/skins.xml" unless a test points elsewhere.
    static std::string SkinsFile;

private:
    void SpawnItems();
    void UpdateItems(float dt);
    void StepHighway(float dt);
    // A long stall is taken out of the level's time; returns the frame's dt.
    float TakeOutStall(float dt);
    // Moves the tracks back to the chart's time when they drifted from it.
    void KeepTracksInStep(float frameMs);
    void UpdateEmitters(float dt);
    void TrackMouseButton();
    void UpdateRazogrev(float dt);
    void UpdateLights(float dt);
    void DrawBackground();
    void StopTracks();
};

// The highway created last (the hint window and the impulse effects read it).
extern TGryph* CurrentGryph;
