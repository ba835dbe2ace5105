// A level of the built game while the player's desktop does things to its
// window: minimised and restored, switched to full screen and back. The pause
// menu comes up while the window is away and the music waits with the level;
// the display made again keeps every picture and font of the game as it drew
// them before; and the level still plays to its end with every note caught
// and the tracks in step with the chart.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "../media/GraphicsTestSupport.h"
#include "content/ResourceCatalogue.h"
#include "core/GameClock.h"
#include "game/AutoPlayer.h"
#include "game/BuiltGameStart.h"
#include "game/GameGlobals.h"
#include "game/GameplayEvents.h"
#include "game/LevelHooks.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TLevelInfo.h"
#include "game/TLevelStat.h"
#include "gui/TWidgetmanager.h"
#include "media/Audio.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "progress/TOptions.h"
#include "screens/TInGameMenu.h"

namespace fs = std::filesystem;

namespace {

// Each picture and font of the loaded resource groups drawn alone into a
// cleared frame, one fingerprint of the whole frame each.
std::vector<uint64_t> DrawnResources() {
    auto fingerprint = [] {
        const PicturePtr frame = GrabFrame();
        uint64_t h = 1469598103934665603ull;
        if (!frame) return h;
        for (int y = 0; y < frame->Height(); ++y)
            for (int x = 0; x < frame->Width(); ++x) h = (h ^ frame->ReadPixel(x, y)) * 1099511628211ull;
        return h;
    };
    std::vector<uint64_t> prints;
    for (const ResourceGroup* group : {&InitGroup(), &ZarGroup(), &MenuGroup(), &GryphGroup(), &SkinGroup()}) {
        for (const auto& e : group->images) {
            if (!*e.global) continue;
            gfxtest::ResetDrawState();
            Cls();
            DrawImage(*e.global, 200, 150, 0);
            prints.push_back(fingerprint());
        }
        for (const auto& e : group->fonts) {
            if (!*e.global) continue;
            gfxtest::ResetDrawState();
            Cls();
            SetFont(*e.global);
            DrawText("Totem Riff 0123456789", 20, 20);
            prints.push_back(fingerprint());
        }
    }
    gfxtest::ResetDrawState();
    return prints;
}

std::shared_ptr<TInGameMenu> OpenMenu() {
    for (const WidgetPtr& w : WidgetManager->WidgetsList)
        if (auto m = std::dynamic_pointer_cast<TInGameMenu>(w)) return m;
    return nullptr;
}

class LevelWindowChanges : public builtgame::LevelSuite<::testing::Test> {
protected:
    // The player clicks a button of the pause menu, with the frames a click
    // takes: each frame's poll comes after its update, so the release is
    // acted on by the frame after it.
    static void Click(AutoPlayer& player, const TWidget& w) {
        InjectMouseMove(int(w._x) + w._width / 2, int(w._y) + w._height / 2);
        player.Frame(false);
        InjectMouseButton(1, true);
        player.Frame(false);
        InjectMouseButton(1, false);
        player.Frame(false);
        player.Frame(false);
    }
};

TEST_F(LevelWindowChanges, MinimiseRestoreAndFullScreenKeepThePicturesAndTheMusic) {
    const LevelInfoPtr level = GetLevelById(1);
    ASSERT_TRUE(level);
    ClearGameplayEvents();
    AutoPlayer player;
    Game->LevelInfo = level;
    ASSERT_EQ(Game->StartLevel(0), 0);
    player.Begin();
    TGryph& gryph = *Game->Gryph;
    for (int i = 0; i < 300; ++i) player.Frame();
    ASSERT_EQ(gryph.SongChannel->Playing(), 1);

    // Minimised: the pause menu is up at once and nothing of the level moves.
    // The frame's poll takes the desktop's word, the next update acts on it.
    InjectMinimized(true);
    player.Frame(false);
    player.Frame(false);
    const auto menu = OpenMenu();
    ASSERT_TRUE(menu) << "the pause menu opens while the window is away";
    EXPECT_EQ(Game->GamePaused, 1);
    const int32_t songTime = gryph.SongTime;
    const int64_t song = gryph.SongChannel->Position(), guitar = gryph.GuitarChannel->Position();
    for (int i = 0; i < 240; ++i) player.Frame(false);
    EXPECT_EQ(gryph.SongTime, songTime);
    EXPECT_EQ(gryph.SongChannel->Position(), song);
    EXPECT_EQ(gryph.GuitarChannel->Position(), guitar);

    // Restored: the menu waits for the player, who resumes from where it stopped.
    InjectMinimized(false);
    player.Frame(false);
    player.Frame(false);
    EXPECT_EQ(AppSuspended(), 0);
    ASSERT_TRUE(OpenMenu()) << "the level does not run on before the player is back";
    Click(player, *menu->BUTTON_RESUME);
    EXPECT_FALSE(OpenMenu());
    EXPECT_EQ(Game->GamePaused, 0);
    EXPECT_EQ(gryph.SongChannel->Playing(), 1);
    EXPECT_LE(gryph.SongTime - songTime, 3 * AutoPlayer::FRAME_MS);
    for (int i = 0; i < 300; ++i) player.Frame();

    // Full screen and back, as the options do, while the tracks play.
    const std::vector<uint64_t> before = DrawnResources();
    ASSERT_GT(before.size(), 50u) << "the menu, play and skin pictures are loaded";
    // Frames that all came out blank would compare equal too.
    EXPECT_GT(std::set<uint64_t>(before.begin(), before.end()).size(), before.size() * 3 / 4);
    ASSERT_TRUE(TOptions::SetFullScreen());
    for (int i = 0; i < 120; ++i) player.Frame();
    EXPECT_FALSE(OpenMenu());
    EXPECT_EQ(gryph.SongChannel->Playing(), 1) << "the music plays on through the switch";
    ASSERT_TRUE(TOptions::SetWindowed());
    for (int i = 0; i < 120; ++i) player.Frame();
    const std::vector<uint64_t> after = DrawnResources();
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    EXPECT_EQ(changed, 0) << "of " << before.size() << " pictures and fonts";

    // And the level plays to its end as if nothing had happened.
    ASSERT_TRUE(player.PlayToEnd(20000));
    for (const std::string& p : player.Problems()) ADD_FAILURE() << p;
    EXPECT_EQ(CountGameplayEvents(EventTarget::Prizes, "notefail"), 0);
    ASSERT_TRUE(CurrentLevelStat);
    EXPECT_EQ(CurrentLevelStat->NotesCount, CurrentLevelStat->NotesAll);
    EXPECT_LE(player.WorstTrackDriftMs(), AutoPlayer::FRAME_MS);
    EXPECT_FALSE(player.TracksApart());
    Game->StopGame(0);
}

}  // namespace
