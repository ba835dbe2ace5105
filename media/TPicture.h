#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
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
    // Bytes of main memory the shared store's pixels take (0 while dropped).
    size_t StoreBytes() const { return store_->pixels.capacity() * sizeof(uint32_t); }
    const uint32_t* StorePixels() const { return Pixels().data(); }
    uint32_t* StorePixels() { return Pixels().data(); }

    // Makes a picture whose store has this store's size and present pixels
    // (a cell of a strip made again will do); null when the source can no
    // longer be read.
    using Source = std::function<std::shared_ptr<TPicture>()>;
    void SetSource(Source source);
    // True when the pixels may be dropped: a source reproduces them.
    bool PixelsReproducible() const;
    // Lets the main-memory pixels go when a source can bring them back.
    void DropPixels() const;
    bool PixelsHeld() const { return !store_->pixels.empty(); }
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
        Source source;
        uint64_t sourceVersion = 0;  // the version the source reproduces
    };
    TPicture() = default;
    // The store's pixels, decoded again first when they were dropped.
    std::vector<uint32_t>& Pixels() const;
    std::shared_ptr<Store> store_;
    int offsetX_ = 0, offsetY_ = 0, width_ = 0, height_ = 0;
};

using PicturePtr = std::shared_ptr<TPicture>;
