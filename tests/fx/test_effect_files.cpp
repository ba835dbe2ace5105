// The game's particle effects as shipped: every effect the game asks for is
// declared, its file loads with the game's loader, names a declared particle
// picture, and produces visible particles; effects nobody stops end by
// themselves, effects their owners stop keep running until then.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "content/ResourceCatalogue.h"
#include "content/ContentSources.h"
#include "content/Xml.h"
#include "core/TextHelpers.h"
#include "fx/TEffect.h"
#include "fx/TEmitter.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/TStream.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

const fs::path kAssets = fs::path(TOTEM_SOURCE_DIR) / "assets";

// The declarations of the particle fragment, lower-cased id → path, by kind.
struct Declarations {
    std::map<std::string, std::string> images, effects;
    std::vector<std::string> problems;
};

Declarations ReadParticleFragment() {
    Declarations d;
    const fs::path file = kAssets / "res" / "21-particles.xml";
    const std::string joined = JoinResourceFragments({{file.string(), Slurp(file)}}, d.problems);
    XmlNode root = XmlLoad(OpenMemory(std::vector<uint8_t>(joined.begin(), joined.end()), "res.xml"));
    if (!root) {
        d.problems.push_back("the fragment does not parse");
        return d;
    }
    for (sdXMLnode* group = root->firstchild; group; group = group->NextNode) {
        if (!XmlNameEquals(group->Tag, "resources")) continue;
        if (LowerAscii(XmlAttrString(group, "id", "")) != "init")
            d.problems.push_back("a group outside the Init scope");
        for (sdXMLnode* n = group->firstchild; n; n = n->NextNode) {
            const std::string id = LowerAscii(XmlAttrString(n, "id", "")), path = XmlAttrString(n, "path", "");
            if (XmlNameEquals(n->Tag, "image")) d.images[id] = path;
            if (XmlNameEquals(n->Tag, "effect")) d.effects[id] = path;
        }
    }
    return d;
}

// Effects whose owners stop them (a note caught, the mouse leaving a map
// marker, a trail's particle expiring, an impulse reaching the far end): they
// must keep generating until then. Every other effect is started and left
// alone (buttons, bursts, splashes), so it must end by itself.
const std::set<std::string> kStoppedByOwner = {
    "effect_note_gold", "effect_bonus50", "effect_map", "effect_longchild",
    "effect_impulse_star", "effect_impulse_longnote", "effect_impulse_melody",
};

class EffectFiles : public ::testing::Test {
protected:
    void SetUp() override {
        UseDrivenClock(1000);
        SeedRandom(11);
        decl = ReadParticleFragment();
        // Pictures: any id the fragment declares as an image; nothing else.
        SetEffectImageResolver([this](const std::string& id) -> EffectImageRef {
            if (decl.images.count(LowerAscii(id))) return {picture, nullptr};
            unknownPictures.insert(id);
            return {};
        });
        SetEffectResolver([this](const std::string& id) { return Load(LowerAscii(id)); });
    }
    void TearDown() override {
        SetEffectImageResolver(nullptr);
        SetEffectResolver(nullptr);
        UseRealClock();
    }
    // Loads a declared effect from its source file, as the pack will hold it.
    EffectPtr Load(const std::string& id) {
        auto cached = loaded.find(id);
        if (cached != loaded.end()) return cached->second;
        auto it = decl.effects.find(id);
        if (it == decl.effects.end()) return nullptr;
        const fs::path prefix = "media/effects";
        const fs::path rel = fs::path(it->second).lexically_relative(prefix);
        EffectPtr e = TEffect::Load(OpenRead((kAssets / "effects" / rel).string()));
        loaded[id] = e;
        return e;
    }
    // Drives an emitter in 17 ms frames; returns the most particles seen alive.
    size_t Run(TEmitter& e, int ms) {
        size_t most = 0;
        for (int t = 0; t < ms && !e.Death; t += 17) {
            AdvanceClock(17);
            e.Update(1);
            most = std::max(most, e.ParticleCount());
        }
        return most;
    }

    Declarations decl;
    ImagePtr picture = CreateImage(8, 8, 1);
    std::set<std::string> unknownPictures;
    std::map<std::string, EffectPtr> loaded;
};

TEST_F(EffectFiles, EveryEffectAndParticlePictureOfTheGameIsDeclaredWithAFile) {
    EXPECT_TRUE(decl.problems.empty()) << decl.problems.front();
    const ResourceGroup& init = InitGroup();
    ASSERT_EQ(init.effects.size(), 16u);
    std::set<std::string> shipped;
    for (const auto& entry : fs::directory_iterator(kAssets / "effects"))
        if (entry.path().extension() == ".xml") shipped.insert("media/effects/" + entry.path().filename().string());
    std::set<std::string> declaredFiles;
    for (const auto& e : init.effects) {
        auto it = decl.effects.find(LowerAscii(e.id));
        ASSERT_NE(it, decl.effects.end()) << e.id << " is not declared";
        EXPECT_TRUE(shipped.count(it->second)) << e.id << ": " << it->second << " is not in assets/effects";
        EXPECT_EQ(it->second, LowerAscii(it->second)) << "runtime paths are lower case";
        declaredFiles.insert(it->second);
    }
    for (const std::string& file : shipped) EXPECT_TRUE(declaredFiles.count(file)) << file << " is never declared";
    int particlePictures = 0;
    for (const auto& img : init.images) {
        if (std::string(img.id).rfind("IMAGE_PARTICLE_", 0) != 0) continue;
        ++particlePictures;
        auto it = decl.images.find(LowerAscii(img.id));
        ASSERT_NE(it, decl.images.end()) << img.id << " is not declared";
        EXPECT_EQ(it->second.rfind("media/gfx/particles/", 0), 0u) << it->second;
    }
    EXPECT_EQ(particlePictures, 10);
}

TEST_F(EffectFiles, EachEffectHasAPictureALifetimeAndMakesVisibleParticles) {
    for (const auto& entry : InitGroup().effects) {
        SCOPED_TRACE(entry.id);
        const std::string id = LowerAscii(entry.id);
        EffectPtr fx = Load(id);
        ASSERT_TRUE(fx);
        EXPECT_TRUE(fx->Image) << "no particle picture";
        EXPECT_GT(fx->Lifetime[0], 0);
        EXPECT_GE(fx->Lifetime[1], fx->Lifetime[0]);
        EXPECT_LE(fx->Lifetime[1], 3000) << "particles outlive the moment they belong to";
        EXPECT_GT(fx->GenSpeed, 0);
        EXPECT_LE(fx->GenSpeed, 1000);
        // Tinting keeps the effect's own alpha range, so it must start visible.
        EXPECT_GT(fx->alpha[0], 0.3f);
        EXPECT_GT(fx->Color->a0, 0.3f);
        EXPECT_TRUE(fx->Blend == ALPHABLEND || fx->Blend == LIGHTBLEND) << "blend " << fx->Blend;
        if (!fx->ChildName.empty()) {
            EXPECT_TRUE(Load(LowerAscii(fx->ChildName))) << "child " << fx->ChildName;
        }

        auto emitter = TEmitter::Create(400, 300, fx);
        EXPECT_GE(Run(*emitter, 600), 2u) << "hardly any particles";
    }
    EXPECT_TRUE(unknownPictures.empty()) << "an effect names an undeclared picture: " << *unknownPictures.begin();
}

TEST_F(EffectFiles, BurstsEndByThemselvesAndOwnedEffectsRunUntilStopped) {
    for (const auto& entry : InitGroup().effects) {
        const std::string id = LowerAscii(entry.id);
        SCOPED_TRACE(id);
        EffectPtr fx = Load(id);
        ASSERT_TRUE(fx);
        auto emitter = TEmitter::Create(400, 300, fx);
        Run(*emitter, 4000);
        if (kStoppedByOwner.count(id)) {
            EXPECT_FALSE(emitter->Death);
            EXPECT_FALSE(emitter->GenerationStop) << "stops generating before its owner stops it";
            EXPECT_GT(emitter->ParticleCount(), 0u);
            emitter->GenerationStop = 1;
            Run(*emitter, 4000);
        }
        EXPECT_TRUE(emitter->Death) << "still alive after 4 s on its own";
    }
}

TEST_F(EffectFiles, LongNoteStarTrailsTakeTheStarsTint) {
    EffectPtr stars = Load("effect_starslong");
    ASSERT_TRUE(stars);
    ASSERT_FALSE(stars->ChildName.empty());
    EffectPtr trail = Load(LowerAscii(stars->ChildName));
    ASSERT_TRUE(trail);
    EXPECT_TRUE(trail->InheritRed && trail->InheritGreen && trail->InheritBlue);
    // Tinted as the game tints it, the trails' particles must carry that colour.
    stars->Color = MakeColorAlpha(10, 200, 90, stars->alpha[0]);
    stars->Color->EndColor(10, 200, 90, stars->alpha[1]);
    auto emitter = TEmitter::Create(400, 300, stars);
    int checked = 0;
    for (int t = 0; t < 300; t += 17) {
        AdvanceClock(17);
        emitter->Update(1);
        for (size_t i = 0; i < emitter->ParticleCount(); ++i) {
            const TParticle& p = emitter->ParticleAt(i);
            if (!p.Child) continue;
            for (size_t k = 0; k < p.Child->ParticleCount(); ++k, ++checked) {
                const TColor& c = p.Child->ParticleAt(k).Color;
                EXPECT_EQ(c.r0, 10);
                EXPECT_EQ(c.g0, 200);
                EXPECT_EQ(c.b0, 90);
            }
        }
    }
    EXPECT_GT(checked, 0) << "no trail particles";
}

}  // namespace
