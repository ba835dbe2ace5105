#pragma once
// The batched OpenGL renderer behind the drawing operations; media layer only.
// Vertices of consecutive draws collect in one buffer and go to the GPU in one
// draw call until the texture, filtering, blend mode or clip rectangle
// changes, or the frame is presented.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "media/TAtlasSkyline.h"
#include "media/TPicture.h"

namespace media_detail {

// Where a picture store lives on the GPU: a region of a shared atlas page or a
// texture of its own. Belongs to the store; a slot made for an earlier GL
// context (older generation) is stale and gets replaced on first use.
struct TextureSlot {
    uint64_t generation = 0;
    uint32_t texture = 0;
    int page = -1;           // atlas page index, −1 for an own texture
    int x = 0, y = 0;        // texel of the store's pixel (0,0)
    int w = 0, h = 0;        // the store's size in texels
    float invW = 1, invH = 1;  // 1 / texture size
    uint64_t uploadedVersion = ~0ull;
    // What the store's pixels allow the drawing to skip, found at upload: every
    // texel opaque, and the texels outside [visX0, visX1) × [visY0, visY1) fully
    // transparent (the box keeps one texel of margin, so filtering at its
    // edge reads only transparent texels outside it).
    bool opaque = false;
    int visX0 = 0, visY0 = 0, visX1 = 0, visY1 = 0;
    ~TextureSlot();
};

struct Vertex {
    float x, y, u, v;
    uint32_t rgba;  // premultiplied, bytes r,g,b,a in memory order
};

// Texture coordinates meaning "no texture": the fragment is the vertex colour.
// Shapes use them so they join whatever batch is open.
constexpr float kUntextured = -2.0f;

struct TextureRef {
    uint32_t texture = 0;
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    bool opaque = false;
    // The part of the picture that holds visible texels, as fractions of its
    // width and height.
    float visLeft = 0, visTop = 0, visRight = 1, visBottom = 1;
};

struct FrameStats {
    int drawCalls = 0;
    int quads = 0;
    double pixels = 0;  // window pixels covered by the frame's quads, overdraw counted
    // Thread CPU time spent inside GL calls (state, buffer hand-off, draws,
    // clears, presenting). llvmpipe does vertex work and binning on the calling
    // thread, so this is what the driver costs us apart from our own code.
    double driverMs = 0;
};

// CPU time of the calling thread, in nanoseconds.
int64_t ThreadCpuNanos();

class Renderer {
public:
    // Called with a fresh GL context current; false when the context lacks what we need.
    bool Start(int virtualW, int virtualH);
    // Drops every GL object (the context is about to go) and invalidates slots.
    void Stop();
    bool Ready() const { return ready_; }
    uint64_t Generation() const { return generation_; }

    // Window (drawable) size and design size: recomputes the letterbox.
    void SetSurface(int drawableW, int drawableH, int virtualW, int virtualH);
    void GetLetterbox(int& x, int& yTop, int& w, int& h) const;
    int VirtualW() const { return virtualW_; }
    int VirtualH() const { return virtualH_; }
    int DrawableW() const { return drawableW_; }
    int DrawableH() const { return drawableH_; }

    // Drawing state as the batch sees it.
    void SetClip(int x, int y, int w, int h) {
        clipX_ = x; clipY_ = y; clipW_ = w; clipH_ = h;
        UpdateClipBox();
    }
    void SetBlend(int mode) { blend_ = (mode >= 1 && mode <= 5) ? mode : 2; }

    // Makes sure the picture's pixels are on the GPU and gives its texture
    // rectangle. Cheap when nothing changed.
    bool Resolve(const TPicture& picture, TextureRef& ref) {
        const TextureSlot* slot = picture.GpuSlot().get();
        if (!slot || slot->generation != generation_ || slot->uploadedVersion != picture.StoreVersion()) {
            if (!Upload(picture)) return false;
            slot = picture.GpuSlot().get();
        }
        ref.texture = slot->texture;
        ref.u0 = (slot->x + picture.OffsetX()) * slot->invW;
        ref.v0 = (slot->y + picture.OffsetY()) * slot->invH;
        ref.u1 = ref.u0 + picture.Width() * slot->invW;
        ref.v1 = ref.v0 + picture.Height() * slot->invH;
        ref.opaque = slot->opaque;
        VisibleFractions(*slot, picture, ref);
        return true;
    }

    // Whether a design-space box lies wholly outside the clip rectangle (or
    // the design area): it could not light a pixel, so it need not reach the
    // driver, which would transform, clip and bin it for nothing.
    bool OutsideClip(float minX, float minY, float maxX, float maxY) const {
        const ClipBox& c = clipBox_;
        return maxX < c.left || maxY < c.top || minX > c.right || minY > c.bottom;
    }

    // Room for `count` vertices (a multiple of 4: each four are a quad drawn
    // as triangles 0 1 2 and 0 2 3) in the open batch for this texture (0 = any:
    // shapes) and filtering; flushes first when the batch cannot take them.
    Vertex* Reserve(int count, uint32_t texture, bool filtered) {
        if (texture == 0) {
            texture = batchTexture_ ? batchTexture_ : whiteTexture_;
            filtered = batchFiltered_;
        }
        if (used_ + count > kMaxVertices || texture != batchTexture_ || filtered != batchFiltered_ ||
            blend_ != batchBlend_ || clipX_ != batchClipX_ || clipY_ != batchClipY_ || clipW_ != batchClipW_ ||
            clipH_ != batchClipH_) {
            Flush();
            batchTexture_ = texture;
            batchFiltered_ = filtered;
            batchBlend_ = blend_;
            batchClipX_ = clipX_; batchClipY_ = clipY_; batchClipW_ = clipW_; batchClipH_ = clipH_;
        }
        Vertex* out = vertices_.data() + used_;
        used_ += count;
        return out;
    }
    void CountQuads(int n) { stats_.quads += n; }
    // Counts the window pixels of a quad of `area` design units whose bounding
    // box is given, the share of the box outside the clip left out.
    void CountPixels(float area, float minX, float minY, float maxX, float maxY) {
        const ClipBox& c = clipBox_;
        const float boxArea = (maxX - minX) * (maxY - minY);
        if (boxArea <= 0) return;
        if (minX >= c.left && minY >= c.top && maxX <= c.right && maxY <= c.bottom) {
            // Wholly inside: the share below would be exactly 1.
            stats_.pixels += double(area) * pixelsPerUnit_;
            return;
        }
        const float inside = std::max(0.0f, std::min(maxX, c.right) - std::max(minX, c.left)) *
                             std::max(0.0f, std::min(maxY, c.bottom) - std::max(minY, c.top));
        stats_.pixels += double(area) * inside / boxArea * pixelsPerUnit_;
    }
    int Blend() const { return blend_; }
    // Driver time spent outside the renderer (presenting) joins the frame's.
    void AddDriverTime(int64_t nanos) { stats_.driverMs += static_cast<double>(nanos) * 1e-6; }

    void Flush();
    // Fills the clip rectangle (design space) with a colour, in drawing order.
    void ClearClip(float r, float g, float b);
    // Fills the whole window, bars included.
    void ClearWindow(float r, float g, float b);
    // Ends the frame's bookkeeping after presenting; waits while the driver
    // still has the frame before the previous one to draw.
    void EndFrame();
    FrameStats LastStats() const { return lastStats_; }
    // Atlas pages, texels pictures occupy on them, own textures and their texels.
    void TextureUse(int& pages, int64_t& placedTexels, int& own, int64_t& ownTexels) const;
    int AtlasSize() const { return atlasSize_; }
    // Window pixels of the letterboxed design area, top row first, 0xAARRGGBB.
    bool ReadLetterbox(std::vector<uint32_t>& pixels, int& w, int& h);

    // Slot bookkeeping, called when a store lets go of its slot.
    void Release(const TextureSlot& slot);

private:
    // The clip rectangle within the design area, in design space.
    struct ClipBox { float left, top, right, bottom; };
    // Kept with the clip and the design size, as every quad tests against it.
    void UpdateClipBox() {
        clipBox_ = {static_cast<float>(std::max(clipX_, 0)), static_cast<float>(std::max(clipY_, 0)),
                    static_cast<float>(std::min(clipX_ + clipW_, virtualW_)),
                    static_cast<float>(std::min(clipY_ + clipH_, virtualH_))};
    }
    static constexpr int kMaxVertices = 4 * 12288;  // indices stay 16-bit
    bool Upload(const TPicture& picture);
    static void VisibleFractions(const TextureSlot& slot, const TPicture& picture, TextureRef& ref);
    bool PlaceInAtlas(int w, int h, int& page, int& x, int& y);
    void ApplyScissor(int x, int y, int w, int h);
    void ApplyViewport();
    void DeleteDeferred();
    void DeleteFences();

    struct Page {
        uint32_t texture = 0;
        int live = 0;
        int64_t placedTexels = 0;
        TAtlasSkyline space;
    };

    bool ready_ = false;
    uint64_t generation_ = 0;
    int virtualW_ = 800, virtualH_ = 600;
    int drawableW_ = 800, drawableH_ = 600;
    int boxX_ = 0, boxY_ = 0, boxW_ = 800, boxH_ = 600;  // letterbox, y from the top
    double pixelsPerUnit_ = 1;
    int clipX_ = 0, clipY_ = 0, clipW_ = 800, clipH_ = 600;
    ClipBox clipBox_{0, 0, 800, 600};
    int blend_ = 3;

    uint32_t batchTexture_ = 0;
    bool batchFiltered_ = false;
    int batchBlend_ = 0;
    int batchClipX_ = 0, batchClipY_ = 0, batchClipW_ = 0, batchClipH_ = 0;
    std::vector<Vertex> vertices_ = std::vector<Vertex>(kMaxVertices);
    int used_ = 0;
    int ringUsed_ = kMaxVertices;  // vertices written to the GL buffer since it was last renewed

    // GL objects and the GL state last set, to skip redundant calls.
    uint32_t program_ = 0, vao_ = 0, vbo_ = 0, indexBuffer_ = 0, samplers_[2] = {0, 0}, whiteTexture_ = 0;
    int uniformMode_ = -1, uniformGuard_ = -1, uniformSpan_ = -1;
    int maxViewportW_ = 0, maxViewportH_ = 0;
    uint32_t boundTexture_ = 0;
    int boundSampler_ = -1, appliedBlend_ = -1;
    int atlasSize_ = 2048;
    std::vector<Page> pages_;
    std::vector<uint32_t> deferredDeletes_;
    // One fence per frame still queued in the driver, oldest first.
    std::vector<void*> frameFences_;
    int ownTextures_ = 0;
    int64_t ownTexels_ = 0;
    std::vector<uint8_t> scratch_;

    FrameStats stats_, lastStats_;
};

Renderer& TheRenderer();

}  // namespace media_detail
