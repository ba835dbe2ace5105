#pragma once
#include <span>
#include <string>
#include <vector>

#include "content/Xml.h"

// Checks a runtime game folder against everything the program asks for: the
// catalogue's resource ids in their scopes, the files behind them, the skin
// table, the dialog names in the GUI description, the text numbers and the
// level table. Each check appends problem lines, "FILE: problem" or
// "ID: problem", so a content author sees at once what is missing where. The
// totem-content-check tool runs them all; tests run them on small fixtures.

// One resource as the resource description declares it, with the id prefix and
// path prefix of its group applied and the id, scope and path lower-cased as
// the resource manager stores them.
struct DeclaredResource {
    std::string scope;
    std::string id;
    std::string kind;  // "image", "animimage", "imagefont", "sound" or "effect"
    std::string path;
    std::string mask;  // a separate mask picture, or empty
    int width = 0, height = 0, frames = 0;  // strips
};

// Every declaration of the document's "resources" groups, in document order
// (which is the order the game loads them in within a scope).
std::vector<DeclaredResource> ReadDeclarations(const XmlNode& root);

// Scope ids the game loads by name; every other declared scope is a level skin.
bool IsFixedScope(const std::string& scope);
// The declared skin scopes, lower case, in order of first appearance.
std::vector<std::string> SkinScopes(const std::vector<DeclaredResource>& resources);

// Every catalogue id declared in its scope with a matching kind, the loading
// stone as a strip in "Init", at least one skin scope, and every skin scope
// holding every skin id.
void CheckCatalogue(const std::vector<DeclaredResource>& resources, std::vector<std::string>& problems);

// Every declared file present and readable the way the game reads it, from the
// current folder: pictures, strips and effects through the data pack, fonts and
// sounds as loose files. Effects must name pictures loaded before them and
// trails that are declared. Sounds need the silent mixer (or another) in use.
void CheckResourceFiles(const std::vector<DeclaredResource>& resources, std::vector<std::string>& problems);

// Every skin scope listed in the skin table with four on-screen eye positions.
void CheckSkinTable(const std::vector<DeclaredResource>& resources, const XmlNode& skins,
                    std::vector<std::string>& problems);

// A window or control some dialog asks the GUI description for by name. A
// missing one leaves that dialog without the control (or, for a window,
// without its size and place).
struct RequiredGuiName {
    const char* element;  // "window", "button", "scrollbarh", "checkbox" or "label"
    const char* window;   // the window_id a control must carry; unused for windows
    const char* id;
    const char* askedBy;  // the dialog that asks for it
};

// Every name the dialogs ask for: the one list the content check and the
// tests of the loader share.
std::span<const RequiredGuiName> RequiredGuiNames();

// Every window and control a dialog asks for present in the GUI description,
// every picture and font it names declared in a scope loaded before the menus
// open, and (when `texts` is not empty) the results labels' texts holding the
// "%s" their values replace.
void CheckGuiNames(const XmlNode& gui, const std::vector<DeclaredResource>& resources,
                   const std::vector<std::string>& texts, std::vector<std::string>& problems);

// The text numbers the program itself uses, and those of the GUI description.
std::vector<int> ProgramTextNumbers();
std::vector<int> GuiTextNumbers(const XmlNode& gui);

// Every used text number defined in the table (read by the game's reader), so
// no placeholder text can reach the screen.
void CheckTexts(const std::vector<std::string>& texts, const XmlNode& gui, std::vector<std::string>& problems);

// Every story level defined once, with a song folder holding its two tracks and
// its chart, and a skin that is a declared skin scope listed in the skin table.
void CheckLevels(const XmlNode& levels, const std::vector<DeclaredResource>& resources, const XmlNode& skins,
                 std::vector<std::string>& problems);

struct ContentCheckResult {
    std::vector<std::string> problems;
    int resources = 0;    // declarations checked
    int guiNames = 0;     // dialog names looked for
    int texts = 0;        // text numbers looked for
    int levels = 0;       // levels found in the level table
};

// Runs every check on the game folder `gameDir`. Works from inside the folder
// (the game's paths are relative to it) and returns to the previous folder.
ContentCheckResult CheckGameFolder(const std::string& gameDir);
