// A player's whole journey through the built game, on a real window system:
// the first start that asks for a name, the story map, a level played to its
// results and on to the next, the pause menu with its help pages, the way
// back to the map, the options, the profiles, and the end of the story. Each
// case starts from a fresh copy of the runtime folder with the test option's
// fast level on, so levels play themselves several times faster than real
// time; everything else is the game as a player has it. Each step looks at
// the screen where it matters and at the files the game keeps.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "display/JourneyDriver.h"
#include "progress/ProgressGlobals.h"

namespace {

// The story map's first markers (top-left corners) and the last one.
struct Marker {
    int x, y;
};
constexpr Marker kMarkers[] = {{274, 364}, {305, 353}, {345, 327}, {388, 282}};
constexpr Marker kLastMarker = {469, 215};
// Where the main menu writes the profile's name, once its frame has landed,
// and the line of text under it.
constexpr int kNameX = 255, kNameY = 475, kNameW = 300, kNameH = 20;
// The profile link, once the menu has landed.
constexpr int kProfileLinkX = 405, kProfileLinkY = 530;
// Where the pointer rests when it must not hover over anything that lights up.
constexpr int kRestX = 790, kRestY = 590;
// An image counts as shown when nearly all its opaque pixels are on screen.
constexpr float kShown = 0.9f;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string s;
    for (uint8_t b : bytes) {
        if (!s.empty()) s += ' ';
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

// "Level N complete: P points, accuracy A, stars S": S.
int StarsOf(const std::string& line) {
    const size_t at = line.rfind("stars ");
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + 6);
}

class Journey : public testing::Test {
protected:
    std::unique_ptr<JourneyDriver> d;

    void SetUp() override {
        const std::string why = GameOnDisplay::WhyNotHere();
        if (!why.empty()) GTEST_SKIP() << why;
        d = std::make_unique<JourneyDriver>();
        std::string problem;
        ASSERT_TRUE(d->Prepare(problem)) << problem;
    }

    void Start() {
        std::string problem;
        ASSERT_TRUE(d->Start(problem)) << problem;
    }

    void Restart() {
        std::string problem;
        ASSERT_TRUE(d->Restart(problem)) << problem;
    }

    // Waits until `ready` holds for a shot, looking every 200 ms; the last shot.
    template <class Ready>
    WindowShot WaitShot(Ready ready, int timeoutMs = JourneyDriver::kScreenWaitMs) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        WindowShot shot;
        do {
            shot = d->Shot();
            if (!shot.Empty() && ready(shot)) break;
            Sleep(200);
        } while (std::chrono::steady_clock::now() < until);
        return shot;
    }

    // The main menu has landed: its frame in place and its five buttons at
    // home, in two shots a moment apart (the buttons wobble as they land).
    void SettledMenu(WindowShot& menu) {
        const PicturePtr frame = d->Picture("IMAGE_MENU_FRAME");
        ASSERT_TRUE(frame);
        auto landed = [&](const WindowShot& shot) {
            if (d->Shows(shot, "IMAGE_MENU_FRAME", 400 - frame->Width() / 2, 165) < 0.5f) return false;
            for (const char* button : {"mode1", "options", "scores", "help", "quit"})
                if (d->ButtonShows(shot, "window_main_menu", button) < kShown) return false;
            return true;
        };
        bool before = false;
        menu = WaitShot([&](const WindowShot& shot) {
            const bool now = landed(shot);
            const bool both = before && now;
            before = now;
            return both;
        });
        ASSERT_TRUE(landed(menu)) << "the main menu did not land (" << JourneyDriver::Keep(menu, "menu") << ")";
    }

    // The first start: the name box, "Ann", Enter, the menu.
    void NameFirstProfile(const std::string& name) {
        ASSERT_TRUE(d->WaitOpen("window_inputbox", 0)) << "no name was asked for";
        const size_t mark = d->Mark();
        ASSERT_TRUE(d->Type(name));
        ASSERT_TRUE(d->Tap("Return"));
        ASSERT_TRUE(d->WaitClosed("window_inputbox", mark)) << "Enter did not close the name box";
    }

    // The share of the marker's own picture on screen.
    float MarkerShows(const WindowShot& shot, const std::string& image, const Marker& m) {
        const PicturePtr point = d->Picture("IMAGE_STORY_POINT");
        if (!point) return 0;
        return d->Shows(shot, image, m.x + point->Width() / 2, m.y + point->Height() / 2);
    }

    // Which of the marker pictures (the next level's star, an open level, a
    // locked one) a marker shows best; empty when none shows well. The small
    // stars drawn over open markers hide a part of them.
    std::string MarkerLook(const WindowShot& shot, const Marker& m) {
        std::string best;
        float bestShown = 0.6f;
        for (const char* image : {"IMAGE_STORY_STAR", "IMAGE_STORY_POINT", "IMAGE_STORY_LOCKED"}) {
            const float shown = MarkerShows(shot, image, m);
            if (shown > bestShown) {
                best = image;
                bestShown = shown;
            }
        }
        return best;
    }

    // The story map from the main menu, the pointer off the markers.
    void OpenMap(WindowShot& map) {
        const size_t mark = d->Mark();
        ASSERT_TRUE(d->ClickButton("window_main_menu", "mode1"));
        ASSERT_TRUE(d->WaitOpen("window_storymenu", mark)) << "the story map did not open";
        d->Display().PointAt(kRestX, kRestY);
        map = WaitShot([&](const WindowShot& shot) { return !MarkerLook(shot, kMarkers[0]).empty(); }, 10000);
    }

    // Clicks a marker and waits for its level to end: the results' line.
    void PlayFromMarker(const Marker& m, int level, std::string& result) {
        const size_t mark = d->Mark();
        const PicturePtr point = d->Picture("IMAGE_STORY_POINT");
        ASSERT_TRUE(point && d->ClickAt(m.x + point->Width() / 2, m.y + point->Height() / 2));
        ASSERT_TRUE(d->Wait("level " + std::to_string(level) + " playing", mark)) << "level " << level
                                                                                    << " did not start";
        const auto done =
            d->Wait("Level " + std::to_string(level) + " complete: ", mark, JourneyDriver::kLevelWaitMs, true);
        ASSERT_TRUE(done) << "level " << level << " did not end";
        ASSERT_TRUE(d->WaitOpen("window_levelcomplete", mark)) << "no results";
        result = *done;
    }

    // How many of the results' three stars are lit.
    int LitResultStars(const WindowShot& shot) {
        static constexpr Marker kStars[3] = {{197, 408}, {240, 405}, {283, 410}};
        int lit = 0;
        for (const Marker& s : kStars) {
            int x = 0, y = 0;
            d->InWindow("window_levelcomplete", s.x, s.y, x, y);
            if (d->Shows(shot, "IMAGE_RESULT_STAR", x, y) > kShown) ++lit;
            else if (d->Shows(shot, "IMAGE_RESULT_STAR_EMPTHY", x, y) <= kShown) return -1;  // neither
        }
        return lit;
    }

    // The help page the help dialog shows, 1–6; 0 when none is.
    int HelpPage(const WindowShot& shot) {
        const PicturePtr first = d->Picture("IMAGE_HELP_01");
        if (!first) return 0;
        int x = 0, y = 0;
        d->InWindow("window_help", (640 - first->Width()) / 2, 110, x, y);
        for (int page = 1; page <= 6; ++page)
            if (d->Shows(shot, "IMAGE_HELP_0" + std::to_string(page), x, y) > kShown) return page;
        return 0;
    }

    void ExpectProfiles(const std::vector<std::string>& names, const std::string& current) {
        std::vector<UserPtr> users;
        UserPtr now;
        std::string error;
        ASSERT_TRUE(d->ReadProfiles(users, now, error)) << error;
        std::vector<std::string> read;
        for (const UserPtr& u : users) read.push_back(u->name);
        EXPECT_EQ(read, names);
        ASSERT_TRUE(now);
        EXPECT_EQ(now->name, current);
    }

    GameDataPtr ProfileData() {
        std::vector<UserPtr> users;
        UserPtr now;
        std::string error;
        EXPECT_TRUE(d->ReadProfiles(users, now, error)) << error;
        return now ? now->GameData : nullptr;
    }
};

// A first start asks for a name; the menu then greets the new profile, which
// is on disk at once.
TEST_F(Journey, AFirstStartAsksForANameAndTheMenuShowsIt) {
    ASSERT_FALSE(d->Exists("User.dat"));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(NameFirstProfile("Ann"));
    WindowShot menu;
    ASSERT_NO_FATAL_FAILURE(SettledMenu(menu));
    // The name line is drawn over the menu's frame: where the frame's own
    // picture shows through unchanged, nothing is written.
    const PicturePtr frame = d->Picture("IMAGE_MENU_FRAME");
    ASSERT_TRUE(frame);
    const float frameShown = d->Shows(menu, "IMAGE_MENU_FRAME", 400 - frame->Width() / 2, 165);
    EXPECT_GT(frameShown, 0.5f) << "the menu's frame has not landed (" << JourneyDriver::Keep(menu, "menu") << ")";
    EXPECT_LT(frameShown, 1.0f);
    int written = 0;
    for (int y = kNameY; y < kNameY + kNameH; ++y)
        for (int x = kNameX; x < kNameX + kNameW; ++x) {
            const uint32_t argb = frame->ReadPixel(x - (400 - frame->Width() / 2), y - 165);
            if ((argb >> 24) == 0xFF && JourneyDriver::At(menu, x, y) != (argb & 0xFFFFFF)) ++written;
        }
    EXPECT_GT(written, 40) << "no name is written on the menu (" << JourneyDriver::Keep(menu, "menu") << ")";
    ExpectProfiles({"Ann"}, "Ann");
    const GameDataPtr data = ProfileData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->CurrentLevel, 1);
}

// The map opens with level 1 alone; it plays to its results, which count up
// to the stars the level earned, and "next" starts level 2. Escape there
// opens the pause menu, whose help turns six pages; "resume" plays on, and
// "exit_to_menu" leads back to the menu, and from there to a map that shows
// level 1's stars, level 2 as the next to play and level 3 locked.
TEST_F(Journey, TheFirstLevelFromTheMapThenThePauseMenuAndBackToTheMap) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(NameFirstProfile("Ann"));
    WindowShot map;
    ASSERT_NO_FATAL_FAILURE(SettledMenu(map));
    ASSERT_NO_FATAL_FAILURE(OpenMap(map));
    EXPECT_EQ(MarkerLook(map, kMarkers[0]), "IMAGE_STORY_STAR")
        << "level 1 is not the next to play (" << JourneyDriver::Keep(map, "map_first") << ")";
    for (int i = 1; i < 4; ++i) EXPECT_EQ(MarkerLook(map, kMarkers[i]), "IMAGE_STORY_LOCKED") << "marker " << i + 1;

    std::string result;
    ASSERT_NO_FATAL_FAILURE(PlayFromMarker(kMarkers[0], 1, result));
    const int stars = StarsOf(result);
    ASSERT_GE(stars, 1) << result;
    // The count-up ends with the earned stars lit; it starts with none.
    const WindowShot counted = WaitShot([&](const WindowShot& s) { return LitResultStars(s) == stars; });
    EXPECT_EQ(LitResultStars(counted), stars) << JourneyDriver::Keep(counted, "results");
    const GameDataPtr data = ProfileData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->CurrentLevel, 2);
    EXPECT_EQ(data->GetLevelStars(1), stars);

    size_t mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_levelcomplete", "next"));
    ASSERT_TRUE(d->Wait("level 2 playing", mark)) << "\"next\" did not start level 2";

    // The pause menu and its help.
    mark = d->Mark();
    ASSERT_TRUE(d->Tap("Escape"));
    ASSERT_TRUE(d->WaitOpen("window_ingamemenu", mark)) << "Escape did not open the pause menu";
    ASSERT_TRUE(d->Wait("paused", mark));
    mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_ingamemenu", "help"));
    ASSERT_TRUE(d->WaitOpen("window_help", mark));
    for (int page = 1; page <= 6; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const WindowShot shot = WaitShot([&](const WindowShot& s) { return HelpPage(s) == page; }, 10000);
        ASSERT_EQ(HelpPage(shot), page) << JourneyDriver::Keep(shot, "help");
        if (page < 6) {
            ASSERT_TRUE(d->ClickButton("window_help", "right"));
        }
    }
    mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_help", "ok"));
    ASSERT_TRUE(d->WaitClosed("window_help", mark));
    ASSERT_TRUE(d->ClickButton("window_ingamemenu", "resume"));
    ASSERT_TRUE(d->Wait("resumed", mark)) << "\"resume\" did not play on";
    ASSERT_TRUE(d->WaitClosed("window_ingamemenu", mark));

    // Out to the menu and back to the map.
    mark = d->Mark();
    ASSERT_TRUE(d->Tap("Escape"));
    ASSERT_TRUE(d->WaitOpen("window_ingamemenu", mark));
    mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_ingamemenu", "exit_to_menu"));
    ASSERT_TRUE(d->WaitOpen("window_main_menu", mark)) << "\"exit_to_menu\" did not show the main menu";
    ASSERT_NO_FATAL_FAILURE(SettledMenu(map));
    ASSERT_NO_FATAL_FAILURE(OpenMap(map));
    const std::string kept = JourneyDriver::Keep(map, "map_after");
    EXPECT_EQ(MarkerLook(map, kMarkers[0]), "IMAGE_STORY_POINT") << kept;
    EXPECT_EQ(MarkerLook(map, kMarkers[1]), "IMAGE_STORY_STAR") << "level 2 is not the next: " << kept;
    EXPECT_EQ(MarkerLook(map, kMarkers[2]), "IMAGE_STORY_LOCKED") << "level 3 is open: " << kept;
    // A marker's three small stars: earned ones opaque, the others half
    // transparent. Level 1 has `stars`, level 2 none.
    const PicturePtr point = d->Picture("IMAGE_STORY_POINT");
    ASSERT_TRUE(point);
    for (int level : {1, 2}) {
        const Marker m = kMarkers[level - 1];
        const int cx = m.x + point->Width() / 2, cy = m.y + point->Height() / 2;
        const int earned = level == 1 ? stars : 0;
        const Marker offsets[3] = {{-12, -7}, {-2, -10}, {8, -7}};
        for (int k = 0; k < 3; ++k) {
            const float shown = d->Shows(map, "IMAGE_STORY_LEVELSTAR", cx + offsets[k].x, cy + offsets[k].y);
            if (k < earned) EXPECT_GT(shown, 0.6f) << "level " << level << " star " << k + 1 << ": " << kept;
            else EXPECT_LT(shown, 0.3f) << "level " << level << " star " << k + 1 << ": " << kept;
        }
    }
}

// The options: the volume slider pushed to its left end and full screen
// off, confirmed, are five zero bytes on disk; the next start is windowed and
// silent.
TEST_F(Journey, OptionsTurnTheSoundOffAndTheGameIntoAWindow) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(NameFirstProfile("Ann"));
    WindowShot fullScreen;
    ASSERT_NO_FATAL_FAILURE(SettledMenu(fullScreen));
    EXPECT_EQ(Hex(d->Bytes("options.dat")), "00 00 00 3f 01") << "a first start writes the default options";

    size_t mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_main_menu", "options"));
    ASSERT_TRUE(d->WaitOpen("window_options", mark));
    // The slider: held a pixel or two from the left end of its track, where
    // the value is below 0.03 (the slider's marker sticks out half its width
    // to the left of the track and the value counts from half of that).
    const PicturePtr track = d->Picture("IMAGE_FORMS_SCROLL_EMPTY");
    const PicturePtr marker = d->Picture("IMAGE_FORMS_SCROLL_MARKER");
    ASSERT_TRUE(track && marker);
    const int lean = marker->Width() / 2;
    int x = 0, y = 0;
    ASSERT_TRUE(d->InWindow("window_options", 60 - lean + (lean + 1) / 2 + 2, 130 + track->Height() / 2, x, y));
    ASSERT_LT(3.0f / static_cast<float>(track->Width()), 0.03f);
    ASSERT_TRUE(d->ClickAt(x, y));
    // The full-screen box.
    const PicturePtr box = d->Picture("IMAGE_FORMS_CHECKBOX_ON");
    ASSERT_TRUE(box);
    ASSERT_TRUE(d->InWindow("window_options", 60 + box->Width() / 2, 190 + box->Height() / 2, x, y));
    ASSERT_TRUE(d->ClickAt(x, y));
    mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_options", "ok"));
    ASSERT_TRUE(d->WaitClosed("window_options", mark));
    EXPECT_EQ(Hex(d->Bytes("options.dat")), "00 00 00 00 00");

    ASSERT_NO_FATAL_FAILURE(Restart());
    const WindowShot windowed = d->Shot();
    EXPECT_EQ(fullScreen.width, 1024) << "the first start is full screen on the test's 1024 × 768 screen";
    EXPECT_EQ(windowed.width, 800);
    EXPECT_EQ(windowed.height, 600);
    EXPECT_TRUE(d->Wait("options: sound volume 0, full screen 0", 0, 0)) << "the start-up did not read the options";
}

// The profile dialog: a new profile "Bo", then "Ann" selected and deleted
// with the confirmation; after a restart "Bo" is the profile greeted.
TEST_F(Journey, ANewProfileAndTheOldOneDeleted) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(NameFirstProfile("Ann"));
    WindowShot ann;
    ASSERT_NO_FATAL_FAILURE(SettledMenu(ann));

    size_t mark = d->Mark();
    ASSERT_TRUE(d->ClickAt(kProfileLinkX, kProfileLinkY));
    // The Enter that named the first profile must not close the profiles
    // as they open.
    ASSERT_TRUE(d->WaitOpen("window_users", mark))
        << "the profile link did not open the profiles (" << JourneyDriver::Keep(d->Shot(), "profile_link") << ")";
    mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_users", "new"));
    ASSERT_TRUE(d->WaitOpen("window_inputbox", mark));
    ASSERT_TRUE(d->Type("Bo"));
    ASSERT_TRUE(d->Tap("Return"));
    ASSERT_TRUE(d->WaitClosed("window_inputbox", mark));
    ASSERT_FALSE(d->Wait("dialog window_users closed", mark, 1000)) << "the Enter for the name closed the profiles";
    ExpectProfiles({"Ann", "Bo"}, "Bo");

    // "Ann" is the first row of the list.
    int x = 0, y = 0;
    ASSERT_TRUE(d->InWindow("window_users", 94 + 40, 100 + 6, x, y));
    const size_t listed = d->Mark();
    ASSERT_TRUE(d->ClickAt(x, y));
    mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_users", "delete"));
    ASSERT_TRUE(d->WaitOpen("messagebox", mark, 10000))
        << "deleting asked nothing (" << JourneyDriver::Keep(d->Shot(), "delete") << "); the game said:"
        << d->Said(listed);
    ASSERT_TRUE(d->Tap("Return"));  // the first button: yes
    ASSERT_TRUE(d->WaitClosed("messagebox", mark));
    mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_users", "ok"));
    ASSERT_TRUE(d->WaitClosed("window_users", mark));
    ExpectProfiles({"Bo"}, "Bo");

    ASSERT_NO_FATAL_FAILURE(Restart());
    WindowShot bo;
    ASSERT_NO_FATAL_FAILURE(SettledMenu(bo));
    EXPECT_FALSE(d->Wait("dialog window_inputbox open", 0, 0)) << "a start with a profile asked for a name";
    EXPECT_GT(JourneyDriver::Differing(ann, bo, kNameX, kNameY, kNameW, kNameH), 20)
        << "the menu greets the same name (" << JourneyDriver::Keep(ann, "ann") << ", "
        << JourneyDriver::Keep(bo, "bo") << ")";
    ExpectProfiles({"Bo"}, "Bo");
}

// A profile with 27 levels behind it plays the last; its "next" is the end of
// the story, whose "ok" leads back to the map.
TEST_F(Journey, TheLastLevelEndsTheStory) {
    auto cy = std::make_shared<TUser>();
    cy->name = "Cy";
    cy->GameData->CurrentLevel = LevelCount;
    for (int level = 1; level < LevelCount; ++level) {
        cy->GameData->SetLevelStars(level, 3);
        cy->GameData->SetHiScore(level, 10000 + level);
    }
    ASSERT_TRUE(d->WriteProfiles({cy}, cy));
    ASSERT_NO_FATAL_FAILURE(Start());
    WindowShot map;
    ASSERT_NO_FATAL_FAILURE(SettledMenu(map));
    EXPECT_FALSE(d->Wait("dialog window_inputbox open", 0, 0)) << "a start with a profile asked for a name";
    ASSERT_NO_FATAL_FAILURE(OpenMap(map));
    EXPECT_EQ(MarkerLook(map, kLastMarker), "IMAGE_STORY_STAR")
        << "level 28 is not the next to play (" << JourneyDriver::Keep(map, "map_last") << ")";

    std::string result;
    ASSERT_NO_FATAL_FAILURE(PlayFromMarker(kLastMarker, LevelCount, result));
    ASSERT_GE(StarsOf(result), 1) << result;
    size_t mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_levelcomplete", "next"));
    ASSERT_TRUE(d->WaitOpen("window_gameover", mark)) << "the last level's \"next\" did not end the story";
    mark = d->Mark();
    ASSERT_TRUE(d->ClickButton("window_gameover", "ok"));
    ASSERT_TRUE(d->WaitOpen("window_storymenu", mark)) << "the end of the story did not lead back to the map";
    const GameDataPtr data = ProfileData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->CurrentLevel, LevelCount + 1);
    EXPECT_GE(data->GetLevelStars(LevelCount), 1);
}

}  // namespace
