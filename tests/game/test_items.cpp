#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../media/AudioFixtures.h"
#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "fx/TEmitter.h"
#include "game/GameGlobals.h"
#include "game/HighwayGeometry.h"
#include "game/ItemOwner.h"
#include "game/TBonus50.h"
#include "game/TFret.h"
#include "game/TNote.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Graphics.h"

namespace {

// The highway as the items see it, recording what they ask of it.
class RecordingOwner : public ItemOwner {
public:
    int batLine = 0;
    int goldRush = 0;
    int mult = 1;
    struct Shown {
        int points;
        float x, y;
        int small;
    };
    std::vector<Shown> shown;
    std::vector<std::string> events;
    std::vector<EffectPtr> impulses;

    int BatLineNum() override { return batLine; }
    int GoldRush() override { return goldRush; }
    int GetPointsMult() override { return mult; }
    void FloatPoints(int points, const VectorPtr& pos, int small) override {
        shown.push_back({points, pos->x, pos->y, small});
    }
    void SendEvent(const std::string& name) override { events.push_back(name); }
    void CreateImpulse(const EffectPtr& effect) override { impulses.push_back(effect); }

    int EmittersOf(const EffectPtr& effect) const {
        int n = 0;
        for (const auto& e : Emitters) n += e->Config == effect ? 1 : 0;
        return n;
    }
};

EffectPtr NamedEffect(float alpha0, float alpha1) {
    EffectPtr e = TEffect::New();
    e->alpha = {alpha0, alpha1};
    return e;
}

class ItemsTest : public ::testing::Test {
protected:
    RecordingOwner owner;

    void SetUp() override {
        UseDrivenClock(1000);
        UseSilentMixer();
        GameClock = 1000;
        LevelSpeed = 1.0f;
        SoundVolume = 0.5f;
        CurrentLevelStat = std::make_shared<TLevelStat>();
        const int rgb[5][3] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {200, 200, 40}, {150, 60, 220}};
        for (int i = 0; i < 5; ++i) LineColors[i] = TColor::Create(rgb[i][0], rgb[i][1], rgb[i][2]);
        ColorWhite = TColor::Create(255, 255, 255);
        ColorGold = TColor::Create(243, 206, 0);
        FastScalePulse = TCurveValue::Create(1, 1, 10);
        EFFECT_NOTE = NamedEffect(0.9f, 0.1f);
        EFFECT_NOTE_STAR = NamedEffect(0.8f, 0.2f);
        EFFECT_MELODY = NamedEffect(1, 0);
        EFFECT_LINE = NamedEffect(0.7f, 0.3f);
        EFFECT_NOTE_GOLD = NamedEffect(1, 0);
        EFFECT_BONUS50 = NamedEffect(1, 0);
        EFFECT_BONUS50_PICK = NamedEffect(1, 0);
        EFFECT_STARSLONG = NamedEffect(0.6f, 0.4f);
        EFFECT_IMPULSE_LONGNOTE = NamedEffect(1, 0);
        SOUND_GRYPH_LONGNOTE = LoadSound(OpenMemory(audio_fixtures::MakeWav(1, 44100, 16, std::vector<int>(44100 * 5, 500))));
        SOUND_BONUSEAT = nullptr;
    }
    void TearDown() override {
        CloseAudio();
        UseRealClock();
        CurrentLevelStat = nullptr;
        SOUND_GRYPH_LONGNOTE = nullptr;
    }

    // Puts an item at progress t without moving it, then lets it update.
    template <typename T>
    void PlaceAt(T& item, float t) {
        item->time = t;
        item->UpdTime = GameClock;
        item->Update(1);
    }
    // Runs the clock in 17 ms frames, updating the item each frame.
    template <typename T>
    void RunFrames(T& item, int frames) {
        for (int i = 0; i < frames; ++i) {
            GameClock += 17;
            AdvanceClock(17);
            item->Update(1);
        }
    }
    NotePtr OwnedNote(int line, float length = 0, int starred = 0) {
        NotePtr n = TNote::Create(line, 1, length, starred);
        n->owner = &owner;
        return n;
    }
};

TEST_F(ItemsTest, ProgressAdvancesSpeedUnitsPer30Ms) {
    const struct {
        float levelSpeed;
        int kind;  // 0 note, 1 fret, 2 bonus
        float per30;
    } cases[] = {{1.0f, 0, 1.0f}, {1.2f, 0, 1.2f}, {1.2f, 1, 1.2f}, {1.0f, 2, 1.5f}, {1.2f, 2, 1.5f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.levelSpeed << " kind " << c.kind);
        LevelSpeed = c.levelSpeed;
        ItemPtr item = c.kind == 0 ? ItemPtr(TNote::Create(1, 1, 0, 0))
                     : c.kind == 1 ? ItemPtr(TFret::Create())
                                   : ItemPtr(TBonus50::Create());
        EXPECT_FLOAT_EQ(item->SpeedCoef, c.per30);
        // The first update only notes the clock.
        item->Update(1);
        EXPECT_FLOAT_EQ(item->time, 0);
        EXPECT_FLOAT_EQ(item->UpdTime, GameClock);
        GameClock += 30;
        item->Update(1);
        EXPECT_NEAR(item->time, c.per30, 1e-4);
        GameClock += 300;
        item->Update(1);
        EXPECT_NEAR(item->time, 11 * c.per30, 1e-3);
        GameClock = 1000;
    }
}

TEST_F(ItemsTest, PositionAndScaleAtTheFarEndAndTheCatchPoint) {
    const float catchXs[5] = {261.5f, 334.0f, 406.6f, 479.1f, 548.9f};
    for (int line = 0; line < 5; ++line) {
        SCOPED_TRACE(line);
        NotePtr n = TNote::Create(line, 1, 0, 0);
        PlaceAt(n, 81.5f);
        ASSERT_TRUE(n->pos);
        EXPECT_NEAR(n->pos->x, catchXs[line], 0.05f);
        EXPECT_NEAR(n->pos->y, 499.3f, 0.05f);
        EXPECT_NEAR(n->scale, 24.0f / (103 - 81.5f), 1e-4);
        EXPECT_NEAR(n->scale, 1.116f, 1e-3);
        // The item's own projection agrees with where it is drawn.
        VectorPtr p = n->to2d(n->LineX(line), -n->LineY(81.5f), 98.5f);
        EXPECT_FLOAT_EQ(p->x, n->pos->x);
        EXPECT_FLOAT_EQ(p->y, n->pos->y);
    }
    NotePtr far = TNote::Create(2, 1, 0, 0);
    PlaceAt(far, 0);
    EXPECT_NEAR(far->pos->x, 402.2f, 0.05f);
    EXPECT_NEAR(far->pos->y, 237.5f, 0.05f);
    EXPECT_NEAR(far->scale, 0.233f, 1e-3);
    PlaceAt(far, 83);
    EXPECT_NEAR(far->scale, 1.2f, 1e-4);
}

TEST_F(ItemsTest, FadeInFromInvisibleThroughGoldToWhite) {
    const struct {
        float t;
        int r, g, b;
        float alpha;
    } cases[] = {
        {0, -1, -1, -1, 0},          // invisible; colour irrelevant
        {15, -1, -1, -1, 0},
        {16, 254, 212 + 43 / 7, 48 + 207 / 7, 1.0f / 7},
        {18.5f, 254, 212 + 43 * 3 / 7, 48 + 207 * 3 / 7, 3.0f / 7},
        {22, 254, 254, 254, 1},      // white is capped at 254
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.t);
        NotePtr n = TNote::Create(0, 1, 0, 0);
        n->time = c.t;
        SetColor(1, 2, 3);
        SetAlpha(0.5f);
        n->ApplyFadeIn();
        int r, g, b;
        GetColor(r, g, b);
        EXPECT_NEAR(GetAlpha(), c.alpha, 1e-5);
        if (c.r >= 0) {
            EXPECT_EQ(r, c.r);
            EXPECT_EQ(g, c.g);
            EXPECT_EQ(b, c.b);
        }
    }
    // Beyond 35 the drawing state is left as it is.
    NotePtr n = TNote::Create(0, 1, 0, 0);
    n->time = 40;
    SetColor(1, 2, 3);
    SetAlpha(0.5f);
    n->ApplyFadeIn();
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(b, 3);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.5f);
}

TEST_F(ItemsTest, OutRulesByKindAndState) {
    const struct {
        const char* what;
        int kind;  // 0 note, 1 fret, 2 bonus
        float length;
        bool caught;
        float t;
        int out;
    } cases[] = {
        {"free note before the end", 0, 0, false, 100.0f, 0},
        {"free note past the end", 0, 0, false, 100.1f, 1},
        {"caught note at the catch point", 0, 0, true, 81.5f, 0},
        {"caught note past the catch point", 0, 0, true, 81.6f, 1},
        {"free short note of length 4 counts its length", 0, 4, false, 103.9f, 0},
        {"free short note of length 4 past its length", 0, 4, false, 104.1f, 1},
        {"held long note before its tail end", 0, 20, true, 101.4f, 0},
        {"held long note past its tail end", 0, 20, true, 101.6f, 1},
        {"free fret", 1, 0, false, 99.9f, 0},
        {"free fret past the end", 1, 0, false, 100.2f, 1},
        {"caught fret", 1, 0, true, 81.6f, 1},
        {"caught bonus", 2, 0, true, 81.4f, 0},
        {"caught bonus past the catch point", 2, 0, true, 81.6f, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ItemPtr item = c.kind == 0 ? ItemPtr(TNote::Create(2, 1, c.length, 0))
                     : c.kind == 1 ? ItemPtr(TFret::Create())
                                   : ItemPtr(TBonus50::Create());
        item->owner = &owner;
        owner.batLine = item->LineNum;
        item->time = c.t;
        item->PickUpStarted = c.caught ? 1 : 0;
        GameClock = 4321.7f;
        item->IsOutCheck();
        EXPECT_EQ(item->IsOut, c.out);
        EXPECT_EQ(item->IsOutTime, c.out ? 4321 : 0);
        // A caught item is paid the moment it is finished, and not before.
        EXPECT_EQ(item->PickUpEnded, c.caught && c.out ? 1 : 0);
    }
}

TEST_F(ItemsTest, HeldLongNoteSendsLongpickOnlyWhenHeldToTheEnd) {
    NotePtr held = OwnedNote(1, 20);
    owner.batLine = 1;
    PlaceAt(held, 81.5f);
    ASSERT_EQ(held->PickUp(), 1);
    while (held->IsOut == 0 && held->time < 130) RunFrames(held, 1);
    EXPECT_GT(held->time, 101.5f);
    EXPECT_LT(held->time, 101.5f + 17.0f / 30 + 1e-3f);
    EXPECT_EQ(owner.events, std::vector<std::string>{"longpick"});
    ASSERT_EQ(owner.impulses.size(), 1u);
    EXPECT_EQ(owner.impulses[0], EFFECT_IMPULSE_LONGNOTE);

    // Leaving the line at 90 pays at once and sends nothing.
    RecordingOwner other;
    NotePtr left = TNote::Create(1, 1, 20, 0);
    left->owner = &other;
    other.batLine = 1;
    PlaceAt(left, 81.5f);
    left->PickUp();
    while (left->time < 90) RunFrames(left, 1);
    EXPECT_EQ(left->PickUpEnded, 0);
    other.batLine = 2;
    RunFrames(left, 1);
    EXPECT_EQ(left->PickUpEnded, 1);
    EXPECT_EQ(other.shown.size(), 1u);
    while (left->IsOut == 0 && left->time < 200) RunFrames(left, 1);
    EXPECT_TRUE(other.events.empty());
    EXPECT_TRUE(other.impulses.empty());
    // No longer held: it leaves once its tail end passes 100.
    EXPECT_GT(left->time - 20, 100.0f);
}

TEST_F(ItemsTest, StarsAlongLongNotes) {
    const struct {
        float length, speed;
        std::vector<float> offsets;
    } cases[] = {
        {10, 1.0f, {1, 5, 9}},
        {4, 1.0f, {}},            // not long: no stars
        {4.5f, 1.0f, {1}},        // int(3.5) = 3
        {20, 1.2f, {1, 5, 9, 13, 17, 21}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " at " << c.speed);
        LevelSpeed = c.speed;
        NotePtr n = TNote::Create(0, 1, c.length, 0);
        ASSERT_EQ(n->StarsList.size(), c.offsets.size());
        for (size_t i = 0; i < c.offsets.size(); ++i) {
            const int off = static_cast<int>(c.offsets[i]);
            EXPECT_FLOAT_EQ(n->StarsList[i]->fZ, c.offsets[i]);
            EXPECT_FLOAT_EQ(n->StarsList[i]->fX, static_cast<float>(off % 5) - 2.5f);
            EXPECT_EQ(n->StarsList[i]->Note, n.get());
        }
    }
    // The zig-zag across the tail.
    NotePtr n = TNote::Create(0, 1, 22, 0);
    const float zig[] = {-1.5f, -2.5f, 1.5f, 0.5f, -0.5f};
    ASSERT_GE(n->StarsList.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(n->StarsList[i]->fX, zig[i]);
}

TEST_F(ItemsTest, LongNoteTailEnds) {
    const struct {
        const char* what;
        float length, t;
        bool held;
        int z1, z2;
    } cases[] = {
        {"mid-highway", 20, 50, false, 49, 30},
        {"tail end still hidden", 20, 20, false, 19, 15},
        {"head past the end", 20, 110, false, 100, 90},
        {"held: swallowed at the catch point", 20, 90, true, 81, 70},
        {"held: all swallowed", 20, 105, true, 81, 81},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NotePtr n = TNote::Create(3, 1, c.length, 0);
        n->time = c.t;
        n->PickUpStarted = c.held ? 1 : 0;
        n->UpdateNoteLine();
        EXPECT_EQ(n->NoteLineZ1, c.z1);
        EXPECT_EQ(n->NoteLineZ2, c.z2);
    }
    // The tail is 10 units wide at the head and 8 at its end, on its line.
    NotePtr n = TNote::Create(3, 1, 20, 0);
    n->time = 50;
    n->UpdateNoteLine();
    const float x = HighwayGeometry::LineX(3);
    const HighwayPoint a = HighwayGeometry::SurfacePoint(x - 5, 49);
    const HighwayPoint d = HighwayGeometry::SurfacePoint(x + 4, 30);
    EXPECT_FLOAT_EQ(n->tri1[0], a.x);
    EXPECT_FLOAT_EQ(n->tri1[1], a.y);
    EXPECT_FLOAT_EQ(n->tri2[2], d.x);
    EXPECT_FLOAT_EQ(n->tri2[3], d.y);
    // tri2 shares the tail's far left corner and the head's right corner with tri1.
    EXPECT_FLOAT_EQ(n->tri2[0], n->tri1[4]);
    EXPECT_FLOAT_EQ(n->tri2[4], n->tri1[2]);
    // A short note keeps no tail.
    NotePtr s = TNote::Create(3, 1, 4, 0);
    s->time = 50;
    s->UpdateNoteLine();
    EXPECT_EQ(s->NoteLineZ1, 0);
    EXPECT_FLOAT_EQ(s->tri1[0], 0);
}

TEST_F(ItemsTest, HoldingALongNoteCollectsItsStars) {
    NotePtr n = OwnedNote(2, 20);
    owner.batLine = 2;
    owner.mult = 2;
    PlaceAt(n, 81.4f);
    ASSERT_EQ(n->PickUp(), 1);
    const size_t stars = n->StarsList.size();
    ASSERT_EQ(stars, 5u);  // offsets 1, 5, 9, 13, 17
    while (n->IsOut == 0) RunFrames(n, 1);
    // Every star behind the head is collected as it crosses the catch point;
    // the one a unit behind the head sits under the head's own picture and
    // is hidden with it (it would need the head on a whole unit to show).
    ASSERT_EQ(n->StarsList.size(), 1u);
    EXPECT_FLOAT_EQ(n->StarsList[0]->fZ, 1);
    EXPECT_EQ(owner.EmittersOf(EFFECT_STARSLONG), 4);
    // The white tint went into the effect.
    ASSERT_TRUE(EFFECT_STARSLONG->Color);
    EXPECT_EQ(EFFECT_STARSLONG->Color->r0, 255);
    EXPECT_FLOAT_EQ(EFFECT_STARSLONG->Color->a0, 0.6f);
    EXPECT_FLOAT_EQ(EFFECT_STARSLONG->Color->a1, 0.4f);
    ASSERT_EQ(owner.shown.size(), 1u);
    EXPECT_EQ(owner.shown[0].points, (100 + 4 * 20) * 2);
    EXPECT_EQ(owner.shown[0].small, 0);
    EXPECT_EQ(CurrentLevelStat->Notes, 360);
}

TEST_F(ItemsTest, HoldSoundPlaysWhileHeldAndStopsWhenPaid) {
    NotePtr n = OwnedNote(0, 10);
    owner.batLine = 0;
    PlaceAt(n, 81.5f);
    n->PickUp();
    ASSERT_TRUE(n->LongnoteChannel);
    ChannelPtr ch = n->LongnoteChannel;
    RunFrames(n, 3);
    EXPECT_EQ(ch->Playing(), 1);
    owner.batLine = 1;
    RunFrames(n, 1);
    EXPECT_EQ(n->PickUpEnded, 1);
    EXPECT_FALSE(n->LongnoteChannel);
    EXPECT_EQ(ch->Playing(), 0);
    // Notes of length 4 are not long: no hold sound.
    NotePtr s = OwnedNote(0, 4);
    PlaceAt(s, 81.5f);
    s->PickUp();
    EXPECT_FALSE(s->LongnoteChannel);
}

TEST_F(ItemsTest, MelodyLinks) {
    NotePtr first = OwnedNote(1, 20);
    NotePtr second = OwnedNote(3);
    NotePtr third = OwnedNote(0);
    second->SetPrevious(first);
    third->SetPrevious(second);
    EXPECT_EQ(second->Prev, first);
    EXPECT_EQ(first->IsMelody, 1);
    EXPECT_EQ(second->IsMelody, 1);
    EXPECT_EQ(third->IsMelody, 1);
    EXPECT_FALSE(first->Prev);

    // The band runs from this note back to where the previous note's tail ends.
    PlaceAt(first, 40);
    PlaceAt(second, 10);
    EXPECT_FLOAT_EQ(second->PrevDist, 30 - 20);
    const HighwayPoint c = HighwayGeometry::SurfacePoint(HighwayGeometry::LineX(1) - 3, 20);
    EXPECT_FLOAT_EQ(second->tri3[4], c.x);
    EXPECT_FLOAT_EQ(second->tri3[5], c.y);
    PlaceAt(third, 5);
    EXPECT_FLOAT_EQ(third->PrevDist, 5);  // a short previous note: no tail

    // Computed once: moving on keeps the distance.
    PlaceAt(second, 60);
    PlaceAt(first, 70);
    EXPECT_FLOAT_EQ(second->PrevDist, 10);
    const HighwayPoint a = HighwayGeometry::SurfacePoint(HighwayGeometry::LineX(3) - 3, 60);
    const HighwayPoint far = HighwayGeometry::SurfacePoint(HighwayGeometry::LineX(1) + 3, 70);
    EXPECT_FLOAT_EQ(second->tri3[0], a.x);
    EXPECT_FLOAT_EQ(second->tri4[2], far.x);
    // A caught note keeps its band where it was.
    second->PickUp();
    const float before = second->tri3[0];
    PlaceAt(second, 65);
    EXPECT_FLOAT_EQ(second->tri3[0], before);
    // A plain item only records the link.
    FretPtr fret = TFret::Create();
    fret->SetPrevious(first);
    EXPECT_EQ(fret->Prev, first);
}

TEST_F(ItemsTest, PickUpPerKind) {
    const struct {
        const char* what;
        int kind;  // 0 note, 1 fret, 2 bonus
        float length;
        int starred;
        bool melody;
        std::vector<std::pair<EffectPtr*, int>> emitters;
        int counted;
    } cases[] = {
        {"plain note", 0, 0, 0, false, {{&EFFECT_NOTE, 1}, {&EFFECT_NOTE_STAR, 0}, {&EFFECT_MELODY, 0}}, 1},
        {"starred note", 0, 0, 1, false, {{&EFFECT_NOTE, 1}, {&EFFECT_NOTE_STAR, 1}}, 1},
        {"melody note", 0, 0, 0, true, {{&EFFECT_NOTE, 1}, {&EFFECT_MELODY, 1}}, 1},
        {"fret", 1, 0, 0, false, {{&EFFECT_LINE, 5}, {&EFFECT_NOTE, 0}}, 1},
        {"bonus", 2, 0, 0, false, {{&EFFECT_BONUS50_PICK, 1}, {&EFFECT_NOTE, 0}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        owner.Emitters.clear();
        owner.GryphLightNoteAlpha = 0;
        FastScalePulse = TCurveValue::Create(1, 1, 10);
        CurrentLevelStat = std::make_shared<TLevelStat>();
        ItemPtr item = c.kind == 0 ? ItemPtr(TNote::Create(3, 1, c.length, c.starred))
                     : c.kind == 1 ? ItemPtr(TFret::Create())
                                   : ItemPtr(TBonus50::Create());
        item->owner = &owner;
        if (c.melody) item->SetPrevious(TNote::Create(1, 0, 0, 0));
        PlaceAt(item, 81.5f);
        ASSERT_EQ(item->PickUp(), 1);
        EXPECT_EQ(item->PickUpStarted, 1);
        EXPECT_FLOAT_EQ(owner.GryphLightNoteAlpha, 1);
        EXPECT_FLOAT_EQ(FastScalePulse->dist, 1.1f);
        EXPECT_FLOAT_EQ(FastScalePulse->curve, 2);
        EXPECT_EQ(CurrentLevelStat->NotesCount, c.counted);
        for (const auto& [effect, n] : c.emitters) EXPECT_EQ(owner.EmittersOf(*effect), n);
        // A second catch does nothing.
        const size_t emitters = owner.Emitters.size();
        EXPECT_EQ(item->PickUp(), 0);
        EXPECT_EQ(owner.Emitters.size(), emitters);
        EXPECT_FLOAT_EQ(owner.GryphLightNoteAlpha, 1);
        EXPECT_EQ(CurrentLevelStat->NotesCount, c.counted);
    }
}

TEST_F(ItemsTest, CatchBurstsAreTinted) {
    NotePtr n = OwnedNote(2, 0, 1);
    PlaceAt(n, 81.5f);
    n->PickUp();
    const TColor& line = *LineColors[2];
    ASSERT_TRUE(EFFECT_NOTE->Color);
    EXPECT_EQ(EFFECT_NOTE->Color->r0, line.r + 50);
    EXPECT_EQ(EFFECT_NOTE->Color->g1, line.g + 50);
    EXPECT_EQ(EFFECT_NOTE->Color->b0, line.b + 50);
    EXPECT_FLOAT_EQ(EFFECT_NOTE->Color->a0, 0.9f);
    EXPECT_FLOAT_EQ(EFFECT_NOTE->Color->a1, 0.1f);
    EXPECT_EQ(EFFECT_NOTE->Color->UseAlpha, 1);
    ASSERT_TRUE(EFFECT_NOTE_STAR->Color);
    EXPECT_EQ(EFFECT_NOTE_STAR->Color->r0, LineColors[4]->r);
    EXPECT_EQ(EFFECT_NOTE_STAR->Color->b1, LineColors[4]->b);

    // The fret bursts gold on every line at its own progress.
    FretPtr fret = TFret::Create();
    fret->owner = &owner;
    PlaceAt(fret, 82);
    fret->PickUp();
    EXPECT_EQ(EFFECT_LINE->Color->r0, ColorGold->r);
    EXPECT_EQ(EFFECT_LINE->Color->g0, ColorGold->g);
    EXPECT_FLOAT_EQ(EFFECT_LINE->Color->a0, 0.7f);
    std::vector<float> xs;
    for (const auto& e : owner.Emitters)
        if (e->Config == EFFECT_LINE) xs.push_back(e->x);
    ASSERT_EQ(xs.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const HighwayPoint p = HighwayGeometry::ItemPosition(i, 82);
        EXPECT_FLOAT_EQ(xs[i], p.x) << "line " << i;
    }
}

TEST_F(ItemsTest, PointsAwardedOnceByCategoryWithTheMultiplier) {
    const struct {
        const char* what;
        int kind;
        int starred;
        int points;
        int mult;
        int shown;
        int small;
        int notes, stars, frets;
    } cases[] = {
        {"plain note at x2", 0, 0, 100, 2, 200, 1, 200, 0, 0},
        {"clicked star at x1", 0, 1, 450, 1, 450, 0, 0, 450, 0},
        {"unclicked star at x4", 0, 1, 100, 4, 400, 1, 0, 400, 0},
        {"fret at x2", 1, 0, 600, 2, 1200, 0, 0, 0, 1200},
        {"bonus at x4", 2, 0, 50, 4, 200, 0, 200, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        owner.shown.clear();
        owner.mult = c.mult;
        CurrentLevelStat = std::make_shared<TLevelStat>();
        ItemPtr item = c.kind == 0 ? ItemPtr(TNote::Create(1, 1, 0, c.starred))
                     : c.kind == 1 ? ItemPtr(TFret::Create())
                                   : ItemPtr(TBonus50::Create());
        item->owner = &owner;
        item->Points = c.points;
        item->PickUpEnd();
        item->PickUpEnd();
        ASSERT_EQ(owner.shown.size(), 1u);
        EXPECT_EQ(owner.shown[0].points, c.shown);
        EXPECT_EQ(owner.shown[0].small, c.small);
        const HighwayPoint p = HighwayGeometry::CatchPoint(item->LineNum);
        EXPECT_FLOAT_EQ(owner.shown[0].x, p.x);
        EXPECT_FLOAT_EQ(owner.shown[0].y, p.y);
        EXPECT_EQ(CurrentLevelStat->Notes, c.notes);
        EXPECT_EQ(CurrentLevelStat->Stars, c.stars);
        EXPECT_EQ(CurrentLevelStat->Frets, c.frets);
    }
}

TEST_F(ItemsTest, CatcherLeavingTheLinePaysAHeldItem) {
    Bonus50Ptr bonus = TBonus50::Create();
    bonus->owner = &owner;
    owner.batLine = bonus->LineNum;
    PlaceAt(bonus, 81.3f);
    bonus->PickUp();
    EXPECT_EQ(bonus->PickUpEnded, 0);
    owner.batLine = (bonus->LineNum + 1) % 5;
    bonus->Update(1);
    EXPECT_EQ(bonus->PickUpEnded, 1);
    EXPECT_EQ(CurrentLevelStat->Notes, 50);
}

TEST_F(ItemsTest, GoldRushSparkleFollowsVisibleNotes) {
    NotePtr n = OwnedNote(4);
    owner.goldRush = 1;
    PlaceAt(n, 10);
    EXPECT_FALSE(n->Emitter);  // not yet visible
    PlaceAt(n, 20);
    ASSERT_TRUE(n->Emitter);
    EXPECT_EQ(owner.EmittersOf(EFFECT_NOTE_GOLD), 1);
    const float x20 = n->pos->x;
    PlaceAt(n, 30);
    // Moved to the previous frame's position, running.
    EXPECT_FLOAT_EQ(n->Emitter->x, x20);
    EXPECT_EQ(n->Emitter->Pause, 0);
    owner.goldRush = 0;
    PlaceAt(n, 40);
    EXPECT_EQ(n->Emitter->Pause, 1);
    EXPECT_EQ(owner.EmittersOf(EFFECT_NOTE_GOLD), 1);
    // A catch ends the sparkle; so does dropping a note.
    EmitterPtr e = n->Emitter;
    n->PickUp();
    EXPECT_EQ(e->Death, 1);
    NotePtr dropped = OwnedNote(1);
    owner.goldRush = 1;
    PlaceAt(dropped, 50);
    EmitterPtr e2 = dropped->Emitter;
    ASSERT_TRUE(e2);
    dropped.reset();
    EXPECT_EQ(e2->Death, 1);
}

TEST_F(ItemsTest, BonusItemKeepsItsLineAndTrailsASparkle) {
    LevelSpeed = 1.2f;
    SeedRandom(7);
    for (int i = 0; i < 20; ++i) {
        Bonus50Ptr b = TBonus50::Create();
        b->owner = &owner;
        const int line = b->LineNum;
        EXPECT_GE(line, 0);
        EXPECT_LE(line, 4);
        EXPECT_EQ(b->Points, 50);
        PlaceAt(b, 14);
        EXPECT_FALSE(b->Emitter);
        RunFrames(b, 3);
        ASSERT_TRUE(b->Emitter);
        RunFrames(b, 60);
        EXPECT_EQ(b->LineNum, line);
        EXPECT_FLOAT_EQ(b->Emitter->x, HighwayGeometry::ItemPosition(line, b->time - 17.0f / 30 * 1.5f).x);
    }
    EXPECT_EQ(owner.EmittersOf(EFFECT_BONUS50), 20);
}

TEST_F(ItemsTest, LongMelodyChainsFreeWithoutRecursion) {
    NotePtr last = TNote::Create(0, 0, 0, 1);
    std::weak_ptr<TNote> first = last;
    for (int i = 0; i < 200000; ++i) {
        NotePtr next = TNote::Create(i % 5, 0, 0, 1);
        next->SetPrevious(last);
        last = next;
    }
    EXPECT_FALSE(first.expired());
    last.reset();
    EXPECT_TRUE(first.expired());
}

}  // namespace
