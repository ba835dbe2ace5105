#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <map>

#include "display/GameOnDisplay.h"
#include "media/TPicture.h"
#include "progress/TUser.h"

// The built game taken through its screens as a player goes through them,
// for the journey tests. Each driver works on a fresh copy of the runtime
// folder (the songs linked, not copied; no profiles and no options yet) and
// runs the game there in an X server of its own with the play trace and the
// test option's fast level on. It clicks the buttons where the dialog layouts
// put them, types, reads the window's pixels in design coordinates (the 800 ×
// 600 screen, wherever a full-screen window stretches it to), waits on the
// trace's lines, and reads and writes the files the game keeps.
class JourneyDriver {
public:
    // Generous waits: the game shares a small machine with other tests.
    static constexpr int kScreenWaitMs = 60000;
    static constexpr int kLevelWaitMs = 240000;

    JourneyDriver();
    ~JourneyDriver();

    // Copies the runtime folder; false with the reason in `problem`.
    bool Prepare(std::string& problem);
    // Starts the game in the folder (the server first, once) and waits for
    // its main menu.
    bool Start(std::string& problem);
    // Ends the game the way the window's close button does and starts it again.
    bool Restart(std::string& problem);

    const std::filesystem::path& Folder() const { return folder_; }
    GameOnDisplay& Display() { return display_; }

    // ---- The trace ------------------------------------------------------------
    size_t Mark() { return display_.Game().Mark(); }
    // The first line since `from` that is `line` or, with `prefix`, starts with it.
    std::optional<std::string> Wait(const std::string& line, size_t from, int timeoutMs = kScreenWaitMs,
                                    bool prefix = false);
    // "dialog <id> open" since `from`.
    bool WaitOpen(const std::string& windowId, size_t from, int timeoutMs = kScreenWaitMs);
    bool WaitClosed(const std::string& windowId, size_t from, int timeoutMs = kScreenWaitMs);
    // The trace's lines since `from`, less those of play, for a failure's message.
    std::string Said(size_t from);

    // ---- Input ----------------------------------------------------------------
    // A left click at a design point.
    bool ClickAt(int x, int y);
    // A left click in the middle of a button of the dialog layouts; the
    // window is where the layouts put it (centred when they say so).
    bool ClickButton(const std::string& windowId, const std::string& buttonId);
    // The middle of that button in design coordinates.
    bool ButtonCentre(const std::string& windowId, const std::string& buttonId, int& x, int& y);
    // A design point of a window of the layouts: its top-left corner plus (dx, dy).
    bool InWindow(const std::string& windowId, int dx, int dy, int& x, int& y);
    bool Type(const std::string& text);
    // A key tapped, as xdotool names it ("Return", "Escape", "Right").
    bool Tap(const std::string& key);

    // ---- The screen -----------------------------------------------------------
    WindowShot Shot();
    // The pixel a shot shows at a design point.
    static uint32_t At(const WindowShot& shot, int x, int y);
    // How many pixels of the design rectangle differ between two shots by
    // more than `tolerance` in any channel.
    static int Differing(const WindowShot& a, const WindowShot& b, int x, int y, int w, int h, int tolerance = 24);
    // The share of an image's opaque pixels that the shot shows (within a
    // small tolerance) with the image drawn at the design point (x, y) as the
    // game draws it: centred there when the resource descriptions give it a
    // middle handle, else with its top-left corner there. 0 for an unknown image.
    float Shows(const WindowShot& shot, const std::string& imageId, int x, int y);
    // How well a button of the layouts shows at its home place, in its plain
    // look or the one under the pointer (as Shows).
    float ButtonShows(const WindowShot& shot, const std::string& windowId, const std::string& buttonId);
    // An image of the built game as it is stored; null when unknown.
    PicturePtr Picture(const std::string& imageId, bool* midHandle = nullptr);
    // Keeps a shot beside the test's temporary files; the path.
    static std::string Keep(const WindowShot& shot, const std::string& name);

    // ---- Files ----------------------------------------------------------------
    std::vector<uint8_t> Bytes(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // The profiles in "User.dat", read with the game's own reader.
    bool ReadProfiles(std::vector<UserPtr>& users, UserPtr& current, std::string& error) const;
    // Writes "User.dat" with the game's own writer.
    bool WriteProfiles(const std::vector<UserPtr>& users, const UserPtr& current) const;

private:
    struct Image {
        PicturePtr picture;
        bool midHandle = false;
    };
    bool WaitMainMenu(size_t from, std::string& problem);

    std::filesystem::path folder_;
    GameOnDisplay display_;
    bool serverUp_ = false;
    std::map<std::string, Image> images_;
};
