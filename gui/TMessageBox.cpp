#include "gui/TMessageBox.h"

#include "content/ResourceCatalogue.h"
#include "core/TGraphicsState.h"
#include "gui/DrawWrappedText.h"
#include "gui/TDialogHelper.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"
#include "media/Input.h"

namespace {
// The text's box is the dialog less this margin on each side, and starts
// this far below the dialog's top (under the heading).
constexpr int kTextMargin = 50;
constexpr int kTextTop = 100;
// From the text's top to the buttons, and from the buttons to the bottom.
constexpr int kGapAboveButtons = 60;
constexpr int kSpaceBelowButtons = 70;
constexpr int kButtonGap = 10;
}  // namespace

int TMessageBox::TextHeightInBox() const {
    PushDrawState();
    SetFont(FONT_MAIN);
    const int th = DrawWrappedText(0, 0, Text, _width - 2 * kTextMargin, 1, 0);
    PopDrawState();
    return th;
}

void TMessageBox::Resize(int nx, int ny, int width, int height) {
    TDialog::Resize(nx, ny, width, height);
    const int top = TextHeightInBox() + kTextTop + kGapAboveButtons;
    _height = top + (Button_1 ? Button_1->_height : 0) + kSpaceBelowButtons;
    const int by = static_cast<int>(_y + static_cast<float>(top));
    if (Button_1 && ButtonsCount == 1) {
        Button_1->SetPosition(static_cast<int>(_x + static_cast<float>(_width / 2 - (Button_1->_width + 5) / 2)), by);
    } else if (Button_1) {
        Button_1->SetPosition(static_cast<int>(_x + static_cast<float>(_width / 2 - (Button_1->_width + 5))), by);
        if (Button_2) Button_2->SetPosition(static_cast<int>(_x + static_cast<float>(_width / 2 + kButtonGap / 2)), by);
    }
}

void TMessageBox::CenterToScreen() {
    Resize(static_cast<int>(_x), static_cast<int>(_y), _width, _height);
    TDialog::CenterToScreen();
}

void TMessageBox::RemovedFromManager() { TDialog::RemovedFromManager(); }

void TMessageBox::AddedToManager() {
    // Enter and Escape pressed before the question was asked are no answer.
    KeyHitCount(KEY_ENTER);
    KeyHitCount(KEY_ESCAPE);
    if (ButtonsCount > 0) {
        Button_1 = LoadButton(*this, "button_1", Button_1_ID, 1);
        if (Button_1) Button_1->Label = ButtonName1;
    }
    if (ButtonsCount > 1) {
        Button_2 = LoadButton(*this, "button_2", Button_2_ID, 1);
        if (Button_2) Button_2->Label = ButtonName2;
    }
    TDialog::AddedToManager();
}

void TMessageBox::Update(float) {
    const bool enter = KeyHitCount(KEY_ENTER) > 0;
    const bool escape = KeyHitCount(KEY_ESCAPE) > 0;
    if (enter)
        DePress(Button_1_ID);
    else if (escape && ButtonsCount > 1)
        DePress(Button_2_ID);
}

void TMessageBox::DePress(int id) {
    // One answer only: a click and a key in the same frame must not answer twice.
    const WidgetPtr self = weak_from_this().lock();
    if (!WidgetManager || !self || !WidgetManager->Contains(this)) return;
    const WidgetPtr listener = Listener.lock();
    WidgetManager->RemoveWidget(self);
    if (listener) listener->DePress(id);
}

void TMessageBox::Draw() {
    TDialog::Draw();
    SetFont(FONT_MAIN);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawWrappedText(kTextMargin, kTextTop, Text, _width - 2 * kTextMargin, 1, 1);
}

MessageBoxPtr OpenMessageBox(const WidgetPtr& listener, const std::string& text, int buttonsCount,
                             const std::string& caption1, const std::string& caption2) {
    auto box = std::make_shared<TMessageBox>();
    box->id = "messagebox";
    box->Listener = listener;
    box->Text = text;
    box->ButtonsCount = buttonsCount;
    box->ButtonName1 = caption1;
    box->ButtonName2 = caption2;
    LoadWindow(box);
    return box;
}
