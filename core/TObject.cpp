#include "core/TObject.h"

std::string ClassNameOf(const TObject* object) {
    return object ? std::string(object->ClassName()) : std::string();
}
