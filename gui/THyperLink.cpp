#include "gui/THyperLink.h"

#include "core/TextHelpers.h"
#include "gui/DrawWrappedText.h"
#include "media/Files.h"
#include "media/Graphics.h"
#include "media/System.h"

namespace {

bool IsShortcut(const std::string& target) {
    return target.size() >= 4 && LowerAscii(target.substr(target.size() - 4)) == ".url";
}

}  // namespace

void THyperLink::Draw() {
    SetScale(1, 1);
    SetFont(Font);
    ApplyColor(IsOver != 0 ? OverColor : NormalColor);
    DrawWrappedText(0, 0, Text, _width, 1, 1);
}

void THyperLink::MouseUp(int) {
    if (IsOver == 0) return;
    if (const WidgetPtr listener = Listener.lock()) listener->DePress(ID);
    if (URL.empty()) return;
    if (IsShortcut(URL) && PathKind(URL) != 1) return;
    OpenURL(URL);
}

HyperLinkPtr CreateHyperLink(const std::string& text, const FontPtr& font, int id, const WidgetPtr& listener) {
    auto link = std::make_shared<THyperLink>();
    link->Text = text;
    link->Font = font;
    link->ID = id;
    link->Listener = listener;
    return link;
}
