#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace media_detail { struct TextureSlot; }

// A picture in main memory: pixels as 32-bit 0xAARRGGBB, row by row from the
// top-left. `HasAlpha` tells whether the source carried an alpha channel, which
// decides how a masked image uses it. Window() gives a sub-picture that shares
// the parent's pixels, so glyphs and strip cells can come from one atlas.
class TPicture {
public:
    TPicture(int width, int height, bool hasAlpha = true);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasAlpha() const { return store_->hasAlpha; }

    // Out-of-range reads give 0, out-of-range writes are ignored.
    uint32_t ReadPixel(int x, int y) const;
    void WritePixel(int x, int y, uint32_t argb);
    std::shared_ptr<TPicture> Window(int x, int y, int w, int h) const;
    // A new picture with its own pixels, a copy of what this one shows.
    std::shared_ptr<TPicture> Clone() const;
    // Marks the pixels as changed after writing through StorePixels().
    void Touch() { ++store_->version; }
    // A picture's alpha is trusted or ignored by masking; decoders and masking set it.
    void SetHasAlpha(bool hasAlpha) { store_->hasAlpha = hasAlpha; }

    // Where this picture lies inside the pixel store it shares.
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    int StoreWidth() const { return store_->width; }
    int StoreHeight() const { return store_->height; }
    const uint32_t* StorePixels() const { return store_->pixels.data(); }
    uint32_t* StorePixels() { return store_->pixels.data(); }
    // Identity of the shared store, so the renderer can share one texture.
    const void* StoreId() const { return store_.get(); }
    // Bumped by every write, so a cached texture knows it is stale.
    uint64_t StoreVersion() const { return store_->version; }
    // The renderer's texture placement of the shared store (owned by the store,
    // so it goes when the last picture sharing it goes).
    std::shared_ptr<media_detail::TextureSlot>& GpuSlot() const { return store_->slot; }

private:
    struct Store {
        int width = 0, height = 0;
        bool hasAlpha = true;
        uint64_t version = 0;
        std::vector<uint32_t> pixels;
        std::shared_ptr<media_detail::TextureSlot> slot;
    };
    TPicture() = default;
    std::shared_ptr<Store> store_;
    int offsetX_ = 0, offsetY_ = 0, width_ = 0, height_ = 0;
};

using PicturePtr = std::shared_ptr<TPicture>;
