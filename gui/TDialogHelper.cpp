#include "gui/TDialogHelper.h"

#include <algorithm>

#include "content/ResourceCatalogue.h"
#include "content/TResManager.h"
#include "content/TextTable.h"
#include "content/Xml.h"
#include "core/MathHelpers.h"
#include "core/TGraphicsState.h"
#include "core/TextHelpers.h"
#include "gui/GuiDocument.h"
#include "gui/TImageWidget.h"
#include "gui/TLabel.h"
#include "gui/TWidgetmanager.h"
#include "media/System.h"

namespace {

// Element names: these four are matched exactly, the form controls in any case.
enum class Match { Exact, AnyCase };

bool Is(const sdXMLnode* node, const char* name, Match match) {
    return match == Match::Exact ? node->Tag == name : LowerAscii(node->Tag) == name;
}

template <class Visit>
void ForEachElement(Visit visit) {
    if (!GuiDocument) return;
    for (sdXMLnode* node = GuiDocument->firstchild; node; node = node->NextNode) visit(node);
}

// The first control element `name` called `id` that belongs to the window.
sdXMLnode* FindControl(const char* name, Match match, const TWindow& window, const std::string& id) {
    sdXMLnode* found = nullptr;
    ForEachElement([&](sdXMLnode* node) {
        if (found || !Is(node, name, match) || XmlAttrString(node, "id", "") != id) return;
        if (!window.id.empty() && XmlAttrString(node, "window_id", "") != window.id) return;
        found = node;
    });
    return found;
}

ImagePtr ImageAttr(sdXMLnode* node, const char* name) {
    const std::string id = XmlAttrString(node, name, "");
    return id.empty() || !ResManager ? nullptr : ResManager->GetImage(id);
}

FontPtr FontAttr(sdXMLnode* node, const char* name) {
    const std::string id = XmlAttrString(node, name, "");
    return id.empty() || !ResManager ? nullptr : ResManager->GetImageFont(id);
}

std::string Text(int n) { return n >= 0 && n < static_cast<int>(TextTable.size()) ? TextTable[size_t(n)] : ""; }

// Layout numbers are screen pixels. A damaged file's are held to a range in
// which a dialog's place plus a control's offset still fits an int.
constexpr float kLayoutLimit = 1 << 20;
int LayoutInt(float value) { return WholeInt(std::clamp(value, -kLayoutLimit, kLayoutLimit)); }

struct Point {
    float x, y;
};

Point PointAttr(sdXMLnode* node, const char* name, Point def) {
    const VectorPtr v = XmlAttrVector(node, name, nullptr);
    return v ? Point{v->x, v->y} : def;
}

// `pos` of a control, moved left by half its width when it gives the centre.
Point Placed(sdXMLnode* node, float width) {
    Point pos = PointAttr(node, "pos", {0, 0});
    if (XmlAttrInt(node, "x_centered", 0) != 0) pos.x -= width / 2.0f;
    return pos;
}

// Makes `child` a child of the window at the offset `pos`.
void Attach(TDialog& window, const WidgetPtr& child, Point pos, int add) {
    child->x = LayoutInt(pos.x);
    child->y = LayoutInt(pos.y);
    if (add != 0 && WidgetManager) WidgetManager->AddWidget(child);
    window.Widgets.push_back(child);
}

void LoadLabelElement(TDialog& window, sdXMLnode* node) {
    auto label = std::make_shared<TLabel>();
    label->text = Text(XmlAttrInt(node, "text", 0));
    label->XMLText = label->text;
    label->Font = FontAttr(node, "font");
    label->id = XmlAttrString(node, "id", "");
    const Point pos = Placed(node, static_cast<float>(TextWidthWithFont(label->text, label->Font)));
    label->_x = window._x + pos.x;
    label->_y = window._y + pos.y;
    label->LabelColor = XmlAttrColor(node, "color", nullptr);
    Attach(window, label, pos, 1);
}

void LoadImageElement(TDialog& window, sdXMLnode* node) {
    auto widget = std::make_shared<TImageWidget>();
    widget->Image = ImageAttr(node, "image");
    if (!widget->Image) {
        PrintLine("IMAGE TO WIDGET NOT FOUND: " + XmlAttrString(node, "image", ""));
        return;
    }
    widget->id = XmlAttrString(node, "id", "");
    const Point pos = Placed(node, static_cast<float>(widget->Image->width));
    widget->_x = window._x + pos.x;
    widget->_y = window._y + pos.y;
    widget->_width = widget->Image->width;
    widget->_height = widget->Image->height;
    widget->Color = XmlAttrColor(node, "color", nullptr);
    Attach(window, widget, pos, 1);
}

}  // namespace

void LoadWindow(const DialogPtr& dialog) {
    if (!dialog) return;
    sdXMLnode* window = nullptr;
    ForEachElement([&](sdXMLnode* node) {
        if (!window && Is(node, "window", Match::Exact) && XmlAttrString(node, "id", "") == dialog->id) window = node;
    });
    const VectorPtr size = window ? XmlAttrVector(window, "size", nullptr) : nullptr;
    const Point pos = window ? PointAttr(window, "pos", {-1, -1}) : Point{-1, -1};

    dialog->SetImage(IMAGE_DIALOG);
    dialog->Tile_Up = IMAGE_DIALOG_UP;
    dialog->Tile_Down = IMAGE_DIALOG_DOWN;
    dialog->Tile_Left = IMAGE_DIALOG_LEFT;
    dialog->Tile_Right = IMAGE_DIALOG_RIGHT;
    if (WidgetManager) WidgetManager->AddWidget(dialog);
    if (size) {
        dialog->_width = LayoutInt(size->x);
        dialog->_height = LayoutInt(size->y);
    }
    if (pos.x == -1 && pos.y == -1)
        dialog->CenterToScreen();
    else
        dialog->SetPosition(LayoutInt(pos.x), LayoutInt(pos.y));
}

ButtonPtr LoadButton(TDialog& window, const std::string& id, int buttonId, int add) {
    sdXMLnode* node = FindControl("button", Match::Exact, window, id);
    if (!node) return nullptr;
    const ImagePtr image = ImageAttr(node, "image");
    const Point pos = Placed(node, image ? static_cast<float>(image->width) : 0.0f);
    const int text = XmlAttrInt(node, "text", 0);
    ButtonPtr button = CreateButton(LayoutInt(pos.x), LayoutInt(pos.y), image,
                                    text > 0 ? Text(text) : "", buttonId, window.weak_from_this().lock(), 1, 2);
    button->Font = FONT_MENU;
    button->OverImage = ImageAttr(node, "image_over");
    button->DownImage = ImageAttr(node, "image_press");
    button->EffectOver = EFFECT_BUTTON;
    Attach(window, button, pos, add);
    return button;
}

ScrollBarPtr LoadScrollBar(TDialog& window, const std::string& id, int scrollId, int add) {
    sdXMLnode* node = FindControl("scrollbarh", Match::AnyCase, window, id);
    if (!node) return nullptr;
    ScrollBarPtr bar = CreateScrollBar(ImageAttr(node, "image_empty"), ImageAttr(node, "image_full"),
                                       ImageAttr(node, "image_marker"), XmlAttrInt(node, "height", 0), scrollId,
                                       window.weak_from_this().lock());
    Attach(window, bar, PointAttr(node, "pos", {0, 0}), add);
    return bar;
}

CheckboxPtr LoadCheckBox(TDialog& window, const std::string& id, int checkId, int state, int add) {
    sdXMLnode* node = FindControl("checkbox", Match::AnyCase, window, id);
    if (!node) return nullptr;
    CheckboxPtr box = CreateCheckBox(ImageAttr(node, "image_checked"), ImageAttr(node, "image_unchecked"), state, 0,
                                     0, checkId, window.weak_from_this().lock());
    Attach(window, box, PointAttr(node, "pos", {0, 0}), add);
    return box;
}

void LoadStatics(TDialog& window, const std::string& windowId) {
    const std::string wid = windowId.empty() ? window.id : windowId;
    ForEachElement([&](sdXMLnode* node) {
        const bool label = Is(node, "label", Match::Exact), image = Is(node, "image", Match::Exact);
        if ((!label && !image) || XmlAttrString(node, "window_id", "") != wid) return;
        if (label)
            LoadLabelElement(window, node);
        else
            LoadImageElement(window, node);
    });
}
