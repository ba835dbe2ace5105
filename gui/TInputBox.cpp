#include "gui/TInputBox.h"

#include "content/ResourceCatalogue.h"
#include "core/TGraphicsState.h"
#include "gui/TDialogHelper.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/TStream.h"

namespace {
const char* const kFieldMeasure = "WWWWWWWWWWWWWW";
const char* const kCaret = "_";
// Room kept free between the caret and the field's ends.
constexpr int kFieldPadding = 6;

void DropLastCharacter(std::string& s) {
    while (!s.empty() && (static_cast<unsigned char>(s.back()) & 0xC0) == 0x80) s.pop_back();
    if (!s.empty()) s.pop_back();
}
}  // namespace

TInputBox::TInputBox() : InputFont(FONT_MAIN) {}

void TInputBox::Resize(int nx, int ny, int width, int height) { TDialog::Resize(nx, ny, width, height); }

void TInputBox::AddedToManager() {
    // Whatever was typed while no box was listening (the catcher's keys
    // during a level, say) is not part of the name.
    while (NextTypedChar() != 0) {
    }
    Button_OK = LoadButton(*this, "ok", Button_OK_ID, 1);
    LoadStatics(*this, "");
    TDialog::AddedToManager();
}

TInputBox::Field TInputBox::TextField() const {
    PushDrawState();
    SetFont(nullptr);
    const int W = TextWidth(kFieldMeasure), H = TextHeight(kFieldMeasure);
    PopDrawState();
    return {_width / 2 - 3 * W / 2, _height / 2 - 3 * H / 2, 3 * W, 3 * H};
}

void TInputBox::Type(char32_t c) {
    std::string one;
    AppendUtf8(one, c);
    if (TextWidthWithFont(one, InputFont) <= 1) return;
    const std::string longer = Name + one;
    if (TextWidthWithFont(longer + kCaret, InputFont) > TextField().w - 2 * kFieldPadding) return;
    Name = longer;
}

void TInputBox::Update(float) {
    const int k = NextTypedChar();
    if (k <= 0) return;
    Type(static_cast<char32_t>(k));
    if (k == KEY_BACKSPACE) DropLastCharacter(Name);
    if (k == KEY_ENTER) OK();
    if (k == KEY_ESCAPE) CANCEL();
}

void TInputBox::DePress(int id) {
    if (id == Button_OK_ID) OK();
}

void TInputBox::Finish(const std::string& text) {
    // One answer only: the "ok" button and Enter in the same frame must not answer twice.
    const WidgetPtr self = weak_from_this().lock();
    if (!WidgetManager || !self || !WidgetManager->Contains(this)) return;
    const WidgetPtr listener = Listener.lock();
    WidgetManager->RemoveWidget(self);
    // The Enter or Escape that answered the box is still counted as a key hit:
    // left there, it would answer the dialog under the box as well (the
    // profiles close on Enter) the moment that dialog is updated again.
    ClearKeys();
    if (listener) listener->InputFinished(InputID, text);
}

void TInputBox::OK() { Finish(Name); }
void TInputBox::CANCEL() { Finish(std::string()); }

void TInputBox::Draw() {
    TDialog::Draw();
    const Field f = TextField();
    SetColor(0, 0, 0);
    SetAlpha(0.5f);
    DrawRect(static_cast<float>(f.x), static_cast<float>(f.y), static_cast<float>(f.w), static_cast<float>(f.h));
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetFont(InputFont);
    const std::string shown = Name + kCaret;
    DrawText(shown, static_cast<float>(_width / 2 - TextWidth(shown) / 2),
             static_cast<float>(_height / 2 - TextHeight(shown) / 2));
}

InputBoxPtr OpenInputBox(const WidgetPtr& listener) {
    auto box = std::make_shared<TInputBox>();
    box->id = "window_inputbox";
    box->Listener = listener;
    LoadWindow(box);
    return box;
}
