// Builds every window of gui.xml with the game's own dialog code over the main
// menu's backdrop and writes one PNG per window, so a person can judge each
// dialog where the player will see it: its frame, its buttons at their
// painted sizes, its labels in their fonts.
//
//   totem-gui-shot GAMEDIR OUTDIR
//
// Writes OUTDIR/<window id>.png for every "window" element in document order:
// the message box asks the quit question under its heading (and
// messagebox-long.png a long question without one), the input box holds a
// name typed through the text input, the results show sample counts. What
// a dialog draws itself, beside its layout (the players list, the prize
// badges, the help page, the results' stars), is stood in for at the places
// the dialogs use, so overlaps show. Missing resources are listed on
// standard output and make the exit status 1; the pictures are written all
// the same.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "content/GameFolder.h"
#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "content/TextTable.h"
#include "content/Xml.h"
#include "core/TextHelpers.h"
#include "gui/GuiDocument.h"
#include "gui/DrawWrappedText.h"
#include "gui/TDialogHelper.h"
#include "gui/THyperLink.h"
#include "gui/TInputBox.h"
#include "gui/TLabel.h"
#include "gui/TListbox.h"
#include "gui/TMessageBox.h"
#include "gui/TWidgetmanager.h"
#include "media/Clock.h"
#include "media/Graphics.h"
#include "media/Input.h"

namespace fs = std::filesystem;

namespace {

// The screens that draw their own scenery instead of a dialog frame.
bool DrawsNoFrame(const std::string& window) { return window == "window_main_menu" || window == "window_storymenu"; }

// What the results dialog counts into its labels, as a player might see it.
const std::pair<const char*, const char*> kSampleValues[] = {
    {"notes", "412"}, {"stars", "38"}, {"frets", "27"}, {"melodies", "9"}, {"accuracy", "87"}, {"totalscore", "15820"},
};

const char* const kLongQuestion =
    "Delete this player and all of their progress? Every star, prize and high score earned on the islands will "
    "be gone for good, and the journey starts again from the first island.";
const char* const kTypedName = "Zoë Lindqvist";

void DrawAt(const ImagePtr& image, float x, float y, float alpha = 1) {
    if (!image) return;
    SetAlpha(alpha);
    DrawImage(image, x, y);
    SetAlpha(1);
}

// What lies behind a window: the main menu's landscape behind the dialogs,
// and for the two screens that draw their own scenery, that scenery as they
// draw it at rest (the menu's frame risen to y 165 and its logo dropped to
// y 0, with its greeting; the story map's sea and islands).
class Backdrop : public TWidget {
    TOTEM_CLASS(Backdrop)
    explicit Backdrop(std::string window) : window_(std::move(window)) {
        Resize(0, 0, 800, 600);
        MouseSensetive = 0;
    }
    void Draw() override {
        SetBlend(ALPHABLEND);
        if (window_ == "window_storymenu") {
            SetScale(2, 2);
            DrawAt(IMAGE_STORY_BACK, 0, 0);
            SetScale(1, 1);
            DrawAt(IMAGE_STORY_ISLANDS, 0, 0);
            return;
        }
        DrawAt(IMAGE_MENU_BACK, 0, 0);
        DrawAt(IMAGE_MENU_BACK_LAYER1, 0, 0);
        if (window_ != "window_main_menu") return;
        if (IMAGE_MENU_FRAME) DrawAt(IMAGE_MENU_FRAME, float(400 - IMAGE_MENU_FRAME->width / 2), kMenuFrameY);
        if (IMAGE_MENU_LOGO) DrawAt(IMAGE_MENU_LOGO, float(400 - IMAGE_MENU_LOGO->width / 2), 0);
        if (FONT_HELP && TextTable.size() > 21) {
            SetFont(FONT_HELP);
            DrawWrappedText(255, kMenuFrameY + 310, TextTable[20] + " " + kTypedName, 300, 1, 1);
            DrawWrappedText(300, kMenuFrameY + 330, TextTable[21], 200, 1, 1);
        }
    }

private:
    static constexpr float kMenuFrameY = 165;
    std::string window_;
};

// A window with every control its layout holds, as the game's dialog for it
// would load them.
class ShownWindow : public TDialog {
    TOTEM_CLASS(ShownWindow)

    void AddedToManager() override {
        LoadStatics(*this, "");
        int n = 0;
        for (sdXMLnode* node = GuiDocument ? GuiDocument->firstchild : nullptr; node; node = node->NextNode) {
            if (XmlAttrString(node, "window_id", "") != id) continue;
            const std::string name = XmlAttrString(node, "id", "");
            if (node->Tag == "button") LoadButton(*this, name, ++n, 1);
            if (LowerAscii(node->Tag) == "scrollbarh")
                if (ScrollBarPtr bar = LoadScrollBar(*this, name, ++n, 1)) bar->Value = 0.7f;
            if (LowerAscii(node->Tag) == "checkbox") LoadCheckBox(*this, name, ++n, 1, 1);
        }
        for (const WidgetPtr& w : Widgets)
            if (auto label = std::dynamic_pointer_cast<TLabel>(w)) FillIn(*label);
        TDialog::AddedToManager();
    }
    void Draw() override {
        if (!DrawsNoFrame(id)) TDialog::Draw();
    }

private:
    static void FillIn(TLabel& label) {
        for (const auto& [name, value] : kSampleValues) {
            std::string text = label.XMLText;
            const size_t at = text.find("%s");
            if (label.id == name && at != std::string::npos) label.text = text.replace(at, 2, value);
        }
    }
};

void Frames(int n) {
    for (int i = 0; i < n; ++i) {
        AdvanceClock(13);
        PollEvents();
        WidgetManager->Update(1);
    }
}

const std::vector<ImagePtr>& PrizeBadges() {
    static const std::vector<ImagePtr> badges = {
        IMAGE_PRIZES_5LINES,   IMAGE_PRIZES_5MELODY,   IMAGE_PRIZES_5STARS,  IMAGE_PRIZES_10LINES,
        IMAGE_PRIZES_10MELODY, IMAGE_PRIZES_10SERIES,  IMAGE_PRIZES_10STARS, IMAGE_PRIZES_15MELODY,
        IMAGE_PRIZES_20SERIES, IMAGE_PRIZES_40SERIES,  IMAGE_PRIZES_100SERIES, IMAGE_PRIZES_ALLNOTES,
        IMAGE_PRIZES_LINES,    IMAGE_PRIZES_LONG,      IMAGE_PRIZES_MELODY,  IMAGE_PRIZES_NOTES,
        IMAGE_PRIZES_x2,       IMAGE_PRIZES_x4};
    return badges;
}

// What the dialog of a window draws beside its layout, at the places the
// dialogs draw it (in the dialog's own pixels).
class DialogContent : public TWidget {
    TOTEM_CLASS(DialogContent)
    DialogContent(DialogPtr dialog) : dialog_(std::move(dialog)) {
        Clip = 0;
        MouseSensetive = 0;
    }
    void Draw() override {
        SetBlend(ALPHABLEND);
        SetColor(255, 255, 255);
        SetOrigin(dialog_->_x, dialog_->_y);
        const std::string& id = dialog_->id;
        if (id == "window_prizes") DrawPrizes();
        if (id == "window_help" && IMAGE_HELP_01) DrawAt(IMAGE_HELP_01, float((dialog_->_width - IMAGE_HELP_01->width) / 2), 110);
        if (id == "window_levelcomplete") DrawResults();
    }

private:
    void DrawPrizes() const {
        int x = 40, y = 100, n = 0;
        for (const ImagePtr& badge : PrizeBadges()) {
            if (!badge) continue;
            DrawAt(badge, float(x), float(y), n++ % 3 == 0 ? 1.0f : 0.5f);
            x += badge->width;
            if (x > 490) {
                x = 40;
                y += badge->height;
            }
        }
        if (TextTable.size() > 200 && FONT_MAIN) {
            SetFont(FONT_MAIN);
            DrawText(TextTable[200], float(dialog_->_width / 2 - TextWidth(TextTable[200]) / 2), 300);
        }
    }
    void DrawResults() const {
        DrawAt(IMAGE_RESULT_HISCORE, 343, 351);
        const std::pair<float, float> stars[] = {{197, 408}, {240, 405}, {283, 410}};
        for (size_t i = 0; i < 3; ++i)
            DrawAt(i < 2 ? IMAGE_RESULT_STAR : IMAGE_RESULT_STAR_EMPTHY, stars[i].first, stars[i].second);
        // Three new prizes in a row centred on the screen.
        const std::vector<ImagePtr>& badges = PrizeBadges();
        int sum = 0;
        for (size_t i = 0; i < 3; ++i) sum += badges[i] ? badges[i]->width + 10 : 0;
        float x = float(399 - sum / 2);
        for (size_t i = 0; i < 3; ++i)
            if (badges[i]) {
                DrawAt(badges[i], x, 230);
                x += float(badges[i]->width + 10);
            }
    }
    DialogPtr dialog_;
};

// One picture: a window, and how its dialog is filled.
struct Scene {
    std::string file;
    std::string window;
    bool longQuestion = false;
};

void Open(const Scene& scene) {
    const auto caption = [](size_t n, const char* otherwise) { return TextTable.size() > n ? TextTable[n] : otherwise; };
    if (scene.window == "messagebox") {
        if (scene.longQuestion) {
            OpenMessageBox(nullptr, kLongQuestion, 2, caption(60, "Yes"), caption(61, "No"));
        } else {
            MessageBoxPtr box = OpenMessageBox(nullptr, caption(62, "Leave?"), 2, caption(60, "Yes"), caption(61, "No"));
            LoadStatics(*box, "window_exit");
        }
        return;
    }
    if (scene.window == "window_inputbox") {
        OpenInputBox(nullptr);
        InjectText(kTypedName);
        Frames(static_cast<int>(std::string(kTypedName).size()) + 1);
        return;
    }
    auto dialog = std::make_shared<ShownWindow>();
    dialog->id = scene.window;
    LoadWindow(dialog);
    if (scene.window == "window_main_menu" && TextTable.size() > 22) {
        // The profile link, where the risen frame puts it.
        HyperLinkPtr link = CreateHyperLink(TextTable[22], FONT_HELP, 8, nullptr);
        link->Resize(312, 520, 187, 20);
        WidgetManager->AddWidget(link);
    }
    if (scene.window == "window_users") {
        // The players dialog keeps its list at (94, 100), 214 × 147.
        auto list = std::make_shared<TListbox>();
        list->Font = FONT_USERLIST;
        list->List = {"Marianne", "Tomás", "Zoë Lindqvist", "Kai", "Giorgio"};
        list->Resize(int(dialog->_x) + 94, int(dialog->_y) + 100, 214, 147);
        WidgetManager->AddWidget(list);
    }
    WidgetManager->AddWidget(std::make_shared<DialogContent>(dialog));
}

bool Shoot(const Scene& scene, const fs::path& out) {
    WidgetManager = std::make_shared<TWidgetmanager>();
    // The mouse rests off the screen, so no button shows its hover face.
    WidgetManager->Mouse.x = [] { return -10.0f; };
    WidgetManager->Mouse.y = [] { return -10.0f; };
    WidgetManager->Mouse.down = [](int) { return 0; };
    WidgetManager->AddWidget(std::make_shared<Backdrop>(scene.window));
    Open(scene);
    Frames(2);
    SetClsColor(0, 0, 0);
    Cls();
    WidgetManager->Draw();
    const PicturePtr shot = GrabFrame();
    WidgetManager.reset();
    return shot && SavePicturePNG(*shot, out.string());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: totem-gui-shot GAMEDIR OUTDIR\n");
        return 2;
    }
    const fs::path outDir = fs::absolute(argv[2]);
    std::string problem;
    if (!EnterGameFolder(argv[1], problem)) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    std::error_code ec;
    fs::create_directories(outDir, ec);

    UseDrivenClock();
    InitGlobals();
    std::vector<std::string> failures;
    ResourceFatal = [&failures](const std::string& message) { failures.push_back(message); };
    GuiDocument = XmlLoad("gui.xml");
    LoadTextTable();
    if (!GuiDocument) {
        std::fprintf(stderr, "%s: gui.xml is missing or holds no element\n", argv[1]);
        return 1;
    }
    if (!OpenDisplay(800, 600, 0, 85)) return 1;
    SetVirtualResolution(800, 600);
    LoadResourceFile("res.xml");
    for (const char* scope : {"Init", "Zar", "Menu"}) ResManager->LoadScope(scope);
    FetchInitGroup();
    FetchZarGroup();
    FetchMenuGroup();

    std::vector<Scene> scenes;
    for (sdXMLnode* node = GuiDocument->firstchild; node; node = node->NextNode) {
        if (node->Tag != "window") continue;
        const std::string window = XmlAttrString(node, "id", "");
        scenes.push_back({window + ".png", window});
        if (window == "messagebox") scenes.push_back({"messagebox-long.png", window, true});
    }
    for (const Scene& scene : scenes) {
        const fs::path out = outDir / scene.file;
        if (!Shoot(scene, out)) {
            std::fprintf(stderr, "%s: could not write the captured frame\n", out.string().c_str());
            return 1;
        }
        std::printf("%s\n", out.string().c_str());
    }
    for (const std::string& failure : failures) std::printf("%s\n", failure.c_str());
    std::printf("%zu pictures\n", scenes.size());
    return failures.empty() ? 0 : 1;
}
