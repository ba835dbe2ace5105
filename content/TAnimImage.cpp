#include "content/TAnimImage.h"

#include "content/TResManager.h"
#include "core/GameClock.h"
#include "media/Graphics.h"

TAnimImage::TAnimImage() : UpdTime(static_cast<int>(GameClock)) {}

TAnimImage::TAnimImage(ImagePtr image, int speed) : TAnimImage() {
    Image = std::move(image);
    AnimSpeed = speed;
    if (Image) {
        Frames = Image->FrameCount();
        FrameWidth = Image->width;
        FrameHeight = Image->height;
    }
}

int TAnimImage::CheckComplete() const { return Frame >= Frames - 1 ? 1 : 0; }

void TAnimImage::Advance() {
    if (OneShoot && Frame == Frames - 1) Paused = 1;
    if (GameClock > static_cast<float>(UpdTime + AnimSpeed) && Paused == 0) {
        ++Frame;
        if (Frame >= Frames) Frame = 0;
        UpdTime = static_cast<int>(GameClock);
    }
}

void TAnimImage::Draw(int x, int y) {
    Advance();
    DrawImage(Image, static_cast<float>(x), static_cast<float>(y), Frame);
}

std::shared_ptr<TAnimImage> TAnimImage::Load2(const std::string& id, int speed) {
    ResPtr res = ResManager->GetRes(id);
    auto* strip = dynamic_cast<TResAnimImage*>(res.get());
    if (!strip) return nullptr;
    auto anim = std::make_shared<TAnimImage>();
    anim->Image = strip->AsImage();
    anim->Frames = strip->FramesNum;
    anim->AnimSpeed = speed == -1 ? strip->AnimSpeed : speed;
    anim->FrameWidth = strip->FrameWidth;
    anim->FrameHeight = strip->FrameHeight;
    return anim;
}
