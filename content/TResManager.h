#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "content/Xml.h"
#include "media/Audio.h"
#include "media/TImage.h"
#include "media/TImageFont.h"

class TEffect;  // particle effect definition (fx/)
using EffectDefPtr = std::shared_ptr<TEffect>;

// What a loaded entry holds.
enum class ResKind { None, Image, Font, Sound, Effect };

// One registered resource: where it comes from, its scope and how to prepare
// it. Ids, file names and scopes are stored lower-cased.
class TRes {
public:
    virtual ~TRes() = default;

    std::shared_ptr<void> data;  // the loaded object; null while not loaded
    ResKind kind = ResKind::None;
    std::string FileName;
    std::string name;
    std::string mask;   // separate mask picture (images), case kept
    std::string Scope;
    int MidHandle = 0;
    int HandleX = 0, HandleY = 0;
    int Size = 0;       // font size in pixels
    int Optional = 0;   // images: a missing file is not fatal

    virtual void Load() {}
    virtual void UnLoad() {
        data.reset();
        kind = ResKind::None;
    }

    ImagePtr AsImage() const { return kind == ResKind::Image ? std::static_pointer_cast<TImage>(data) : nullptr; }
    FontPtr AsFont() const { return kind == ResKind::Font ? std::static_pointer_cast<TImageFont>(data) : nullptr; }
    SoundPtr AsSound() const { return kind == ResKind::Sound ? std::static_pointer_cast<TSound>(data) : nullptr; }
    EffectDefPtr AsEffect() const {
        return kind == ResKind::Effect ? std::static_pointer_cast<TEffect>(data) : nullptr;
    }

protected:
    void SetImage(ImagePtr image);
};

using ResPtr = std::shared_ptr<TRes>;

class TResImage : public TRes {
public:
    void Load() override;
};

class TResImageFont : public TRes {
public:
    void Load() override;
};

class TResEffect : public TRes {
public:
    void Load() override;
};

class TResAnimImage : public TRes {
public:
    int FrameWidth = 0, FrameHeight = 0, FramesNum = 0;
    int AnimSpeed = 0;  // default frame time in ms
    void Load() override;
};

class TResSound : public TRes {
public:
    int Loop = 0;  // passed as the sound's load flags (1 = loop forever)
    void Load() override;
};

class TResManager {
public:
    std::vector<ResPtr> Resources;
    float LoadingPos = 0;
    int LoadingMax = 0;
    std::function<void(float)> DrawLoading;
    // Draws the loading screen at `percent` when one is connected (tests and
    // tools run without it).
    void ShowLoading(float percent) const {
        if (DrawLoading) DrawLoading(percent);
    }

    void ResetLoadingPanel();
    void LoadingPanelAddScope(const std::string& scope);
    void ResAddData(const std::string& file, const std::string& name, const ResPtr& res, const std::string& scope);
    void LoadScope(const std::string& scope);
    void UnLoadScope(const std::string& scope);
    // Puts the pictures of every loaded entry on the GPU (see PrepareImage):
    // for what was loaded before the display opened. Entries loaded while it
    // is open are prepared as they load.
    void PrepareLoaded();
    std::shared_ptr<void> GetData(const std::string& name);
    ResPtr GetRes(const std::string& name);
    ResPtr ResLoadImage(const std::string& file, const std::string& name, const std::string& scope, int midhandle,
                        int handlex, int handley, const std::string& mask);
    ResPtr ResLoadImageFont(const std::string& file, const std::string& name, const std::string& scope, int size);
    ResPtr ResLoadEffect(const std::string& file, const std::string& name, const std::string& scope);
    ResPtr ResLoadAnimImage(const std::string& file, const std::string& name, int width, int height, int frames,
                            int animspeed, int midhandle, const std::string& scope, int handlex, int handley);
    ImagePtr GetImage(const std::string& name);
    FontPtr GetImageFont(const std::string& name);
    ResPtr ResLoadSound(const std::string& file, const std::string& name, int loop, const std::string& scope);
    SoundPtr GetSound(const std::string& name);
    EffectDefPtr GetEffect(const std::string& name);

    // Developer-only notes (such as "File already loaded ..."); never shown
    // to the player. Kept short.
    std::vector<std::string> DebugTrace;

private:
    const TRes* FindLoaded(const std::string& lowerName) const;
    static void PrepareEntry(const TRes& entry);
};

// The one resource manager of the program.
extern std::shared_ptr<TResManager> ResManager;

// Called with "<path> not found" when a required file is missing. The default
// shows the message box and asks for the program to end with exit code 1
// (the entry stays unloaded meanwhile); tests install their own.
extern std::function<void(const std::string&)> ResourceFatal;
void DefaultResourceFatal(const std::string& message);

// Reads an effect definition; installed by the effects code. Without one,
// effect entries stay unloaded.
extern std::function<EffectDefPtr(StreamPtr)> EffectLoader;

// Registers every "resources" group of a resource description document;
// returns how many groups it held (0 for a missing or unreadable file).
int LoadResourceFile(const std::string& path);
int LoadResourceFile(const XmlNode& root);
void LoadResourceGroup(sdXMLnode* node, const std::string& scope);

// An image whose alpha comes from a second picture (its blue channel, for an
// opaque colour picture), and the same for a strip of cells.
ImagePtr LoadImageWithMask(const std::string& colourPath, const std::string& maskPath);
ImagePtr LoadAnimImageWithMask(const std::string& colourPath, const std::string& maskPath, int cellWidth,
                               int cellHeight, int first, int count);
