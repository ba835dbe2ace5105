// Renders every particle effect the game ships into one contact sheet, so the
// effects can be tuned by eye: a 4 × 4 grid of cells over a dark backdrop,
// each cell running one effect where the game would (bursts restart when they
// end, impulses race up the cell like up the highway, effects the game tints
// get the game's tint).
//
//   totem-fx-sheet SOURCE_DIR ART_DIR OUT.png [FRAMES]
//
// SOURCE_DIR is the repository (its assets/res/21-particles.xml and
// assets/effects/ are read); ART_DIR holds the pictures painted by totem-art.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "content/ContentSources.h"
#include "content/Xml.h"
#include "core/TextHelpers.h"
#include "fx/TEffect.h"
#include "fx/TEmitter.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/TStream.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct Cell {
    std::string id;
    EffectPtr effect;
    EmitterPtr emitter;
    float cx, cy;
    int startMs = 0;
};

bool IsImpulse(const std::string& id) { return id.rfind("effect_impulse_", 0) == 0; }

void Tint(const std::string& id, const EffectPtr& fx) {
    int r = -1, g = 0, b = 0;
    if (id == "effect_note") r = 61 + 50, g = 245 + 50, b = 38 + 50;  // line 0, brightened
    if (id == "effect_note_star") r = 253, g = 75, b = 40;
    if (id == "effect_line") r = 243, g = 206, b = 0;
    if (id == "effect_starslong") r = 255, g = 255, b = 255;
    if (r < 0) return;
    fx->Color = MakeColorAlpha(std::min(r, 255), std::min(g, 255), std::min(b, 255), fx->alpha[0]);
    fx->Color->EndColor(std::min(r, 255), std::min(g, 255), std::min(b, 255), fx->alpha[1]);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: totem-fx-sheet SOURCE_DIR ART_DIR OUT.png [FRAMES]\n");
        return 2;
    }
    const std::string source = argv[1], art = argv[2], out = argv[3];
    const int frames = argc > 4 ? std::max(1, std::atoi(argv[4])) : 30;

    UseDrivenClock();
    InitGlobals();
    SeedRandom(5);
    if (!OpenDisplay(800, 600, 0, 85)) return 1;
    SetVirtualResolution(800, 600);

    const std::string fragment = source + "/assets/res/21-particles.xml";
    std::vector<std::string> problems;
    const std::string joined = JoinResourceFragments({{fragment, ReadText(fragment)}}, problems);
    for (const auto& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
    XmlNode root = XmlLoad(OpenMemory(std::vector<uint8_t>(joined.begin(), joined.end()), "res.xml"));
    if (!root) {
        std::fprintf(stderr, "%s: nothing declared\n", fragment.c_str());
        return 1;
    }
    std::map<std::string, ImagePtr> pictures;
    std::map<std::string, std::string> effectFiles;
    std::vector<std::string> order;
    for (sdXMLnode* g = root->firstchild; g; g = g->NextNode)
        for (sdXMLnode* n = g->firstchild; n; n = n->NextNode) {
            const std::string id = LowerAscii(XmlAttrString(n, "id", "")), path = XmlAttrString(n, "path", "");
            if (XmlNameEquals(n->Tag, "image")) {
                ImagePtr image = LoadImage(art + "/" + path, TImage::FILTERED);
                if (!image) {
                    std::fprintf(stderr, "%s/%s: missing picture\n", art.c_str(), path.c_str());
                    return 1;
                }
                CentreImageHandle(image);
                pictures[id] = image;
            } else if (XmlNameEquals(n->Tag, "effect")) {
                const std::string file = path.substr(path.find_last_of('/') + 1);
                effectFiles[id] = source + "/assets/effects/" + file;
                order.push_back(id);
            }
        }
    SetEffectImageResolver([&](const std::string& id) {
        EffectImageRef ref;
        auto it = pictures.find(LowerAscii(id));
        if (it != pictures.end()) ref.image = it->second;
        return ref;
    });
    std::map<std::string, EffectPtr> effects;
    for (const auto& id : order) effects[id] = TEffect::Load(OpenRead(effectFiles[id]));
    SetEffectResolver([&](const std::string& id) {
        auto it = effects.find(LowerAscii(id));
        return it == effects.end() ? nullptr : it->second;
    });

    std::vector<Cell> cells;
    for (size_t i = 0; i < order.size() && i < 16; ++i) {
        Cell c;
        c.id = order[i];
        c.effect = effects[c.id];
        Tint(c.id, c.effect);
        c.cx = 100 + 200 * float(i % 4);
        c.cy = 75 + 150 * float(i / 4);
        cells.push_back(c);
    }

    for (int frame = 0; frame < frames; ++frame) {
        if (frame > 0) Flip(0);
        AdvanceClock(17);
        const int now = ClockMs();
        Cls();
        SetBlend(SOLIDBLEND);
        for (size_t i = 0; i < cells.size(); ++i) {
            SetColor(14 + int(i % 2) * 6, 16 + int(i % 2) * 6, 34);
            DrawRect(200 * float(i % 4), 150 * float(i / 4), 200, 150);
        }
        for (Cell& c : cells) {
            if (!c.emitter || c.emitter->Death) {
                const float y = IsImpulse(c.id) ? c.cy + 60 : c.cy;
                c.emitter = TEmitter::Create(c.cx, y, c.effect);
                c.startMs = now;
            }
            if (IsImpulse(c.id)) {
                // Up the cell in 400 ms, shrinking and fading like on the highway.
                const float f = float(now - c.startMs) / 400.0f;
                if (f > 1) {
                    c.emitter->Death = 1;
                } else {
                    c.emitter->y = c.cy + 60 - 120 * f;
                    c.emitter->ScaleMult = 1.5f - 0.5f * f;
                    c.emitter->AlphaMult = 1 - f;
                }
            }
            c.emitter->Update(1);
            c.emitter->Draw();
        }
        SetBlend(ALPHABLEND);
        SetColor(150, 150, 170);
        for (const Cell& c : cells) DrawText(c.id.substr(7), c.cx - 95, c.cy - 72);
        SetColor(255, 255, 255);
    }
    auto shot = GrabFrame();
    if (!shot || !SavePicturePNG(*shot, out)) {
        std::fprintf(stderr, "%s: could not write the captured frame\n", out.c_str());
        return 1;
    }
    for (const Cell& c : cells) std::printf("%s %zu\n", c.id.c_str(), c.emitter->ParticleCount());
    SetEffectImageResolver(nullptr);
    SetEffectResolver(nullptr);
    return 0;
}
