// Base of every GDI object (pen, brush, font, bitmap, region): kinds, handle checks, deletion and stock objects.
#pragma once

#include "platform/gdi/Types.h"

namespace korvex::gdi {

enum class ObjectKind : uint8_t { Pen, Brush, Font, Bitmap, Region };

// Every object registers itself while it lives, so a stale or foreign handle is refused instead of used.
// An object selected into a device context is not freed by DeleteObject until the last DC lets it go.
// A derived class names its kind in `static constexpr ObjectKind StaticKind` so ObjectCast can check it.
class GdiObject {
public:
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    virtual ~GdiObject();

    ObjectKind Kind() const { return FKind; }
    bool IsStock() const { return FStock; }
    bool IsSelected() const { return FSelectCount > 0; }

    // Device contexts call these around a selection.
    void AddSelection();
    void ReleaseSelection();   // may free the object when a DeleteObject is pending

    void MarkStock() { FStock = true; }   // stock objects are never freed

protected:
    explicit GdiObject(ObjectKind kind);

private:
    friend bool DeleteObject(HGDIOBJ object);

    ObjectKind FKind;
    bool FStock = false;
    bool FDeletePending = false;
    int FSelectCount = 0;
};

// True for a live object (any kind); nullptr and freed handles are false.
bool IsValidObject(const GdiObject* object);

// The live object as T when the handle is live and of T's kind, else nullptr.
template <class T>
T* ObjectCast(HGDIOBJ object) {
    if (!IsValidObject(object) || object->Kind() != T::StaticKind) return nullptr;
    return static_cast<T*>(object);
}

// Frees the object; FALSE for null or stale handles. Stock objects stay (TRUE). A selected object is
// freed when it is deselected, so a DC never points at freed memory.
bool DeleteObject(HGDIOBJ object);

DWORD GetObjectType(HGDIOBJ object);   // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION; 0 when invalid

// Stock pens, brushes and fonts (SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_VAR_FONT from the font engine).
HGDIOBJ GetStockObject(int index);

// Owns one GDI object and deletes it on scope exit.
template <class T>
class GdiHandle {
public:
    GdiHandle() = default;
    explicit GdiHandle(T* object)
        : FObject(object) { }
    GdiHandle(GdiHandle&& other) noexcept
        : FObject(other.Release()) { }
    GdiHandle& operator=(GdiHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~GdiHandle() { Reset(); }

    T* Get() const { return FObject; }
    operator T*() const { return FObject; }
    explicit operator bool() const { return FObject != nullptr; }
    T* Release() {
        T* object = FObject;
        FObject = nullptr;
        return object;
    }
    void Reset(T* object = nullptr) {
        if (FObject) DeleteObject(FObject);
        FObject = object;
    }

private:
    T* FObject = nullptr;
};

}
