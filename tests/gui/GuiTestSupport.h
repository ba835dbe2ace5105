#pragma once
// Shared by the widget and dialog tests: a fresh widget manager fed by the
// real input path (injected window-system events, polled once per frame), a
// listener that writes down what it hears, and fonts whose sizes are known.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/TWidget.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"
#include "media/GraphicsTestSupport.h"
#include "media/Input.h"
#include "media/TImageFont.h"
#include "media/TStream.h"

namespace guitest {

// Every notification a widget can receive from its controls, one line each.
class Listener : public TWidget {
    TOTEM_CLASS(Listener)
    std::vector<std::string> heard;
    void DePress(int id) override { heard.push_back("DePress " + std::to_string(id)); }
    void EventMouseEnter(int id) override { heard.push_back("Enter " + std::to_string(id)); }
    void EventMouseLeave(int id) override { heard.push_back("Leave " + std::to_string(id)); }
    void EventMouseOver(int id) override { ++overs; (void)id; }
    void CheckBoxChecked(int id, int state) override {
        heard.push_back("Checked " + std::to_string(id) + " " + std::to_string(state));
    }
    void ScrollBarChanged(int id, float value) override {
        heard.push_back("Scroll " + std::to_string(id));
        values.push_back(value);
    }
    void InputFinished(int id, const std::string& text) override {
        heard.push_back("Input " + std::to_string(id) + " \"" + text + "\"");
    }
    int overs = 0;
    std::vector<float> values;
};

// A font that draws every glyph as a white block filling its advance (16
// pixels high unless told) and notes where each string was drawn. Letters and digits advance 10 pixels,
// "W" 20, the space 5, "_" 8; the Latin-1 letters é, ë and ß are there, every
// other code above 126 is not.
class ProbeFont : public TImageFont {
public:
    struct Drawn {
        std::string text;
        float x, y;
    };
    std::vector<Drawn> drawn;

    static int Advance(char32_t c) {
        if (c == ' ') return 5;
        if (c == 'W') return 20;
        if (c == '_') return 8;
        return 10;
    }

    explicit ProbeFont(int height = 16) {
        Height = height;
        glyphs.resize(256);
        auto add = [this, height](char32_t c) {
            auto g = std::make_shared<TImageGlyph>();
            g->advance = static_cast<float>(Advance(c));
            if (c != ' ') g->_image = gfxtest::SolidImage(Advance(c), height, gfxtest::Argb(255, 255, 255, 255));
            glyphs[c] = g;
        };
        for (char32_t c = 32; c <= 126; ++c) add(c);
        for (char32_t c : {U'é', U'ë', U'ß'}) add(c);
    }
    void Draw(const std::string& text, float x, float y, float ix, float iy, float jx, float jy) override {
        drawn.push_back({text, x, y});
        TImageFont::Draw(text, x, y, ix, iy, jx, jy);
    }
};

// A display, a fresh WidgetManager reading the real (injected) input, and a
// clean input state.
class GuiTest : public gfxtest::DisplayTest {
protected:
    void SetUp() override {
        gfxtest::DisplayTest::SetUp();
        if (IsSkipped()) return;
        WidgetManager = std::make_shared<TWidgetmanager>();
        InjectMouseMove(1, 1);
        PollEvents();
        ClearKeys();
        ClearMouse();
        listener = std::make_shared<Listener>();
    }
    void TearDown() override {
        for (int b = 1; b <= 3; ++b) InjectMouseButton(b, false);
        PollEvents();
        ClearKeys();
        ClearMouse();
        WidgetManager.reset();
        gfxtest::DisplayTest::TearDown();
    }

    // One frame: poll the window system, then update every widget.
    static void Frame(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            PollEvents();
            WidgetManager->Update(1);
        }
    }
    static void MoveTo(int x, int y) {
        InjectMouseMove(x, y);
        Frame();
    }
    static void Press(int button = 1) {
        InjectMouseButton(button, true);
        Frame();
    }
    static void Release(int button = 1) {
        InjectMouseButton(button, false);
        Frame();
    }
    static void Click(int x, int y, int button = 1) {
        MoveTo(x, y);
        Press(button);
        Release(button);
    }
    // A key pressed and let go within one frame.
    static void Key(int virtualKey) {
        InjectKey(virtualKey, true);
        InjectKey(virtualKey, false);
        Frame();
    }
    static PicturePtr Shot() {
        Cls();
        WidgetManager->Draw();
        return GrabFrame();
    }

    std::shared_ptr<Listener> listener;
};

// Lit pixels (brighter than mid-grey) of the picture in a rectangle.
inline int LitPixels(const PicturePtr& p, int x0, int y0, int w, int h) {
    int lit = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const uint32_t c = p->ReadPixel(x, y);
            lit += ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) > 3 * 128;
        }
    return lit;
}

// A one-frame picture, handy for faces and frames.
inline ImagePtr Solid(int w, int h, int r, int g, int b) { return gfxtest::SolidImage(w, h, gfxtest::Argb(255, r, g, b)); }

}  // namespace guitest
