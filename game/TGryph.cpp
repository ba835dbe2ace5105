#include "game/TGryph.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "content/Xml.h"
#include "core/GameClock.h"
#include "core/MathHelpers.h"
#include "core/QuitRequest.h"
#include "fx/TEmitter.h"
#include "game/TImpulseEffectController.h"
#include "game/GameGlobals.h"
#include "game/GameplayEvents.h"
#include "game/HighwayGeometry.h"
#include "game/PlayTrace.h"
#include "game/TBat.h"
#include "game/TBonus50.h"
#include "game/TFloatPoints.h"
#include "game/TFret.h"
#include "game/TGame.h"
#include "game/TLevelStat.h"
#include "game/TNote.h"
#include "game/TNoteLineWidget.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/System.h"

TGryph* CurrentGryph = nullptr;
std::string TGryph::SongsFolder = "media/songs/";
std::string TGryph::SkinsFile = "media/skins.xml";

namespace {

// Progress limits of the catch window and of the highway's end.
constexpr float kWindowOpen = HighwayGeometry::kCatchWindowOpen;
constexpr float kWindowClose = HighwayGeometry::kCatchWindowClose;
constexpr float kExactCatch = HighwayGeometry::kCatchProgress;
// A release keeps the click live this long; a catch this long after the last
// miss brings the lead track back.
constexpr int32_t kClickLiveMs = 300;
constexpr int32_t kUnmuteAfterMs = 300;
constexpr size_t kMaxRazogrevEntries = 70;
constexpr size_t kDecayAbove = 15;

int32_t ClockNow() { return static_cast<int32_t>(GameClock); }

bool IsFret(const ItemPtr& item) { return dynamic_cast<TFret*>(item.get()) != nullptr; }
bool IsBonus(const ItemPtr& item) { return dynamic_cast<TBonus50*>(item.get()) != nullptr; }
TNote* AsNote(const ItemPtr& item) { return dynamic_cast<TNote*>(item.get()); }

// "fret", or the kind and line of an item that is caught by position.
std::string TraceName(const ItemPtr& item) {
    if (IsFret(item)) return "fret";
    return std::string(IsBonus(item) ? "bonus" : "note") + " line " + std::to_string(item->LineNum);
}

void SetPausedFlag(std::vector<EmitterPtr>& emitters, int flag) {
    for (auto& e : emitters) {
        e->Pause = flag;
        if (flag == 0) e->OldTime = ClockMs();
    }
}

void UpdateEmitterList(std::vector<EmitterPtr>& emitters, float dt) {
    // Emitters may add emitters while updating; walk by index over a stable copy.
    std::vector<EmitterPtr> current = emitters;
    for (auto& e : current) e->Update(dt);
    std::erase_if(emitters, [](const EmitterPtr& e) { return e->Death != 0; });
}

}  // namespace

TGryph::TGryph() {
    MessagesAlpha = TCurveValue::Create(0, 0, 10);
    LinesLightAlpha = TCurveValue::Create(0, 0, 20);
    LightSFXAlpha = TCurveValue::Create(0, 0, 20);
    BlueSkyAlpha = TCurveValue::Create(0, 0, 20);
    const float positions[6][2] = {{224, 25}, {266, 124}, {358, 142}, {331, 124}, {305, 137}, {237, 80}};
    for (const auto& p : positions) MessagesPos.push_back(MakeVector(p[0], p[1]));
    CurrentGryph = this;
}

TGryph::~TGryph() {
    if (CurrentGryph == this) CurrentGryph = nullptr;
}

// ---------------------------------------------------------------- loading

int TGryph::LoadGlazPos(const std::string& skin) {
    // A missing file reads as one without the skin, which says so.
    StreamPtr skins = OpenRead(SkinsFile);
    if (!skins) skins = OpenMemory({}, SkinsFile);
    return LoadGlazPos(*skins, skin);
}

int TGryph::LoadGlazPos(TStream& skins, const std::string& skin) {
    // XmlLoad takes a shared stream; hand it a non-owning one over the caller's.
    XmlNode root = XmlLoad(StreamPtr(&skins, [](TStream*) {}));
    // Say which file is at fault: the player can restore one file, but not
    // guess it from a skin's name.
    if (!root) {
        Notify("Not found glaz position for skin: " + skin + " (" + skins.Name() + " cannot be read)", false);
        RequestQuit(1);
        return -1;
    }
    for (sdXMLnode* n = root ? root->firstchild : nullptr; n; n = XmlNextSibling(n)) {
        if (n->Tag != "skin") continue;
        if (XmlAttrString(n, "id", "") != skin) continue;
        Glaz1_1 = XmlAttrVector(n, "glaz1_1", nullptr);
        Glaz1_2 = XmlAttrVector(n, "glaz1_2", nullptr);
        Glaz2_1 = XmlAttrVector(n, "glaz2_1", nullptr);
        GLaz2_2 = XmlAttrVector(n, "glaz2_2", nullptr);
        return 0;
    }
    Notify("Not found glaz position for skin: " + skin + " in " + skins.Name(), false);
    RequestQuit(1);
    return -1;
}

int TGryph::Load(const std::string& song, int complexity, int replay) {
    const std::string folder = SongsFolder + song + "/";
    auto midi = std::make_shared<TMidiFile>();
    if (midi->Load(folder + "notes.mid", complexity) != 0) {
        Notify("The level cannot be played: " + midi->Error, false);
        return -1;
    }
    ResManager->ShowLoading(35);
    // Headphones plugged back in since a device was lost play this level.
    RetryAudioDevice();
    if (replay == 0 || !GuitarSound || !SongSound) {
        // Both tracks or none: a level never runs without its music.
        SoundPtr guitar = LoadSound(folder + "guitar.ogg", 0);
        if (!guitar) {
            Notify("The level cannot be played: " + folder + "guitar.ogg cannot be read", false);
            return -1;
        }
        ResManager->ShowLoading(67);
        SoundPtr band = LoadSound(folder + "song.ogg", 0);
        if (!band) {
            Notify("The level cannot be played: " + folder + "song.ogg cannot be read", false);
            return -1;
        }
        GuitarSound = guitar;
        SongSound = band;
    }
    MIDI = midi;
    CurrentLevelStat = std::make_shared<TLevelStat>();
    ResManager->ShowLoading(100);

    GuitarChannel = CueSound(GuitarSound);
    SongChannel = CueSound(SongSound);
    if (GuitarChannel) GuitarChannel->SetVolume(SoundVolume);
    if (SongChannel) SongChannel->SetVolume(SoundVolume);
    StartCued({GuitarChannel, SongChannel});

    RazogrevList.clear();
    ResetFrameClock();
    StartTime = ClockNow();
    StepClock = GameClock;

    PickedStars = PickedFrets = MouseUpped = NotPickedStars = NotPickedFrets = 0;
    GryphLightNoteAlpha = GryphLightAlpha = YellowSkyAlpha = Razogrev = 0;
    MultGlaza1 = MultGlaza2 = MultGlaza3 = 0;
    LinesLightAlpha = TCurveValue::Create(0, 0, 20);
    LightSFXAlpha = TCurveValue::Create(0, 0, 20);
    BlueSkyAlpha = TCurveValue::Create(0, 0, 20);
    MessagesImage = nullptr;
    LastItem = nullptr;

    Bat = TBat::Create(this);
    SetMouseVisible(0);
    SetMouseRelative(1);
    return 0;
}

// ---------------------------------------------------------------- spawning

int TGryph::GetItemType(const TMidiNote& note, float& speed) {
    if (note.note == TMidiFile::NOTE_BONUS) {
        speed = TBonus50::gSpeedCoef;
        return ITEM_BONUS50;
    }
    if (note.note >= TMidiFile::NOTE_LINE_FIRST && note.note <= TMidiFile::NOTE_LINE_LAST) {
        speed = LevelSpeed;
        return ITEM_NOTE;
    }
    if (note.note == TMidiFile::NOTE_FRET) {
        speed = LevelSpeed;
        return ITEM_FRET;
    }
    return 0;
}

ItemPtr TGryph::AddNote(const MidiNotePtr& n) {
    NotePtr note = TNote::Create(n->note - TMidiFile::NOTE_LINE_FIRST, n->single, static_cast<float>(n->Length),
                                 n->Starred);
    auto* last = AsNote(LastItem);
    if (last && last->single == 0 && n->StartLine == 0 && n->single == 0) note->SetPrevious(LastItem);
    return note;
}

void TGryph::AddItem(const MidiNotePtr& n, int kind, float speed) {
    ItemPtr item;
    if (kind == ITEM_NOTE) item = AddNote(n);
    else if (kind == ITEM_FRET) item = TFret::Create();
    else item = TBonus50::Create();
    if (kind != ITEM_BONUS50 && CurrentLevelStat) CurrentLevelStat->NotesAll += 1;
    const int lead = static_cast<int>(static_cast<float>(n->StartTime) - static_cast<float>(GryphTime) / speed);
    if (lead < 0) item->time = static_cast<float>(std::abs(lead) / 30) * speed;
    item->MidiNote = n;
    item->owner = this;
    LastItem = item;
    Items.push_front(item);
}

void TGryph::SpawnItems() {
    if (!MIDI) return;
    auto& pending = MIDI->notes;
    for (auto it = pending.begin(); it != pending.end();) {
        const MidiNotePtr n = *it;
        float speed = 0;
        const int kind = GetItemType(*n, speed);
        if (kind > 0 && static_cast<float>(ChartTime()) >=
                            static_cast<float>(n->StartTime) - static_cast<float>(GryphTime) / speed) {
            AddItem(n, kind, speed);
            it = pending.erase(it);
            continue;
        }
        if (n->note == TMidiFile::NOTE_FLASH && ChartTime() >= n->StartTime) {
            LightSFXAlpha->value = static_cast<float>(n->velocity) / 100.0f;
            it = pending.erase(it);
            continue;
        }
        ++it;
    }
}

// ---------------------------------------------------------------- the rules of play

bool TGryph::ClickLive() const {
    return MouseDowned == 1 || GameClock - static_cast<float>(MouseUppTime) < kClickLiveMs;
}

void TGryph::UseClick() {
    MouseDowned = 0;
    MouseUppTime = 0;
}

void TGryph::RemoveOldestRazogrev(int count) {
    const size_t n = std::min(RazogrevList.size(), static_cast<size_t>(std::max(count, 0)));
    RazogrevList.erase(RazogrevList.begin(), RazogrevList.begin() + static_cast<std::ptrdiff_t>(n));
}

int TGryph::RazogrevSum() const {
    int sum = 0;
    for (const auto& v : RazogrevList) sum += v->value;
    return sum;
}

int TGryph::CanPickUpItem(const ItemPtr& item) {
    if (!(item->time > kWindowOpen && item->time < kWindowClose) || item->PickUpStarted == 1) return 0;
    const float offset = std::fabs(kExactCatch - item->time);
    if (IsFret(item)) {
        if (!ClickLive() && KeyDown(KEY_SPACE) == 0) return 0;
        UseClick();
        item->Points = static_cast<int32_t>(100.0f * (3.0f - offset) * 2.0f);
        LinesLightAlpha->value = 1;
        CreateImpulse(EFFECT_IMPULSE_STAR);
        RazogrevList.push_back(TRazogrevValue::Create(4));
        SendPrizeEvent("fretclick");
        SendHintEvent("fretpick");
        return 1;
    }
    if (BatLineNum() != item->LineNum) return 0;
    TNote* note = AsNote(item);
    if (!note) return 1;  // a bonus item: position alone
    if (ClickLive()) {
        UseClick();
        if (note->Starred != 0) {
            item->Points = static_cast<int32_t>(100.0f * (3.0f - offset) * 1.5f);
            LinesLightAlpha->value = 1;
            CreateImpulse(EFFECT_IMPULSE_STAR);
            RazogrevList.push_back(TRazogrevValue::Create(2));
            SendPrizeEvent("starclick");
            SendHintEvent("starpick");
        } else {
            SendPrizeEvent("noteclick");
        }
        return 1;
    }
    if (note->Starred != 0) {
        SendHintEvent("starpick");
        SendPrizeEvent("starclickfailed");
        RazogrevList.push_back(TRazogrevValue::Create(1));
    }
    return 1;
}

void TGryph::PickUpItem(const ItemPtr& item) {
    PickupTime = ClockNow();
    item->PickUp();
    TracePlay("catch " + TraceName(item));
    PickItem = item;
    if (Game && Game->NoteLineWidget && item->MidiNote) Game->NoteLineWidget->PickNote(item->MidiNote, 0);
    if (!IsBonus(item)) SendPrizeEvent("notepick");
    if (GameClock - static_cast<float>(ErrorTime) > kUnmuteAfterMs && GuitarChannel)
        GuitarChannel->SetVolume(SoundVolume);
}

void TGryph::ErrorPick(const ItemPtr& item) {
    if (IsBonus(item)) return;
    TNote* note = AsNote(item);
    if (note && note->Starred != 0) {
        RemoveOldestRazogrev(2);
        SendHintEvent("starfail");
    }
    if (IsFret(item)) {
        if (item->IsOut == 1) {
            TracePlay("miss fret");
            SendHintEvent("fretfail");
            RemoveOldestRazogrev(4);
        }
        return;
    }
    if (!note) return;
    item->SongError = 1;
    TracePlay("miss " + TraceName(item));
    SendPrizeEvent("notefail");
    if (Game && Game->NoteLineWidget && item->MidiNote) Game->NoteLineWidget->PickNote(item->MidiNote, 1);
    if (Bat && item->LineNum >= 0 && item->LineNum < 5 && Bat->LineLight[item->LineNum])
        Bat->LineLight[item->LineNum]->ImpulseBad();
    PlayGameSound(SOUND_GRYPH_FAIL);
    ErrorTime = ClockNow();
    if (GuitarChannel) GuitarChannel->SetVolume(0);
}

void TGryph::TrackMouseButton() {
    const int down = MouseDown(1);
    if (down == 0 && MouseUpped == 0) {
        MouseUpped = 1;
        MouseUppTime = ClockNow();
        MouseDowned = 0;
    }
    if (down == 1 && MouseUpped == 1) {
        MouseUpped = 0;
        MouseDowned = 1;
    }
}

void TGryph::UpdateRazogrev(float dt) {
    if (RazogrevList.size() > kMaxRazogrevEntries) RemoveOldestRazogrev(1);
    if (Razogrev < static_cast<float>(GoldRushStart) * 0.5f) GOldRushLastTime = 0;
    // The decay interval shrinks as a gold rush goes on; with no time passed
    // yet since it began the interval is endless (no decay).
    float o = 1;
    if (GOldRushLastTime != 0) o = 5000.0f / (GameClock - static_cast<float>(GOldRushLastTime));
    const bool due = o > 0 && GameClock - static_cast<float>(RazogrevLastMinus) > 2000.0f * o;
    if (due && RazogrevList.size() > kDecayAbove) {
        RemoveOldestRazogrev(1);
        RazogrevLastMinus = ClockNow();
    }
    const float target = static_cast<float>(RazogrevSum()) / 100.0f * 100.0f;
    const int before = static_cast<int>(Razogrev);
    Razogrev = Razogrev + dt * (target - Razogrev) / 3.0f;
    if (Razogrev >= static_cast<float>(GoldRushStart) && before < GoldRushStart) {
        PlayGameSound(SOUND_GRYPH_GOLDRUSH);
        GOldRushLastTime = ClockNow();
    }
}

int TGryph::BatLineNum() { return Bat ? Bat->LineNum : -1; }

int TGryph::GoldRush() { return Razogrev >= static_cast<float>(GoldRushStart) ? 1 : 0; }

int TGryph::GetPointsMult() {
    if (Razogrev >= static_cast<float>(Razogrev4)) return 4;
    if (Razogrev >= static_cast<float>(Razogrev3)) return 2;
    return 1;
}

void TGryph::FloatPoints(int points, const VectorPtr& pos, int small) { TFloatPoints::Create(points, pos, small); }

void TGryph::SendEvent(const std::string& name) { SendPrizeEvent(name); }

void TGryph::CreateImpulse(const EffectPtr& effect) { TImpulseEffectController::CreateImpulse(effect); }

// ---------------------------------------------------------------- the frame

void TGryph::UpdateItems(float dt) {
    // Items may be caught, missed and dropped while the list is walked.
    for (auto it = Items.begin(); it != Items.end();) {
        const ItemPtr item = *it;
        item->Update(dt);
        if (CanPickUpItem(item) != 0) PickUpItem(item);
        if (item->time > kWindowClose && item->SongError == 0 && item->PickUpStarted == 0) ErrorPick(item);
        if (item->PickUpStarted != 0 && item->IsOut == 0 && item->PickUpEnded == 0 && Bat) {
            const int line = Bat->LineNum;
            if (line >= 0 && line < 5 && Bat->LineLight[line]) Bat->LineLight[line]->Impulse(1.0f);
        }
        if (item->IsOut != 0) {
            item->Remove();
            it = Items.erase(it);
            continue;
        }
        ++it;
    }
}

void TGryph::StepHighway(float dt) {
    // A long frame (the machine stalled) is played as steps of at most one
    // frame, so no item jumps over the catch window the catcher is waiting
    // at. A stall of seconds still takes big steps rather than a frozen game.
    constexpr float kStepMs = 17;
    constexpr int kMaxSteps = 120;
    const float target = GameClock;
    const float span = target - StepClock;
    const int steps = span > kStepMs ? std::min(static_cast<int>(std::ceil(span / kStepMs)), kMaxSteps) : 1;
    for (int i = 1; i <= steps; ++i) {
        GameClock = i == steps ? target : StepClock + span * static_cast<float>(i) / static_cast<float>(steps);
        SongTime = static_cast<int32_t>(GameClock - static_cast<float>(StartTime));
        SpawnItems();
        UpdateItems(dt / static_cast<float>(steps));
    }
    StepClock = target;
}

void TGryph::UpdateEmitters(float dt) {
    UpdateEmitterList(Emitters, dt);
    UpdateEmitterList(EmittersBack, dt);
}

void TGryph::UpdateLights(float dt) {
    GryphLightNoteAlpha = std::min(ApproachDt(GryphLightNoteAlpha, 0, 5, dt), 3.0f);
    const float r = Razogrev;
    const float r2 = static_cast<float>(Razogrev2);
    const float r3 = static_cast<float>(Razogrev3);
    const float r4 = static_cast<float>(Razogrev4);
    GryphLightDist = r / r2 * 0.75f + GryphLightNoteAlpha / 3.0f * 0.4f;
    GryphLightAlpha = ApproachDt(GryphLightAlpha, GryphLightDist, 20, dt);
    YellowSkyAlpha = ApproachDt(YellowSkyAlpha, r >= r3 ? (r - r3) / (r4 - r3) : 0, 20, dt);
    MultGlaza1 = ApproachDt(MultGlaza1, r / r2, 20, dt);
    MultGlaza2 = ApproachDt(MultGlaza2, r >= r2 ? (r - r2) / (r3 - 5 - r2) : 0, 20, dt);
    MultGlaza3 = ApproachDt(MultGlaza3, r >= r2 + 5 ? (r - (r2 + 5)) / (r3 - (r2 + 5)) : 0, 20, dt);
    BlueSkyAlpha->dist = r >= r2 ? (r - r2) / (r3 - r2) : 0;
    BlueSkyAlpha->Update(dt);
    LinesLightAlpha->Update(dt);
    LightSFXAlpha->Update(dt);
    MessagesAlpha->Update(dt);
    if (MessagesAlpha->ValueAchieved() != 0) MessagesImage = nullptr;
}

float TGryph::TakeOutStall(float dt) {
    // The player could neither see nor answer anything while the loop stood
    // still (a suspended laptop, a swapping disk), so that time is taken out
    // of the level as a pause's is: the chart goes on one frame later from
    // where it stopped, instead of letting every note of the gap pass.
    constexpr float kStallMs = 500;
    constexpr float kFrameMs = 17;
    if (GameClock - StepClock <= kStallMs) return dt;
    GameClock = StepClock + kFrameMs;
    return 1;
}

void TGryph::KeepTracksInStep(float frameMs) {
    if (!AudioKeepsTime()) return;
    // Without a device the mixer catches up with the clock after this update,
    // so the tracks stand up to this frame behind; a device's mixer runs
    // ahead of what is heard by its buffering. Past either, a stall or a
    // device that stopped took the tracks out of step with the chart.
    constexpr double kFrameMs = 17;
    const double behindAt = -(static_cast<double>(frameMs) + kFrameMs);
    const double aheadAt = kFrameMs + AudioLeadMs();
    bool outOfStep = false;
    for (const auto& [channel, sound] : {std::pair{GuitarChannel, GuitarSound}, std::pair{SongChannel, SongSound}}) {
        if (!channel || !sound || sound->Rate() <= 0) continue;
        const double rate = sound->Rate();
        // A track that ended on its last sample while the chart goes on is
        // where it should be; one that ended early during a stall is not.
        const double due = std::min<double>(SongTime, static_cast<double>(sound->Frames()) * 1000.0 / rate);
        const double drift = static_cast<double>(channel->Position()) * 1000.0 / rate - due;
        outOfStep = outOfStep || drift < behindAt || drift > aheadAt;
    }
    if (outOfStep) SeekChannels({GuitarChannel, SongChannel}, SongTime);
}

void TGryph::Update(float dt) {
    if (!MIDI) return;  // no level loaded
    dt = TakeOutStall(dt);
    const float frameMs = GameClock - StepClock;
    StepHighway(dt);
    KeepTracksInStep(frameMs);
    if (MIDI->notes.empty() && Items.empty()) SendPrizeEvent("notesended");
    UpdateEmitters(dt);
    if (Bat) Bat->Update(dt);
    TrackMouseButton();
    UpdateRazogrev(dt);
    UpdateLights(dt);
    TImpulseEffectController::Update(dt);
    const bool guitarOn = GuitarChannel && GuitarChannel->Playing() != 0;
    const bool songOn = SongChannel && SongChannel->Playing() != 0;
    if (!guitarOn && !songOn && Game) Game->LevelComplete();
}

// ---------------------------------------------------------------- drawing

namespace {

// Whether a sky drawn at twice its size from the corner at this alpha hides
// everything under it: the layers below need not be drawn at all.
bool SkyCovers(const ImagePtr& sky, float alpha) {
    return sky && alpha >= 254.5f / 255 && sky->handle_x == 0 && sky->handle_y == 0 && sky->width * 2 >= 800 &&
           sky->height * 2 >= 600 && ImageIsOpaque(sky);
}

}  // namespace

void TGryph::DrawBackground() {
    SetScale(2, 2);
    const bool yellowCovers = SkyCovers(IMAGE_BACK_YELLOWSKY, YellowSkyAlpha);
    const bool blueCovers = yellowCovers || SkyCovers(IMAGE_BACK_BLUESKY, BlueSkyAlpha->value);
    if (!blueCovers) DrawImage(IMAGE_BACK_MAIN, 0, 0);
    if (!yellowCovers) {
        SetAlpha(BlueSkyAlpha->value);
        DrawImage(IMAGE_BACK_BLUESKY, 0, 0);
    }
    SetAlpha(YellowSkyAlpha);
    DrawImage(IMAGE_BACK_YELLOWSKY, 0, 0);
    SetAlpha(1);
    SetScale(1, 1);
}

void TGryph::DrawGlaza(float x, int rotating, int steady, int phase) {
    if (!Glaz1_1 || !Glaz1_2 || !Glaz2_1 || !GLaz2_2) return;  // a skin without eyes
    if (Razogrev >= static_cast<float>(Razogrev2)) {
        const float deg = static_cast<float>(ClockMs()) / 10.0f + static_cast<float>(phase) * 50.0f;
        x = std::min(x, 1.0f) * 0.7f + 0.3f * std::sin(deg * kDegToRad);
    }
    x = std::min(x, 1.0f);
    const VectorPtr eyes[4] = {Glaz1_1, Glaz1_2, Glaz2_1, GLaz2_2};
    SetAlpha(0.8f * x);
    SetScale(1.7f, 1.7f);
    if (steady != 0)
        for (const auto& e : eyes) DrawImage(IMAGE_GRYPH_EYE_FX2, e->x, e->y);
    if (rotating != 0) {
        SetRotation(static_cast<float>((ClockMs() / 60) % 360));
        SetAlpha(0.75f * x);
        for (const auto& e : eyes) DrawImage(IMAGE_GRYPH_EYE_FX1, e->x, e->y);
    }
    SetScale(1, 1);
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    SetRotation(0);
}

void TGryph::DrawMessages() {
    if (MIDI) {
        for (const auto& m : MIDI->Messages) {
            const int32_t now = ChartTime();
            if (m->StartTime <= now && now <= m->StartTime + m->Length) {
                MessagesAlpha->value = 1;
                if (!MessagesImage) {
                    MessagesImage = ResManager->GetImage("IMAGE_MESSAGE_" + std::to_string(m->velocity));
                    const int index = m->velocity - 1;
                    MessagesCurrentPos = index >= 0 && index < static_cast<int>(MessagesPos.size())
                                             ? MessagesPos[static_cast<size_t>(index)]
                                             : nullptr;
                }
            }
        }
    }
    if (MessagesImage && MessagesCurrentPos) {
        SetAlpha(MessagesAlpha->value);
        DrawImage(MessagesImage, MessagesCurrentPos->x, MessagesCurrentPos->y);
        SetAlpha(1);
    }
}

void TGryph::Draw() {
    DrawBackground();
    DrawGlaza(MultGlaza1, 1, 1, 1);
    if (Razogrev >= static_cast<float>(GoldRushStart)) {
        SetBlend(ALPHABLEND);
        SetRotation(static_cast<float>((ClockMs() / 20) % 360));
        SetScale(2.4f, 2.4f);
        DrawImage(IMAGE_GRYPH_GOLD_FLARE, 398, 224);
        SetScale(1, 1);
        SetRotation(0);
    }
    SetBlend(ALPHABLEND);
    DrawImage(IMAGE_GRYPH_BACK, 0, 0);
    SetAlpha(GryphLightAlpha);
    DrawImage(IMAGE_GRYPH_LIGHT, 0, 0);
    SetAlpha(1);
    DrawGlaza(MultGlaza2, 1, 0, 2);
    DrawGlaza(MultGlaza3, 0, 1, 3);
    SetAlpha(LightSFXAlpha->value);
    DrawImage(IMAGE_GRYPH_LIGHTSFX, 183, 268);
    SetAlpha(LinesLightAlpha->value);
    SetScale(2, 2);
    SetBlend(LIGHTBLEND);
    DrawImage(IMAGE_GRYPH_LINES_LIGHT, 0, 0);
    SetScale(1, 1);
    SetAlpha(1);
    SetBlend(ALPHABLEND);
    for (const auto& e : EmittersBack) e->Draw();
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    for (const auto& item : Items) item->DrawShown();
    if (Bat) Bat->Draw();
    DrawMessages();
    for (const auto& e : Emitters) e->Draw();
}

// ---------------------------------------------------------------- pause, stop

void TGryph::Pause() {
    if (GuitarChannel) GuitarChannel->SetPaused(1);
    if (SongChannel) SongChannel->SetPaused(1);
    SetMouseRelative(0);
    SetMouseVisible(1);
    SetEnable(0);
    SetPausedFlag(Emitters, 1);
    SetPausedFlag(EmittersBack, 1);
    for (const auto& item : Items)
        if (auto* note = AsNote(item); note && note->LongnoteChannel) note->LongnoteChannel->SetPaused(1);
}

void TGryph::Resume() {
    for (const auto& item : Items)
        if (auto* note = AsNote(item); note && note->LongnoteChannel) note->LongnoteChannel->SetPaused(0);
    SetMouseVisible(0);
    SetMouseRelative(1);
    SetPausedFlag(Emitters, 0);
    SetPausedFlag(EmittersBack, 0);
    SetEnable(1);
    if (GuitarChannel) GuitarChannel->SetPaused(0);
    if (SongChannel) SongChannel->SetPaused(0);
}

void TGryph::StopTracks() {
    if (GuitarChannel) GuitarChannel->Stop();
    if (SongChannel) SongChannel->Stop();
}

void TGryph::StopGame() {
    MIDI = nullptr;
    StopTracks();
    Bat = nullptr;
    Items.clear();
    LastItem = nullptr;
    PickItem = nullptr;
    SetMouseRelative(0);
    SetMouseVisible(1);
}
