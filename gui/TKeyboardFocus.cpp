#include "gui/TKeyboardFocus.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "media/Input.h"

namespace {

float CentreX(const TWidget& b) { return b._x + static_cast<float>(b._width) / 2; }
float CentreY(const TWidget& b) { return b._y + static_cast<float>(b._height) / 2; }

// Where the focus starts: the largest button, the first listed of equals. A
// screen's main action is its biggest button (the menu's "play"); a dialog's
// row of equal buttons starts at the first, its "ok".
WidgetPtr Primary(const std::vector<WidgetPtr>& buttons) {
    WidgetPtr best;
    for (const auto& b : buttons)
        if (!best || b->_width * b->_height > best->_width * best->_height) best = b;
    return best;
}

}  // namespace

std::vector<WidgetPtr> TKeyboardFocus::Candidates(const std::vector<WidgetPtr>& list, const WidgetPtr& topModal) {
    std::vector<WidgetPtr> buttons;
    // Widgets listed before the modal one are frozen behind it.
    const auto from = topModal ? std::find(list.begin(), list.end(), topModal) : list.begin();
    for (auto it = from; it != list.end(); ++it) {
        const WidgetPtr& w = *it;
        // A widget out of the mouse's reach (no size) is out of a player's too.
        if (w->KeyFocusable() && w->Enable != 0 && w->Visible != 0 && w->_width > 0 && w->_height > 0)
            buttons.push_back(w);
    }
    return buttons;
}

void TKeyboardFocus::Set(const WidgetPtr& button) {
    const auto old = focused_.lock();
    if (old == button) return;
    // Focus comes and goes as the mouse's hover does, so a screen shows
    // what it shows for a button under the mouse (its help line, its sparks).
    if (old) {
        old->Focused = 0;
        old->MouseLeave();
    }
    focused_ = button;
    if (button) {
        button->Focused = 1;
        button->MouseEnter();
    }
}

void TKeyboardFocus::Clear() { Set(nullptr); }

void TKeyboardFocus::Next(const std::vector<WidgetPtr>& buttons) {
    const auto current = std::find(buttons.begin(), buttons.end(), focused_.lock());
    if (current == buttons.end() || current + 1 == buttons.end()) Set(buttons.front());
    else Set(*(current + 1));
}

void TKeyboardFocus::Move(const std::vector<WidgetPtr>& buttons, int dx, int dy) {
    const auto current = focused_.lock();
    if (!current || std::find(buttons.begin(), buttons.end(), current) == buttons.end()) {
        Set(Primary(buttons));
        return;
    }
    // The nearest button whose centre lies that way, within 60° of the
    // arrow; a button straight ahead wins over a nearer one off to the side.
    WidgetPtr best;
    float bestScore = std::numeric_limits<float>::max();
    for (const auto& b : buttons) {
        if (b == current) continue;
        const float ox = CentreX(*b) - CentreX(*current), oy = CentreY(*b) - CentreY(*current);
        const float along = ox * static_cast<float>(dx) + oy * static_cast<float>(dy);
        const float across = std::fabs(ox * static_cast<float>(dy) - oy * static_cast<float>(dx));
        if (along <= 0 || across > along * 1.75f) continue;
        const float score = along + 2 * across;
        if (score < bestScore) bestScore = score, best = b;
    }
    if (best) Set(best);
}

void TKeyboardFocus::Update(const std::vector<WidgetPtr>& list, const WidgetPtr& topModal, bool mouseMoved) {
    const auto buttons = Candidates(list, topModal);
    auto current = focused_.lock();
    if (current && (mouseMoved || std::find(buttons.begin(), buttons.end(), current) == buttons.end())) {
        Clear();
        current = nullptr;
    }
    if (buttons.empty()) return;
    if (!current) {
        // Only a navigation key gives the focus; the others are left to the
        // widgets untouched.
        const int tab = KeyHitCount(KEY_TAB);
        const int left = KeyHitCount(KEY_LEFT), right = KeyHitCount(KEY_RIGHT);
        const int up = KeyHitCount(KEY_UP), down = KeyHitCount(KEY_DOWN);
        if (tab + left + right + up + down > 0) Set(Primary(buttons));
        return;
    }
    if (KeyHitCount(KEY_TAB) > 0) Next(buttons);
    if (KeyHitCount(KEY_LEFT) > 0) Move(buttons, -1, 0);
    if (KeyHitCount(KEY_RIGHT) > 0) Move(buttons, 1, 0);
    if (KeyHitCount(KEY_UP) > 0) Move(buttons, 0, -1);
    if (KeyHitCount(KEY_DOWN) > 0) Move(buttons, 0, 1);
    if (KeyHitCount(KEY_ENTER) + KeyHitCount(KEY_SPACE) > 0)
        if (const auto pressed = focused_.lock()) pressed->KeyPress();
}
