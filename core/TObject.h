#pragma once
#include <memory>
#include <string>

// Common base of the game's shared objects. Each class names itself with
// TOTEM_CLASS so code that keys data by class (prizes, for one) can ask an
// object for its declared name at run time.
class TObject {
public:
    virtual ~TObject() = default;
    virtual const char* ClassName() const { return "TObject"; }
};

// Put inside the class body of every TObject descendant. Leaves the access at
// public.
#define TOTEM_CLASS(Name)                                          \
public:                                                            \
    static constexpr const char* StaticClassName = #Name;          \
    const char* ClassName() const override { return #Name; }

// The declared class name of an object; "" for null.
std::string ClassNameOf(const TObject* object);
inline std::string ClassNameOf(const std::shared_ptr<const TObject>& object) {
    return ClassNameOf(object.get());
}
inline std::string ClassNameOf(const TObject& object) { return ClassNameOf(&object); }
