#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "media/TImage.h"
#include "media/TImageFont.h"
#include "media/TPicture.h"
#include "media/TStream.h"

// The game's drawing operations: a window with one batched OpenGL 3.3 renderer
// behind immediate-mode 2D calls in an 800×600 design space. Only this layer
// touches the window system and GL; game code sets the global drawing state and
// calls these functions.

// Blend modes; the numbers are stored in effect files. Any other number is SOLID.
enum BlendMode : int { MASKBLEND = 1, SOLIDBLEND = 2, ALPHABLEND = 3, LIGHTBLEND = 4, SHADEBLEND = 5 };

// ---- Display -------------------------------------------------------------
// depth 0 = a window, 32 = full screen (on the desktop's resolution, never a
// mode switch). Closes any open display first. Returns false, after a message
// box and a line on standard error, when no OpenGL 3.3 context can be had.
bool OpenDisplay(int width, int height, int depth, int hz);
void CloseDisplay();
bool DisplayIsOpen();
void SetVirtualResolution(int w, int h);
int DisplayWidth();
int DisplayHeight();
void Cls();
void SetClsColor(int r, int g, int b);
// sync 1 waits for the vertical retrace, 0 does not, −1 paces to the rate
// asked for when the display was opened.
void Flip(int sync);
// "--fps": once a second a line on standard output with the frames presented
// in that second and the longest time between two presents (see TFrameMeter).
// Off by default; switching it on starts the count afresh.
void SetFrameRateLog(bool on);
// GL errors the driver has recorded since the last call, read until it has
// none left (a driver keeps at most one of each kind); 0 with no display.
// Soak runs call it after every frame, so a bad call shows the frame it
// came in rather than hours later as a wrong picture.
int DrainGlErrors();
// Reads the frame last drawn (before Flip) in design-space pixels.
PicturePtr GrabFrame();
// Saves a picture as PNG; false on failure.
bool SavePicturePNG(const TPicture& picture, const std::string& path);
// The PNG file bytes of a picture (empty on failure).
std::vector<uint8_t> EncodePicturePNG(const TPicture& picture);
// Window pixel -> design space, following the letterboxing.
void WindowToVirtual(float wx, float wy, float& vx, float& vy);
// Draw calls and quads submitted in the previous frame, the window pixels they
// covered, and the thread CPU time the GL driver took for them (for
// benchmarks: the frame's CPU time less driverMs is our own code's).
struct RenderStats { int drawCalls = 0; int quads = 0; double pixels = 0; double driverMs = 0; };
RenderStats LastFrameStats();
// Textures the renderer holds (for benchmarks): shared atlas pages, the bytes
// of them pictures occupy, and the pictures too large for a page.
struct TextureStats {
    int atlasPages = 0;
    int64_t atlasBytes = 0;
    int64_t atlasPlacedBytes = 0;
    int ownTextures = 0;
    int64_t ownBytes = 0;
};
TextureStats TextureMemory();

// ---- Drawing state (kept even with no display open) -------------------------
void SetColor(int r, int g, int b);
void GetColor(int& r, int& g, int& b);
void SetAlpha(float a);
float GetAlpha();
void SetBlend(int mode);
int GetBlend();
void SetViewport(int x, int y, int w, int h);
void GetViewport(int& x, int& y, int& w, int& h);
void SetRotation(float degrees);
float GetRotation();
void SetScale(float sx, float sy);
void GetScale(float& sx, float& sy);
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
// null selects the built-in default font.
void SetFont(const FontPtr& font);
FontPtr GetFont();
FontPtr DefaultFont();
// The rotation/scale matrix: ix = cos(r)·sx, iy = −sin(r)·sy, jx = sin(r)·sx, jy = cos(r)·sy.
void GetTransform(float& ix, float& iy, float& jx, float& jy);

// ---- Drawing ---------------------------------------------------------------
// True when every pixel of the frame is opaque (uploads it if need be), so
// drawing it at full alpha hides whatever lies under it.
bool ImageIsOpaque(const ImagePtr& image, int frame = 0);
void DrawImage(const ImagePtr& image, float x, float y, int frame = 0);
void DrawImageRect(const ImagePtr& image, float x, float y, float w, float h, int frame = 0);
void TileImage(const ImagePtr& image, float x = 0, float y = 0, int frame = 0);
void DrawRect(float x, float y, float w, float h);
void DrawLine(float x1, float y1, float x2, float y2);
void DrawPoly(const std::vector<float>& xy);
void DrawText(const std::string& text, float x, float y);
int TextWidth(const std::string& text);
int TextHeight(const std::string& text = {});
// One glyph or sub-image quad at (x, y) relative to the pen with the given
// matrix; fonts call it from their Draw.
void DrawImageTransformed(const ImagePtr& image, int frame, float x, float y,
                          float ix, float iy, float jx, float jy);

// ---- Images and pictures ----------------------------------------------------
// Pictures: PNG, JPEG, BMP or TGA; null on failure, printing nothing.
PicturePtr LoadPicture(const std::string& path);
PicturePtr LoadPicture(TStream& stream);
PicturePtr LoadPictureBytes(const uint8_t* data, size_t size);
ImagePtr LoadImage(const std::string& path, int flags = -1);
ImagePtr LoadImage(TStream& stream, int flags = -1);
ImagePtr LoadImageStrip(const std::string& path, int cellW, int cellH, int first, int count, int flags = -1);
ImagePtr LoadImageStrip(TStream& stream, int cellW, int cellH, int first, int count, int flags = -1);
// Images from a picture already in memory: one frame, or a strip of cells.
ImagePtr ImageFromPicture(const PicturePtr& picture, int flags = -1);
ImagePtr ImageStripFromPicture(const PicturePtr& picture, int cellW, int cellH, int first, int count, int flags = -1);
ImagePtr CreateImage(int width, int height, int frames = 1, int flags = -1);
PicturePtr LockImage(const ImagePtr& image, int frame = 0);
void UnlockImage(const ImagePtr& image, int frame = 0);
// Puts the image's pictures on the GPU now, while the display is open, so
// those with a source hold no main-memory copy from the start (and the first
// frame that shows them uploads nothing). Does nothing without a display.
void PrepareImage(const ImagePtr& image);
void SetImageHandle(const ImagePtr& image, float x, float y);
void CentreImageHandle(const ImagePtr& image);
void SetMaskColor(const ImagePtr& image, int r, int g, int b);
// Gives every picture of `image` a source (see TPicture::SetSource):
// `reload` makes the same image again from the game's files, or null. Once
// drawn, such an image holds its pixels on the GPU only.
void SetImageSource(const ImagePtr& image, std::function<ImagePtr()> reload);

// TrueType font rasterised at `size` pixels (Latin-1 glyphs); style bit 1 =
// bold, bit 2 = italic. Null on failure.
FontPtr LoadFont(const std::string& path, int size, int style = 0);
