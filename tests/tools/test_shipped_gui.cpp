#include <gtest/gtest.h>

#include <set>

#include "tools/totem-content-check/ContentCheck.h"
#include "gui/LayoutTestSupport.h"
#include "gui/TDialogHelper.h"
#include "gui/TLabel.h"
#include "gui/TMessageBox.h"

// The shipped layouts, read by the real loader: every window opens with all
// its labels and pictures, and every control some dialog asks for by name is
// there with its face, so renaming one in gui.xml (or in a dialog) fails here
// instead of leaving a dialog silently without its button.

namespace {

using guitest::LayoutTest;

class ShippedGui : public LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        if (IsSkipped()) return;
        GuiDocument = XmlLoad(std::string(TOTEM_SOURCE_DIR) + "/assets/gui.xml");
        ASSERT_TRUE(GuiDocument) << "assets/gui.xml";
        // Every picture and font the menus may name, as stand-ins of the sizes
        // the loader reads.
        for (const ResourceGroup* group : {&InitGroup(), &ZarGroup(), &MenuGroup()}) {
            for (const auto& entry : group->images) AddImage(entry.id, guitest::Solid(64, 32, 90, 90, 90));
            for (const auto& entry : group->fonts) AddFont(entry.id, font);
        }
        TextTable.assign(300, "text %s");
    }
};

// Asks, in its AddedToManager, for the controls a game dialog of its window
// asks for, and for the window's statics.
class AskingDialog : public TDialog {
    TOTEM_CLASS(AskingDialog)
    std::vector<RequiredGuiName> wants;
    std::vector<std::string> missing;

    void AddedToManager() override {
        LoadStatics(*this, "");
        for (const RequiredGuiName& want : wants) {
            const std::string element = want.element;
            WidgetPtr control;
            if (element == "button") control = LoadButton(*this, want.id, 1, 1);
            if (element == "scrollbarh") control = LoadScrollBar(*this, want.id, 1, 1);
            if (element == "checkbox") control = LoadCheckBox(*this, want.id, 1, 0, 1);
            if (element == "label") control = Label(want.id);
            // A button without its face would be 0×0: out of the mouse's reach.
            const bool usable = element == "label" ? control != nullptr
                                                   : control && control->_width > 0 && control->_height > 0;
            if (!usable) missing.push_back(element + " \"" + want.id + "\"");
        }
        TDialog::AddedToManager();
    }
    WidgetPtr Label(const std::string& name) const {
        for (const WidgetPtr& w : Widgets)
            if (auto label = std::dynamic_pointer_cast<TLabel>(w); label && label->id == name) return label;
        return nullptr;
    }
};

TEST_F(ShippedGui, EveryWindowOpensWithEveryControlItsDialogAsksFor) {
    std::set<std::string> windows;
    for (sdXMLnode* node = GuiDocument->firstchild; node; node = node->NextNode)
        if (node->Tag == "window") windows.insert(XmlAttrString(node, "id", ""));
    for (const RequiredGuiName& want : RequiredGuiNames())
        windows.insert(std::string(want.element) == "window" ? want.id : want.window);
    ASSERT_GE(windows.size(), 11u);

    for (const std::string& id : windows) {
        WidgetManager = std::make_shared<TWidgetmanager>();
        auto dialog = std::make_shared<AskingDialog>();
        dialog->id = id;
        dialog->Resize(0, 0, 1, 1);
        for (const RequiredGuiName& want : RequiredGuiNames())
            if (std::string(want.element) != "window" && want.window == id) dialog->wants.push_back(want);
        testing::internal::CaptureStdout();
        LoadWindow(dialog);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, "") << "window \"" << id << "\"";
        EXPECT_GT(dialog->_width * dialog->_height, 1) << "window \"" << id << "\" has no size in gui.xml";
        EXPECT_EQ(dialog->missing, std::vector<std::string>{}) << "window \"" << id << "\"";
    }
}

// The quit question pulls its heading from "window_exit" into the message box.
TEST_F(ShippedGui, QuitQuestionGetsItsHeading) {
    testing::internal::CaptureStdout();
    MessageBoxPtr box = OpenMessageBox(listener, "Leave?", 2, "Yes", "No");
    const size_t before = box->Widgets.size();
    LoadStatics(*box, "window_exit");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "");
    EXPECT_EQ(before, 2u) << "both buttons";
    EXPECT_GT(box->Widgets.size(), before);
}

}  // namespace
