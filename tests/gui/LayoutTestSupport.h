#pragma once
// Tests of dialogs built from a layout: a small gui.xml of the test's own in
// GuiDocument, pictures and fonts registered under ids in a fresh resource
// manager, a few numbered texts, and the game's frame and caption font
// globals set to known values (put back afterwards).
#include <string>
#include <vector>

#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "content/TextTable.h"
#include "content/Xml.h"
#include "core/TextHelpers.h"
#include "gui/GuiDocument.h"
#include "gui/GuiTestSupport.h"

namespace guitest {

class LayoutTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (IsSkipped()) return;
        savedTexts_ = TextTable;
        ResManager = std::make_shared<TResManager>();
        TextTable.assign(300, std::string());
        TextTable[30] = "OK";
        TextTable[96] = "abcdefghijkl";  // 120 pixels in ProbeFont
        font = std::make_shared<ProbeFont>();
        AddImage("IMG_BTN", Solid(140, 44, 0, 0, 200));
        AddImage("IMG_OVER", Solid(140, 44, 0, 200, 0));
        AddImage("IMG_PRESS", Solid(140, 44, 200, 0, 0));
        AddImage("IMG_HEAD", Solid(100, 30, 200, 200, 0));
        AddImage("IMG_KNOB", Solid(20, 20, 200, 0, 0));
        AddImage("IMG_TRACK", Solid(200, 10, 0, 0, 200));
        AddFont("FONT_T", font);
        IMAGE_DIALOG = Solid(48, 48, 90, 60, 30);
        IMAGE_DIALOG_UP = Solid(20, 10, 250, 200, 0);
        FONT_MENU = font;
        FONT_MAIN = font;
    }
    void TearDown() override {
        GuiDocument.reset();
        ResManager.reset();
        IMAGE_DIALOG = IMAGE_DIALOG_UP = nullptr;
        FONT_MENU = FONT_MAIN = nullptr;
        if (!savedTexts_.empty()) TextTable = savedTexts_;
        GuiTest::TearDown();
    }

    static void AddImage(const std::string& id, const ImagePtr& image) { Add(id, image, ResKind::Image); }
    static void AddFont(const std::string& id, const FontPtr& f) { Add(id, f, ResKind::Font); }

    // The layout document: the given elements inside a root element.
    static void Layout(const std::string& elements) {
        const std::string text = "<gui>\n" + elements + "\n</gui>\n";
        GuiDocument = XmlLoad(OpenMemory(std::vector<uint8_t>(text.begin(), text.end()), "test gui.xml"));
    }

    std::shared_ptr<ProbeFont> font;

private:
    static void Add(const std::string& id, std::shared_ptr<void> data, ResKind kind) {
        auto r = std::make_shared<TRes>();
        r->name = LowerAscii(id);
        r->data = std::move(data);
        r->kind = kind;
        ResManager->Resources.push_back(r);
    }
    std::vector<std::string> savedTexts_;
};

}  // namespace guitest
