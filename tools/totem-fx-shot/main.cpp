// Runs a few particle effects side by side for about a second of driven time
// over a dark backdrop and writes the last frame as a PNG: a fountain of warm
// sparks, a ring burst, a rising soft glow and a comet with a trail. The
// pictures and the effect recipes are all made here, so the tool needs no
// files besides its output.
//
//   totem-fx-shot OUT.png [FRAMES]

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "fx/TEffect.h"
#include "fx/TEmitter.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/TStream.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;

// A white picture whose alpha falls off smoothly from the centre.
ImagePtr MakeGlow(int size) {
    ImagePtr image = CreateImage(size, size, 1, TImage::FILTERED);
    auto pic = LockImage(image, 0);
    const float c = (size - 1) / 2.0f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float r = std::hypot(x - c, y - c) / c;
            float a = r >= 1 ? 0 : (1 - r) * (1 - r);
            uint32_t alpha = uint32_t(std::lround(std::clamp(a, 0.0f, 1.0f) * 255));
            pic->WritePixel(x, y, (alpha << 24) | 0xFFFFFFu);
        }
    UnlockImage(image, 0);
    CentreImageHandle(image);
    return image;
}

// A four-pointed star with a bright core.
ImagePtr MakeSpark(int size) {
    ImagePtr image = CreateImage(size, size, 1, TImage::FILTERED);
    auto pic = LockImage(image, 0);
    const float c = (size - 1) / 2.0f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = std::fabs(x - c) / c, dy = std::fabs(y - c) / c;
            float r = std::hypot(dx, dy);
            float core = std::max(0.0f, 1 - r * 2.5f);
            float rays = std::max(0.0f, 1 - dx * 8) * std::max(0.0f, 1 - dy) +
                         std::max(0.0f, 1 - dy * 8) * std::max(0.0f, 1 - dx);
            float a = std::clamp(core + rays, 0.0f, 1.0f);
            uint32_t alpha = uint32_t(std::lround(a * 255));
            pic->WritePixel(x, y, (alpha << 24) | 0xFFFFFFu);
        }
    UnlockImage(image, 0);
    CentreImageHandle(image);
    return image;
}

EffectPtr FromText(const std::string& name, const std::string& body) {
    std::string xml = "<effect>" + body + "</effect>";
    return TEffect::Load(OpenMemory(std::vector<uint8_t>(xml.begin(), xml.end()), name));
}

// Directions: 0 points down the screen, 180 up.
const char* kFountain = R"(
  <Image value="spark" blend="4"/>
  <GenSpeed value="120"/><LifeTime min="500" max="900"/>
  <Dir min="165" max="195"/><Speed min="6" max="9"/>
  <GravitationY value="0.28"/>
  <Scale start="1" end="0.3"/><ScaleX min="0.9" max="1.5"/>
  <Rotation min="-6" max="6"/>
  <Red start="255" End="255"/><Green start="230" End="70"/><Blue start="120" End="10"/>
  <Alpha start="1" End="0.2"/>)";

const char* kRing = R"(
  <Image value="glow" blend="4"/>
  <GenSpeed value="400"/><TimeOut value="200"/><LifeTime min="1400" max="1600"/>
  <Dir min="0" max="360"/><Speed min="2.8" max="3"/>
  <Scale start="0.5" end="0.3"/><ScaleX min="0.8" max="1"/>
  <Red start="90" End="200"/><Green start="200" End="60"/><Blue start="255" End="255"/>
  <Alpha start="1" End="0.5"/>)";

const char* kSmoke = R"(
  <Image value="glow" blend="4"/>
  <GenSpeed value="40"/><LifeTime min="900" max="1200"/>
  <PosX min="-20" max="20"/><Dir min="170" max="190"/><Speed min="1.5" max="2.5"/>
  <GravitationY value="-0.05"/><SpeedX min="-0.6" max="0.6"/>
  <Scale start="1" end="2.5"/><ScaleX min="0.9" max="1.2"/>
  <Red start="80" End="180"/><Green start="255" End="60"/><Blue start="140" End="220"/>
  <Alpha start="0.35" End="0"/>)";

const char* kCometHead = R"(
  <Image value="glow" blend="4"/>
  <GenSpeed value="60"/><TimeOut value="20"/><LifeTime min="5000" max="5000"/>
  <Dir min="115" max="115"/><Speed min="5" max="5"/>
  <Scale start="0.6" end="0.6"/>
  <Red start="255" End="255"/><Green start="255" End="255"/><Blue start="255" End="255"/>
  <Alpha start="1" End="1"/>
  <Child name="comet_tail"/>)";

const char* kCometTail = R"(
  <Image value="spark" blend="4"/>
  <GenSpeed value="200"/><LifeTime min="400" max="700"/>
  <PosY min="-4" max="4"/><Speed min="0.2" max="0.8"/><Dir min="0" max="360"/>
  <Scale start="0.9" end="0.2"/>
  <Rotation min="-4" max="4"/>
  <Red start="255" End="255"/><Green start="120" End="40"/><Blue start="220" End="255"/>
  <Alpha start="1" End="0"/>)";

void DrawBackdrop() {
    SetBlend(SOLIDBLEND);
    for (int band = 0; band < 40; ++band) {
        SetColor(6 + band / 2, 8 + band / 3, 24 + band);
        DrawRect(0, float(band * 15), 800, 15);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: totem-fx-shot OUT.png [FRAMES]\n");
        return 2;
    }
    const std::string out = argv[1];
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;

    UseDrivenClock();
    SeedRandom(20261210);
    InitGlobals();
    if (!OpenDisplay(800, 600, 0, 85)) return 1;
    SetVirtualResolution(800, 600);

    std::map<std::string, ImagePtr> pictures = {{"glow", MakeGlow(64)}, {"spark", MakeSpark(32)}};
    SetEffectImageResolver([&](const std::string& id) {
        EffectImageRef ref;
        auto it = pictures.find(id);
        if (it != pictures.end()) ref.image = it->second;
        return ref;
    });
    std::map<std::string, EffectPtr> effects;
    SetEffectResolver([&](const std::string& id) {
        auto it = effects.find(id);
        return it == effects.end() ? nullptr : it->second;
    });
    effects["comet_tail"] = FromText("comet_tail", kCometTail);

    struct Placed {
        const char* name;
        EmitterPtr emitter;
    };
    std::vector<Placed> placed = {
        {"fountain", TEmitter::Create(160, 470, FromText("fountain", kFountain))},
        {"ring", TEmitter::Create(400, 200, FromText("ring", kRing))},
        {"glow", TEmitter::Create(640, 480, FromText("glow", kSmoke))},
        {"comet", TEmitter::Create(100, 420, FromText("comet", kCometHead))},
    };

    for (int frame = 0; frame < frames; ++frame) {
        if (frame > 0) Flip(0);
        AdvanceClock(17);
        Cls();
        DrawBackdrop();
        for (auto& p : placed) {
            p.emitter->Update(1);
            p.emitter->Draw();
        }
    }
    auto shot = GrabFrame();
    if (!shot || !SavePicturePNG(*shot, out)) {
        std::fprintf(stderr, "%s: could not write the captured frame\n", out.c_str());
        return 1;
    }
    std::printf("%s: frame %d, particles", out.c_str(), frames);
    size_t total = 0;
    for (auto& p : placed) {
        std::printf(" %s %zu", p.name, p.emitter->ParticleCount());
        total += p.emitter->ParticleCount();
    }
    std::printf("\n");
    SetEffectImageResolver(nullptr);
    SetEffectResolver(nullptr);
    return total > 0 ? 0 : 1;
}
