// Plays a real level of the built game under a driven clock and writes one
// frame of the play screen, drawn by the game's own Update and Draw, as a PNG:
//
//   totem-play-shot GAMEDIR SCENE OUT.png [LEVEL]
//
// The level starts through the game controller as the story map starts it; a
// small player steers the catcher with mouse movements (and clicks for frets
// and starred notes) through the window system's input path, and the frame is
// taken at the first moment the scene asks for:
//
//   start     the first seconds of the song, items coming down the highway
//   hold      a long note being held, stars still running along its tail
//   melody    a melody caught to its end: the row of circles lit and judged
//   x2        the combo meter between 30 and 40: the silver catcher with ×2
//   goldrush  the meter at 40 or more: the flare behind the highway, sparkles
//   miss      a note let through on purpose: its line light flashing red
//
// The meter of x2 and goldrush is set up directly (a filled combo list), since
// earning it takes minutes of play; everything drawn still comes from frames of
// the running level. A line of key=value facts about the captured frame goes to
// standard output (the tests read it); a scene that does not come about within
// the song makes the exit status 1 and writes nothing.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "app/TApp.h"
#include "content/GameFolder.h"
#include "content/TResManager.h"
#include "core/GameClock.h"
#include "fx/TEmitter.h"
#include "game/GameGlobals.h"
#include "game/TBat.h"
#include "game/TFret.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TLineLight.h"
#include "game/TNote.h"
#include "game/TNoteLineWidget.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "game/TLevelInfo.h"

namespace {

// Where the catcher's target x has to be for each line: the middle of the
// stretch of x that selects the line.
constexpr float kLineTargetX[5] = {257, 331.5f, 407, 478.5f, 558};
// The catch window of the rules, in progress units.
constexpr float kWindowOpen = 81.25f;
constexpr float kWindowClose = 83;
// Progress from which an item is drawn at full strength.
constexpr float kFullyVisible = 22;
// Frames between an injected press and the first frame a catch can use it:
// the press is polled after the frame it was injected in, and the highway
// reads the button after it has tested its items.
constexpr int kClickLatencyFrames = 3;
constexpr float kFrameMs = 1000.0f / 60;

std::shared_ptr<TGryph> Highway() { return Game ? Game->Gryph : nullptr; }

bool IsFret(const ItemPtr& item) { return dynamic_cast<TFret*>(item.get()) != nullptr; }
TNote* AsNote(const ItemPtr& item) { return dynamic_cast<TNote*>(item.get()); }

// The player: runs after the highway in every frame and injects the mouse
// movement (and clicks) the next frame will read. It steers towards the line of
// the nearest item still to be caught, stays on a long note while holding it,
// and clicks in time for frets and starred notes. One chosen note can be let
// through on purpose.
class Player : public TWidget {
public:
    MidiNotePtr letThrough;  // the note the player misses on purpose

    void Update(float) override {
        std::shared_ptr<TGryph> gryph = Highway();
        if (!gryph || !Bat) return;
        if (pressed_) {
            InjectMouseButton(1, false);
            pressed_ = false;
        }
        const int line = TargetLine(*gryph);
        if (line >= 0) {
            // The catcher adds 1.2 × the mouse's movement to its target.
            const float dx = (kLineTargetX[line] - Bat->mx) / 1.2f;
            InjectMouseMotion(int(dx > 0 ? dx + 0.5f : dx - 0.5f), 0);
        }
        ClickIfDue(*gryph);
    }
    void Draw() override {}

private:
    bool pressed_ = false;
    // The chart notes already clicked for; held, so that a new note is never
    // mistaken for one of them.
    std::vector<MidiNotePtr> clicked_;

    bool IsLetThrough(const ItemPtr& item) const { return letThrough && item->MidiNote == letThrough; }

    int TargetLine(TGryph& gryph) const {
        for (const ItemPtr& item : gryph.Items) {
            TNote* note = AsNote(item);
            if (note && note->IsHeld() && note->IsLongNote()) return note->LineNum;
        }
        const TItem* nearest = nullptr;
        for (const ItemPtr& item : gryph.Items) {
            if (item->PickUpStarted || item->SongError || item->time >= kWindowClose || IsFret(item)) continue;
            if (!nearest || item->time > nearest->time) nearest = item.get();
        }
        if (!nearest) return -1;
        if (letThrough && nearest->MidiNote == letThrough) return nearest->LineNum == 4 ? 3 : nearest->LineNum + 1;
        return nearest->LineNum;
    }

    void ClickIfDue(TGryph& gryph) {
        if (pressed_) return;
        for (const ItemPtr& item : gryph.Items) {
            TNote* note = AsNote(item);
            const bool wantsClick = IsFret(item) || (note && note->Starred);
            if (!wantsClick || item->PickUpStarted || IsLetThrough(item)) continue;
            if (std::find(clicked_.begin(), clicked_.end(), item->MidiNote) != clicked_.end()) continue;
            const float due = item->time + item->SpeedCoef * kClickLatencyFrames * kFrameMs / 30;
            if (due < kWindowOpen || item->time >= kWindowClose) continue;
            InjectMouseButton(1, true);
            pressed_ = true;
            clicked_.push_back(item->MidiNote);
            return;
        }
    }
};

int VisibleItems(const TGryph& gryph) {
    int n = 0;
    for (const ItemPtr& item : gryph.Items) n += item->time >= kFullyVisible && item->time <= 100;
    return n;
}

// Items on screen with one of them close to the catcher: a frame a player would
// call busy.
bool HighwayBusy(const TGryph& gryph, int minVisible) {
    bool near = false;
    for (const ItemPtr& item : gryph.Items) near = near || (item->time >= 70 && item->time <= kWindowOpen);
    return near && VisibleItems(gryph) >= minVisible;
}

void FillMeter(TGryph& gryph, int sum) {
    gryph.RazogrevList.clear();
    for (; sum >= 4; sum -= 4) gryph.RazogrevList.push_back(TRazogrevValue::Create(4));
    if (sum > 0) gryph.RazogrevList.push_back(TRazogrevValue::Create(sum));
}

// A short plain note with a little room before and after it (the previous
// note's tail included), once the song is under way.
MidiNotePtr NoteToLetThrough(const std::vector<MidiNotePtr>& notes) {
    constexpr int32_t kRoomMs = 350;
    auto isItem = [](const MidiNotePtr& m) { return m->note >= 84 && m->note <= 91; };
    for (const MidiNotePtr& n : notes) {
        if (n->note < 84 || n->note > 88 || n->Starred || n->Length > 4 || n->StartTime < 5000) continue;
        bool roomy = true;
        for (const MidiNotePtr& m : notes) {
            if (m == n || !isItem(m)) continue;
            const int32_t end = m->StartTime + (m->Length > 4 ? m->Length * 30 : 0);
            if (m->StartTime <= n->StartTime && end > n->StartTime - kRoomMs) roomy = false;
            if (m->StartTime > n->StartTime && m->StartTime < n->StartTime + kRoomMs) roomy = false;
        }
        if (roomy) return n;
    }
    return nullptr;
}

// Extra milliseconds the next frame may take without changing the play: the
// game makes up a slow frame with one large step, which is harmless while the
// highway is empty or every item is far from the catcher, as long as no item
// spawns late. The frames near catches, misses and the captured one keep the
// display's own pace. The steps stay below the point where the eased values
// (meter, score counter) would overshoot.
int32_t SpareMs(TGryph& gryph) {
    int32_t limit = gryph.Items.empty() ? 150 : 34;
    for (const ItemPtr& item : gryph.Items)
        if (item->time >= 60 || item->PickUpStarted || item->SongError) return 0;
    if (!gryph.MIDI) return 0;
    for (const MidiNotePtr& n : gryph.MIDI->notes) {
        float speed = 0;
        if (gryph.GetItemType(*n, speed) <= 0) continue;
        const float spawn = float(n->StartTime) - float(gryph.GryphTime) / speed;
        limit = std::min(limit, int32_t(spawn - float(gryph.SongTime)) - 2 * int32_t(kFrameMs + 1));
    }
    return std::max(limit, 0);
}

struct Scene {
    const char* name;
    int level;  // default level of the table
    // Sets up what the scene needs before every frame.
    std::function<void(TGryph&)> before;
    // True when the frame just drawn is the one to keep.
    std::function<bool(TGryph&)> ready;
};

std::string Facts(const std::string& scene, const TLevelInfo& level, TGryph& gryph, const Player& player) {
    std::ostringstream out;
    out << "scene=" << scene << " level=" << level.id << " song=" << level.song << " skin=" << level.Skin
        << " songtime=" << gryph.SongTime << " items=" << gryph.Items.size() << " visible=" << VisibleItems(gryph)
        << " meter=" << int(gryph.Razogrev) << " goldrush=" << (Game->GoldRush() ? 1 : 0);
    if (Bat) out << " bat_line=" << Bat->LineNum << " bat_x=" << int(Bat->pos->x) << " bat_mult=" << Bat->DrawMult;
    if (player.letThrough) out << " missed_line=" << (player.letThrough->note - 84);
    if (Game->NoteLineWidget)
        out << " circles=" << Game->NoteLineWidget->NoteLine.size()
            << " passed=" << Game->NoteLineWidget->CurrentPosition
            << " completed=" << Game->NoteLineWidget->completed;
    if (Game->NoteLineWidget && !Game->NoteLineWidget->NoteLine.empty()) {
        out << " circle_lines=";
        for (size_t i = 0; i < Game->NoteLineWidget->NoteLine.size(); ++i)
            out << (i ? "," : "") << Game->NoteLineWidget->NoteLine[i]->note;
    }
    for (const ItemPtr& item : gryph.Items) {
        TNote* note = AsNote(item);
        if (!note || !note->IsHeld() || !note->IsLongNote()) continue;
        int shown = 0;
        for (const auto& star : note->StarsList) shown += star->NeedDraw;
        out << " held_line=" << note->LineNum << " stars_shown=" << shown;
        break;
    }
    // How far behind its beat the item furthest off it runs: an item should be
    // where its note's time puts it, give or take the frame it spawned in.
    float lag = 0;
    for (const ItemPtr& item : gryph.Items) {
        if (!item->MidiNote || item->PickUpStarted || item->time <= 0) continue;
        const float due = 81.5f - (float(item->MidiNote->StartTime) - (GameClock - float(gryph.StartTime))) /
                                      30 * item->SpeedCoef;
        const float lagMs = (due - item->time) * 30 / item->SpeedCoef;
        if (std::abs(lagMs) > std::abs(lag)) lag = lagMs;
    }
    out << " beat_lag_ms=" << int(std::lround(lag));
    size_t particles = 0;
    for (const auto& e : gryph.Emitters) particles += e->ParticleCount();
    for (const auto& e : gryph.EmittersBack) particles += e->ParticleCount();
    out << " particles=" << particles;
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Scene> scenes = {
        {"start", 11, nullptr, [](TGryph& g) { return HighwayBusy(g, 3); }},
        {"hold", 11, nullptr,
         [](TGryph& g) {
             for (const ItemPtr& item : g.Items) {
                 TNote* note = AsNote(item);
                 if (!note || !note->IsHeld() || !note->IsLongNote()) continue;
                 int shown = 0;
                 for (const auto& star : note->StarsList) shown += star->NeedDraw;
                 if (shown >= 2 && note->NoteLineZ2 <= 70) return true;
             }
             return false;
         }},
        {"melody", 11, nullptr,
         [](TGryph&) {
             const auto& row = *Game->NoteLineWidget;
             return row.completed == 1 && row.NoteLine.size() >= 3 && GameClock - float(row.LastPickTime) >= 150;
         }},
        {"x2", 11, [](TGryph& g) { FillMeter(g, 34); },
         [](TGryph& g) { return g.Razogrev >= 32 && g.Razogrev < 40 && HighwayBusy(g, 3); }},
        {"goldrush", 11, [](TGryph& g) { FillMeter(g, 60); },
         [](TGryph& g) {
             return Game->GoldRush() && GameClock - float(g.GOldRushLastTime) >= 1500 && HighwayBusy(g, 3);
         }},
        {"miss", 11, nullptr,
         [](TGryph& g) {
             for (const ItemPtr& item : g.Items)
                 if (item->SongError && GameClock - float(g.ErrorTime) >= 120) return true;
             return false;
         }},
    };

    const Scene* scene = nullptr;
    if (argc >= 4 && argc <= 5)
        for (const Scene& s : scenes)
            if (argv[2] == std::string(s.name)) scene = &s;
    if (!scene) {
        std::fprintf(stderr, "usage: totem-play-shot GAMEDIR start|hold|melody|x2|goldrush|miss OUT.png [LEVEL]\n");
        return 2;
    }
    const int levelId = argc == 5 ? std::atoi(argv[4]) : scene->level;
    const std::filesystem::path out = std::filesystem::absolute(argv[3]);

    std::string problem;
    if (!EnterGameFolder(argv[1], problem)) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    UseDrivenClock();
    UseSilentMixer();
    InitGlobals();
    LoadStartupContent();
    if (!OpenDisplay(800, 600, 0, 85)) return 1;
    SetVirtualResolution(800, 600);
    LoadResourceFile("res.xml");
    ResManager->LoadScope("Init");
    FetchInitGroup();
    LoadMenuAndGryph();
    LevelInfoPtr level = GetLevelById(levelId);
    if (!level) {
        std::fprintf(stderr, "media/levels.xml: no level %d\n", levelId);
        return 1;
    }

    TApp::CreateGame();
    auto player = std::make_shared<Player>();
    WidgetManager->AddWidget(player);

    TApp::EnterLoop();
    Game->LevelInfo = level;
    if (Game->StartLevel(0) != 0) return 1;
    std::shared_ptr<TGryph> gryph = Highway();
    if (std::string(scene->name) == "miss") {
        player->letThrough = NoteToLetThrough(gryph->MIDI->notes);
        if (!player->letThrough) {
            std::fprintf(stderr, "level %d: no lone note to let through\n", levelId);
            return 1;
        }
    }

    bool saved = false;
    std::string facts;
    TApp::SetBeforePresent([&] {
        if (saved || !Highway() || !scene->ready(*gryph)) return;
        const PicturePtr frame = GrabFrame();
        saved = frame && SavePicturePNG(*frame, out.string());
        if (saved) facts = Facts(scene->name, *level, *gryph, *player);
    });
    // A level ends with its music; the scenes all come about well before.
    const int maxFrames = 60 * 240;
    for (int frame = 0; frame < maxFrames && !saved && Game->CompletedLevels == 0; ++frame) {
        if (scene->before) scene->before(*gryph);
        if (const int32_t spare = SpareMs(*gryph); spare > 0) AdvanceClock(spare);
        TApp::RunFrame();
    }
    TApp::SetBeforePresent(nullptr);
    if (!saved) {
        std::fprintf(stderr, "level %d: the scene \"%s\" did not come about\n", levelId, scene->name);
        return 1;
    }
    std::printf("%s\n", facts.c_str());
    return 0;
}
