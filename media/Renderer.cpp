#include "media/detail/Renderer.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>

namespace media_detail {
namespace {

const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 a_pos;
layout(location = 1) in vec2 a_uv;
layout(location = 2) in vec4 a_colour;
uniform vec2 u_guard;  // design units the viewport reaches past the design area on each side
uniform vec2 u_span;   // design units the viewport spans
out vec2 v_uv;
out vec4 v_colour;
void main() {
    vec2 p = a_pos + u_guard;
    gl_Position = vec4(p.x / u_span.x * 2.0 - 1.0, 1.0 - p.y / u_span.y * 2.0, 0.0, 1.0);
    v_uv = a_uv;
    v_colour = a_colour;
}
)";

// Textures and vertex colours are premultiplied. Mode 0 blends, mode 1 is the
// alpha-tested opaque write, mode 2 replaces the destination outright.
const char* kFragmentShader = R"(#version 330 core
in vec2 v_uv;
in vec4 v_colour;
uniform sampler2D u_texture;
uniform int u_mode;
out vec4 o_colour;
void main() {
    vec4 texel = texture(u_texture, v_uv);
    if (v_uv.x < -1.0) texel = vec4(1.0);
    vec4 c = texel * v_colour;
    if (u_mode == 1) {
        if (c.a < 0.5) discard;
        o_colour = vec4(c.rgb / c.a, 1.0);
    } else if (u_mode == 2) {
        o_colour = c.a > 0.0 ? vec4(c.rgb / c.a, c.a) : vec4(0.0);
    } else {
        o_colour = c;
    }
}
)";

GLuint Compile(GLenum type, const char* source) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// ARGB to premultiplied RGBA bytes.
inline void PutPremultiplied(uint8_t* out, uint32_t argb) {
    const uint32_t a = argb >> 24;
    const uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    out[0] = static_cast<uint8_t>((r * a + 127) / 255);
    out[1] = static_cast<uint8_t>((g * a + 127) / 255);
    out[2] = static_cast<uint8_t>((b * a + 127) / 255);
    out[3] = static_cast<uint8_t>(a);
}

constexpr int kAtlasItemMax = 512;  // larger stores get a texture of their own
// A page is allocated (and, by a software driver, cleared) whole however
// little of it is used: pages of 2048² (16 MB) left one of the two the menu
// needs mostly empty; 1024² pages (4 MB) waste at most a part of the last one.
constexpr int kAtlasPageMax = 1024;
constexpr size_t kScratchKeptBytes = 256 * 1024;
constexpr GLuint64 kFrameWaitNs = 1000000000;  // a driver that never finishes must not hang the game

// Whether every texel is opaque, and the box of texels that are not fully
// transparent grown by one texel.
void FindVisibleTexels(const uint32_t* pixels, int w, int h, TextureSlot& slot) {
    int x0 = w, y0 = h, x1 = 0, y1 = 0;
    bool opaque = true;
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * w;
        int first = -1, last = -1;
        for (int x = 0; x < w; ++x) {
            const uint32_t a = row[x] >> 24;
            opaque = opaque && a == 255;
            if (a != 0) {
                if (first < 0) first = x;
                last = x;
            }
        }
        if (first < 0) continue;
        x0 = std::min(x0, first);
        x1 = std::max(x1, last + 1);
        y0 = std::min(y0, y);
        y1 = y + 1;
    }
    slot.opaque = opaque;
    if (x1 <= x0) {  // nothing visible at all
        slot.visX0 = slot.visY0 = slot.visX1 = slot.visY1 = 0;
        return;
    }
    slot.visX0 = std::max(x0 - 1, 0);
    slot.visY0 = std::max(y0 - 1, 0);
    slot.visX1 = std::min(x1 + 1, w);
    slot.visY1 = std::min(y1 + 1, h);
}

}  // namespace

Renderer& TheRenderer() {
    // Never destroyed: pictures released during static destruction still call in.
    static Renderer* renderer = new Renderer();
    return *renderer;
}

int64_t ThreadCpuNanos() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

TextureSlot::~TextureSlot() { TheRenderer().Release(*this); }

bool Renderer::Start(int virtualW, int virtualH) {
    ++generation_;
    GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader);
    GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    if (!vs || !fs) {
        if (vs) glDeleteShader(vs);
        if (fs) glDeleteShader(fs);
        return false;
    }
    program_ = glCreateProgram();
    glAttachShader(program_, vs);
    glAttachShader(program_, fs);
    glLinkProgram(program_);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint linked = 0;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (!linked) {
        glDeleteProgram(program_);
        program_ = 0;
        return false;
    }
    glUseProgram(program_);
    uniformMode_ = glGetUniformLocation(program_, "u_mode");
    uniformGuard_ = glGetUniformLocation(program_, "u_guard");
    uniformSpan_ = glGetUniformLocation(program_, "u_span");
    glUniform1i(glGetUniformLocation(program_, "u_texture"), 0);

    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    glGenBuffers(1, &vbo_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, sizeof(Vertex) * kMaxVertices, nullptr, GL_STREAM_DRAW);
    // Every quad is four vertices and two triangles through a fixed index
    // list: the driver shades four vertices a quad instead of six.
    glGenBuffers(1, &indexBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    {
        std::vector<uint16_t> indices(static_cast<size_t>(kMaxVertices / 4) * 6);
        for (int q = 0; q < kMaxVertices / 4; ++q) {
            const uint16_t b = static_cast<uint16_t>(q * 4);
            const uint16_t quad[6] = {b, uint16_t(b + 1), uint16_t(b + 2), b, uint16_t(b + 2), uint16_t(b + 3)};
            std::copy(quad, quad + 6, indices.begin() + q * 6);
        }
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t)),
                     indices.data(), GL_STATIC_DRAW);
    }
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, u)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, rgba)));

    glGenSamplers(2, samplers_);
    for (int i = 0; i < 2; ++i) {
        const GLint filter = i ? GL_LINEAR : GL_NEAREST;
        glSamplerParameteri(samplers_[i], GL_TEXTURE_MIN_FILTER, filter);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_MAG_FILTER, filter);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }

    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &whiteTexture_);
    glBindTexture(GL_TEXTURE_2D, whiteTexture_);
    const uint8_t white[4] = {255, 255, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    boundTexture_ = whiteTexture_;

    GLint maxViewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxViewport);
    maxViewportW_ = maxViewport[0];
    maxViewportH_ = maxViewport[1];

    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    atlasSize_ = std::min(kAtlasPageMax, std::max(maxSize, 256));

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_SCISSOR_TEST);

    boundSampler_ = -1;
    appliedBlend_ = -1;
    used_ = 0;
    batchTexture_ = 0;
    batchBlend_ = 0;
    stats_ = lastStats_ = FrameStats{};
    virtualW_ = virtualW;
    virtualH_ = virtualH;
    UpdateClipBox();
    ready_ = true;
    return true;
}

void Renderer::Stop() {
    if (!ready_) return;
    used_ = 0;
    for (Page& page : pages_) glDeleteTextures(1, &page.texture);
    pages_.clear();
    DeleteDeferred();
    DeleteFences();
    ownTextures_ = 0;
    ownTexels_ = 0;
    glDeleteTextures(1, &whiteTexture_);
    glDeleteSamplers(2, samplers_);
    glDeleteBuffers(1, &vbo_);
    glDeleteBuffers(1, &indexBuffer_);
    glDeleteVertexArrays(1, &vao_);
    glDeleteProgram(program_);
    program_ = vao_ = vbo_ = indexBuffer_ = whiteTexture_ = 0;
    samplers_[0] = samplers_[1] = 0;
    batchTexture_ = boundTexture_ = 0;
    ready_ = false;
    // Own textures of live stores died with the context; their slots are now
    // stale and will be replaced by the next context's uploads.
    ++generation_;
}

void Renderer::SetSurface(int drawableW, int drawableH, int virtualW, int virtualH) {
    // What is batched was placed for the old mapping and is drawn with it.
    Flush();
    drawableW_ = std::max(drawableW, 1);
    drawableH_ = std::max(drawableH, 1);
    virtualW_ = std::max(virtualW, 1);
    virtualH_ = std::max(virtualH, 1);
    UpdateClipBox();
    const double scale = std::min(double(drawableW_) / virtualW_, double(drawableH_) / virtualH_);
    boxW_ = std::max(1, static_cast<int>(std::lround(virtualW_ * scale)));
    boxH_ = std::max(1, static_cast<int>(std::lround(virtualH_ * scale)));
    pixelsPerUnit_ = (double(boxW_) / virtualW_) * (double(boxH_) / virtualH_);
    boxX_ = (drawableW_ - boxW_) / 2;
    boxY_ = (drawableH_ - boxH_) / 2;
    if (ready_) {
        ApplyViewport();
        // The clip in force must be re-applied against the new mapping.
        batchClipW_ = -1;
    }
}

void Renderer::ApplyViewport() {
    // The viewport reaches past the letterbox by a guard band as wide and as
    // tall as the letterbox on every side, and the scissor keeps the drawing
    // inside. A quad that crosses the edge of the design area then still lies
    // within the viewport, and the driver's geometry clipper, which sends the
    // whole draw down its slow path for a single such quad, is left out.
    // The band is a whole design area so that design x still lands on window
    // pixel boxX + x·boxW/virtualW through the same arithmetic as without it.
    const bool guarded = 3 * boxW_ <= maxViewportW_ && 3 * boxH_ <= maxViewportH_;
    const int guardX = guarded ? boxW_ : 0, guardY = guarded ? boxH_ : 0;
    glViewport(boxX_ - guardX, drawableH_ - boxY_ - boxH_ - guardY, boxW_ + 2 * guardX, boxH_ + 2 * guardY);
    const float designGuardX = guarded ? static_cast<float>(virtualW_) : 0.0f;
    const float designGuardY = guarded ? static_cast<float>(virtualH_) : 0.0f;
    glUniform2f(uniformGuard_, designGuardX, designGuardY);
    glUniform2f(uniformSpan_, static_cast<float>(virtualW_) + 2 * designGuardX,
                static_cast<float>(virtualH_) + 2 * designGuardY);
}

void Renderer::GetLetterbox(int& x, int& yTop, int& w, int& h) const {
    x = boxX_;
    yTop = boxY_;
    w = boxW_;
    h = boxH_;
}

void Renderer::ApplyScissor(int x, int y, int w, int h) {
    // Design-space rectangle to window pixels, clipped to the letterbox.
    const double sx = double(boxW_) / virtualW_, sy = double(boxH_) / virtualH_;
    int left = boxX_ + static_cast<int>(std::lround(std::max(x, 0) * sx));
    int top = boxY_ + static_cast<int>(std::lround(std::max(y, 0) * sy));
    int right = boxX_ + static_cast<int>(std::lround(std::min(x + w, virtualW_) * sx));
    int bottom = boxY_ + static_cast<int>(std::lround(std::min(y + h, virtualH_) * sy));
    right = std::max(right, left);
    bottom = std::max(bottom, top);
    glScissor(left, drawableH_ - bottom, right - left, bottom - top);
}

void Renderer::Flush() {
    if (!ready_ || used_ == 0) return;
    const int64_t start = ThreadCpuNanos();
    if (boundTexture_ != batchTexture_) {
        glBindTexture(GL_TEXTURE_2D, batchTexture_);
        boundTexture_ = batchTexture_;
    }
    const int sampler = batchFiltered_ ? 1 : 0;
    if (boundSampler_ != sampler) {
        glBindSampler(0, samplers_[sampler]);
        boundSampler_ = sampler;
    }
    if (appliedBlend_ != batchBlend_) {
        switch (batchBlend_) {
        case 1:  // MASK: alpha-tested, opaque
            glDisable(GL_BLEND);
            glUniform1i(uniformMode_, 1);
            break;
        case 3:  // ALPHA
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
            glUniform1i(uniformMode_, 0);
            break;
        case 4:  // LIGHT: source × alpha added
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            glUniform1i(uniformMode_, 0);
            break;
        case 5:  // SHADE: multiply; transparent texels leave the destination alone
            glEnable(GL_BLEND);
            glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);
            glUniform1i(uniformMode_, 0);
            break;
        default:  // SOLID
            glDisable(GL_BLEND);
            glUniform1i(uniformMode_, 2);
            break;
        }
        appliedBlend_ = batchBlend_;
    }
    ApplyScissor(batchClipX_, batchClipY_, batchClipW_, batchClipH_);
    // Batches go one after another into the buffer, written without waiting on
    // the draws already queued; a fresh store is asked for only when it is
    // full. Orphaning the whole buffer at every flush made the driver allocate
    // and clear a megabyte each time.
    if (ringUsed_ + used_ > kMaxVertices) {
        glBufferData(GL_ARRAY_BUFFER, sizeof(Vertex) * kMaxVertices, nullptr, GL_STREAM_DRAW);
        ringUsed_ = 0;
    }
    void* target = glMapBufferRange(GL_ARRAY_BUFFER, sizeof(Vertex) * ringUsed_, sizeof(Vertex) * used_,
                                    GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
    if (target) {
        std::memcpy(target, vertices_.data(), sizeof(Vertex) * used_);
        glUnmapBuffer(GL_ARRAY_BUFFER);
        glDrawElementsBaseVertex(GL_TRIANGLES, used_ / 4 * 6, GL_UNSIGNED_SHORT, nullptr, ringUsed_);
        ringUsed_ += used_;
    }
    AddDriverTime(ThreadCpuNanos() - start);
    ++stats_.drawCalls;
    used_ = 0;
}

void Renderer::ClearClip(float r, float g, float b) {
    if (!ready_) return;
    Flush();
    const int64_t start = ThreadCpuNanos();
    ApplyScissor(clipX_, clipY_, clipW_, clipH_);
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    AddDriverTime(ThreadCpuNanos() - start);
}

void Renderer::ClearWindow(float r, float g, float b) {
    if (!ready_) return;
    Flush();
    const int64_t start = ThreadCpuNanos();
    glScissor(0, 0, drawableW_, drawableH_);
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    AddDriverTime(ThreadCpuNanos() - start);
}

void Renderer::EndFrame() {
    lastStats_ = stats_;
    stats_ = FrameStats{};
    DeleteDeferred();
    if (!ready_) return;
    // A window system's swap keeps the game at most a frame or two ahead of
    // the driver; an off-screen surface's does not, and a software driver
    // then queues frame after frame (over a megabyte each) while the game
    // runs ahead. Two frames in flight is what double buffering allows.
    frameFences_.push_back(glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0));
    glFlush();
    if (frameFences_.size() > 2) {
        GLsync oldest = static_cast<GLsync>(frameFences_.front());
        glClientWaitSync(oldest, GL_SYNC_FLUSH_COMMANDS_BIT, kFrameWaitNs);
        glDeleteSync(oldest);
        frameFences_.erase(frameFences_.begin());
    }
}

void Renderer::DeleteFences() {
    for (void* fence : frameFences_) glDeleteSync(static_cast<GLsync>(fence));
    frameFences_.clear();
}

void Renderer::DeleteDeferred() {
    if (!deferredDeletes_.empty() && ready_)
        glDeleteTextures(static_cast<GLsizei>(deferredDeletes_.size()), deferredDeletes_.data());
    deferredDeletes_.clear();
}

bool Renderer::ReadLetterbox(std::vector<uint32_t>& pixels, int& w, int& h) {
    if (!ready_) return false;
    Flush();
    w = boxW_;
    h = boxH_;
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    glReadPixels(boxX_, drawableH_ - boxY_ - boxH_, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    if (glGetError() != GL_NO_ERROR) return false;
    pixels.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = rgba.data() + static_cast<size_t>(h - 1 - y) * w * 4;  // GL rows go up
        uint32_t* dst = pixels.data() + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x, src += 4)
            dst[x] = 0xFF000000u | (uint32_t(src[0]) << 16) | (uint32_t(src[1]) << 8) | src[2];
    }
    return true;
}

bool Renderer::PlaceInAtlas(int w, int h, int& pageIndex, int& x, int& y) {
    for (size_t i = 0; i <= pages_.size(); ++i) {
        if (i == pages_.size()) {
            Page page;
            glGenTextures(1, &page.texture);
            glBindTexture(GL_TEXTURE_2D, page.texture);
            boundTexture_ = page.texture;
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, atlasSize_, atlasSize_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
            page.space.Reset(atlasSize_);
            pages_.push_back(std::move(page));
        }
        Page& page = pages_[i];
        if (!page.space.Place(w, h, x, y)) continue;
        pageIndex = static_cast<int>(i);
        ++page.live;
        return true;
    }
    return false;
}

bool Renderer::Upload(const TPicture& picture) {
    if (!ready_) return false;
    const int w = picture.StoreWidth(), h = picture.StoreHeight();
    if (w <= 0 || h <= 0) return false;
    const uint32_t* pixels = picture.StorePixels();
    std::shared_ptr<TextureSlot>& slotRef = picture.GpuSlot();

    const bool fresh = !slotRef || slotRef->generation != generation_;
    if (fresh) {
        auto slot = std::make_shared<TextureSlot>();
        slot->generation = generation_;
        slot->w = w;
        slot->h = h;
        const bool small = w <= kAtlasItemMax && h <= kAtlasItemMax && w + 2 <= atlasSize_ && h + 2 <= atlasSize_;
        int page = -1, ax = 0, ay = 0;
        if (small && PlaceInAtlas(w + 2, h + 2, page, ax, ay)) {
            slot->page = page;
            slot->texture = pages_[page].texture;
            slot->x = ax + 1;  // one texel of gutter on every side
            slot->y = ay + 1;
            slot->invW = slot->invH = 1.0f / atlasSize_;
            pages_[page].placedTexels += int64_t(w) * h;
        } else {
            GLint maxSize = 0;
            glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
            if (w > maxSize || h > maxSize) return false;
            GLuint texture = 0;
            glGenTextures(1, &texture);
            glBindTexture(GL_TEXTURE_2D, texture);
            boundTexture_ = texture;
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
            slot->texture = texture;
            slot->invW = 1.0f / w;
            slot->invH = 1.0f / h;
            ++ownTextures_;
            ownTexels_ += int64_t(w) * h;
        }
        slotRef = std::move(slot);
    }
    TextureSlot& slot = *slotRef;
    // Replacing texels the open batch may still sample: draw the batch first.
    // A fresh placement is in unused space and needs no flush.
    if (!fresh && used_ > 0 && batchTexture_ == slot.texture) Flush();

    if (slot.page >= 0) {
        // Store plus a gutter that repeats the edge texels, so filtering at
        // the border never picks up a neighbour in the atlas.
        const int gw = w + 2, gh = h + 2;
        scratch_.resize(static_cast<size_t>(gw) * gh * 4);
        for (int gy = 0; gy < gh; ++gy) {
            const int sy = std::clamp(gy - 1, 0, h - 1);
            uint8_t* out = scratch_.data() + static_cast<size_t>(gy) * gw * 4;
            const uint32_t* row = pixels + static_cast<size_t>(sy) * w;
            for (int gx = 0; gx < gw; ++gx) PutPremultiplied(out + gx * 4, row[std::clamp(gx - 1, 0, w - 1)]);
        }
        if (boundTexture_ != slot.texture) {
            glBindTexture(GL_TEXTURE_2D, slot.texture);
            boundTexture_ = slot.texture;
        }
        glTexSubImage2D(GL_TEXTURE_2D, 0, slot.x - 1, slot.y - 1, gw, gh, GL_RGBA, GL_UNSIGNED_BYTE, scratch_.data());
    } else {
        scratch_.resize(static_cast<size_t>(w) * h * 4);
        for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) PutPremultiplied(scratch_.data() + i * 4, pixels[i]);
        if (boundTexture_ != slot.texture) {
            glBindTexture(GL_TEXTURE_2D, slot.texture);
            boundTexture_ = slot.texture;
        }
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, scratch_.data());
    }
    FindVisibleTexels(pixels, w, h, slot);
    // Kept for the small uploads that come every frame (changed pictures);
    // a big one's bytes would otherwise stay taken for the rest of the run.
    if (scratch_.capacity() > kScratchKeptBytes) std::vector<uint8_t>().swap(scratch_);
    slot.uploadedVersion = picture.StoreVersion();
    // The texture now holds the pixels; a picture read from the game's files
    // can read them again when it needs them (a reopened display, a lock).
    picture.DropPixels();
    return true;
}

void Renderer::VisibleFractions(const TextureSlot& slot, const TPicture& picture, TextureRef& ref) {
    const int w = picture.Width(), h = picture.Height();
    if (w <= 0 || h <= 0) return;
    const int x0 = std::clamp(slot.visX0 - picture.OffsetX(), 0, w), x1 = std::clamp(slot.visX1 - picture.OffsetX(), 0, w);
    const int y0 = std::clamp(slot.visY0 - picture.OffsetY(), 0, h), y1 = std::clamp(slot.visY1 - picture.OffsetY(), 0, h);
    ref.visLeft = float(x0) / float(w);
    ref.visRight = float(std::max(x0, x1)) / float(w);
    ref.visTop = float(y0) / float(h);
    ref.visBottom = float(std::max(y0, y1)) / float(h);
}

void Renderer::Release(const TextureSlot& slot) {
    if (slot.generation != generation_ || !ready_) return;
    if (slot.page >= 0 && slot.page < static_cast<int>(pages_.size())) {
        Page& page = pages_[slot.page];
        page.placedTexels -= int64_t(slot.w) * slot.h;
        if (--page.live == 0) {
            // Every picture on the page is gone: start packing it afresh. The
            // open batch may still show the dead pictures, so it goes first.
            if (used_ > 0 && batchTexture_ == page.texture) Flush();
            page.space.Clear();
        }
    } else if (slot.page < 0 && slot.texture) {
        // The open batch may still use it; delete once the frame is out.
        deferredDeletes_.push_back(slot.texture);
        --ownTextures_;
        ownTexels_ -= int64_t(slot.w) * slot.h;
    }
}

void Renderer::TextureUse(int& pages, int64_t& placedTexels, int& own, int64_t& ownTexels) const {
    pages = static_cast<int>(pages_.size());
    placedTexels = 0;
    for (const Page& page : pages_) placedTexels += page.placedTexels;
    own = ownTextures_;
    ownTexels = ownTexels_;
}

}  // namespace media_detail
