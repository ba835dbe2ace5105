// libFuzzer entry point for the dialog layouts ("gui.xml") through the loader
// that builds dialogs from them: every window the file names is opened with
// every control the file gives it, as the game's dialogs ask for them. Any
// bytes must build dialogs whose controls are all their own children, never
// crash, hang, read outside the file or step into undefined behaviour
// converting the sizes and positions it holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/Xml.h"
#include "core/TextHelpers.h"
#include "gui/GuiDocument.h"
#include "gui/TDialogHelper.h"
#include "gui/TWidgetmanager.h"
#include "media/TStream.h"

namespace {

// A control element of a window: its kind, as the loader matches it, and its id.
struct Control {
    std::string kind, id;
};

class FuzzDialog : public TDialog {
    TOTEM_CLASS(FuzzDialog)
public:
    std::vector<Control> controls;
    size_t built = 0;
    void AddedToManager() override {
        int number = 1;
        for (const Control& c : controls) {
            WidgetPtr w;
            if (c.kind == "button") w = LoadButton(*this, c.id, number, 1);
            else if (c.kind == "scrollbarh") w = LoadScrollBar(*this, c.id, number, 1);
            else if (c.kind == "checkbox") w = LoadCheckBox(*this, c.id, number, number % 2, 1);
            if (!w) std::abort();  // the element is there, so the control must be
            ++built;
            ++number;
        }
        LoadStatics(*this, "");
        TDialog::AddedToManager();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GuiDocument = XmlLoad(OpenMemory(std::vector<uint8_t>(data, data + size), "gui.xml"));
    WidgetManager = std::make_shared<TWidgetmanager>();
    std::vector<std::shared_ptr<FuzzDialog>> dialogs;
    for (sdXMLnode* n = GuiDocument ? GuiDocument->firstchild : nullptr; n; n = n->NextNode) {
        if (n->Tag != "window" || dialogs.size() >= 16) continue;
        auto dialog = std::make_shared<FuzzDialog>();
        dialog->id = XmlAttrString(n, "id", "");
        for (sdXMLnode* c = GuiDocument->firstchild; c; c = c->NextNode) {
            // Buttons are matched by their exact name, the other controls in any case.
            const std::string kind = c->Tag == "button" ? c->Tag : LowerAscii(c->Tag);
            if (kind == "button" && c->Tag != "button") continue;
            if (kind != "button" && kind != "scrollbarh" && kind != "checkbox") continue;
            if (!dialog->id.empty() && XmlAttrString(c, "window_id", "") != dialog->id) continue;
            if (dialog->controls.size() < 32) dialog->controls.push_back({kind, XmlAttrString(c, "id", "")});
        }
        LoadWindow(dialog);
        dialogs.push_back(dialog);
    }
    for (const auto& dialog : dialogs) {
        if (dialog->built != dialog->controls.size() || dialog->Widgets.size() < dialog->built) std::abort();
        for (const WidgetPtr& w : dialog->Widgets)
            if (!w) std::abort();
    }
    WidgetManager.reset();
    GuiDocument.reset();
    return 0;
}
