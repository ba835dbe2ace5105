#include "tools/totem-content-check/ContentCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "content/ResourceCatalogue.h"
#include "content/TextTable.h"
#include "content/DataPak.h"
#include "content/TPNGFont.h"
#include "core/TextHelpers.h"
#include "fx/TEffect.h"
#include "media/Audio.h"
#include "media/Graphics.h"

namespace fs = std::filesystem;

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Scopes in the order the game loads them; skins come last, one at a time.
int LoadRank(const std::string& scope) {
    if (scope == "init") return 0;
    if (scope == "zar") return 1;
    if (scope == "menu") return 2;
    if (scope == "gryph") return 3;
    return 4;
}

bool IsImageKind(const std::string& kind) { return kind == "image" || kind == "animimage"; }

// ---- names the dialogs ask the GUI description for ---------------------------

// Every name some dialog looks up. A missing one leaves that dialog without the
// control (or, for a window, without its size and place).
const RequiredGuiName kRequiredGuiNames[] = {
    // The main menu: its window, the publisher logo and the five plaques.
    {"window", "", "window_main_menu", "the main menu"},
    {"button", "window_main_menu", "logo", "the main menu"},
    {"button", "window_main_menu", "mode1", "the main menu"},
    {"button", "window_main_menu", "options", "the main menu"},
    {"button", "window_main_menu", "scores", "the main menu"},
    {"button", "window_main_menu", "help", "the main menu"},
    {"button", "window_main_menu", "quit", "the main menu"},
    // The story map (placed by itself, so only its buttons).
    {"button", "window_storymenu", "play", "the story map"},
    {"button", "window_storymenu", "back", "the story map"},
    // The results of a level: counted labels and three ways on.
    {"window", "", "window_levelcomplete", "the level results"},
    {"label", "window_levelcomplete", "notes", "the level results"},
    {"label", "window_levelcomplete", "stars", "the level results"},
    {"label", "window_levelcomplete", "frets", "the level results"},
    {"label", "window_levelcomplete", "melodies", "the level results"},
    {"label", "window_levelcomplete", "accuracy", "the level results"},
    {"label", "window_levelcomplete", "totalscore", "the level results"},
    {"button", "window_levelcomplete", "menu", "the level results"},
    {"button", "window_levelcomplete", "replay", "the level results"},
    {"button", "window_levelcomplete", "next", "the level results"},
    // The prize gallery.
    {"window", "", "window_prizes", "the prize gallery"},
    {"button", "window_prizes", "ok", "the prize gallery"},
    // The players dialog.
    {"window", "", "window_users", "the players dialog"},
    {"button", "window_users", "ok", "the players dialog"},
    {"button", "window_users", "cancel", "the players dialog"},
    {"button", "window_users", "new", "the players dialog"},
    {"button", "window_users", "delete", "the players dialog"},
    // The options dialog.
    {"window", "", "window_options", "the options dialog"},
    {"button", "window_options", "ok", "the options dialog"},
    {"button", "window_options", "cancel", "the options dialog"},
    {"scrollbarh", "window_options", "sound", "the options dialog"},
    {"checkbox", "window_options", "full_screen", "the options dialog"},
    // The pause menu during a level.
    {"window", "", "window_ingamemenu", "the pause menu"},
    {"button", "window_ingamemenu", "resume", "the pause menu"},
    {"button", "window_ingamemenu", "exit_to_menu", "the pause menu"},
    {"button", "window_ingamemenu", "quitgame", "the pause menu"},
    {"button", "window_ingamemenu", "help", "the pause menu"},
    // The help pages.
    {"window", "", "window_help", "the help pages"},
    {"button", "window_help", "ok", "the help pages"},
    {"button", "window_help", "left", "the help pages"},
    {"button", "window_help", "right", "the help pages"},
    // The end of the journey.
    {"window", "", "window_gameover", "the game-over dialog"},
    {"button", "window_gameover", "ok", "the game-over dialog"},
    // The yes/no question box (it reads its size from the first button).
    {"window", "", "messagebox", "the message box"},
    {"button", "messagebox", "button_1", "the message box"},
    {"button", "messagebox", "button_2", "the message box"},
    // The name box.
    {"window", "", "window_inputbox", "the input box"},
    {"button", "window_inputbox", "ok", "the input box"},
};

// Text numbers the program shows on its own, beside those the GUI description
// names.
struct ProgramTexts {
    int first, last;
    const char* usedFor;
};

const ProgramTexts kProgramTexts[] = {
    {1, 5, "the main menu's hover help"},
    {20, 21, "the main menu's greeting"},
    {22, 22, "the main menu's player link"},
    {56, 56, "the main menu's default help line"},
    {60, 61, "the yes/no buttons"},
    {62, 62, "the quit question"},
    {69, 69, "the delete-player question"},
    {110, 110, "the window title"},
    {200, 217, "the prize texts"},
};

// The element names the GUI loader matches exactly, and those it lower-cases.
bool GuiElementIs(const std::string& tag, const std::string& element) {
    if (element == "scrollbarh" || element == "checkbox") return LowerAscii(tag) == element;
    return tag == element;
}

std::string Attr(sdXMLnode* node, const char* name) { return XmlAttrString(node, name, ""); }

// True when the value reads as a number from its start to its end.
bool IsNumber(const std::string& s) {
    if (s.empty()) return false;
    char* end = nullptr;
    std::strtod(s.c_str(), &end);
    return end && *end == '\0';
}

// Two numbers separated by spaces, within the screen.
bool ReadScreenPoint(const std::string& value, double& x, double& y) {
    std::istringstream in(value);
    std::string a, b, extra;
    if (!(in >> a >> b) || (in >> extra) || !IsNumber(a) || !IsNumber(b)) return false;
    x = std::strtod(a.c_str(), nullptr);
    y = std::strtod(b.c_str(), nullptr);
    return x >= 0 && x <= 800 && y >= 0 && y <= 600;
}

const DeclaredResource* Find(const std::vector<DeclaredResource>& resources, const std::string& scope,
                             const std::string& id) {
    for (const DeclaredResource& r : resources)
        if (r.scope == scope && r.id == id) return &r;
    return nullptr;
}

// A declaration of `id` that the game has loaded by the time the menus run.
const DeclaredResource* FindGlobal(const std::vector<DeclaredResource>& resources, const std::string& id) {
    for (const DeclaredResource& r : resources)
        if (r.id == id && IsFixedScope(r.scope)) return &r;
    return nullptr;
}

std::string KindOfGroupList(int list) {
    static const char* kKinds[] = {"imagefont", "image", "sound", "effect"};
    return kKinds[list];
}

void CheckGroup(const std::vector<DeclaredResource>& resources, const ResourceGroup& group, const std::string& scope,
                std::vector<std::string>& problems) {
    auto check = [&](const char* id, const std::string& kind) {
        const DeclaredResource* r = Find(resources, scope, LowerAscii(id));
        if (!r) {
            problems.push_back(std::string(id) + ": not declared in scope \"" + scope + "\" of res.xml");
            return;
        }
        const bool kindOk = kind == "image" ? IsImageKind(r->kind) : r->kind == kind;
        if (!kindOk)
            problems.push_back(std::string(id) + ": declared as " + r->kind + " in scope \"" + scope +
                               "\", the game asks for " + (kind == "imagefont" ? "a font" : "a " + kind));
    };
    for (const auto& e : group.fonts) check(e.id, KindOfGroupList(0));
    for (const auto& e : group.images) check(e.id, KindOfGroupList(1));
    for (const auto& e : group.sounds) check(e.id, KindOfGroupList(2));
    for (const auto& e : group.effects) check(e.id, KindOfGroupList(3));
}

// ---- reading files the way the game does ----------------------------------------

PicturePtr ReadPicture(const std::string& path) {
    StreamPtr stream = OpenResource(path);
    return stream ? LoadPicture(*stream) : nullptr;
}

void CheckPicture(const DeclaredResource& r, const std::string& path, std::vector<std::string>& problems,
                  PicturePtr* out = nullptr) {
    if (!ResourceExists(path)) {
        problems.push_back(path + ": not found (" + UpperAscii(r.id) + " in scope \"" + r.scope + "\")");
        return;
    }
    PicturePtr picture = ReadPicture(path);
    if (!picture) {
        problems.push_back(path + ": not a picture the game can decode (" + UpperAscii(r.id) + ")");
        return;
    }
    if (out) *out = picture;
}

std::string Companion(const std::string& file) {
    const size_t dot = file.find_last_of('.');
    const size_t slash = file.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return file + "_.";
    return file.substr(0, dot) + "_." + file.substr(dot + 1);
}

bool HasExtension(const std::string& file) {
    const size_t dot = file.find_last_of('.');
    const size_t slash = file.find_last_of('/');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash) && dot + 1 < file.size();
}

void CheckImage(const DeclaredResource& r, std::vector<std::string>& problems) {
    PicturePtr picture;
    CheckPicture(r, r.path, problems, &picture);
    const std::string companion = Companion(r.path);
    if (ResourceExists(companion)) CheckPicture(r, companion, problems);
    else if (r.kind == "image" && HasExtension(r.mask)) CheckPicture(r, r.mask, problems);
    if (r.kind != "animimage" || !picture) return;
    if (r.width <= 0 || r.height <= 0 || r.frames <= 0) {
        problems.push_back(UpperAscii(r.id) + ": a strip needs a frame width, height and count (has " +
                           std::to_string(r.width) + "x" + std::to_string(r.height) + ", " +
                           std::to_string(r.frames) + " frames)");
        return;
    }
    // Cut it the way the game does; the cell count only explains a failure.
    ImagePtr strip = ImageStripFromPicture(picture, r.width, r.height, 0, r.frames, -1);
    if (!strip || strip->FrameCount() != r.frames) {
        const int cells = (picture->Width() / r.width) * (picture->Height() / r.height);
        problems.push_back(r.path + ": holds " + std::to_string(cells) + " frames of " + std::to_string(r.width) +
                           "x" + std::to_string(r.height) + ", " + UpperAscii(r.id) + " declares " +
                           std::to_string(r.frames));
    }
}

void CheckFont(const DeclaredResource& r, std::vector<std::string>& problems) {
    if (EndsWith(r.path, ".ttf")) {
        if (!fs::is_regular_file(r.path)) problems.push_back(r.path + ": not found (" + UpperAscii(r.id) + ")");
        return;
    }
    for (const char* ext : {".png", ".fnt"})
        if (!fs::is_regular_file(r.path + ext))
            problems.push_back(r.path + ext + ": not found (" + UpperAscii(r.id) + ")");
    if (fs::is_regular_file(r.path + ".png") && fs::is_regular_file(r.path + ".fnt") && !CreatePNGFont(r.path))
        problems.push_back(r.path + ": the font's picture or glyph table cannot be read (" + UpperAscii(r.id) + ")");
}

void CheckSound(const DeclaredResource& r, std::vector<std::string>& problems) {
    if (!fs::is_regular_file(r.path)) {
        problems.push_back(r.path + ": not found (" + UpperAscii(r.id) + ")");
        return;
    }
    if (!LoadSound(r.path, 0)) problems.push_back(r.path + ": not a sound the game can decode (" + UpperAscii(r.id) + ")");
}

// Which resources are loaded when the effect at `index` loads: everything of an
// earlier scope, and what comes before it in its own scope.
bool LoadedBefore(const std::vector<DeclaredResource>& resources, size_t index, const DeclaredResource& other) {
    const DeclaredResource& effect = resources[index];
    const int rankEffect = LoadRank(effect.scope), rankOther = LoadRank(other.scope);
    if (other.scope == effect.scope) return &other < &effect;
    if (rankOther == 4) return false;  // another skin is never loaded alongside
    return rankOther < rankEffect;
}

void CheckEffect(const std::vector<DeclaredResource>& resources, size_t index, std::vector<std::string>& problems) {
    const DeclaredResource& r = resources[index];
    StreamPtr stream = OpenResource(r.path);
    if (!stream) {
        problems.push_back(r.path + ": not found (" + UpperAscii(r.id) + " in scope \"" + r.scope + "\")");
        return;
    }
    const std::vector<uint8_t> bytes = stream->ReadAll();
    stream->Close();
    if (!XmlLoad(OpenMemory(bytes, r.path))) {
        problems.push_back(r.path + ": not an effect description (" + UpperAscii(r.id) + ")");
        return;
    }
    std::vector<std::string> asked;
    SetEffectImageResolver([&](const std::string& id) {
        asked.push_back(id);
        return EffectImageRef{};
    });
    EffectPtr effect = TEffect::Load(OpenMemory(bytes, r.path));
    SetEffectImageResolver(nullptr);
    const std::string picture = asked.empty() ? std::string() : asked.front();
    if (picture.empty() || picture == "0") {
        if (!effect || effect->ChildName.empty())
            problems.push_back(UpperAscii(r.id) + ": the effect names no picture and starts no trail");
    } else {
        const std::string id = LowerAscii(picture);
        const DeclaredResource* found = nullptr;
        for (const DeclaredResource& other : resources)
            if (other.id == id && IsImageKind(other.kind) && LoadedBefore(resources, index, other)) found = &other;
        if (!found)
            problems.push_back(UpperAscii(r.id) + ": its picture " + picture +
                               " is not a picture declared to load before it");
    }
    if (effect && !effect->ChildName.empty()) {
        const std::string child = LowerAscii(effect->ChildName);
        const bool known = std::any_of(resources.begin(), resources.end(), [&](const DeclaredResource& other) {
            return other.id == child && other.kind == "effect";
        });
        if (!known) problems.push_back(UpperAscii(r.id) + ": its trail " + effect->ChildName + " is not a declared effect");
    }
}

std::vector<std::string> ReadTexts(const std::string& path) {
    StreamPtr stream = OpenRead(path);
    if (!stream) return {};
    std::vector<std::string> table = ReadTextTable(*stream);
    stream->Close();
    return table;
}

bool TextDefined(const std::vector<std::string>& texts, int number) {
    if (number < 0 || static_cast<size_t>(number) >= texts.size()) return false;
    return texts[static_cast<size_t>(number)].rfind("!!!lang: ", 0) != 0;
}

}  // namespace

std::span<const RequiredGuiName> RequiredGuiNames() { return kRequiredGuiNames; }

// ---- declarations ----------------------------------------------------------------

std::vector<DeclaredResource> ReadDeclarations(const XmlNode& root) {
    std::vector<DeclaredResource> out;
    if (!root) return out;
    static const std::string kNone = "#NONE#";
    for (sdXMLnode* group = root->firstchild; group; group = group->NextNode) {
        if (!XmlNameEquals(group->Tag, "resources")) continue;
        const std::string scope = LowerAscii(XmlAttrString(group, "id", ""));
        std::string pathPrefix, idPrefix;
        for (sdXMLnode* child = group->firstchild; child; child = child->NextNode) {
            const std::string tag = LowerAscii(child->Tag);
            if (tag == "setdefaults") {
                const std::string p = XmlAttrString(child, "path", kNone);
                const std::string ip = XmlAttrString(child, "idprefix", kNone);
                if (p != kNone) pathPrefix = p;
                if (ip != kNone) idPrefix = ip;
                continue;
            }
            if (tag != "image" && tag != "animimage" && tag != "imagefont" && tag != "sound" && tag != "effect")
                continue;
            DeclaredResource r;
            r.scope = scope;
            r.id = LowerAscii(idPrefix + Attr(child, "id"));
            r.kind = tag;
            r.path = LowerAscii(pathPrefix + Attr(child, "path"));
            const std::string mask = XmlAttrString(child, "mask", "");
            r.mask = tag == "image" && !mask.empty() && mask != "0" ? LowerAscii(pathPrefix + mask) : "";
            r.width = XmlAttrInt(child, "width", 0);
            r.height = XmlAttrInt(child, "height", 0);
            r.frames = XmlAttrInt(child, "frames", 0);
            out.push_back(r);
        }
    }
    return out;
}

bool IsFixedScope(const std::string& scope) { return LoadRank(LowerAscii(scope)) < 4; }

std::vector<std::string> SkinScopes(const std::vector<DeclaredResource>& resources) {
    std::vector<std::string> skins;
    for (const DeclaredResource& r : resources)
        if (!IsFixedScope(r.scope) && std::find(skins.begin(), skins.end(), r.scope) == skins.end())
            skins.push_back(r.scope);
    return skins;
}

// ---- the checks -------------------------------------------------------------------

void CheckCatalogue(const std::vector<DeclaredResource>& resources, std::vector<std::string>& problems) {
    CheckGroup(resources, InitGroup(), "init", problems);
    CheckGroup(resources, ZarGroup(), "zar", problems);
    CheckGroup(resources, MenuGroup(), "menu", problems);
    CheckGroup(resources, GryphGroup(), "gryph", problems);

    // The loading screen's stone is cut into frames before any other scope loads.
    const DeclaredResource* stone = Find(resources, "init", "image_loading_stone");
    if (stone && stone->kind != "animimage")
        problems.push_back("IMAGE_LOADING_STONE: must be an animimage (a strip) in scope \"init\", is " + stone->kind);

    const std::vector<std::string> skins = SkinScopes(resources);
    if (skins.empty()) problems.push_back("res.xml: declares no level skin scope");
    for (const std::string& skin : skins) CheckGroup(resources, SkinGroup(), skin, problems);
}

void CheckResourceFiles(const std::vector<DeclaredResource>& resources, std::vector<std::string>& problems) {
    for (size_t i = 0; i < resources.size(); ++i) {
        const DeclaredResource& r = resources[i];
        if (r.path.empty()) {
            problems.push_back(UpperAscii(r.id) + ": declared without a path");
            continue;
        }
        if (IsImageKind(r.kind)) CheckImage(r, problems);
        else if (r.kind == "imagefont") CheckFont(r, problems);
        else if (r.kind == "sound") CheckSound(r, problems);
        else if (r.kind == "effect") CheckEffect(resources, i, problems);
    }
}

void CheckSkinTable(const std::vector<DeclaredResource>& resources, const XmlNode& skins,
                    std::vector<std::string>& problems) {
    for (const std::string& skin : SkinScopes(resources)) {
        sdXMLnode* entry = nullptr;
        for (sdXMLnode* child = skins ? skins->firstchild : nullptr; child && !entry; child = child->NextNode)
            if (XmlNameEquals(child->Tag, "skin") && LowerAscii(Attr(child, "id")) == skin) entry = child;
        if (!entry) {
            problems.push_back("media/skins.xml: no eye positions for the skin \"" + skin + "\"");
            continue;
        }
        for (const char* eye : {"glaz1_1", "glaz1_2", "glaz2_1", "glaz2_2"}) {
            double x = 0, y = 0;
            if (!ReadScreenPoint(Attr(entry, eye), x, y))
                problems.push_back("media/skins.xml: skin \"" + skin + "\" needs " + eye +
                                   " as two numbers on the 800x600 screen, has \"" + Attr(entry, eye) + "\"");
        }
    }
}

void CheckGuiNames(const XmlNode& gui, const std::vector<DeclaredResource>& resources,
                   const std::vector<std::string>& texts, std::vector<std::string>& problems) {
    for (const RequiredGuiName& want : kRequiredGuiNames) {
        const std::string element = want.element;
        sdXMLnode* found = nullptr;
        for (sdXMLnode* child = gui ? gui->firstchild : nullptr; child && !found; child = child->NextNode) {
            if (!GuiElementIs(child->Tag, element) || Attr(child, "id") != want.id) continue;
            if (element != "window" && Attr(child, "window_id") != want.window) continue;
            found = child;
        }
        if (!found) {
            if (element == "window")
                problems.push_back(std::string("gui.xml: no window \"") + want.id + "\" (asked for by " + want.askedBy +
                                   ")");
            else
                problems.push_back("gui.xml: no " + element + " \"" + want.id + "\" in window \"" + want.window +
                                   "\" (asked for by " + want.askedBy + ")");
            continue;
        }
        // The results count into their labels through the "%s" in the text.
        if (element == "label" && !texts.empty()) {
            const int number = XmlAttrInt(found, "text", 0);
            if (TextDefined(texts, number) && texts[static_cast<size_t>(number)].find("%s") == std::string::npos)
                problems.push_back("gui.xml: label \"" + std::string(want.id) + "\" shows text " +
                                   std::to_string(number) + ", which has no %s for its value");
        }
    }

    // Pictures and fonts the layouts name must be there when the menus open.
    static const char* kImageAttrs[] = {"image",       "image_over",   "image_press",   "image_empty",
                                        "image_full",  "image_marker", "image_checked", "image_unchecked"};
    for (sdXMLnode* child = gui ? gui->firstchild : nullptr; child; child = child->NextNode) {
        const std::string what = child->Tag + (Attr(child, "id").empty() ? "" : " \"" + Attr(child, "id") + "\"") +
                                 (Attr(child, "window_id").empty() ? "" : " of " + Attr(child, "window_id"));
        for (const char* attr : kImageAttrs) {
            const std::string id = Attr(child, attr);
            if (id.empty()) continue;
            const DeclaredResource* r = FindGlobal(resources, LowerAscii(id));
            if (!r || !IsImageKind(r->kind))
                problems.push_back(id + ": named by gui.xml (" + what +
                                   ") but not a picture declared in scope init, zar, menu or gryph");
        }
        const std::string font = Attr(child, "font");
        if (!font.empty()) {
            const DeclaredResource* r = FindGlobal(resources, LowerAscii(font));
            if (!r || r->kind != "imagefont")
                problems.push_back(font + ": named by gui.xml (" + what +
                                   ") but not a font declared in scope init, zar, menu or gryph");
        }
    }
}

std::vector<int> ProgramTextNumbers() {
    std::vector<int> numbers;
    for (const ProgramTexts& range : kProgramTexts)
        for (int n = range.first; n <= range.last; ++n) numbers.push_back(n);
    return numbers;
}

std::vector<int> GuiTextNumbers(const XmlNode& gui) {
    std::vector<int> numbers;
    for (sdXMLnode* child = gui ? gui->firstchild : nullptr; child; child = child->NextNode) {
        if (child->Tag != "button" && child->Tag != "label") continue;
        const int n = XmlAttrInt(child, "text", 0);
        if (n > 0 && std::find(numbers.begin(), numbers.end(), n) == numbers.end()) numbers.push_back(n);
    }
    return numbers;
}

void CheckTexts(const std::vector<std::string>& texts, const XmlNode& gui, std::vector<std::string>& problems) {
    for (const ProgramTexts& range : kProgramTexts)
        for (int n = range.first; n <= range.last; ++n)
            if (!TextDefined(texts, n))
                problems.push_back("text " + std::to_string(n) + ": not defined in media/StringE.dat (" +
                                   range.usedFor + ")");
    const std::vector<int> program = ProgramTextNumbers();
    for (int n : GuiTextNumbers(gui)) {
        if (std::find(program.begin(), program.end(), n) != program.end()) continue;
        if (!TextDefined(texts, n))
            problems.push_back("text " + std::to_string(n) + ": named by gui.xml but not defined in media/StringE.dat");
    }
}

void CheckLevels(const XmlNode& levels, const std::vector<DeclaredResource>& resources, const XmlNode& skins,
                 std::vector<std::string>& problems) {
    // The story map has one marker per level, numbered from 1.
    constexpr int kStoryLevels = 28;
    const std::vector<std::string> skinScopes = SkinScopes(resources);
    std::map<int, int> seen;
    for (sdXMLnode* child = levels ? levels->firstchild : nullptr; child; child = child->NextNode) {
        if (child->Tag != "level") continue;
        const int id = XmlAttrInt(child, "id", 0);
        const std::string level = "level " + std::to_string(id);
        const std::string name = "media/levels.xml: " + level;
        if (++seen[id] == 2) problems.push_back(name + ": defined again; only the first is ever played");
        const std::string song = Attr(child, "song");
        if (song.empty()) {
            problems.push_back(name + ": has no song");
        } else {
            for (const char* file : {"song.ogg", "guitar.ogg", "notes.mid"}) {
                const std::string path = "media/songs/" + song + "/" + file;
                if (!fs::is_regular_file(path)) problems.push_back(path + ": not found (" + level + ")");
            }
        }
        const std::string skin = Attr(child, "skin");
        if (skin.empty()) {
            problems.push_back(name + ": has no skin");
            continue;
        }
        if (std::find(skinScopes.begin(), skinScopes.end(), LowerAscii(skin)) == skinScopes.end())
            problems.push_back(name + ": skin \"" + skin + "\" is not a skin scope of res.xml");
        bool listed = false;
        for (sdXMLnode* s = skins ? skins->firstchild : nullptr; s && !listed; s = s->NextNode)
            listed = XmlNameEquals(s->Tag, "skin") && Attr(s, "id") == skin;
        if (!listed) problems.push_back(name + ": skin \"" + skin + "\" has no entry in media/skins.xml");
    }
    for (int id = 1; id <= kStoryLevels; ++id)
        if (!seen.count(id))
            problems.push_back("media/levels.xml: level " + std::to_string(id) + " is missing (the story map has " +
                               std::to_string(kStoryLevels) + ")");
}

ContentCheckResult CheckGameFolder(const std::string& gameDir) {
    ContentCheckResult result;
    std::vector<std::string>& problems = result.problems;
    std::error_code ec;
    const fs::path previous = fs::current_path(ec);
    fs::current_path(gameDir, ec);
    if (ec) {
        problems.push_back(gameDir + ": not a folder that can be entered");
        return result;
    }
    const std::string savedPak = PakPath;
    PakPath = "media/data.pak";
    ResetPakDirectory();

    auto load = [&](const std::string& path, bool required) -> XmlNode {
        if (!fs::is_regular_file(path)) {
            if (required) problems.push_back(path + ": not found");
            return nullptr;
        }
        XmlNode root = XmlLoad(path);
        if (!root) problems.push_back(path + ": holds no XML element");
        return root;
    };
    if (!fs::is_regular_file("media/data.pak")) problems.push_back("media/data.pak: not found");
    if (!fs::is_regular_file("play.url")) problems.push_back("play.url: not found (the game will not start without it)");

    const XmlNode res = load("res.xml", true);
    const XmlNode gui = load("gui.xml", true);
    const XmlNode skins = load("media/skins.xml", true);
    const XmlNode levels = load("media/levels.xml", false);
    if (!fs::is_regular_file(TEXT_TABLE_PATH)) problems.push_back(std::string(TEXT_TABLE_PATH) + ": not found");
    const std::vector<std::string> texts = ReadTexts(TEXT_TABLE_PATH);

    const std::vector<DeclaredResource> resources = ReadDeclarations(res);
    result.resources = static_cast<int>(resources.size());
    CheckCatalogue(resources, problems);
    CheckResourceFiles(resources, problems);
    CheckSkinTable(resources, skins, problems);
    CheckGuiNames(gui, resources, texts, problems);
    result.guiNames = static_cast<int>(std::size(kRequiredGuiNames));
    CheckTexts(texts, gui, problems);
    result.texts = static_cast<int>(ProgramTextNumbers().size() + GuiTextNumbers(gui).size());
    if (levels) {
        CheckLevels(levels, resources, skins, problems);
        for (sdXMLnode* child = levels->firstchild; child; child = child->NextNode)
            if (child->Tag == "level") ++result.levels;
    }

    PakPath = savedPak;
    ResetPakDirectory();
    fs::current_path(previous, ec);
    return result;
}
