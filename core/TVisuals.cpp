#include "core/TVisuals.h"

#include <vector>

std::list<VisualsPtr> Visuals;

namespace {
// A visual's Update or Draw may add or drop registry entries, so every walk
// runs over a copy and skips entries that left the registry meanwhile.
std::vector<VisualsPtr> Snapshot() { return {Visuals.begin(), Visuals.end()}; }

bool Registered(const VisualsPtr& v) {
    for (const auto& e : Visuals)
        if (e == v) return true;
    return false;
}

void Forget(const VisualsPtr& v) {
    for (auto it = Visuals.begin(); it != Visuals.end(); ++it)
        if (*it == v) {
            Visuals.erase(it);
            return;
        }
}

template <class Pick>
void DrawWhere(Pick pick) {
    for (const auto& v : Snapshot()) {
        if (!Registered(v)) continue;
        if (v->Drawable != 0 && pick(*v)) v->Draw();
    }
}
}  // namespace

void TVisuals::UpdateVisuals(float dt) {
    for (const auto& v : Snapshot()) {
        if (!Registered(v)) continue;
        v->Update(dt);
        if (v->Death != 0) Forget(v);
    }
}

void TVisuals::DrawVisuals() {
    DrawWhere([](const TVisuals& v) { return v.Under == 0 && v.Over == 0; });
}

void TVisuals::DrawVisuals_Under() {
    DrawWhere([](const TVisuals& v) { return v.Under != 0 && v.Over == 0; });
}

void TVisuals::DrawVisuals_Over() {
    DrawWhere([](const TVisuals& v) { return v.Over != 0 && v.Under == 0; });
}

void TVisuals::ClearVisuals() {
    Visuals.remove_if([](const VisualsPtr& v) { return v->Constant == 0; });
}
