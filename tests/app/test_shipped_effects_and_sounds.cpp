// The particle effects, their pictures and the sound effects as the built
// runtime folder ships them, loaded the way start-up loads them: through the
// resource manager, the data pack and the catalogue's globals.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ResourceCatalogue.h"
#include "content/ContentSources.h"
#include "content/DataPak.h"
#include "content/TResManager.h"
#include "content/Xml.h"
#include "fx/TEffect.h"
#include "fx/TEmitter.h"
#include "media/Audio.h"
#include "media/Clock.h"
#include "media/TStream.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

TEST(ShippedContent, ParticleEffectsPicturesAndSoundsLoadThroughTheResourceManager) {
    const fs::path game = fs::path(TOTEM_BINARY_DIR) / "game";
    if (!fs::exists(game / "media" / "data.pak") || !fs::exists(game / "media" / "sound"))
        GTEST_SKIP() << "the runtime folder is not built (content turned off)";
    const auto previous = fs::current_path();
    fs::current_path(game);
    ResetPakDirectory();
    UseSilentMixer();
    UseDrivenClock(1000);

    std::vector<std::string> fatal;
    ResourceFatal = [&](const std::string& m) { fatal.push_back(m); };
    InitGlobals();
    // Only this content's own declarations: the other resources of the scopes
    // are other areas' business.
    std::vector<ResourceFragment> fragments;
    for (const char* name : {"21-particles.xml", "45-menu-sounds.xml", "55-gryph-sounds.xml"}) {
        const fs::path p = fs::path(TOTEM_SOURCE_DIR) / "assets" / "res" / name;
        fragments.push_back({p.string(), Slurp(p)});
    }
    std::vector<std::string> problems;
    const std::string joined = JoinResourceFragments(fragments, problems);
    ASSERT_TRUE(problems.empty()) << problems.front();
    LoadResourceFile(XmlLoad(OpenMemory(std::vector<uint8_t>(joined.begin(), joined.end()), "res.xml")));
    for (const char* scope : {"Init", "Menu", "Gryph"}) ResManager->LoadScope(scope);
    EXPECT_TRUE(fatal.empty()) << fatal.front();

    for (const auto& e : InitGroup().images) {
        if (std::string(e.id).rfind("IMAGE_PARTICLE_", 0) != 0) continue;
        ImagePtr image = ResManager->GetImage(e.id);
        ASSERT_TRUE(image) << e.id;
        EXPECT_FLOAT_EQ(image->handle_x, image->width / 2.0f) << e.id << " is drawn by its centre";
        EXPECT_FLOAT_EQ(image->handle_y, image->height / 2.0f) << e.id;
    }
    for (const auto& e : InitGroup().effects) {
        SCOPED_TRACE(e.id);
        EffectPtr fx = ResManager->GetEffect(e.id);
        ASSERT_TRUE(fx);
        ASSERT_TRUE(fx->Image) << "its picture did not resolve";
        if (!fx->ChildName.empty()) {
            EXPECT_TRUE(ResolveEffect(fx->ChildName)) << "trail " << fx->ChildName;
        }
        auto emitter = TEmitter::Create(400, 300, fx);
        for (int t = 0; t < 400; t += 17) {
            AdvanceClock(17);
            emitter->Update(1);
        }
        EXPECT_GT(emitter->ParticleCount(), 0u);
    }
    for (const ResourceGroup* group : {&MenuGroup(), &GryphGroup()})
        for (const auto& e : group->sounds) {
            if (std::string(e.id) == "SOUND_MENU_BACK_SONG") continue;  // comes with the songs
            SoundPtr sound = ResManager->GetSound(e.id);
            ASSERT_TRUE(sound) << e.id;
            // Only the hold sound of a long note loops: its note stops it.
            EXPECT_EQ(sound->Loops(), std::string(e.id) == "SOUND_GRYPH_LONGNOTE") << e.id;
        }

    ResourceFatal = DefaultResourceFatal;
    UseRealClock();
    fs::current_path(previous);
}

}  // namespace
