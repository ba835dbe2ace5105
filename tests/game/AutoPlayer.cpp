#include "AutoPlayer.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "game/TBat.h"
#include "game/TBonus50.h"
#include "game/TFret.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TNote.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/Input.h"

namespace {

// The catch window in progress units, the catch point and where a catcher's
// target x lands safely inside each line's range.
constexpr float kWindowOpen = 81.25f;
constexpr float kWindowClose = 83.0f;
constexpr float kCatch = 81.5f;
constexpr float kLineTargetX[5] = {265.0f, 331.5f, 407.0f, 478.5f, 550.0f};
constexpr float kMouseGain = 1.2f;
// A click is live this long after a release.
constexpr float kClickLiveMs = 300.0f;
// Press this many frames ahead of an item that needs a click: a press is seen
// by the highway's button tracking one frame after the poll that carried it,
// and is live for the catch tests of the frame after that.
constexpr int kPressLeadFrames = 6;
// Leave a bonus item alone unless the next note is at least this far behind it.
constexpr float kBonusDetourMs = 150.0f;

bool NeedsClick(AutoPlayer::Kind k) { return k == AutoPlayer::Kind::StarredNote || k == AutoPlayer::Kind::Fret; }
bool IsNote(AutoPlayer::Kind k) { return k == AutoPlayer::Kind::Note || k == AutoPlayer::Kind::StarredNote; }

const char* KindName(AutoPlayer::Kind k) {
    switch (k) {
        case AutoPlayer::Kind::Note: return "note";
        case AutoPlayer::Kind::StarredNote: return "starred note";
        case AutoPlayer::Kind::Fret: return "fret";
        case AutoPlayer::Kind::Bonus: return "bonus item";
    }
    return "item";
}

}  // namespace

AutoPlayer::AutoPlayer() {
    SetGameplayEventListener([this](const GameplayEvent& e) { OnEvent(e); });
}

AutoPlayer::~AutoPlayer() { SetGameplayEventListener({}); }

// ---- Rules ------------------------------------------------------------------

int AutoPlayer::StarClickPoints(float t) {
    return static_cast<int>(100.0f * (3.0f - std::fabs(kCatch - t)) * 1.5f);
}

int AutoPlayer::FretPoints(float t) { return static_cast<int>(100.0f * (3.0f - std::fabs(kCatch - t)) * 2.0f); }

int AutoPlayer::RuleStars(float length, float speed) {
    if (!(length > 4.0f)) return 0;
    const int last = static_cast<int>(length * speed - 1.0f);
    int stars = 0;
    for (int off = 1; off <= last; off += 4) ++stars;
    return stars;
}

int AutoPlayer::MultiplierFor(float meter) {
    if (meter >= 40.0f) return 4;
    if (meter >= 30.0f) return 2;
    return 1;
}

std::vector<int> AutoPlayer::MelodySizes(const TMidiFile& chart) {
    std::vector<int> sizes;
    for (const MidiNotePtr& head : chart.notes) {
        if (head->StartLine != 1 || !head->next_) continue;
        int circles = 0;
        for (const TMidiNote* n = head.get(); n; n = n->next_.get())
            if (n->note <= TMidiFile::NOTE_LINE_LAST) ++circles;
        sizes.push_back(circles);
    }
    return sizes;
}

void AutoPlayer::Meter::RemoveOldest(int count) {
    for (int i = 0; i < count && !entries.empty(); ++i) entries.pop_front();
}

void AutoPlayer::Meter::Step(float dt, float clock) {
    constexpr int kGoldRush = 40;
    if (entries.size() > 70) entries.pop_front();
    if (value < kGoldRush * 0.5f) goldRushStart = 0;
    // During a gold rush the entries fade ever faster.
    const float o = goldRushStart == 0 ? 1.0f : 5000.0f / (clock - static_cast<float>(goldRushStart));
    if (clock - static_cast<float>(lastMinus) > 2000.0f * o && entries.size() > 15) {
        entries.pop_front();
        lastMinus = static_cast<int32_t>(clock);
    }
    float sum = 0;
    for (int e : entries) sum += static_cast<float>(e);
    const float target = sum / 100.0f * 100.0f;
    const int before = static_cast<int>(value);
    value = value + dt * (target - value) / 3.0f;
    if (value >= static_cast<float>(kGoldRush) && before < kGoldRush) goldRushStart = static_cast<int32_t>(clock);
}

// ---- Playing ----------------------------------------------------------------

void AutoPlayer::Begin() {
    prevMs_ = ClockMs();
    levelsAtBegin_ = Game->CompletedLevels;
    // The highway keeps these across levels; the rules say so, and so does the
    // player's own meter.
    meter_ = Meter{};
    meter_.lastMinus = Game->Gryph->RazogrevLastMinus;
    meter_.goldRushStart = Game->Gryph->GOldRushLastTime;
    multBefore_ = 1;
}

bool AutoPlayer::PlayToEnd(int maxFrames) {
    for (int i = 0; i < maxFrames; ++i) {
        Frame();
        if (Game->CompletedLevels != levelsAtBegin_) {
            for (auto& [ptr, r] : live_) {
                problems_.push_back(std::string("level ended with a ") + KindName(r.kind) + " of " +
                                    std::to_string(r.chartTime) + " ms still on the highway");
            }
            return true;
        }
    }
    return false;
}

// The main loop's frame without the drawing and presenting (the software GL
// renderer would spend minutes on the frames of 28 songs): clock, widget
// updates, event poll, audio, in the order TApp::RunFrame runs them. The clock
// moves by exactly one 17 ms step per frame, so dt is 1. The player decides
// after the update, from what the frame left on screen, and its input is
// polled by this frame's PollEvents, as a player's would be.
void AutoPlayer::Frame(bool decide) {
    const bool stall = stallEvery_ > 0 && frame_ % stallEvery_ == stallEvery_ - 1;
    AdvanceClock(stall ? stallMs_ : FRAME_MS);
    const int32_t now = ClockMs();
    const int32_t elapsed = now - prevMs_;
    prevMs_ = now;
    GameClock += static_cast<float>(elapsed);
    const float dt = static_cast<float>(elapsed) / 17.0f;
    frameEvents_.clear();
    WidgetManager->Update(dt);
    Observe(dt);
    if (decide) Decide();
    PollEvents();
    AudioUpdate();
    // A stalled frame's time is mixed after the highway has taken it out;
    // the tracks are put back in step by the next update.
    if (!stall) MeasureTracks();
    ++frame_;
}

void AutoPlayer::MeasureTracks() {
    if (!Game || !Game->Gryph) return;
    const TGryph& g = *Game->Gryph;
    if (!g.SongChannel || !g.SongSound || g.SongChannel->Playing() == 0 || g.SongSound->Rate() <= 0) return;
    const double ms = static_cast<double>(g.SongChannel->Position()) * 1000.0 / g.SongSound->Rate();
    worstTrackDrift_ = std::max(worstTrackDrift_, std::abs(ms - g.SongTime));
    if (g.GuitarChannel && g.GuitarChannel->Playing() != 0 && g.GuitarChannel->Position() != g.SongChannel->Position())
        tracksApart_ = true;
}

void AutoPlayer::OnEvent(const GameplayEvent& e) {
    frameEvents_.push_back(e);
    if (e.target != EventTarget::Prizes) return;
    const bool fret = e.name == "fretclick";
    if (!fret && e.name != "starclick" && e.name != "starclickfailed") return;
    if (!Game || !Game->Gryph) return;
    // The item being caught: the first in the highway's order that is inside
    // the window and not yet taken, of the kind the event names.
    for (const ItemPtr& it : Game->Gryph->Items) {
        if (it->PickUpStarted != 0 || !(it->time > kWindowOpen && it->time < kWindowClose)) continue;
        if (fret) {
            if (!dynamic_cast<TFret*>(it.get())) continue;
        } else {
            auto* note = dynamic_cast<TNote*>(it.get());
            if (!note || note->Starred == 0 || !Bat || note->LineNum != Bat->LineNum) continue;
        }
        clickAtCatch_[it.get()] = e.name == "starclickfailed" ? 0 : 1;
        return;
    }
    problems_.push_back("frame " + std::to_string(frame_) + ": \"" + e.name + "\" with no item in the window");
}

AutoPlayer::ItemRecord* AutoPlayer::Find(const TItem* item) {
    auto it = live_.find(item);
    return it == live_.end() ? nullptr : &it->second;
}

AutoPlayer::ItemRecord* AutoPlayer::Track(const ItemPtr& item) {
    if (ItemRecord* r = Find(item.get())) return r;
    ItemRecord r;
    r.item = item;
    r.line = item->LineNum;
    r.chartTime = item->MidiNote ? item->MidiNote->StartTime : -1;
    if (dynamic_cast<TFret*>(item.get())) {
        r.kind = Kind::Fret;
    } else if (dynamic_cast<TBonus50*>(item.get())) {
        r.kind = Kind::Bonus;
    } else if (auto* note = dynamic_cast<TNote*>(item.get())) {
        r.kind = note->Starred != 0 ? Kind::StarredNote : Kind::Note;
        if (item->MidiNote) {
            const float length = static_cast<float>(item->MidiNote->Length);
            r.longNote = length > 4.0f;
            r.ruleStars = RuleStars(length, Game->LevelInfo ? Game->LevelInfo->speed : LevelSpeed);
        }
    }
    return &live_.emplace(item.get(), std::move(r)).first->second;
}

void AutoPlayer::Finish(ItemRecord& r) {
    done_.push_back(r);
    clickAtCatch_.erase(r.item.get());
    live_.erase(r.item.get());
}

void AutoPlayer::Observe(float dt) {
    // The player's meter takes the frame's catches and misses in the order
    // they happened, then moves as the rules say.
    for (const GameplayEvent& e : frameEvents_) {
        if (e.target == EventTarget::Prizes) {
            if (e.name == "fretclick") meter_.Add(4);
            else if (e.name == "starclick") meter_.Add(2);
            else if (e.name == "starclickfailed") meter_.Add(1);
            else if (e.name == "melodycomplete") melodies_.push_back({frame_, multBefore_});
        } else {
            if (e.name == "starfail") meter_.RemoveOldest(2);
            else if (e.name == "fretfail") meter_.RemoveOldest(4);
        }
    }
    meter_.Step(dt, GameClock);
    if (meterMismatch_.empty() && Game->Gryph && std::fabs(meter_.value - Game->Gryph->Razogrev) > 0.01f) {
        std::ostringstream text;
        text << "frame " << frame_ << " (GameClock " << GameClock << "): the highway's meter is "
             << Game->Gryph->Razogrev << ", the rules give " << meter_.value << " from " << meter_.entries.size()
             << " entries";
        meterMismatch_ = text.str();
    }

    if (Game->Gryph)
        for (const ItemPtr& item : Game->Gryph->Items) Track(item);

    std::vector<const TItem*> finished;
    for (auto& [ptr, r] : live_) {
        TItem& it = *r.item;
        if (!r.caught && it.PickUpStarted != 0) {
            // Nothing moves an item between its catch test and the end of the
            // frame, so its progress now is where it was caught.
            r.caught = true;
            r.timeAtCatch = it.time;
            r.catchFrame = frame_;
            auto click = clickAtCatch_.find(ptr);
            r.clicked = click == clickAtCatch_.end() ? -1 : click->second;
            if (NeedsClick(r.kind) && r.clicked != 1) {
                problems_.push_back(std::string(KindName(r.kind)) + " of " + std::to_string(r.chartTime) +
                                    " ms caught without a live click");
            }
        }
        if (r.caught && r.awardFrame < 0 && it.PickUpEnded != 0) {
            r.awardFrame = frame_;
            r.mult = multBefore_;
            int base = 100;
            switch (r.kind) {
                case Kind::Note: break;
                case Kind::StarredNote: base = r.clicked == 1 ? StarClickPoints(r.timeAtCatch) : 100; break;
                case Kind::Fret: base = FretPoints(r.timeAtCatch); break;
                case Kind::Bonus: base = 50; break;
            }
            if (auto* note = dynamic_cast<TNote*>(&it); note && r.longNote) {
                r.starsCollected = r.ruleStars - static_cast<int>(note->StarsList.size());
                base += 20 * r.starsCollected;
            }
            r.expectedPoints = base * r.mult;
            r.awardedPoints = it.Points;
            finished.push_back(ptr);
        } else if (!r.caught && (it.SongError != 0 || it.IsOut != 0)) {
            r.missed = true;
            finished.push_back(ptr);
            // Bonus items are left alone while notes are let pass.
            if (Letting(r) || (r.kind == Kind::Bonus && !toMiss_.empty())) continue;
            std::ostringstream text;
            text << "missed " << KindName(r.kind) << " of " << r.chartTime << " ms on line " << r.line
                 << " (catcher on line " << (Bat ? Bat->LineNum : -1) << ")";
            problems_.push_back(text.str());
        }
    }
    for (const TItem* ptr : finished) Finish(live_.at(ptr));
    multBefore_ = MultiplierFor(meter_.value);
}

float AutoPlayer::MsToWindow(const TItem& item) {
    return (kWindowOpen - item.time) * 30.0f / item.SpeedCoef;
}

bool AutoPlayer::Letting(const ItemRecord& r) const { return IsNote(r.kind) && toMiss_.count(r.chartTime) != 0; }

bool AutoPlayer::ClickLiveIn(float ahead) const {
    if (buttonDown_) return true;  // a press on its way to the highway
    const TGryph& g = *Game->Gryph;
    if (g.MouseDowned == 1) return true;
    return g.MouseUppTime > 0 && GameClock + ahead - static_cast<float>(g.MouseUppTime) < kClickLiveMs;
}

void AutoPlayer::Decide() {
    if (!Game || !Game->Gryph || !Bat) return;
    Steer();
    Click();
}

void AutoPlayer::Steer() {
    int targetLine = -1;
    // A held long note keeps the catcher on its line until its tail has passed.
    for (const auto& [ptr, r] : live_)
        if (r.caught && r.awardFrame < 0 && r.longNote) targetLine = r.line;
    if (targetLine < 0) {
        const ItemRecord* note = nullptr;
        const ItemRecord* bonus = nullptr;
        for (const auto& [ptr, r] : live_) {
            if (r.caught || r.missed || r.item->time >= kWindowClose || Letting(r)) continue;
            if (IsNote(r.kind)) {
                if (!note || MsToWindow(*r.item) < MsToWindow(*note->item)) note = &r;
            } else if (r.kind == Kind::Bonus && toMiss_.empty()) {
                if (!bonus || MsToWindow(*r.item) < MsToWindow(*bonus->item)) bonus = &r;
            }
        }
        // A bonus item only when it is on the way or well ahead of the next note.
        if (bonus && (!note || bonus->line == note->line ||
                      MsToWindow(*bonus->item) + kBonusDetourMs < MsToWindow(*note->item)))
            targetLine = bonus->line;
        else if (note)
            targetLine = note->line;
    }
    if (targetLine < 0) return;
    float mx = Bat->mx;
    if (TBat::LineForX(mx) == targetLine) return;
    // The catcher adds the mouse's movement, amplified, to its target x on its
    // next update.
    const int dx = static_cast<int>(std::lround((kLineTargetX[targetLine] - Bat->mx) / kMouseGain));
    InjectMouseMotion(dx, 0);
}

void AutoPlayer::Click() {
    if (buttonDown_) {
        // A short tap: released on the frame after the press.
        if (pressFrame_ < frame_) {
            InjectMouseButton(1, false);
            buttonDown_ = false;
            releaseFrame_ = frame_;
        }
        return;
    }
    // The highway must see the button up before a new press counts.
    if (releaseFrame_ == frame_) return;
    const ItemRecord* next = nullptr;
    for (const auto& [ptr, r] : live_) {
        if (!NeedsClick(r.kind) || r.caught || r.missed || r.item->time >= kWindowClose) continue;
        if (!next || MsToWindow(*r.item) < MsToWindow(*next->item)) next = &r;
    }
    if (!next) return;
    const float ahead = MsToWindow(*next->item);
    if (ahead > kPressLeadFrames * FRAME_MS) return;
    // A note caught before it would use the click up: wait until it is taken.
    for (const auto& [ptr, r] : live_) {
        if (r.kind != Kind::Note || r.caught || r.missed || r.item->time >= kWindowClose || Letting(r)) continue;
        if (MsToWindow(*r.item) < ahead) return;
    }
    if (ClickLiveIn(std::max(ahead, 0.0f) + FRAME_MS)) return;
    InjectMouseButton(1, true);
    buttonDown_ = true;
    pressFrame_ = frame_;
}

int AutoPlayer::ExpectedPoints(const std::vector<int>& melodySizes) const {
    int sum = 0;
    for (const ItemRecord& r : done_)
        if (r.caught) sum += r.expectedPoints;
    const size_t n = std::min(melodySizes.size(), melodies_.size());
    for (size_t k = 0; k < n; ++k) sum += MelodyPoints(melodySizes[k]) * melodies_[k].mult;
    return sum;
}
