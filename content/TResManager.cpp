#include "content/TResManager.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "content/DataPak.h"
#include "content/TPNGFont.h"
#include "core/QuitRequest.h"
#include "core/TextHelpers.h"
#include "media/Files.h"
#include "media/Graphics.h"
#include "media/System.h"

std::shared_ptr<TResManager> ResManager = std::make_shared<TResManager>();

void DefaultResourceFatal(const std::string& message) {
    Notify(message, false);
    RequestQuit(1);
}

std::function<void(const std::string&)> ResourceFatal = DefaultResourceFatal;
std::function<EffectDefPtr(StreamPtr)> EffectLoader;

namespace {

// The description file entries were declared in, for entries it gives no file
// (a description cut short ends inside an attribute).
std::string descriptionFile = "res.xml";

void Fatal(const std::string& path, const std::string& id = "") {
    if (!ResourceFatal) return;
    if (path.empty() && !id.empty())
        ResourceFatal(descriptionFile + " gives no file for " + id + ": not found");
    else
        ResourceFatal(path + " not found");
}

PicturePtr LoadResourcePicture(const std::string& path) {
    StreamPtr stream = OpenResource(path);
    return stream ? LoadPicture(*stream) : nullptr;
}

// colour XOR (255 << 24) XOR (mask << 24): the colour channels stay, the alpha
// becomes colour alpha XOR 255 XOR the mask's lowest byte.
PicturePtr CombineMask(const std::string& colourPath, const std::string& maskPath) {
    PicturePtr colour = LoadResourcePicture(colourPath);
    PicturePtr mask = LoadResourcePicture(maskPath);
    if (!colour) {
        Fatal(colourPath);
        return nullptr;
    }
    if (!mask) {
        Fatal(maskPath);
        return nullptr;
    }
    auto out = std::make_shared<TPicture>(colour->Width(), colour->Height(), true);
    for (int y = 0; y < colour->Height(); ++y)
        for (int x = 0; x < colour->Width(); ++x)
            out->WritePixel(x, y, colour->ReadPixel(x, y) ^ 0xFF000000u ^ (mask->ReadPixel(x, y) << 24));
    return out;
}

std::string Companion(const std::string& file) { return StripExtension(file) + "_." + PathExtension(file); }

}  // namespace

ImagePtr LoadImageWithMask(const std::string& colourPath, const std::string& maskPath) {
    PicturePtr combined = CombineMask(colourPath, maskPath);
    if (!combined) return nullptr;
    ImagePtr image = CreateImage(combined->Width(), combined->Height(), 1, -1);
    PicturePtr frame = LockImage(image, 0);
    if (!frame) return nullptr;
    for (int y = 0; y < combined->Height(); ++y)
        for (int x = 0; x < combined->Width(); ++x) frame->WritePixel(x, y, combined->ReadPixel(x, y));
    UnlockImage(image, 0);
    return image;
}

ImagePtr LoadAnimImageWithMask(const std::string& colourPath, const std::string& maskPath, int cellWidth,
                               int cellHeight, int first, int count) {
    PicturePtr combined = CombineMask(colourPath, maskPath);
    if (!combined) return nullptr;
    return ImageStripFromPicture(combined, cellWidth, cellHeight, first, count, -1);
}

// ---- entries ----------------------------------------------------------------

void TRes::SetImage(ImagePtr image) {
    if (!image) return;
    if (MidHandle != 0)
        CentreImageHandle(image);
    else
        SetImageHandle(image, static_cast<float>(HandleX), static_cast<float>(HandleY));
    data = image;
    kind = ResKind::Image;
}

namespace {

// The reads behind an image entry, kept apart from the entry so the pictures
// can be read the same way again once their main-memory copy was let go.
ImagePtr ReadImage(const std::string& file, const std::string& mask) {
    const std::string companion = Companion(file);
    if (ResourceExists(companion)) return LoadImageWithMask(file, companion);
    if (!PathExtension(mask).empty()) return LoadImageWithMask(file, mask);
    StreamPtr stream = OpenResource(file);
    return stream ? LoadImage(*stream, TImage::FILTERED) : nullptr;
}

ImagePtr ReadAnimImage(const std::string& file, int frameWidth, int frameHeight, int frames) {
    const std::string companion = Companion(file);
    if (ResourceExists(companion)) return LoadAnimImageWithMask(file, companion, frameWidth, frameHeight, 0, frames);
    StreamPtr stream = OpenResource(file);
    return stream ? LoadImageStrip(*stream, frameWidth, frameHeight, 0, frames, -1) : nullptr;
}

}  // namespace

void TResImage::Load() {
    ImagePtr image = ReadImage(FileName, mask);
    if (!image) {
        data.reset();
        kind = ResKind::None;
        if (Optional == 0) Fatal(FileName, name);
        return;
    }
    SetImageSource(image, [file = FileName, mask = mask] { return ReadImage(file, mask); });
    SetImage(image);
}

void TResAnimImage::Load() {
    ImagePtr image = ReadAnimImage(FileName, FrameWidth, FrameHeight, FramesNum);
    if (!image) {
        data.reset();
        kind = ResKind::None;
        Fatal(FileName, name);
        return;
    }
    SetImageSource(image, [file = FileName, w = FrameWidth, h = FrameHeight, n = FramesNum] {
        return ReadAnimImage(file, w, h, n);
    });
    SetImage(image);
}

void TResImageFont::Load() {
    FontPtr font;
    if (FileName.size() >= 4 && LowerAscii(FileName.substr(FileName.size() - 4)) == ".ttf")
        font = LoadFont(FileName, Size, 4);
    else
        font = CreatePNGFont(FileName);
    if (!font) {
        data.reset();
        kind = ResKind::None;
        Fatal(FileName, name);
        return;
    }
    data = font;
    kind = ResKind::Font;
}

void TResEffect::Load() {
    EffectDefPtr effect;
    if (EffectLoader) effect = EffectLoader(OpenResource(FileName));
    data = effect;
    kind = effect ? ResKind::Effect : ResKind::None;
}

void TResSound::Load() {
    if (data) return;
    SoundPtr sound = LoadSound(FileName, Loop);
    if (!sound) {
        Fatal(FileName, name);
        return;
    }
    data = sound;
    kind = ResKind::Sound;
}

// ---- manager ----------------------------------------------------------------

void TResManager::ResetLoadingPanel() {
    LoadingPos = 0;
    LoadingMax = 0;
}

void TResManager::LoadingPanelAddScope(const std::string& scope) {
    const std::string s = LowerAscii(scope);
    for (const ResPtr& r : Resources)
        if (r->Scope == s) ++LoadingMax;
}

void TResManager::ResAddData(const std::string& file, const std::string& name, const ResPtr& res,
                             const std::string& scope) {
    res->FileName = LowerAscii(file);
    res->name = LowerAscii(name);
    res->Scope = LowerAscii(scope);
    for (const ResPtr& r : Resources) {
        if (r->name == res->name && r->data) {
            if (DebugTrace.size() >= 64) DebugTrace.erase(DebugTrace.begin());
            DebugTrace.push_back("File already loaded " + res->FileName);
            return;
        }
    }
    Resources.push_back(res);
}

void TResManager::LoadScope(const std::string& scope) {
    const std::string s = LowerAscii(scope);
    const float step = 100.0f / static_cast<float>(LoadingMax);
    // Index loop: a progress callback may not add entries, but stay safe if it does.
    for (size_t i = 0; i < Resources.size(); ++i) {
        ResPtr r = Resources[i];
        if (r->Scope != s) continue;
        LoadingPos += step;
        if (DrawLoading) DrawLoading(LoadingPos);
        r->Load();
        PrepareEntry(*r);
    }
}

void TResManager::PrepareLoaded() {
    for (const ResPtr& r : Resources)
        if (r->data) PrepareEntry(*r);
}

void TResManager::PrepareEntry(const TRes& entry) {
    if (ImagePtr image = entry.AsImage()) PrepareImage(image);
    if (FontPtr font = entry.AsFont())
        for (const GlyphPtr& glyph : font->glyphs)
            if (glyph) PrepareImage(glyph->_image);
}

void TResManager::UnLoadScope(const std::string& scope) {
    const std::string s = LowerAscii(scope);
    for (const ResPtr& r : Resources)
        if (r->Scope == s) r->UnLoad();
}

const TRes* TResManager::FindLoaded(const std::string& lowerName) const {
    for (const ResPtr& r : Resources)
        if (r->data && r->name == lowerName) return r.get();
    return nullptr;
}

std::shared_ptr<void> TResManager::GetData(const std::string& name) {
    const std::string n = LowerAscii(name);
    if (const TRes* r = FindLoaded(n)) return r->data;
    if (!n.empty()) PrintLine("Not found " + n);
    return nullptr;
}

ResPtr TResManager::GetRes(const std::string& name) {
    const std::string n = LowerAscii(name);
    for (const ResPtr& r : Resources)
        if (r->data && r->name == n) return r;
    PrintLine("Not found " + n);
    return nullptr;
}

ResPtr TResManager::ResLoadImage(const std::string& file, const std::string& name, const std::string& scope,
                                 int midhandle, int handlex, int handley, const std::string& mask) {
    auto r = std::make_shared<TResImage>();
    ResAddData(file, name, r, scope);
    r->MidHandle = midhandle;
    r->mask = mask;
    r->HandleX = handlex;
    r->HandleY = handley;
    return r;
}

ResPtr TResManager::ResLoadImageFont(const std::string& file, const std::string& name, const std::string& scope,
                                     int size) {
    auto r = std::make_shared<TResImageFont>();
    ResAddData(file, name, r, scope);
    r->Size = size;
    return r;
}

ResPtr TResManager::ResLoadEffect(const std::string& file, const std::string& name, const std::string& scope) {
    auto r = std::make_shared<TResEffect>();
    ResAddData(file, name, r, scope);
    return r;
}

ResPtr TResManager::ResLoadAnimImage(const std::string& file, const std::string& name, int width, int height,
                                     int frames, int animspeed, int midhandle, const std::string& scope, int handlex,
                                     int handley) {
    auto r = std::make_shared<TResAnimImage>();
    r->FrameWidth = width;
    r->FrameHeight = height;
    r->FramesNum = frames;
    r->AnimSpeed = animspeed;
    r->MidHandle = midhandle;
    r->HandleX = handlex;
    r->HandleY = handley;
    ResAddData(file, name, r, scope);
    return r;
}

ResPtr TResManager::ResLoadSound(const std::string& file, const std::string& name, int loop,
                                 const std::string& scope) {
    auto r = std::make_shared<TResSound>();
    r->Loop = loop;
    ResAddData(file, name, r, scope);
    return r;
}

ImagePtr TResManager::GetImage(const std::string& name) {
    const std::string n = LowerAscii(name);
    if (const TRes* r = FindLoaded(n)) return r->AsImage();
    GetData(name);  // prints the not-found line
    return nullptr;
}

FontPtr TResManager::GetImageFont(const std::string& name) {
    const std::string n = LowerAscii(name);
    if (const TRes* r = FindLoaded(n)) return r->AsFont();
    GetData(name);
    return nullptr;
}

SoundPtr TResManager::GetSound(const std::string& name) {
    const std::string n = LowerAscii(name);
    if (const TRes* r = FindLoaded(n)) return r->AsSound();
    GetData(name);
    return nullptr;
}

EffectDefPtr TResManager::GetEffect(const std::string& name) {
    const std::string n = LowerAscii(name);
    if (const TRes* r = FindLoaded(n)) return r->AsEffect();
    GetData(name);
    return nullptr;
}

// ---- resource descriptions --------------------------------------------------

void LoadResourceGroup(sdXMLnode* node, const std::string& scope) {
    if (!node) return;
    static const std::string kNone = "#NONE#";
    std::string prefix, idPrefix;
    for (sdXMLnode* child = node->firstchild; child; child = child->NextNode) {
        const std::string id = XmlAttrString(child, "id", "");
        const std::string path = XmlAttrString(child, "path", "");
        const int optional = XmlAttrInt(child, "optional", 0);
        const std::string& tag = child->Tag;
        if (XmlNameEquals(tag, "setdefaults")) {
            const std::string p = XmlAttrString(child, "path", kNone);
            const std::string ip = XmlAttrString(child, "idprefix", kNone);
            if (p != kNone) prefix = p;
            if (ip != kNone) idPrefix = ip;
        } else if (XmlNameEquals(tag, "image")) {
            const int mid = std::atoi(XmlAttrString(child, "midhandle", "0").c_str());
            const std::string mask = XmlAttrString(child, "mask", "0");
            ResPtr r = ResManager->ResLoadImage(prefix + path, idPrefix + id, scope, mid,
                                                XmlAttrInt(child, "handlex", 0), XmlAttrInt(child, "handley", 0),
                                                prefix + mask);
            r->Optional = optional;
        } else if (XmlNameEquals(tag, "imagefont")) {
            const int size = std::atoi(XmlAttrString(child, "size", "12").c_str());
            ResManager->ResLoadImageFont(prefix + path, idPrefix + id, scope, size);
        } else if (XmlNameEquals(tag, "effect")) {
            ResManager->ResLoadEffect(prefix + path, idPrefix + id, scope);
        } else if (XmlNameEquals(tag, "sound")) {
            ResManager->ResLoadSound(prefix + path, idPrefix + id, XmlAttrInt(child, "loop", 0), scope);
        } else if (XmlNameEquals(tag, "animimage")) {
            ResManager->ResLoadAnimImage(prefix + path, idPrefix + id, XmlAttrInt(child, "width", 0),
                                         XmlAttrInt(child, "height", 0), XmlAttrInt(child, "frames", 0),
                                         XmlAttrInt(child, "animspeed", -1), XmlAttrInt(child, "midhandle", 0),
                                         scope, XmlAttrInt(child, "handlex", 0), XmlAttrInt(child, "handley", 0));
        }
    }
}

int LoadResourceFile(const XmlNode& root) {
    if (!root) return 0;
    int groups = 0;
    for (sdXMLnode* child = root->firstchild; child; child = child->NextNode) {
        if (!XmlNameEquals(child->Tag, "resources")) continue;
        LoadResourceGroup(child, LowerAscii(XmlAttrString(child, "id", "")));
        ++groups;
    }
    return groups;
}

int LoadResourceFile(const std::string& path) {
    descriptionFile = path;
    return LoadResourceFile(XmlLoad(path));
}
