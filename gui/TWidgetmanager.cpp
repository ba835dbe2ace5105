#include "gui/TWidgetmanager.h"

#include <algorithm>

#include "core/TGraphicsState.h"
#include "core/TScreenShake.h"
#include "media/Graphics.h"
#include "media/Input.h"

std::shared_ptr<TWidgetmanager> WidgetManager;

MouseSource::MouseSource()
    : x([] { return VirtualMouseX(); }),
      y([] { return VirtualMouseY(); }),
      down([](int button) { return MouseDown(button); }) {}

namespace {
// Widgets this large can never be hit.
constexpr long long kHitAreaLimit = 4000000;
}  // namespace

int TWidgetmanager::MouseXi() const { return static_cast<int>(Mouse.x()); }
int TWidgetmanager::MouseYi() const { return static_cast<int>(Mouse.y()); }

bool TWidgetmanager::Contains(const TWidget* w) const {
    return std::any_of(WidgetsList.begin(), WidgetsList.end(),
                       [w](const WidgetPtr& e) { return e.get() == w; });
}

template <class Visit>
void TWidgetmanager::ForEachListed(Visit visit) {
    const std::vector<WidgetPtr> snapshot = WidgetsList;
    const uint64_t removalsBefore = _removals;
    for (const auto& w : snapshot) {
        if (_removals != removalsBefore && !Contains(w.get())) continue;
        visit(w);
    }
}

WidgetPtr TWidgetmanager::WidgetAt(int mx, int my) const {
    bool active = TopModalWidget == nullptr;
    WidgetPtr best;
    long long bestArea = kHitAreaLimit;
    const float fx = static_cast<float>(mx), fy = static_cast<float>(my);
    for (const auto& w : WidgetsList) {
        if (w == TopModalWidget) active = true;
        if (!active) continue;
        if (!(fx > w->_x && fx < w->_x + static_cast<float>(w->_width))) continue;
        if (!(fy > w->_y && fy < w->_y + static_cast<float>(w->_height))) continue;
        if (w->MouseSensetive == 0 || w->Enable == 0) continue;
        const long long area = static_cast<long long>(w->_width) * w->_height;
        if (area < bestArea) {
            best = w;
            bestArea = area;
        }
    }
    return best;
}

void TWidgetmanager::LeaveCurrent() {
    if (!CurrentWidget) return;
    // Keep it alive through its own MouseLeave.
    const WidgetPtr left = CurrentWidget;
    left->IsOver = 0;
    left->MouseLeave();
}

void TWidgetmanager::MouseMove() {
    WidgetPtr w = WidgetAt(MouseXi(), MouseYi());
    if (w) {
        if (w != CurrentWidget) {
            LeaveCurrent();
            w->IsOver = 1;
            w->MouseEnter();
        }
        CurrentWidget = w;
    } else {
        LeaveCurrent();
        CurrentWidget = nullptr;
    }
}

void TWidgetmanager::MouseDown_(int button) {
    WidgetPtr w = WidgetAt(MouseXi(), MouseYi());
    if (w && (!LastDownWidget || LastDownWidget == w)) {
        w->MouseDown_(button);
        LastDownWidget = w;
    }
    OldMouseButton = button;
}

void TWidgetmanager::MouseUp(int button) {
    if (LastDownWidget) {
        // Cleared before the call: a click handler may start a new press
        // routing (open a dialog) from inside MouseUp.
        const WidgetPtr pressed = std::move(LastDownWidget);
        LastDownWidget = nullptr;
        pressed->MouseUp(button);
    }
    OldMouseButton = 0;
}

void TWidgetmanager::UpdateListener() {
    const float mouseX = Mouse.x(), mouseY = Mouse.y();

    // A widget newly under the mouse, whether it appeared under a resting
    // mouse or the mouse moved onto it, takes the hover here. It becomes the
    // current widget at once so the hover tracking below does not enter it a
    // second time, and the widget it replaces is left, so every enter is
    // matched by exactly one leave.
    if (WidgetPtr w = WidgetAt(static_cast<int>(mouseX), static_cast<int>(mouseY)); w && w->IsOver == 0) {
        if (CurrentWidget != w) LeaveCurrent();
        w->IsOver = 1;
        w->MouseEnter();
        CurrentWidget = w;
    }

    const int dx = static_cast<int>(mouseX - OldMouseX);
    const int dy = static_cast<int>(mouseY - OldMouseY);
    if (dx != 0 || dy != 0) MouseMove();

    // Frozen widgets still follow the mouse.
    ForEachListed([&](const WidgetPtr& w) {
        if (w->Enable != 0) w->MouseMove(dx, dy);
    });

    int button = 0;
    for (int b = 1; b <= 3; ++b)
        if (Mouse.down(b)) button = b;
    if (button > 0) MouseDown_(button);
    if (OldMouseButton != button && OldMouseButton > 0) MouseUp(OldMouseButton);

    OldMouseX = mouseX;
    OldMouseY = mouseY;
}

void TWidgetmanager::Update(float dt) {
    const float mouseX = OldMouseX, mouseY = OldMouseY;
    UpdateListener();
    Focus.Update(WidgetsList, TopModalWidget, OldMouseX != mouseX || OldMouseY != mouseY);
    bool active = TopModalWidget == nullptr;
    ForEachListed([&](const WidgetPtr& w) {
        if (w == TopModalWidget) active = true;
        if (!active || w->Enable == 0) return;
        w->Update(dt);
        if (w->OnShowFirst == 0 && w->Visible == 1) {
            w->OnShowFirst = 1;
            w->OnShow();
        }
    });
}

void TWidgetmanager::Draw() {
    ForEachListed([&](const WidgetPtr& w) {
        if (w->Visible == 0) return;
        PushDrawState();
        if (w->Clip != 0) {
            // The shake moves the content, not the clip rectangle.
            SetOrigin(w->_x + w->_originx + ShakeOffsetX, w->_y + w->_originy + ShakeOffsetY);
            SetViewport(static_cast<int>(w->_x), static_cast<int>(w->_y), w->_width, w->_height);
        }
        w->Draw();
        PopDrawState();
    });
}

void TWidgetmanager::AddWidget(const WidgetPtr& w) {
    if (!w) return;
    WidgetsList.push_back(w);
    if (w->Modal != 0) TopModalWidget = w;
    w->AddedToManager();
}

void TWidgetmanager::AddWidgetBefore(const WidgetPtr& w, const WidgetPtr& before) {
    if (!w) return;
    auto it = std::find(WidgetsList.begin(), WidgetsList.end(), before);
    if (it == WidgetsList.end()) return;
    WidgetsList.insert(it, w);
    w->AddedToManager();
}

void TWidgetmanager::RemoveWidget(const WidgetPtr& w) {
    if (!w) return;
    // Held until the end: the list may have had the last reference.
    const WidgetPtr keep = w;
    auto it = std::find(WidgetsList.begin(), WidgetsList.end(), keep);
    if (it != WidgetsList.end()) {
        WidgetsList.erase(it);
        ++_removals;
    }
    if (keep == TopModalWidget) {
        TopModalWidget = nullptr;
        for (const auto& e : WidgetsList)
            if (e->Modal != 0) TopModalWidget = e;
    }
    keep->RemovedFromManager();
}
