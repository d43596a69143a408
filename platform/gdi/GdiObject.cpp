// GDI object registry: live-handle checks, deferred deletion of selected objects.
#include "platform/gdi/GdiObject.h"

#include <mutex>
#include <unordered_set>

namespace korvex::gdi {

namespace {

struct Registry {
    std::mutex Lock;
    std::unordered_set<const GdiObject*> Live;
};

Registry& Objects() {
    static Registry* registry = new Registry;   // never freed: objects may die during static destruction
    return *registry;
}

}

GdiObject::GdiObject(ObjectKind kind)
    : FKind(kind) {
    Registry& registry = Objects();
    std::lock_guard lock(registry.Lock);
    registry.Live.insert(this);
}

GdiObject::~GdiObject() {
    Registry& registry = Objects();
    std::lock_guard lock(registry.Lock);
    registry.Live.erase(this);
}

void GdiObject::AddSelection() {
    ++FSelectCount;
}

void GdiObject::ReleaseSelection() {
    if (FSelectCount > 0) --FSelectCount;
    if (FSelectCount == 0 && FDeletePending && !FStock) delete this;
}

bool IsValidObject(const GdiObject* object) {
    if (!object) return false;
    Registry& registry = Objects();
    std::lock_guard lock(registry.Lock);
    return registry.Live.count(object) != 0;
}

bool DeleteObject(HGDIOBJ object) {
    if (!IsValidObject(object)) return false;
    if (object->FStock) return true;
    if (object->FSelectCount > 0) {
        object->FDeletePending = true;
        return true;
    }
    delete object;
    return true;
}

DWORD GetObjectType(HGDIOBJ object) {
    if (!IsValidObject(object)) return 0;
    switch (object->Kind()) {
    case ObjectKind::Pen:
        return OBJ_PEN;
    case ObjectKind::Brush:
        return OBJ_BRUSH;
    case ObjectKind::Font:
        return OBJ_FONT;
    case ObjectKind::Bitmap:
        return OBJ_BITMAP;
    case ObjectKind::Region:
        return OBJ_REGION;
    }
    return 0;
}

}
