// Opens the game window, runs the main loop for a number of frames with a few
// widgets on screen (a backdrop, a panel of hoverable buttons, a spinning
// badge), moves the mouse over one button and clicks it through the window
// system's input path, and writes the last frame as a PNG.
//
//   totem-loop-shot OUT.png [FRAMES]

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Globals.h"
#include "core/GameClock.h"
#include "core/SharedVisuals.h"
#include "game/HighwayLines.h"
#include "app/TApp.h"
#include "core/TGraphicsState.h"
#include "gui/TWidget.h"
#include "gui/TWidgetmanager.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"

namespace {

class Backdrop : public TWidget {
public:
    void Draw() override {
        for (int band = 0; band < 30; ++band) {
            SetColor(40 + band * 4, 20 + band * 2, 60 + band);
            DrawRect(0, float(band * 20), 800, 20);
        }
        SetColor(255, 220, 120);
        DrawText("Totem Riff - main loop check", 24, 20);
    }
};

class Button : public TWidget {
public:
    explicit Button(std::string caption) : caption_(std::move(caption)) {}
    int clicks = 0;
    void MouseUp(int button) override {
        if (button == 1 && IsOver) ++clicks;
    }
    void Draw() override {
        SetBlend(ALPHABLEND);
        if (IsOver) SetColor(250, 190, 60); else SetColor(110, 80, 50);
        DrawRect(0, 0, float(_width), float(_height));
        SetColor(30, 20, 10);
        DrawRect(3, 3, float(_width - 6), float(_height - 6));
        SetColor(255, 255, 255);
        std::string text = caption_ + (clicks ? " x" + std::to_string(clicks) : "");
        DrawText(text, float(_width - TextWidth(text)) / 2, float(_height - TextHeight(text)) / 2);
    }

private:
    std::string caption_;
};

class Badge : public TWidget {
public:
    Badge() {
        Clip = 0;
        image_ = CreateImage(64, 64, 1, TImage::FILTERED);
        auto pic = LockImage(image_, 0);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                float dx = x - 31.5f, dy = y - 31.5f;
                float r = std::sqrt(dx * dx + dy * dy);
                float arms = std::fabs(std::cos(std::atan2(dy, dx) * 2.5f));
                bool inside = r < 12 + 18 * arms;
                uint32_t a = inside ? 255u : 0u;
                uint32_t g = uint32_t(200 - std::min(r, 30.0f) * 4);
                pic->WritePixel(x, y, (a << 24) | (255u << 16) | (g << 8) | 40u);
            }
        UnlockImage(image_, 0);
        CentreImageHandle(image_);
    }
    void Update(float dt) override { angle_ += 3 * dt; }
    void Draw() override {
        PushDrawState();
        SetRotation(angle_);
        SetScale(1.5f, 1.5f);
        DrawImage(image_, 620, 420);
        PopDrawState();
    }

private:
    ImagePtr image_;
    float angle_ = 0;
};

WidgetPtr Place(const WidgetPtr& w, int x, int y, int width, int height) {
    w->Resize(x, y, width, height);
    WidgetManager->AddWidget(w);
    return w;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: totem-loop-shot OUT.png [FRAMES]\n");
        return 2;
    }
    const std::string out = argv[1];
    const int frames = argc > 2 ? std::max(2, std::atoi(argv[2])) : 90;

    UseDrivenClock();
    InitGlobals();
    if (!OpenDisplay(800, 600, 0, 85)) return 1;
    SetVirtualResolution(800, 600);

    Place(std::make_shared<Backdrop>(), 0, 0, 800, 600);
    const char* captions[] = {"Play", "Story", "Options", "Quit"};
    std::shared_ptr<Button> target;
    for (int i = 0; i < 4; ++i) {
        auto b = std::make_shared<Button>(captions[i]);
        Place(b, 80, 140 + i * 70, 220, 50);
        if (i == 1) target = b;
    }
    Place(std::make_shared<Badge>(), 0, 0, 0, 0);

    bool saved = false;
    int frame = 0;
    TApp::SetBeforePresent([&] {
        if (++frame == frames) saved = SavePicturePNG(*GrabFrame(), out);
    });
    TApp::EnterLoop();
    for (int i = 0; i < frames; ++i) {
        if (i == 10) InjectMouseMove(190, 235);
        if (i == 20) InjectMouseButton(1, true);
        if (i == 23) InjectMouseButton(1, false);
        TApp::RunFrame();
    }
    if (!saved) {
        std::fprintf(stderr, "%s: could not write the captured frame\n", out.c_str());
        return 1;
    }
    std::printf("%s: frame %d, button clicks %d, GameClock %.0f ms\n", out.c_str(), frames, target->clicks,
                double(GameClock));
    return target->clicks == 1 ? 0 : 1;
}
