#include "fx/EffectResourceHooks.h"

#include <memory>

#include "content/TResManager.h"
#include "fx/TEffect.h"

void ConnectResourceHooks() {
    EffectLoader = [](StreamPtr stream) -> EffectDefPtr { return TEffect::Load(std::move(stream)); };
    SetEffectImageResolver([](const std::string& id) {
        EffectImageRef ref;
        ResPtr res = ResManager->GetRes(id);
        if (!res) return ref;
        // A strip runs its frames per particle; a plain picture is drawn as it is.
        if (std::dynamic_pointer_cast<TResAnimImage>(res)) ref.strip = res->AsImage();
        else ref.image = res->AsImage();
        return ref;
    });
    SetEffectResolver([](const std::string& id) { return ResManager->GetEffect(id); });
}
