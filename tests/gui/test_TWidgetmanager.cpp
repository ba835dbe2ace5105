#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/TGraphicsState.h"
#include "core/TScreenShake.h"
#include "gui/TWidget.h"
#include "gui/TWidgetmanager.h"
#include "media/Graphics.h"

namespace {

using Log = std::vector<std::string>;

// A widget that writes every call it receives into a shared log.
class Recorder : public TWidget {
    TOTEM_CLASS(Recorder)
    Recorder(std::string n, Log& log) : name(std::move(n)), log(log) {}

    void Update(float) override {
        Note("update");
        if (onUpdate) onUpdate();
    }
    void Draw() override {
        float ox = 0, oy = 0;
        int vx = 0, vy = 0, vw = 0, vh = 0;
        GetOrigin(ox, oy);
        GetViewport(vx, vy, vw, vh);
        drawnOrigin = {ox, oy};
        drawnViewport = {vx, vy, vw, vh};
        SetColor(1, 2, 3);  // must not leak into the next widget
        Note("draw");
    }
    void MouseMove(int dx, int dy) override {
        moves.push_back({dx, dy});
        if (dx != 0 || dy != 0) Note("move " + std::to_string(dx) + "," + std::to_string(dy));
    }
    void MouseEnter() override { Note("enter"); }
    void MouseLeave() override { Note("leave"); }
    void MouseDown_(int b) override { Note("down" + std::to_string(b)); }
    void MouseUp(int b) override { Note("rel" + std::to_string(b)); }
    void OnShow() override { Note("show"); }
    void AddedToManager() override { Note("added"); }
    void RemovedFromManager() override {
        Note("removed");
        TWidget::RemovedFromManager();
    }

    void Note(const std::string& what) { log.push_back(name + ":" + what); }

    std::string name;
    Log& log;
    std::function<void()> onUpdate;
    std::vector<std::pair<int, int>> moves;
    std::pair<float, float> drawnOrigin{-1, -1};
    std::vector<int> drawnViewport;
};
using RecorderPtr = std::shared_ptr<Recorder>;

class WidgetManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WidgetManager = std::make_shared<TWidgetmanager>();
        WidgetManager->Mouse.x = [this] { return mouseX; };
        WidgetManager->Mouse.y = [this] { return mouseY; };
        WidgetManager->Mouse.down = [this](int b) { return held[b] ? 1 : 0; };
        ShakeOffsetX = ShakeOffsetY = 0;
    }
    void TearDown() override {
        WidgetManager.reset();
        ShakeOffsetX = ShakeOffsetY = 0;
    }

    RecorderPtr Make(const std::string& name, int x, int y, int w, int h) {
        auto r = std::make_shared<Recorder>(name, log);
        r->Resize(x, y, w, h);
        return r;
    }
    RecorderPtr Add(const std::string& name, int x, int y, int w, int h, int modal = 0) {
        auto r = Make(name, x, y, w, h);
        r->Modal = modal;
        WidgetManager->AddWidget(r);
        return r;
    }
    // One frame with the mouse at (x, y).
    void Frame(float x, float y) {
        mouseX = x;
        mouseY = y;
        WidgetManager->Update(1);
    }
    // Entries of the log whose call starts with one of the given kinds, in order.
    Log Only(std::initializer_list<const char*> kinds) const {
        Log out;
        for (const auto& e : log) {
            const std::string call = e.substr(e.find(':') + 1);
            for (const char* k : kinds)
                if (call.rfind(k, 0) == 0) {
                    out.push_back(e);
                    break;
                }
        }
        return out;
    }
    int Count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }

    Log log;
    float mouseX = 0, mouseY = 0;
    std::map<int, bool> held;
};

// ---- Hit testing --------------------------------------------------------------

TEST_F(WidgetManagerTest, WidgetAtPicksTheSmallestStrictlyContainingWidget) {
    auto window = Add("window", 100, 100, 400, 300);
    auto twinA = Add("twinA", 600, 100, 100, 100);
    auto twinB = Add("twinB", 650, 150, 100, 100);  // same area, added later
    auto button = Add("button", 150, 150, 100, 40);
    auto off = Add("off", 300, 300, 20, 20);
    off->SetEnable(0);
    auto deaf = Add("deaf", 320, 300, 20, 20);
    deaf->MouseSensetive = 0;
    auto unseen = Add("unseen", 400, 300, 20, 20);
    unseen->Visible = 0;  // only SetHided hides from hits
    auto huge = Add("huge", 0, 0, 2000, 2000);

    struct Case {
        int x, y;
        TWidget* expected;
    } cases[] = {
        {200, 160, button.get()},  // small button inside the larger, earlier window
        {120, 120, window.get()},
        {675, 175, twinA.get()},   // equal areas: the earlier entry wins
        {725, 225, twinB.get()},
        {100, 200, nullptr},       // left edge of the window
        {200, 100, nullptr},       // top edge
        {500, 200, nullptr},       // right edge
        {101, 101, window.get()},
        {150, 160, window.get()},  // on the button's left edge: falls to the window
        {310, 310, window.get()},  // disabled widget is skipped
        {330, 310, window.get()},  // not mouse-sensitive
        {410, 310, unseen.get()},
        {50, 50, nullptr},         // only the huge widget is there, and it is too large to hit
    };
    for (const auto& c : cases) EXPECT_EQ(WidgetManager->WidgetAt(c.x, c.y).get(), c.expected) << c.x << "," << c.y;
}

TEST_F(WidgetManagerTest, ModalWidgetFreezesEverythingBeforeIt) {
    auto screen = Add("screen", 0, 0, 800, 600);
    auto behind = Add("behind", 10, 10, 50, 50);
    auto dialog = Add("dialog", 200, 200, 300, 200, 1);
    auto child = Add("child", 250, 250, 40, 20);  // added after the dialog: active
    EXPECT_EQ(WidgetManager->TopModalWidget, dialog);
    EXPECT_EQ(WidgetManager->WidgetAt(20, 20), nullptr);
    EXPECT_EQ(WidgetManager->WidgetAt(260, 260), child);
    EXPECT_EQ(WidgetManager->WidgetAt(210, 210), dialog);

    log.clear();
    Frame(5, 5);
    Frame(30, 30);
    WidgetManager->Draw();
    EXPECT_EQ(Only({"update"}), (Log{"dialog:update", "child:update", "dialog:update", "child:update"}));
    EXPECT_EQ(Count("screen:draw") + Count("behind:draw"), 2);
    EXPECT_EQ(Count("behind:move 25,25"), 1);
    EXPECT_EQ(Count("screen:move 25,25"), 1);
    EXPECT_EQ(Count("behind:enter"), 0);
    held[1] = true;
    Frame(30, 30);
    EXPECT_EQ(Count("behind:down1"), 0);
    EXPECT_EQ(Count("screen:down1"), 0);
}

// ---- Mouse routing --------------------------------------------------------------

TEST_F(WidgetManagerTest, HoldingTenFramesGivesTenDownsAndOneUp) {
    auto button = Add("button", 100, 100, 50, 50);
    Frame(120, 120);
    held[1] = true;
    for (int i = 0; i < 10; ++i) Frame(120, 120);
    held[1] = false;
    Frame(120, 120);
    Frame(120, 120);
    EXPECT_EQ(Count("button:down1"), 10);
    EXPECT_EQ(Count("button:rel1"), 1);
    EXPECT_EQ(Only({"down", "rel"}).back(), "button:rel1");
}

TEST_F(WidgetManagerTest, PressStaysWithTheWidgetItStartedOn) {
    auto a = Add("A", 100, 100, 50, 50);
    auto b = Add("B", 300, 100, 50, 50);
    Frame(120, 120);
    held[1] = true;
    Frame(120, 120);
    Frame(320, 120);  // dragged onto B
    Frame(320, 120);
    held[1] = false;
    Frame(320, 120);
    EXPECT_EQ(Only({"down", "rel", "enter", "leave"}),
              (Log{"A:enter", "A:down1", "A:leave", "B:enter", "A:rel1"}));
    // B's own press works once the first one is over.
    held[1] = true;
    Frame(320, 120);
    EXPECT_EQ(Count("B:down1"), 1);
}

TEST_F(WidgetManagerTest, ReleaseOutsideEveryWidgetStillReachesThePressedOne) {
    auto a = Add("A", 100, 100, 50, 50);
    Frame(120, 120);
    held[2] = true;
    Frame(120, 120);
    Frame(700, 500);
    held[2] = false;
    Frame(700, 500);
    EXPECT_EQ(Only({"down", "rel"}), (Log{"A:down2", "A:rel2"}));
    EXPECT_EQ(WidgetManager->LastDownWidget, nullptr);
    EXPECT_EQ(WidgetManager->OldMouseButton, 0);
}

TEST_F(WidgetManagerTest, HighestHeldButtonWins) {
    auto a = Add("A", 100, 100, 50, 50);
    held[1] = held[3] = true;
    Frame(120, 120);
    held[1] = held[3] = false;
    Frame(120, 120);
    held[1] = held[2] = true;
    Frame(120, 120);
    EXPECT_EQ(Only({"down", "rel"}), (Log{"A:down3", "A:rel3", "A:down2"}));
}

TEST_F(WidgetManagerTest, HoverEnterAndLeaveFollowTheMouse) {
    auto a = Add("A", 100, 100, 50, 50);
    auto b = Add("B", 200, 100, 50, 50);
    Frame(120, 120);
    Frame(220, 120);
    Frame(400, 400);
    EXPECT_EQ(Only({"enter", "leave"}), (Log{"A:enter", "A:leave", "B:enter", "B:leave"}));
    EXPECT_EQ(a->IsOver, 0);
    EXPECT_EQ(b->IsOver, 0);
    EXPECT_EQ(WidgetManager->CurrentWidget, nullptr);
}

TEST_F(WidgetManagerTest, WidgetAppearingUnderARestingMouseTakesTheHover) {
    auto back = Add("back", 0, 0, 400, 400);
    Frame(120, 120);
    Frame(120, 120);
    auto a = Add("A", 100, 100, 50, 50);
    Frame(120, 120);
    Frame(120, 120);
    EXPECT_EQ(a->IsOver, 1);
    EXPECT_EQ(back->IsOver, 0);
    EXPECT_EQ(WidgetManager->CurrentWidget, a);
    Frame(300, 300);  // straight off A in one frame
    EXPECT_EQ(a->IsOver, 0);
    EXPECT_EQ(Only({"enter", "leave"}), (Log{"back:enter", "back:leave", "A:enter", "A:leave", "back:enter"}));
}

TEST_F(WidgetManagerTest, MouseMoveReachesEveryEnabledWidgetEveryFrame) {
    auto a = Add("A", 0, 0, 10, 10);
    auto off = Add("off", 20, 0, 10, 10);
    off->SetEnable(0);
    Frame(10.9f, 5);
    Frame(11.5f, 7.2f);  // x moved by 0.6: truncated to 0
    Frame(11.5f, 7.2f);
    EXPECT_EQ(a->moves, (std::vector<std::pair<int, int>>{{10, 5}, {0, 2}, {0, 0}}));
    EXPECT_TRUE(off->moves.empty());
}

TEST_F(WidgetManagerTest, RemovedWidgetStillGetsItsPendingRelease) {
    auto a = Add("A", 100, 100, 50, 50);
    auto b = Add("B", 100, 100, 50, 50);  // same place, loses ties to A
    Frame(120, 120);
    held[1] = true;
    Frame(120, 120);
    WidgetManager->RemoveWidget(a);
    Frame(120, 120);  // B is under the mouse now, but the press belongs to A
    EXPECT_EQ(Count("B:down1"), 0);
    held[1] = false;
    Frame(130, 130);
    EXPECT_EQ(Count("A:rel1"), 1);
    EXPECT_EQ(Only({"down", "rel"}), (Log{"A:down1", "A:rel1"}));
}

TEST_F(WidgetManagerTest, RemovedWidgetStillGetsItsPendingLeave) {
    auto a = Add("A", 100, 100, 50, 50);
    Frame(120, 120);
    WidgetManager->RemoveWidget(a);
    Frame(300, 300);
    EXPECT_EQ(Only({"enter", "leave"}), (Log{"A:enter", "A:leave"}));
}

// ---- Updates, OnShow and the list -----------------------------------------------

TEST_F(WidgetManagerTest, OnShowComesFromTheFirstUpdateAndFromSetHided) {
    auto shown = Add("shown", 0, 0, 10, 10);
    auto late = Make("late", 0, 20, 10, 10);
    late->SetHided(1);
    WidgetManager->AddWidget(late);
    Frame(500, 500);
    Frame(500, 500);
    EXPECT_EQ(Count("shown:show"), 1);
    EXPECT_EQ(Count("late:show"), 0);
    EXPECT_EQ(Count("late:update"), 0);  // hidden means disabled

    late->SetHided(0);
    EXPECT_EQ(Count("late:show"), 1);  // from SetHided
    Frame(500, 500);
    EXPECT_EQ(Count("late:show"), 2);  // and once more from the first update
    late->SetHided(0);                 // already visible: no OnShow
    Frame(500, 500);
    EXPECT_EQ(Count("late:show"), 2);
    EXPECT_EQ(Only({"show"}).front(), "shown:show");
}

TEST_F(WidgetManagerTest, SetHidedHidesAndDisablesChildrenToo) {
    auto window = Add("window", 100, 100, 300, 200);
    auto button = Add("button", 120, 120, 50, 20);
    window->Widgets.push_back(button);
    window->SetHided(1);
    EXPECT_EQ((std::tuple{window->Visible, window->Enable, button->Visible, button->Enable}),
              (std::tuple{0, 0, 0, 0}));
    EXPECT_EQ(WidgetManager->WidgetAt(130, 125), nullptr);
    log.clear();
    window->SetHided(0);
    EXPECT_EQ(log, (Log{"window:show", "button:show"}));
    EXPECT_EQ(WidgetManager->WidgetAt(130, 125), button);
}

TEST_F(WidgetManagerTest, AddWidgetBeforeInsertsWithoutModality) {
    auto a = Add("A", 0, 0, 10, 10);
    auto b = Add("B", 0, 0, 10, 10);
    auto dialog = Make("dialog", 0, 0, 10, 10);
    dialog->Modal = 1;
    WidgetManager->AddWidgetBefore(dialog, b);
    EXPECT_EQ(WidgetManager->WidgetsList, (std::vector<WidgetPtr>{a, dialog, b}));
    EXPECT_EQ(WidgetManager->TopModalWidget, nullptr);
    EXPECT_EQ(Count("dialog:added"), 1);

    auto stray = Make("stray", 0, 0, 10, 10);
    WidgetManager->AddWidgetBefore(stray, Make("nowhere", 0, 0, 1, 1));
    EXPECT_EQ(WidgetManager->WidgetsList.size(), 3u);
    EXPECT_EQ(Count("stray:added"), 0);
}

TEST_F(WidgetManagerTest, RemovingTheModalWidgetHandsOverToTheLastModalInListOrder) {
    auto m1 = Add("M1", 0, 0, 10, 10, 1);
    auto plain = Add("plain", 0, 0, 10, 10);
    auto m3 = Add("M3", 0, 0, 10, 10, 1);
    auto m2 = Make("M2", 0, 0, 10, 10);
    m2->Modal = 1;
    WidgetManager->AddWidgetBefore(m2, m1);  // list: M2, M1, plain, M3
    EXPECT_EQ(WidgetManager->TopModalWidget, m3);

    WidgetManager->RemoveWidget(m2);  // not the modal one: nothing changes
    EXPECT_EQ(WidgetManager->TopModalWidget, m3);
    WidgetManager->AddWidgetBefore(m2, m1);

    WidgetManager->RemoveWidget(m3);
    EXPECT_EQ(WidgetManager->TopModalWidget, m1);  // later in the list than M2, though added earlier
    WidgetManager->RemoveWidget(m1);
    EXPECT_EQ(WidgetManager->TopModalWidget, m2);
    WidgetManager->RemoveWidget(m2);
    EXPECT_EQ(WidgetManager->TopModalWidget, nullptr);
    EXPECT_EQ(WidgetManager->WidgetsList, (std::vector<WidgetPtr>{plain}));
}

TEST_F(WidgetManagerTest, RemovingAWindowRemovesItsChildren) {
    auto window = Add("window", 0, 0, 300, 300, 1);
    auto ok = Add("ok", 10, 10, 50, 20);
    auto cancel = Add("cancel", 70, 10, 50, 20);
    window->Widgets = {ok, cancel};
    auto other = Add("other", 0, 0, 5, 5);
    WidgetManager->RemoveWidget(window);
    EXPECT_EQ(WidgetManager->WidgetsList, (std::vector<WidgetPtr>{other}));
    EXPECT_EQ(Only({"removed"}), (Log{"window:removed", "ok:removed", "cancel:removed"}));
    EXPECT_EQ(WidgetManager->TopModalWidget, nullptr);
}

TEST_F(WidgetManagerTest, RemovingAnUnlistedWidgetStillNotifiesIt) {
    auto a = Add("A", 0, 0, 10, 10);
    auto loose = Make("loose", 0, 0, 10, 10);
    WidgetManager->RemoveWidget(loose);
    WidgetManager->RemoveWidget(nullptr);
    EXPECT_EQ(Count("loose:removed"), 1);
    EXPECT_EQ(WidgetManager->WidgetsList.size(), 1u);
}

TEST_F(WidgetManagerTest, WidgetsMayRemoveThemselvesAndOthersDuringUpdate) {
    auto a = Add("A", 0, 0, 10, 10);
    auto b = Add("B", 0, 0, 10, 10);
    auto c = Add("C", 0, 0, 10, 10);
    auto d = Add("D", 0, 0, 10, 10);
    b->onUpdate = [wb = std::weak_ptr<Recorder>(b), wc = std::weak_ptr<Recorder>(c)] {
        WidgetManager->RemoveWidget(wb.lock());
        WidgetManager->RemoveWidget(wc.lock());
    };
    std::weak_ptr<Recorder> watchB = b;
    b.reset();  // the manager holds the only reference now
    c.reset();
    Frame(500, 500);
    EXPECT_EQ(Only({"update"}), (Log{"A:update", "B:update", "D:update"}));
    EXPECT_TRUE(watchB.expired());
    EXPECT_EQ(WidgetManager->WidgetsList, (std::vector<WidgetPtr>{a, d}));
}

TEST_F(WidgetManagerTest, DisabledWidgetsAreNotUpdated) {
    auto a = Add("A", 0, 0, 10, 10);
    a->SetEnable(0);
    Frame(500, 500);
    EXPECT_EQ(Count("A:update"), 0);
}

// ---- Drawing ---------------------------------------------------------------------

TEST_F(WidgetManagerTest, DrawPlacesClippedWidgetsAndRestoresTheState) {
    SetOrigin(0, 0);
    SetViewport(0, 0, 800, 600);
    SetColor(200, 100, 50);
    auto back = Add("back", 0, 0, 800, 600);
    auto panel = Add("panel", 100, 50, 200, 150);
    panel->_x = 100.75f;
    panel->_originx = 4;
    panel->_originy = -2;
    auto loose = Add("loose", 10, 10, 5, 5);
    loose->Clip = 0;
    auto hidden = Add("hidden", 10, 10, 5, 5);
    hidden->Visible = 0;
    ShakeOffsetX = 3;
    ShakeOffsetY = -1;
    SetOrigin(7, 8);  // inherited by unclipped widgets

    WidgetManager->Draw();
    EXPECT_EQ(Only({"draw"}), (Log{"back:draw", "panel:draw", "loose:draw"}));
    EXPECT_FLOAT_EQ(panel->drawnOrigin.first, 100.75f + 4 + 3);
    EXPECT_FLOAT_EQ(panel->drawnOrigin.second, 50 - 2 - 1);
    EXPECT_EQ(panel->drawnViewport, (std::vector<int>{100, 50, 200, 150}));  // the shake leaves the clip alone
    EXPECT_FLOAT_EQ(back->drawnOrigin.first, 3);
    EXPECT_EQ(loose->drawnOrigin, (std::pair<float, float>{7, 8}));
    EXPECT_EQ(loose->drawnViewport, (std::vector<int>{0, 0, 800, 600}));

    float ox = 0, oy = 0;
    GetOrigin(ox, oy);
    EXPECT_EQ((std::pair{ox, oy}), (std::pair<float, float>{7, 8}));
    int r = 0, g = 0, b = 0;
    GetColor(r, g, b);
    EXPECT_EQ((std::tuple{r, g, b}), (std::tuple{200, 100, 50}));
    EXPECT_EQ(DrawStateStack.IsEmpty(), 1);
}

TEST_F(WidgetManagerTest, ManagerHoldsNoWidgetOnceEverythingIsGone) {
    std::weak_ptr<Recorder> watch;
    {
        auto a = Add("A", 0, 0, 10, 10);
        auto child = Add("child", 1, 1, 5, 5);
        a->Widgets.push_back(child);
        watch = child;
        WidgetManager->RemoveWidget(a);
    }
    EXPECT_TRUE(watch.expired());
}

}  // namespace
