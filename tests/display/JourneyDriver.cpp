#include "display/JourneyDriver.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "content/Xml.h"
#include "support/ChildProcess.h"
#include "media/TStream.h"
#include "progress/UserFile.h"
#include "support/ToolTest.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDesignW = 800, kDesignH = 600;
constexpr int kCloseWaitMs = 20000;
// A corner of the window where the pointer lights nothing up.
constexpr int kRestX = 4, kRestY = 4;

// Where a window of `width` × `height` shows the design screen: the scale and
// the top-left corner of the letterboxed picture, as the game fits it.
struct Fit {
    float scale = 1, left = 0, top = 0;
    explicit Fit(int width, int height) {
        if (width <= 0 || height <= 0) return;
        scale = std::min(static_cast<float>(width) / kDesignW, static_cast<float>(height) / kDesignH);
        left = (static_cast<float>(width) - kDesignW * scale) / 2;
        top = (static_cast<float>(height) - kDesignH * scale) / 2;
    }
    int X(int x) const { return static_cast<int>(std::floor(left + (static_cast<float>(x) + 0.5f) * scale)); }
    int Y(int y) const { return static_cast<int>(std::floor(top + (static_cast<float>(y) + 0.5f) * scale)); }
};

int Channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
    return true;
}

// An element of a layouts file by tag and attributes, or null.
sdXMLnode* FindElement(const XmlNode& root, const std::string& tag,
                       const std::vector<std::pair<std::string, std::string>>& attrs) {
    for (sdXMLnode* n = root ? root->firstchild : nullptr; n; n = n->NextNode) {
        if (!XmlNameEquals(n->Tag, tag)) continue;
        bool all = true;
        for (const auto& [name, value] : attrs) all = all && XmlAttrString(n, name, "") == value;
        if (all) return n;
    }
    return nullptr;
}

}  // namespace

JourneyDriver::JourneyDriver() = default;

JourneyDriver::~JourneyDriver() {
    display_.Stop();
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
}

bool JourneyDriver::Prepare(std::string& problem) {
    const fs::path built = GameOnDisplay::GameDir();
    folder_ = TestTempPath("journey");
    std::error_code error;
    fs::remove_all(folder_, error);
    fs::create_directories(folder_ / "media", error);
    // Everything but the songs is small; the songs are only read.
    for (const fs::directory_entry& entry : fs::directory_iterator(built)) {
        if (entry.path().filename() == "media") continue;
        fs::copy(entry.path(), folder_ / entry.path().filename(), fs::copy_options::recursive, error);
        if (error) break;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(built / "media")) {
        if (error) break;
        const fs::path to = folder_ / "media" / entry.path().filename();
        if (entry.path().filename() == "songs") fs::create_directory_symlink(entry.path(), to, error);
        else fs::copy(entry.path(), to, fs::copy_options::recursive, error);
    }
    if (error) {
        problem = "the runtime folder cannot be copied to " + folder_.string() + ": " + error.message();
        return false;
    }
    // A player's first start: no profiles, no options.
    fs::remove(folder_ / "User.dat", error);
    fs::remove(folder_ / "options.dat", error);
    return true;
}

bool JourneyDriver::Start(std::string& problem) {
    if (!serverUp_) {
        if (!display_.StartServer(problem)) return false;
        serverUp_ = true;
    }
    if (!display_.Launch(folder_.string(), {"--trace", "--autoplay"}, problem)) return false;
    // No window manager runs: do its part when the game asks for full screen.
    const auto options = Wait("options: ", 0, kScreenWaitMs, true);
    if (!options) {
        problem = "the start-up did not say which options it read";
        return false;
    }
    if (options->find("full screen 1") != std::string::npos) {
        display_.Client().Cover(display_.Window());
        // The start-up centres the window once it is open, which may come
        // after the first cover: cover it again once the menu is up.
        Wait("dialog window_main_menu open", 0, kScreenWaitMs);
        display_.Client().Cover(display_.Window());
    }
    return WaitMainMenu(0, problem);
}

bool JourneyDriver::Restart(std::string& problem) {
    // The window may be a new one since the game last opened its display.
    display_.FindWindow(kCloseWaitMs);
    display_.Client().RequestClose(display_.Window());
    if (!display_.Game().WaitExit(kCloseWaitMs)) {
        problem = "the game did not end when its window was closed";
        return false;
    }
    display_.StopGame();
    return Start(problem);
}

bool JourneyDriver::WaitMainMenu(size_t from, std::string& problem) {
    if (!WaitOpen("window_main_menu", from)) {
        problem = "the main menu did not come up";
        return false;
    }
    // The pointer comes into the window, as a player's hand reaches for the mouse.
    display_.PointAt(kRestX, kRestY);
    return true;
}

std::optional<std::string> JourneyDriver::Wait(const std::string& line, size_t from, int timeoutMs, bool prefix) {
    return display_.Game().WaitFor(
        [&](const std::string& l) { return prefix ? l.rfind(line, 0) == 0 : l == line; }, from, timeoutMs);
}

bool JourneyDriver::WaitOpen(const std::string& windowId, size_t from, int timeoutMs) {
    return Wait("dialog " + windowId + " open", from, timeoutMs).has_value();
}

bool JourneyDriver::WaitClosed(const std::string& windowId, size_t from, int timeoutMs) {
    return Wait("dialog " + windowId + " closed", from, timeoutMs).has_value();
}

std::string JourneyDriver::Said(size_t from) {
    std::string said;
    for (const std::string& l : display_.Game().LinesFrom(from)) {
        if (l.rfind("bat line ", 0) == 0 || l.rfind("catch ", 0) == 0 || l.rfind("miss ", 0) == 0) continue;
        said += "\n  " + l;
    }
    return said.empty() ? " (nothing)" : said;
}

bool JourneyDriver::ClickAt(int x, int y) {
    const WindowShot shot = Shot();
    const Fit fit(shot.width, shot.height);
    XClient& client = display_.Client();
    // Move first and click a moment later, the pointer stirring on the spot
    // as a hand's does: the game looks at the mouse once a frame, and a press
    // must land on the widget it already knows the pointer is over.
    return client.Xdotool({"mousemove", "--window", std::to_string(display_.Window()), std::to_string(fit.X(x)),
                           std::to_string(fit.Y(y)), "sleep", "0.2", "mousemove_relative", "1", "0", "sleep", "0.1",
                           "mousemove_relative", "--", "-1", "0", "sleep", "0.2", "mousedown", "1", "sleep", "0.12",
                           "mouseup", "1"});
}

PicturePtr JourneyDriver::Picture(const std::string& imageId, bool* midHandle) {
    auto known = images_.find(imageId);
    if (known == images_.end()) {
        const XmlNode res = XmlLoad((folder_ / "res.xml").string());
        Image image;
        // Resource descriptions nest their images in groups: search the tree.
        std::vector<sdXMLnode*> pending{res.get()};
        while (!pending.empty() && !image.picture) {
            sdXMLnode* node = pending.back();
            pending.pop_back();
            for (sdXMLnode* n = node ? node->firstchild : nullptr; n; n = n->NextNode) {
                if (XmlNameEquals(n->Tag, "image") && XmlAttrString(n, "id", "") == imageId) {
                    image.picture = GameFolderPicture(folder_, XmlAttrString(n, "path", ""));
                    image.midHandle = XmlAttrInt(n, "midhandle", 0) != 0;
                    break;
                }
                pending.push_back(n);
            }
        }
        known = images_.emplace(imageId, image).first;
    }
    if (midHandle) *midHandle = known->second.midHandle;
    return known->second.picture;
}

float JourneyDriver::Shows(const WindowShot& shot, const std::string& imageId, int x, int y) {
    bool mid = false;
    const PicturePtr picture = Picture(imageId, &mid);
    if (!picture) return 0;
    const int left = mid ? x - picture->Width() / 2 : x, top = mid ? y - picture->Height() / 2 : y;
    int opaque = 0, shown = 0;
    for (int py = 0; py < picture->Height(); ++py)
        for (int px = 0; px < picture->Width(); ++px) {
            const uint32_t argb = picture->ReadPixel(px, py);
            if ((argb >> 24) != 0xFF) continue;
            ++opaque;
            if (Near(At(shot, left + px, top + py), argb & 0xFFFFFF, 40)) ++shown;
        }
    return opaque == 0 ? 0 : static_cast<float>(shown) / static_cast<float>(opaque);
}

bool JourneyDriver::InWindow(const std::string& windowId, int dx, int dy, int& x, int& y) {
    const XmlNode gui = XmlLoad((folder_ / "gui.xml").string());
    sdXMLnode* window = FindElement(gui, "window", {{"id", windowId}});
    if (!window) return false;
    const VectorPtr size = XmlAttrVector(window, "size", nullptr);
    const VectorPtr pos = XmlAttrVector(window, "pos", nullptr);
    int left = pos ? static_cast<int>(pos->x) : -1, top = pos ? static_cast<int>(pos->y) : -1;
    if (left == -1 && top == -1 && size) {
        // Centred as a dialog centres itself.
        left = kDesignW / 2 - static_cast<int>(size->x) / 2;
        top = kDesignH / 2 - static_cast<int>(size->y) / 2;
    }
    x = left + dx;
    y = top + dy;
    return true;
}

bool JourneyDriver::ButtonCentre(const std::string& windowId, const std::string& buttonId, int& x, int& y) {
    const XmlNode gui = XmlLoad((folder_ / "gui.xml").string());
    sdXMLnode* button = FindElement(gui, "button", {{"id", buttonId}, {"window_id", windowId}});
    const VectorPtr pos = button ? XmlAttrVector(button, "pos", nullptr) : nullptr;
    const PicturePtr picture = button ? Picture(XmlAttrString(button, "image", "")) : nullptr;
    if (!pos || !picture) return false;
    const int w = picture->Width(), h = picture->Height();
    const int left = static_cast<int>(pos->x) - (XmlAttrInt(button, "x_centered", 0) != 0 ? w / 2 : 0);
    return InWindow(windowId, left + w / 2, static_cast<int>(pos->y) + h / 2, x, y);
}

float JourneyDriver::ButtonShows(const WindowShot& shot, const std::string& windowId, const std::string& buttonId) {
    const XmlNode gui = XmlLoad((folder_ / "gui.xml").string());
    sdXMLnode* button = FindElement(gui, "button", {{"id", buttonId}, {"window_id", windowId}});
    int cx = 0, cy = 0;
    if (!button || !ButtonCentre(windowId, buttonId, cx, cy)) return 0;
    float best = 0;
    for (const char* look : {"image", "image_over"}) {
        const std::string image = XmlAttrString(button, look, "");
        const PicturePtr picture = image.empty() ? nullptr : Picture(image);
        if (picture)
            best = std::max(best, Shows(shot, image, cx - picture->Width() / 2, cy - picture->Height() / 2));
    }
    return best;
}

bool JourneyDriver::ClickButton(const std::string& windowId, const std::string& buttonId) {
    int x = 0, y = 0;
    return ButtonCentre(windowId, buttonId, x, y) && ClickAt(x, y);
}

bool JourneyDriver::Type(const std::string& text) {
    return display_.Client().Xdotool({"type", "--delay", "120", text});
}

bool JourneyDriver::Tap(const std::string& key) {
    return display_.Client().Xdotool({"keydown", key, "sleep", "0.12", "keyup", key});
}

WindowShot JourneyDriver::Shot() {
    WindowShot shot = display_.Client().Grab(display_.Window());
    // Switching between full screen and a window may give the game a new window.
    if (shot.Empty() && display_.FindWindow(kCloseWaitMs)) shot = display_.Client().Grab(display_.Window());
    return shot;
}

uint32_t JourneyDriver::At(const WindowShot& shot, int x, int y) {
    const Fit fit(shot.width, shot.height);
    return shot.At(fit.X(x), fit.Y(y));
}

int JourneyDriver::Differing(const WindowShot& a, const WindowShot& b, int x, int y, int w, int h, int tolerance) {
    int count = 0;
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            if (!Near(At(a, xx, yy), At(b, xx, yy), tolerance)) ++count;
    return count;
}

std::string JourneyDriver::Keep(const WindowShot& shot, const std::string& name) {
    const std::string path = TestTempPath(name + ".ppm").string();
    shot.SavePpm(path);
    return path;
}

std::vector<uint8_t> JourneyDriver::Bytes(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool JourneyDriver::Exists(const std::string& name) const { return fs::exists(folder_ / name); }

bool JourneyDriver::ReadProfiles(std::vector<UserPtr>& users, UserPtr& current, std::string& error) const {
    StreamPtr stream = OpenMemory(Bytes("User.dat"), (folder_ / "User.dat").string());
    return ReadUserList(*stream, users, current, error);
}

bool JourneyDriver::WriteProfiles(const std::vector<UserPtr>& users, const UserPtr& current) const {
    StreamPtr stream = OpenWrite((folder_ / "User.dat").string());
    if (!stream) return false;
    WriteUserList(*stream, users, current);
    stream->Close();
    return true;
}
