// The drawing state and the immediate-mode drawing operations. Every draw
// turns into vertices appended to the renderer's open batch; nothing here
// allocates.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "media/Graphics.h"
#include "media/detail/DrawState.h"
#include "media/detail/Renderer.h"

using media_detail::DrawState;
using media_detail::TextureRef;
using media_detail::TheRenderer;
using media_detail::Vertex;

namespace media_detail {

constinit DrawState theDrawState;

void ApplyDrawStateToRenderer() {
    const DrawState& s = State();
    TheRenderer().SetClip(s.viewX, s.viewY, s.viewW, s.viewH);
    TheRenderer().SetBlend(s.blend);
}

}  // namespace media_detail

namespace {

DrawState& S() { return media_detail::State(); }

// lround of a float in [0, 255] without the library call: the sum is exact in
// double, so truncating it rounds halves away from zero just as lround does.
inline uint32_t RoundColour(float x) { return static_cast<uint32_t>(static_cast<double>(x) + 0.5); }

void PackColour() {
    DrawState& s = S();
    // A NaN alpha packs to all zeros, as it always did.
    const float a = s.alpha >= 0.0f ? std::min(s.alpha, 1.0f) : 0.0f;
    auto channel = [a](int c) { return RoundColour(static_cast<float>(std::clamp(c, 0, 255)) * a); };
    s.packedColour = channel(s.r) | (channel(s.g) << 8) | (channel(s.b) << 16) | (RoundColour(a * 255.0f) << 24);
}

// The packed colour, worked out when a draw needs it: effects set the colour
// and then the alpha of every particle, and only the second packing counts.
uint32_t Colour() {
    DrawState& s = S();
    if (s.colourStale) {
        PackColour();
        s.colourStale = false;
    }
    return s.packedColour;
}

// The sine and cosine are worked out only when the rotation changes: effects
// set the scale for every particle and put the rotation back to 0 after each.
void UpdateTurn() {
    DrawState& s = S();
    if (s.rotation == 0.0f) {
        s.cosR = 1.0f;
        s.sinR = 0.0f;
        return;
    }
    // Single precision: the matrix is float, and effects turn every particle
    // by a new angle each frame, where the double sine and cosine cost twice
    // as much for a difference far below a pixel's 1/256th.
    const float radians = static_cast<float>(s.rotation * std::numbers::pi / 180.0);
    s.cosR = std::cos(radians);
    s.sinR = std::sin(radians);
}

void UpdateMatrix() {
    DrawState& s = S();
    const float c = s.cosR, n = s.sinR;
    s.ix = c * s.scaleX;
    s.iy = -n * s.scaleY;
    s.jx = n * s.scaleX;
    s.jy = c * s.scaleY;
}

// The quad p0 p1 p2 p3 (clockwise from the top-left); the renderer's index
// list makes it two triangles.
inline void PutQuad(Vertex* v, const float* px, const float* py, float u0, float v0, float u1, float v1,
                    uint32_t colour) {
    v[0] = {px[0], py[0], u0, v0, colour};
    v[1] = {px[1], py[1], u1, v0, colour};
    v[2] = {px[2], py[2], u1, v1, colour};
    v[3] = {px[3], py[3], u0, v1, colour};
}

// Whether a quad in this blend mode and colour leaves the destination as it
// was wherever its texels are transparent (every mode but the replacing one).
inline bool TransparentIsNoOp(int blend) { return blend != SOLIDBLEND; }

// Opaque pictures at full alpha bigger than this (design units) are drawn
// without blending: the result is the same and the rasteriser never reads
// the destination. Smaller ones stay in the open batch.
constexpr float kUnblendedMinArea = 128 * 128;

// The quad from (left, top) to (right, bottom) relative to the handle,
// through the matrix, placed at (x, y) plus the origin. `whole` says the quad
// shows the whole picture, so its transparent border can be left out.
void TransformedQuad(const TextureRef& tex, bool filtered, float left, float top, float right, float bottom,
                     float x, float y, float ix, float iy, float jx, float jy, bool whole = false) {
    auto& renderer = TheRenderer();
    const DrawState& s = S();
    const int blend = renderer.Blend();
    const uint32_t colour = Colour();
    const uint32_t alpha = colour >> 24;
    if (alpha == 0 && TransparentIsNoOp(blend)) return;  // draws nothing
    float u0 = tex.u0, v0 = tex.v0, u1 = tex.u1, v1 = tex.v1;
    if (whole && TransparentIsNoOp(blend) &&
        (tex.visLeft > 0 || tex.visTop > 0 || tex.visRight < 1 || tex.visBottom < 1)) {
        if (tex.visRight <= tex.visLeft || tex.visBottom <= tex.visTop) return;  // a wholly transparent picture
        const float w = right - left, h = bottom - top, du = u1 - u0, dv = v1 - v0;
        right = left + w * tex.visRight;
        left = left + w * tex.visLeft;
        bottom = top + h * tex.visBottom;
        top = top + h * tex.visTop;
        u1 = tex.u0 + du * tex.visRight;
        u0 = tex.u0 + du * tex.visLeft;
        v1 = tex.v0 + dv * tex.visBottom;
        v0 = tex.v0 + dv * tex.visTop;
    }
    const float X = x + s.originX, Y = y + s.originY;
    const float px[4] = {left * ix + top * iy + X, right * ix + top * iy + X, right * ix + bottom * iy + X,
                         left * ix + bottom * iy + X};
    const float py[4] = {left * jx + top * jy + Y, right * jx + top * jy + Y, right * jx + bottom * jy + Y,
                         left * jx + bottom * jy + Y};
    const float minX = std::min({px[0], px[1], px[2], px[3]}), maxX = std::max({px[0], px[1], px[2], px[3]});
    const float minY = std::min({py[0], py[1], py[2], py[3]}), maxY = std::max({py[0], py[1], py[2], py[3]});
    if (renderer.OutsideClip(minX, minY, maxX, maxY)) return;
    const float area = std::abs((px[1] - px[0]) * (py[3] - py[0]) - (py[1] - py[0]) * (px[3] - px[0]));
    const bool unblended = blend == ALPHABLEND && tex.opaque && alpha == 255 && area >= kUnblendedMinArea;
    if (unblended) renderer.SetBlend(SOLIDBLEND);
    Vertex* v = renderer.Reserve(4, tex.texture, filtered);
    if (unblended) renderer.SetBlend(blend);
    PutQuad(v, px, py, u0, v0, u1, v1, colour);
    renderer.CountQuads(1);
    renderer.CountPixels(area, minX, minY, maxX, maxY);
}

// The frame's texture, or false when there is nothing to draw.
bool FrameTexture(const ImagePtr& image, int frame, TextureRef& tex) {
    if (!image || frame < 0 || frame >= image->FrameCount()) return false;
    const TPicture* picture = image->frames[static_cast<size_t>(frame)].get();
    if (!picture || picture->Width() <= 0 || picture->Height() <= 0) return false;
    auto& renderer = TheRenderer();
    return renderer.Ready() && renderer.Resolve(*picture, tex);
}

constexpr TextureRef kNoTexture{0, media_detail::kUntextured, media_detail::kUntextured,
                                media_detail::kUntextured, media_detail::kUntextured};

}  // namespace

// ---- Drawing state ----------------------------------------------------------

void SetColor(int r, int g, int b) {
    DrawState& s = S();
    s.r = r;
    s.g = g;
    s.b = b;
    s.colourStale = true;
}

void GetColor(int& r, int& g, int& b) {
    r = S().r;
    g = S().g;
    b = S().b;
}

void SetAlpha(float a) {
    S().alpha = a;
    S().colourStale = true;
}

float GetAlpha() { return S().alpha; }

void SetBlend(int mode) {
    S().blend = mode;
    TheRenderer().SetBlend(mode);
}

int GetBlend() { return S().blend; }

void SetViewport(int x, int y, int w, int h) {
    DrawState& s = S();
    s.viewX = x;
    s.viewY = y;
    s.viewW = w;
    s.viewH = h;
    TheRenderer().SetClip(x, y, w, h);
}

void GetViewport(int& x, int& y, int& w, int& h) {
    x = S().viewX;
    y = S().viewY;
    w = S().viewW;
    h = S().viewH;
}

void SetRotation(float degrees) {
    DrawState& s = S();
    if (degrees != s.rotation) {
        s.rotation = degrees;
        UpdateTurn();
    }
    UpdateMatrix();
}

float GetRotation() { return S().rotation; }

void SetScale(float sx, float sy) {
    S().scaleX = sx;
    S().scaleY = sy;
    UpdateMatrix();
}

void GetScale(float& sx, float& sy) {
    sx = S().scaleX;
    sy = S().scaleY;
}

void SetOrigin(float x, float y) {
    S().originX = x;
    S().originY = y;
}

void GetOrigin(float& x, float& y) {
    x = S().originX;
    y = S().originY;
}

void SetFont(const FontPtr& font) { S().font = font; }
FontPtr GetFont() { return S().font ? S().font : DefaultFont(); }

void GetTransform(float& ix, float& iy, float& jx, float& jy) {
    ix = S().ix;
    iy = S().iy;
    jx = S().jx;
    jy = S().jy;
}

void SetClsColor(int r, int g, int b) {
    S().clsR = r;
    S().clsG = g;
    S().clsB = b;
}

void Cls() {
    const DrawState& s = S();
    TheRenderer().ClearClip(std::clamp(s.clsR, 0, 255) / 255.0f, std::clamp(s.clsG, 0, 255) / 255.0f,
                            std::clamp(s.clsB, 0, 255) / 255.0f);
}

// ---- Drawing ------------------------------------------------------------------

void DrawImage(const ImagePtr& image, float x, float y, int frame) {
    TextureRef tex;
    if (!FrameTexture(image, frame, tex)) return;
    const DrawState& s = S();
    const float left = -image->handle_x, top = -image->handle_y;
    TransformedQuad(tex, (image->flags & TImage::FILTERED) != 0, left, top, left + image->width,
                    top + image->height, x, y, s.ix, s.iy, s.jx, s.jy, true);
}

bool ImageIsOpaque(const ImagePtr& image, int frame) {
    TextureRef tex;
    return FrameTexture(image, frame, tex) && tex.opaque;
}

void DrawImageRect(const ImagePtr& image, float x, float y, float w, float h, int frame) {
    TextureRef tex;
    if (!FrameTexture(image, frame, tex)) return;
    const DrawState& s = S();
    const float left = -image->handle_x, top = -image->handle_y;
    TransformedQuad(tex, (image->flags & TImage::FILTERED) != 0, left, top, left + w, top + h, x, y, s.ix, s.iy,
                    s.jx, s.jy);
}

void DrawImageTransformed(const ImagePtr& image, int frame, float x, float y, float ix, float iy, float jx,
                          float jy) {
    TextureRef tex;
    if (!FrameTexture(image, frame, tex)) return;
    const float left = -image->handle_x, top = -image->handle_y;
    TransformedQuad(tex, (image->flags & TImage::FILTERED) != 0, left, top, left + image->width,
                    top + image->height, x, y, ix, iy, jx, jy, true);
}

void TileImage(const ImagePtr& image, float x, float y, int frame) {
    TextureRef tex;
    if (!FrameTexture(image, frame, tex)) return;
    const DrawState& s = S();
    const float w = static_cast<float>(image->width), h = static_cast<float>(image->height);
    if (w <= 0 || h <= 0) return;
    // Top-left of the copy whose handle sits at (x, y) plus the origin, then
    // the grid cell at or before the viewport's top-left corner.
    const float anchorX = x + s.originX - image->handle_x, anchorY = y + s.originY - image->handle_y;
    const float startX = anchorX + std::floor((s.viewX - anchorX) / w) * w;
    const float startY = anchorY + std::floor((s.viewY - anchorY) / h) * h;
    const float endX = static_cast<float>(s.viewX + s.viewW), endY = static_cast<float>(s.viewY + s.viewH);
    const bool filtered = (image->flags & TImage::FILTERED) != 0;
    // The copies are placed in window terms, so the origin is taken out again.
    for (float ty = startY; ty < endY; ty += h)
        for (float tx = startX; tx < endX; tx += w)
            TransformedQuad(tex, filtered, 0, 0, w, h, tx - s.originX, ty - s.originY, 1, 0, 0, 1);
}

void DrawRect(float x, float y, float w, float h) {
    if (!TheRenderer().Ready()) return;
    const DrawState& s = S();
    TransformedQuad(kNoTexture, false, 0, 0, w, h, x, y, s.ix, s.iy, s.jx, s.jy);
}

void DrawLine(float x1, float y1, float x2, float y2) {
    auto& renderer = TheRenderer();
    if (!renderer.Ready()) return;
    const DrawState& s = S();
    // A one-pixel wide quad through the pixel centres, reaching half a pixel
    // past both ends so the end pixels are lit.
    const float ax = x1 + s.originX + 0.5f, ay = y1 + s.originY + 0.5f;
    const float bx = x2 + s.originX + 0.5f, by = y2 + s.originY + 0.5f;
    float dx = bx - ax, dy = by - ay;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length > 0) {
        dx = dx / length * 0.5f;
        dy = dy / length * 0.5f;
    } else {
        dx = 0.5f;
        dy = 0;
    }
    const float nx = -dy, ny = dx;
    const float px[4] = {ax - dx + nx, bx + dx + nx, bx + dx - nx, ax - dx - nx};
    const float py[4] = {ay - dy + ny, by + dy + ny, by + dy - ny, ay - dy - ny};
    const float u = media_detail::kUntextured;
    PutQuad(renderer.Reserve(4, 0, false), px, py, u, u, u, u, Colour());
    renderer.CountQuads(1);
}

void DrawPoly(const std::vector<float>& xy) {
    auto& renderer = TheRenderer();
    const size_t points = xy.size() / 2;
    if (!renderer.Ready() || points < 3) return;
    const DrawState& s = S();
    const float u = media_detail::kUntextured;
    const float x0 = xy[0] + s.originX, y0 = xy[1] + s.originY;
    const uint32_t colour = Colour();
    // A fan, one triangle per quad: the last corner repeats, so the quad's
    // second triangle has no area and lights nothing.
    for (size_t i = 1; i + 1 < points; ++i) {
        Vertex* v = renderer.Reserve(4, 0, false);
        v[0] = {x0, y0, u, u, colour};
        v[1] = {xy[2 * i] + s.originX, xy[2 * i + 1] + s.originY, u, u, colour};
        v[2] = {xy[2 * i + 2] + s.originX, xy[2 * i + 3] + s.originY, u, u, colour};
        v[3] = v[2];
    }
    renderer.CountQuads(1);
}

// ---- Text ---------------------------------------------------------------------

void DrawText(const std::string& text, float x, float y) {
    const DrawState& s = S();
    GetFont()->Draw(text, x, y, s.ix, s.iy, s.jx, s.jy);
}

int TextWidth(const std::string& text) {
    const FontPtr font = GetFont();
    float width = 0;
    for (size_t i = 0; i < text.size();) {
        const int index = font->CharToGlyph(static_cast<int>(NextCodePoint(text, i)));
        if (index < 0) continue;
        if (GlyphPtr glyph = font->LoadGlyph(index)) width = std::trunc(width + glyph->Advance());
    }
    return static_cast<int>(width);
}

int TextHeight(const std::string&) { return GetFont()->height(); }

void PrepareImage(const ImagePtr& image) {
    auto& renderer = TheRenderer();
    if (!image || !DisplayIsOpen()) return;
    TextureRef ref;
    for (const PicturePtr& frame : image->frames)
        if (frame && frame->PixelsHeld() && frame->PixelsReproducible()) renderer.Resolve(*frame, ref);
}
