#include "gui/DialogFrame.h"

#include "core/TGraphicsState.h"
#include "media/Graphics.h"

void SetDialogFrameImage(DialogFrame& frame, const ImagePtr& source) {
    frame.Image = nullptr;
    frame.Tile_Width = frame.Tile_Height = 0;
    if (!source || source->FrameCount() == 0) return;
    const int tw = source->width / 3, th = source->height / 3;
    frame.Tile_Width = tw;
    frame.Tile_Height = th;
    if (tw <= 0 || th <= 0) return;
    const PicturePtr whole = LockImage(source, 0);
    if (!whole) return;
    ImagePtr parts = CreateImage(tw, th, 9, source->flags);
    for (int k = 0; k < 9; ++k) {
        const int sx = (k % 3) * tw, sy = (k / 3) * th;
        const PicturePtr part = LockImage(parts, k);
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x) part->WritePixel(x, y, whole->ReadPixel(sx + x, sy + y));
        UnlockImage(parts, k);
    }
    UnlockImage(source, 0);
    frame.Image = parts;
}

namespace {

void DrawParts(const DialogFrame& f, float x, float y, int W, int H) {
    const int tw = f.Tile_Width, th = f.Tile_Height;
    // Corners shrink to half the dialog when three parts do not fit.
    const int cw = 3 * tw > W ? W / 2 : tw;
    const int ch = 3 * th > H ? H / 2 : th;
    const int X = int(x), Y = int(y);

    // Each corner reaches one pixel further toward the inside on the sides
    // where it meets an edge drawn from the other direction.
    SetViewport(X, Y, cw + 1, ch + 1);
    DrawImage(f.Image, 0, 0, 0);
    SetViewport(X, int(y + H - ch), cw + 1, ch);
    DrawImage(f.Image, 0, float(H - th), 6);
    SetViewport(int(x + W - cw), int(y + H - ch), cw + 1, ch);
    DrawImage(f.Image, float(W - tw), float(H - th), 8);
    SetViewport(int(x + W - cw), Y, cw, ch + 1);
    DrawImage(f.Image, float(W - tw), 0, 2);

    SetOrigin(0, 0);
    struct Tiled {
        int vx, vy, vw, vh, frame;
        float ax, ay;
    };
    const Tiled tiles[] = {
        {X, int(y + th), tw + 1, H - 2 * th, 3, x, y},
        {int(x - tw + W), int(y + th), tw, H - 2 * th, 5, x - tw + W, y},
        {int(x + tw), Y, W - 2 * tw, th + 1, 1, x, y},
        {int(x + tw), int(y + H - th), W - 2 * tw, th, 7, x, y + H - th},
        {int(x + tw), int(y + th), W - 2 * tw, H - 2 * th, 4, x, y},
    };
    for (const Tiled& t : tiles) {
        if (t.vw <= 0 || t.vh <= 0) continue;
        SetViewport(t.vx, t.vy, t.vw, t.vh);
        TileImage(f.Image, t.ax, t.ay, t.frame);
    }
}

void DrawOrnaments(const DialogFrame& f, float x, float y, int W, int H) {
    SetViewport(0, 0, DisplayWidth(), DisplayHeight());
    SetOrigin(x, y);
    const bool wideEnough = W - 2 * f.Tile_Width > 0;
    const bool tallEnough = H - 2 * f.Tile_Height > 0;
    if (f.Tile_Up && wideEnough) DrawImage(f.Tile_Up, float(W / 2 - f.Tile_Up->width / 2), 0);
    if (f.Tile_Down && wideEnough) DrawImage(f.Tile_Down, float(W / 2 - f.Tile_Down->width / 2), float(H));
    if (f.Tile_Left && tallEnough) DrawImage(f.Tile_Left, 0, float(H / 2 - f.Tile_Left->height / 2));
    if (f.Tile_Right && tallEnough)
        DrawImage(f.Tile_Right, float(W - f.Tile_Right->width), float(H / 2 - f.Tile_Right->height / 2));
}

}  // namespace

void DrawDialogFrame(const DialogFrame& frame, float x, float y, int width, int height) {
    PushDrawState();
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    if (frame.Image) {
        PushDrawState();
        DrawParts(frame, x, y, width, height);
        PopDrawState();
    }
    PushDrawState();
    DrawOrnaments(frame, x, y, width, height);
    PopDrawState();
    PopDrawState();
}
