#include "fx/TEffect.h"

#include <utility>

#include "content/Xml.h"
#include "core/MathHelpers.h"
#include "media/Clock.h"
#include "media/System.h"

namespace {
EffectImageResolver& ImageResolverSlot() {
    static EffectImageResolver slot;
    return slot;
}
EffectResolver& EffectResolverSlot() {
    static EffectResolver slot;
    return slot;
}

bool LowerEquals(const std::string& a, const char* b) { return XmlNameEquals(a, b); }
}  // namespace

void SetEffectImageResolver(EffectImageResolver resolver) { ImageResolverSlot() = std::move(resolver); }

EffectImageRef ResolveEffectImage(const std::string& id) {
    if (ImageResolverSlot()) return ImageResolverSlot()(id);
    PrintLine("Not found " + id);
    return {};
}

void SetEffectResolver(EffectResolver resolver) { EffectResolverSlot() = std::move(resolver); }

EffectPtr ResolveEffect(const std::string& id) {
    if (EffectResolverSlot()) return EffectResolverSlot()(id);
    PrintLine("Not found " + id);
    return nullptr;
}

TEffect::TEffect() : TimeStart(ClockMs()) {}

EffectPtr TEffect::New() { return std::make_shared<TEffect>(); }

void TEffect::UpdateHeritageFlags() {
    InheritRed = InheritGreen = InheritBlue = false;
    for (const auto& name : Heritage) {
        if (LowerEquals(name, "colorred")) InheritRed = true;
        else if (LowerEquals(name, "colorgreen")) InheritGreen = true;
        else if (LowerEquals(name, "colorblue")) InheritBlue = true;
    }
}

EffectPtr TEffect::Load(StreamPtr stream) {
    auto e = New();
    std::string source = stream ? stream->Name() : std::string("<no file>");
    XmlNode root = XmlLoad(std::move(stream));
    if (!root) PrintLine("Effect " + source + ": no readable element, using defaults");
    sdXMLnode* r = root.get();

    auto f = [&](const char* path, const char* attr, float def) {
        return XmlPathAttrFloat(r, path, attr, def);
    };
    auto i = [&](const char* path, const char* attr, int def) {
        return XmlPathAttrInt(r, path, attr, def);
    };
    auto s = [&](const char* path, const char* attr, const char* def) {
        return XmlPathAttrString(r, path, attr, def);
    };
    auto range = [&](const char* path, float def) {
        return FloatRange{f(path, "min", def), f(path, "max", def)};
    };

    if (sdXMLnode* h = XmlChild(r, "Heritage/")) {
        e->HasHeritage = true;
        for (sdXMLnode* c = h->firstchild; c; c = c->NextNode) {
            std::string name = XmlAttrString(c, "name", "");
            if (!name.empty()) e->Heritage.push_back(name);
        }
    }
    e->UpdateHeritageFlags();

    e->ZigZag = i("ZigZag/", "enabled", 0);
    e->ZigZag_Radius_dt = f("ZigZag/", "radius_dt", 0);
    e->ZigZag_Radius_min = f("ZigZag/", "radius_min", 0);
    e->ZigZag_speed = f("ZigZag/", "speed", 0);
    e->Glowing = i("Glowing/", "enabled", 0);
    e->ChildName = s("Child/", "name", "");
    e->Trajectory = i("Trajectory/", "id", 0);
    e->Blend = i("Image/", "blend", 0);
    e->Salute = i("Salute/", "enabled", 0);
    e->SaluteEmitter = s("Salute/", "emitter", "0");
    e->PosX = range("PosX/", 0);
    e->PosY = range("PosY/", 0);
    e->Frame = range("Frame/", 0);
    e->AnimSpeed = range("AnimSpeed/", 0);
    e->ScaleX = range("ScaleX/", 1);
    e->ScaleY = range("ScaleY/", 1);
    e->Scale[0] = f("Scale/", "start", 1);
    e->Scale[1] = f("Scale/", "end", 1);
    e->Scale[2] = f("Scale/", "start2", e->Scale[0]);
    e->Scale[3] = f("Scale/", "end2", e->Scale[1]);
    e->SpeedX = range("SpeedX/", 0);
    e->SpeedY = range("SpeedY/", 0);
    e->Speed = range("Speed/", 0);
    e->Rotation = range("Rotation/", 0);
    e->ShadowEnabled = i("Shadow/", "enabled", 0);
    e->Shadow = {static_cast<float>(i("Shadow/", "min", 0)), static_cast<float>(i("Shadow/", "max", 0))};
    e->Dir = range("Dir/", 0);
    e->Lifetime = {WholeInt(f("LifeTime/", "min", 0)), WholeInt(f("LifeTime/", "max", 0))};
    e->GenSpeed = f("GenSpeed/", "value", 0);
    e->GravitationX = f("GravitationX/", "value", 0);
    e->GravitationY = f("GravitationY/", "value", 0);
    e->TimeOut = WholeInt(f("TimeOut/", "value", 0));
    e->TimeDelay = WholeInt(f("TimeDelay/", "value", 0));
    e->AnimDir = i("AnimDir/", "rand", 0);

    std::string imageId = s("Image/", "value", "0");
    EffectImageRef ref = ResolveEffectImage(imageId);
    if (ref.image) {
        e->Image = ref.image;
    } else if (ref.strip) {
        e->ImageId = imageId;
        e->AnimStrip = ref.strip;
    }

    e->alpha = {f("Alpha/", "start", 0), f("Alpha/", "end", 0)};
    e->Color = MakeColorAlpha(i("Red/", "start", 0), i("Green/", "start", 0), i("Blue/", "start", 0),
                              f("Alpha/", "start", 0));
    e->Color->EndColor(i("Red/", "End", 0), i("Green/", "End", 0), i("Blue/", "End", 0),
                       f("Alpha/", "End", 0));
    return e;
}
