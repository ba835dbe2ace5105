#pragma once
// Shared by the graphics tests: one 800×600 display per test program (SDL's
// offscreen driver when headless), a clean drawing state per test, and small
// picture helpers.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "media/Graphics.h"
#include "media/System.h"

namespace gfxtest {

inline bool EnsureDisplay() {
    static const bool opened = [] {
        SetNotifyBoxesEnabled(false);
        const bool ok = OpenDisplay(800, 600, 0, 60);
        if (ok) SetVirtualResolution(800, 600);
        return ok;
    }();
    if (opened && !DisplayIsOpen()) {
        OpenDisplay(800, 600, 0, 60);
        SetVirtualResolution(800, 600);
    }
    return opened && DisplayIsOpen();
}

inline void ResetDrawState() {
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetOrigin(0, 0);
    SetViewport(0, 0, 800, 600);
    SetFont(nullptr);
    SetClsColor(0, 0, 0);
}

// Tests that draw: skipped where no OpenGL 3.3 display can be had.
class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!EnsureDisplay()) GTEST_SKIP() << "no OpenGL 3.3 core display available";
        ResetDrawState();
        Cls();
    }
    void TearDown() override {
        ResetDrawState();
        if (DisplayIsOpen()) Flip(0);
    }
};

inline uint32_t Argb(int a, int r, int g, int b) {
    return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

// A one-frame image filled with one colour.
inline ImagePtr SolidImage(int w, int h, uint32_t argb, int flags = 0) {
    ImagePtr image = CreateImage(w, h, 1, flags);
    PicturePtr picture = LockImage(image, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture->WritePixel(x, y, argb);
    UnlockImage(image, 0);
    return image;
}

inline std::string Hex(uint32_t argb) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", argb & 0xFFFFFF);
    return text;
}

// Compares the colour channels within a tolerance (GPU rounding).
inline ::testing::AssertionResult SameColour(uint32_t actual, uint32_t expected, int tolerance = 2) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure() << "got " << Hex(actual) << ", expected " << Hex(expected);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace gfxtest
