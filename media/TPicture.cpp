#include "media/TPicture.h"

#include <algorithm>

TPicture::TPicture(int width, int height, bool hasAlpha)
    : store_(std::make_shared<Store>()) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    store_->width = width;
    store_->height = height;
    store_->hasAlpha = hasAlpha;
    store_->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    width_ = width;
    height_ = height;
}

std::vector<uint32_t>& TPicture::Pixels() const {
    Store& store = *store_;
    const size_t count = static_cast<size_t>(store.width) * static_cast<size_t>(store.height);
    if (store.pixels.size() == count) return store.pixels;
    std::shared_ptr<TPicture> again = store.source ? store.source() : nullptr;
    if (again && again->store_->width == store.width && again->store_->height == store.height &&
        again->store_->pixels.size() == count) {
        store.pixels = std::move(again->store_->pixels);
    } else {
        // The source is gone (a file changed or vanished under the game):
        // transparent pixels of the right size rather than a read out of bounds.
        store.pixels.assign(count, 0u);
    }
    return store.pixels;
}

void TPicture::SetSource(Source source) {
    store_->source = std::move(source);
    store_->sourceVersion = store_->version;
}

bool TPicture::PixelsReproducible() const {
    return store_->source && store_->version == store_->sourceVersion;
}

void TPicture::DropPixels() const {
    if (!PixelsReproducible() || store_->pixels.empty()) return;
    std::vector<uint32_t>().swap(store_->pixels);
}

uint32_t TPicture::ReadPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return Pixels()[static_cast<size_t>(y + offsetY_) * static_cast<size_t>(store_->width) +
                          static_cast<size_t>(x + offsetX_)];
}

void TPicture::WritePixel(int x, int y, uint32_t argb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Pixels()[static_cast<size_t>(y + offsetY_) * static_cast<size_t>(store_->width) +
                   static_cast<size_t>(x + offsetX_)] = argb;
    ++store_->version;
}

std::shared_ptr<TPicture> TPicture::Window(int x, int y, int w, int h) const {
    // Clip the window to this picture so a window never reaches outside it.
    int x0 = std::clamp(x, 0, width_), y0 = std::clamp(y, 0, height_);
    int x1 = std::clamp(x + std::max(w, 0), 0, width_), y1 = std::clamp(y + std::max(h, 0), 0, height_);
    std::shared_ptr<TPicture> win(new TPicture());
    win->store_ = store_;
    win->offsetX_ = offsetX_ + x0;
    win->offsetY_ = offsetY_ + y0;
    win->width_ = x1 - x0;
    win->height_ = y1 - y0;
    return win;
}

std::shared_ptr<TPicture> TPicture::Clone() const {
    auto copy = std::make_shared<TPicture>(width_, height_, store_->hasAlpha);
    for (int y = 0; y < height_; ++y) {
        const uint32_t* src = Pixels().data() +
                              static_cast<size_t>(y + offsetY_) * static_cast<size_t>(store_->width) + offsetX_;
        std::copy(src, src + width_, copy->store_->pixels.data() + static_cast<size_t>(y) * width_);
    }
    return copy;
}
