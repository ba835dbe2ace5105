#pragma once
// Shared by the screens tests: a game controller that writes down what the
// screens ask of it, and the layouts of the screens' windows with pictures of
// known sizes and colours.
#include <string>
#include <vector>

#include "game/TGame.h"
#include "gui/LayoutTestSupport.h"

namespace screens_test {

// A controller without a highway: it notes the levels it is asked to start
// and the pauses, stops and resumes. A start without a level goes to the real
// controller, which reports it.
class RecordingGame : public TGame {
    TOTEM_CLASS(RecordingGame)
    std::vector<int> started;
    std::vector<std::string> calls;
    int StartLevel(int replay) override {
        if (!LevelInfo) return TGame::StartLevel(replay);
        started.push_back(LevelInfo->id);
        return 0;
    }
    void PauseGame() override {
        GamePaused = 1;
        calls.push_back("pause");
    }
    void ResumeGame() override {
        GamePaused = 0;
        calls.push_back("resume");
    }
    void StopGame(int keepShown) override { calls.push_back("stop " + std::to_string(keepShown)); }
    void ExitToMainMenu() override { calls.push_back("exit to menu"); }
};

// The windows of the screens, with 140×44 buttons (IMG_BTN of the layout
// tests) and 40×40 arrows.
inline const char* ScreensLayout() {
    return R"(<window id="window_storymenu" size="800 600" pos="0 0"/>
        <button id="back" window_id="window_storymenu" image="IMG_BTN" pos="100 540"/>
        <button id="play" window_id="window_storymenu" image="IMG_BTN" pos="560 540"/>
        <window id="window_help" size="640 540" pos="-1 -1"/>
        <button id="left" window_id="window_help" image="IMG_ARROW" pos="40 456"/>
        <button id="ok" window_id="window_help" image="IMG_BTN" pos="250 462"/>
        <button id="right" window_id="window_help" image="IMG_ARROW" pos="560 456"/>
        <window id="window_ingamemenu" size="360 400" pos="-1 -1"/>
        <button id="resume" window_id="window_ingamemenu" image="IMG_BTN" pos="110 96"/>
        <button id="help" window_id="window_ingamemenu" image="IMG_BTN" pos="110 162"/>
        <button id="exit_to_menu" window_id="window_ingamemenu" image="IMG_BTN" pos="110 228"/>
        <button id="quitgame" window_id="window_ingamemenu" image="IMG_BTN" pos="110 294"/>
        <window id="window_gameover" size="600 380" pos="-1 -1"/>
        <button id="ok" window_id="window_gameover" image="IMG_BTN" pos="230 290"/>
        <window id="messagebox" size="500 300" pos="-1 -1"/>
        <button id="button_1" window_id="messagebox" image="IMG_BTN" pos="0 0"/>
        <button id="button_2" window_id="messagebox" image="IMG_BTN" pos="0 0"/>
        <label window_id="window_exit" id="exit_heading" text="96" font="FONT_T" pos="20 20"/>)";
}

// The screens' windows with their buttons but none of the given ones.
inline std::string LayoutWithout(const std::vector<std::string>& windows) {
    std::string layout = ScreensLayout(), kept;
    size_t start = 0;
    while (start < layout.size()) {
        size_t end = layout.find('\n', start);
        if (end == std::string::npos) end = layout.size();
        const std::string line = layout.substr(start, end - start);
        bool drop = false;
        for (const std::string& w : windows)
            drop = drop || (line.find("<button") != std::string::npos &&
                            line.find("window_id=\"" + w + "\"") != std::string::npos);
        if (!drop) kept += line + "\n";
        start = end + 1;
    }
    return kept;
}

// The centre of a widget, where a click lands on it.
inline void CentreOf(const TWidget& w, int& x, int& y) {
    x = static_cast<int>(w._x) + w._width / 2;
    y = static_cast<int>(w._y) + w._height / 2;
}

}  // namespace screens_test
