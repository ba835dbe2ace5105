#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MidiBuilder.h"
#include "app/Globals.h"
#include "gui/TWidgetmanager.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "app/TApp.h"
#include "core/GameClock.h"
#include "game/GameGlobals.h"
#include "core/QuitRequest.h"
#include "game/TGame.h"
#include "game/TGryph.h"
#include "game/TLevelStat.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/OggEncoder.h"
#include "media/System.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A quiet stereo track of the given length.
std::vector<uint8_t> OggOf(int ms) {
    std::vector<float> pcm(static_cast<size_t>(44100 * ms / 1000) * 2, 0.0f);
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_TRUE(EncodeOggVorbis(pcm.data(), pcm.size() / 2, OggEncodeSettings{}, out, &error)) << error;
    return out;
}

// What a song folder holds for one case: the file's bytes, or absent.
enum class Part { Good, Missing, Garbage };

class GameStartTest : public ::testing::Test {
protected:
    fs::path songs;
    std::shared_ptr<TGame> game;

    void SetUp() override {
        WidgetManager = std::make_shared<TWidgetmanager>();
        UseDrivenClock(1000);
        UseSilentMixer();
        SetNotifyBoxesEnabled(false);
        songs = TestTempPath("songs");
        fs::create_directories(songs);
        TGryph::SongsFolder = songs.string() + "/";
        game = std::make_shared<TGame>();
        game->Resize(0, 0, 800, 600);
        WidgetManager->AddWidget(game);
        game->SetHided(1);
        // The skin counts as loaded already: these tests are about the song.
        CurrentSkin = "test-skin";
        game->LevelInfo = Level(7, "song");
        LevelInfoList = {game->LevelInfo, Level(8, "next")};
    }
    void TearDown() override {
        game->StopGame(0);
        WidgetManager->RemoveWidget(game);
        game.reset();
        LevelInfoList.clear();
        CurrentSkin.clear();
        TGryph::SongsFolder = "media/songs/";
        fs::remove_all(songs);
        UseRealClock();
    }
    static LevelInfoPtr Level(int id, const std::string& song) {
        auto info = std::make_shared<TLevelInfo>();
        info->id = id;
        info->song = song;
        info->Skin = "test-skin";
        info->complexity = 0;
        info->speed = 1;
        return info;
    }
    void MakeSong(const std::string& name, Part chart, Part guitar, Part band, int trackMs = 300,
                  const midi_test::Chart& notes = midi_test::Chart().Note(100, 86, 80)) {
        const fs::path dir = songs / name;
        fs::create_directories(dir);
        auto put = [&](const char* file, Part part, const std::vector<uint8_t>& good) {
            if (part == Part::Good) WriteBytes(dir / file, good);
            if (part == Part::Garbage) WriteBytes(dir / file, std::vector<uint8_t>(64, 0x5A));
        };
        put("notes.mid", chart, notes.Build());
        put("guitar.ogg", guitar, OggOf(trackMs));
        put("song.ogg", band, OggOf(trackMs));
    }
    // Runs frames of 17 ms through the widget manager, as the main loop does.
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            AdvanceClock(17);
            GameClock += 17;
            WidgetManager->Update(1);
            AudioUpdate();
        }
    }
};

TEST_F(GameStartTest, UnplayableSongIsNotStartedAndNamesTheFile) {
    const struct {
        Part chart, guitar, band;
        const char* named;
    } cases[] = {
        {Part::Missing, Part::Good, Part::Good, "notes.mid"},
        {Part::Garbage, Part::Good, Part::Good, "notes.mid"},
        {Part::Good, Part::Missing, Part::Good, "guitar.ogg"},
        {Part::Good, Part::Garbage, Part::Good, "guitar.ogg"},
        {Part::Good, Part::Good, Part::Missing, "song.ogg"},
        {Part::Good, Part::Good, Part::Garbage, "song.ogg"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        const std::string song = "bad" + std::to_string(n++);
        MakeSong(song, c.chart, c.guitar, c.band);
        game->LevelInfo = Level(7, song);
        testing::internal::CaptureStderr();
        EXPECT_EQ(game->StartLevel(0), -1);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find(c.named), std::string::npos) << told;
        // Nothing runs: no chart, no music, the play screen hidden again.
        EXPECT_EQ(game->Gryph->MIDI, nullptr);
        EXPECT_TRUE(!game->Gryph->GuitarChannel || game->Gryph->GuitarChannel->Playing() == 0);
        EXPECT_TRUE(!game->Gryph->SongChannel || game->Gryph->SongChannel->Playing() == 0);
        EXPECT_EQ(game->Visible, 0);
        Frames(5);  // and frames go on without a level
        EXPECT_EQ(game->CompletedLevels, 0);
    }
    // The game is still usable: a good song starts afterwards.
    MakeSong("good", Part::Good, Part::Good, Part::Good);
    game->LevelInfo = Level(7, "good");
    ASSERT_EQ(game->StartLevel(0), 0);
    EXPECT_EQ(game->Visible, 1);
    EXPECT_EQ(game->Gryph->SongChannel->Playing(), 1);
    EXPECT_EQ(game->Gryph->GuitarChannel->Playing(), 1);
}

TEST_F(GameStartTest, LevelMissingFromTheTableIsNotStarted) {
    game->LevelInfo = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(game->StartLevel(0), -1);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    EXPECT_EQ(game->Visible, 0);
    // Moving on from the last level of the table behaves the same way.
    MakeSong("song", Part::Good, Part::Good, Part::Good);
    game->LevelInfo = Level(8, "song");
    ASSERT_EQ(game->StartLevel(0), 0);
    testing::internal::CaptureStderr();
    game->StartNextLevel();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(game->Gryph->MIDI, nullptr);
    EXPECT_EQ(game->Visible, 0);
}

TEST_F(GameStartTest, ReplayReusesTheDecodedTracks) {
    MakeSong("song", Part::Good, Part::Good, Part::Good);
    ASSERT_EQ(game->StartLevel(0), 0);
    const SoundPtr guitar = game->Gryph->GuitarSound;
    // Gone from disk: a replay must not need the files again.
    fs::remove(songs / "song" / "guitar.ogg");
    game->ReplayGame();
    EXPECT_EQ(game->Gryph->GuitarSound, guitar);
    EXPECT_EQ(game->Gryph->GuitarChannel->Playing(), 1);
    // A fresh start reads them and so finds the file missing.
    testing::internal::CaptureStderr();
    EXPECT_EQ(game->StartLevel(0), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("guitar.ogg"), std::string::npos);
}

// The fatal content errors end the program through the one way out: the
// player is told, the quit is asked for with exit code 1, and nothing plays.
TEST_F(GameStartTest, LevelWithoutSkinEndsTheProgram) {
    game->LevelInfo->Skin.clear();
    testing::internal::CaptureStderr();
    EXPECT_EQ(game->StartLevel(0), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Skin is not set for the this level: 7"), std::string::npos);
    EXPECT_TRUE(QuitRequested());
    EXPECT_EQ(QuitExitCode(), 1);
    EXPECT_EQ(game->Visible, 0);
    EXPECT_FALSE(game->Gryph->SongChannel);
    ClearQuitRequest();
}

TEST_F(GameStartTest, SkinWithoutEyePositionsEndsTheProgram) {
    const fs::path skins = songs / "skins.xml";
    Spit(skins, "<skins><skin id=\"lagoon\" glaz1_1=\"1 2\" glaz1_2=\"3 4\" glaz2_1=\"5 6\" glaz2_2=\"7 8\"/></skins>");
    TGryph::SkinsFile = skins.string();
    EXPECT_EQ(game->Gryph->LoadGlazPos("lagoon"), 0);
    EXPECT_FLOAT_EQ(game->Gryph->GLaz2_2->x, 7);
    EXPECT_FLOAT_EQ(game->Gryph->GLaz2_2->y, 8);
    EXPECT_FALSE(QuitRequested());
    testing::internal::CaptureStderr();
    EXPECT_EQ(game->Gryph->LoadGlazPos("volcano"), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Not found glaz position for skin: volcano in " +
                                                          skins.string()),
              std::string::npos);
    EXPECT_TRUE(QuitRequested());
    EXPECT_EQ(QuitExitCode(), 1);
    ClearQuitRequest();
    // A level on that skin does not start.
    game->LevelInfo->Skin = "volcano";
    CurrentSkin.clear();
    testing::internal::CaptureStderr();
    EXPECT_EQ(game->StartLevel(0), -1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(QuitExitCode(), 1);
    EXPECT_EQ(game->Visible, 0);
    ClearQuitRequest();
    TGryph::SkinsFile = "media/skins.xml";
}

// A skins file that is not XML at all (emptied, overwritten) ends the program
// as a missing skin does, but the message names the file to restore.
TEST_F(GameStartTest, UnreadableSkinsFileIsNamedWhenItEndsTheProgram) {
    for (const char* content : {"", "\x1f\x8b garbage"}) {
        const fs::path skins = songs / "skins.xml";
        Spit(skins, content);
        TGryph::SkinsFile = skins.string();
        testing::internal::CaptureStderr();
        EXPECT_EQ(game->Gryph->LoadGlazPos("lagoon"), -1);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find("Not found glaz position for skin: lagoon"), std::string::npos) << told;
        EXPECT_NE(told.find(skins.string() + " cannot be read"), std::string::npos) << told;
        EXPECT_EQ(QuitExitCode(), 1);
        ClearQuitRequest();
    }
    TGryph::SkinsFile = "media/skins.xml";
}

}  // namespace
