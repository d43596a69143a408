// Windows: the handle table, creation and destruction, and the tree.
#include "platform/user/Window.h"

#include "platform/base/Assert.h"
#include "platform/base/Strings.h"
#include "platform/user/Focus.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/Painting.h"
#include "platform/user/Screen.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace korvex::user {

using detail::WindowClass;
using detail::WindowObject;

namespace {

// ---------------------------------------------------------------------------------------------------------
// Handle table: slot (from 1) in the high bits, a 16-bit generation (from 1) in the low ones.
struct Slot {
    WindowObject* Wnd = nullptr;
    std::uint16_t Generation = 0;
};

std::mutex& TableMutex() {
    static std::mutex mutex;
    return mutex;
}
std::vector<Slot>& Table() {
    static std::vector<Slot> table;
    return table;
}
std::vector<std::size_t>& FreeSlots() {
    static std::vector<std::size_t> slots;
    return slots;
}

HWND AddToTable(WindowObject* w) {
    std::lock_guard lock(TableMutex());
    auto& table = Table();
    std::size_t index;
    if (!FreeSlots().empty()) {
        index = FreeSlots().back();
        FreeSlots().pop_back();
    } else {
        index = table.size();
        table.push_back({});
    }
    Slot& slot = table[index];
    KORVEX_ASSERT(slot.Wnd == nullptr);   // a free slot holds no window
    slot.Wnd = w;
    slot.Generation = std::uint16_t(slot.Generation == 0xFFFF ? 1 : slot.Generation + 1);
    return reinterpret_cast<HWND>(((std::uintptr_t(index) + 1) << 16) | slot.Generation);
}

void RemoveFromTable(HWND hwnd) {
    std::lock_guard lock(TableMutex());
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(hwnd);
    std::size_t index = (value >> 16) - 1;
    KORVEX_ASSERT(index < Table().size());
    KORVEX_ASSERT(Table()[index].Wnd != nullptr && Table()[index].Generation == (value & 0xFFFF));   // live, this one
    Table()[index].Wnd = nullptr;
    FreeSlots().push_back(index);
}

WindowObject* LookUp(HWND hwnd) {
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(hwnd);
    if (value < 0x10000 || (value >> 16) > 0x7FFFFFFF) return nullptr;
    std::size_t index = (value >> 16) - 1;
    auto& table = Table();
    if (index >= table.size()) return nullptr;
    const Slot& slot = table[index];
    if (!slot.Wnd || slot.Generation != (value & 0xFFFF)) return nullptr;
    return slot.Wnd;
}

WindowObject* MakeRoot(bool desktop) {
    auto* w = new WindowObject;
    w->IsDesktop = desktop;
    w->Style = WS_VISIBLE | WS_CLIPCHILDREN;
    w->Class = std::make_shared<WindowClass>();
    w->Class->Name = desktop ? "#32769" : "Message";
    w->Handle = AddToTable(w);
    return w;
}

void ParentNotify(WindowObject* w, UINT event) {
    if (!w->IsChildStyle() || (w->ExStyle & WS_EX_NOPARENTNOTIFY)) return;
    HWND hwnd = w->Handle;
    WPARAM wParam = MAKEWPARAM(int(event), int(w->Id));
    for (WindowObject* p = w->Parent; p && !p->IsDesktop && p != detail::MessageRoot();) {
        detail::KeepAlive hold(p);
        detail::Send(p, WM_PARENTNOTIFY, wParam, LPARAM(hwnd));
        if (!hold.Alive() || !p->IsChildStyle() || (p->ExStyle & WS_EX_NOPARENTNOTIFY)) break;
        p = p->Parent;
    }
}

void SendDestroy(WindowObject* w) {
    detail::KeepAlive hold(w);
    detail::Send(w, WM_DESTROY, 0, 0);
    std::vector<WindowObject*> children = w->Children;
    for (WindowObject* child : children) {
        if (detail::FromHandle(child->Handle) == child && !child->Destroying) {
            child->Destroying = true;
            SendDestroy(child);
        }
    }
}

void FreeTree(WindowObject* w) {
    detail::KeepAlive hold(w);
    while (!w->Children.empty()) {
        WindowObject* child = w->Children.front();
        child->Destroying = true;
        FreeTree(child);
    }
    detail::Send(w, WM_NCDESTROY, 0, 0);
    NonClientWindowDestroyed(w->Handle);
    detail::KillTimersOf(w->Handle);
    detail::ForgetWindow(w);
    detail::ReleaseDcsOf(w);
    if (w->Top) detail::DestroySurface(w);
    for (WindowObject* top : detail::Desktop()->Children)
        if (top->Owner == w) top->Owner = nullptr;
    detail::Unlink(w);
    w->Class->Windows--;
    w->Props.clear();
    w->Destroyed = true;
    detail::ForgetPaintState(w);
    RemoveFromTable(w->Handle);
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// Internal helpers
namespace detail {

WindowObject* FromHandle(HWND hwnd) {
    std::lock_guard lock(TableMutex());
    return LookUp(hwnd);
}

std::shared_ptr<ThreadQueue> QueueOfHandle(HWND hwnd) {
    std::lock_guard lock(TableMutex());
    WindowObject* w = LookUp(hwnd);
    return w ? w->Queue : nullptr;
}

WindowObject* Desktop() {
    static WindowObject* desktop = MakeRoot(true);
    return desktop;
}

WindowObject* MessageRoot() {
    static WindowObject* root = MakeRoot(false);
    return root;
}

bool IsTopLevel(const WindowObject* w) {
    return w && w->Parent && (w->Parent->IsDesktop || w->Parent == MessageRoot());
}

WindowObject* TopLevelOf(WindowObject* w) {
    while (w && w->Parent && !IsTopLevel(w))
        w = w->Parent;
    return IsTopLevel(w) ? w : nullptr;
}

bool IsDescendant(const WindowObject* ancestor, const WindowObject* w) {
    for (; w; w = w->Parent)
        if (w == ancestor) return true;
    return false;
}

bool VisibleChain(const WindowObject* w) {
    for (; w && !w->IsDesktop; w = w->Parent) {
        if (!w->Visible() || w == MessageRoot()) return false;
    }
    return w != nullptr;
}

bool EnabledChain(const WindowObject* w) {
    for (; w && !w->IsDesktop && w != MessageRoot(); w = w->Parent)
        if (!w->Enabled()) return false;
    return true;
}

void Hold(WindowObject* w) {
    ++w->Holds;
}

void Release(WindowObject* w) {
    KORVEX_ASSERT(w->Holds > 0);   // every Release has its Hold
    if (--w->Holds == 0 && w->Destroyed) delete w;
}

void Unlink(WindowObject* w) {
    if (!w->Parent) return;
    auto& siblings = w->Parent->Children;
    auto it = std::find(siblings.begin(), siblings.end(), w);
    KORVEX_ASSERT(it != siblings.end());   // a window is always among its parent's children
    if (it != siblings.end()) siblings.erase(it);
    KORVEX_ASSERT(std::find(siblings.begin(), siblings.end(), w) == siblings.end());   // and only once
    w->Parent = nullptr;
    ClippingChanged();
}

void LinkAt(WindowObject* parent, WindowObject* w, std::size_t index) {
    KORVEX_ASSERT(w->Parent == nullptr);   // unlinked first
    w->Parent = parent;
    auto& siblings = parent->Children;
    siblings.insert(siblings.begin() + std::ptrdiff_t(std::min(index, siblings.size())), w);
    ClippingChanged();
}

std::size_t IndexInParent(const WindowObject* w) {
    if (!w->Parent) return 0;
    auto& siblings = w->Parent->Children;
    return std::size_t(std::find(siblings.begin(), siblings.end(), w) - siblings.begin());
}

void PlaceInZOrder(WindowObject* w, HWND insertAfter) {
    WindowObject* parent = w->Parent;
    if (!parent) return;
    bool topLevel = parent->IsDesktop;
    if (insertAfter == HWND_TOPMOST) w->ExStyle |= WS_EX_TOPMOST;
    if (insertAfter == HWND_NOTOPMOST) w->ExStyle &= ~WS_EX_TOPMOST;
    auto& siblings = parent->Children;
    const std::vector<WindowObject*> before = siblings;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
    // Topmost top-level windows stay above the others.
    auto firstNormal = [&] {
        std::size_t i = 0;
        if (topLevel)
            while (i < siblings.size() && (siblings[i]->ExStyle & WS_EX_TOPMOST))
                ++i;
        return i;
    };
    std::size_t index;
    bool topmost = topLevel && (w->ExStyle & WS_EX_TOPMOST);
    if (insertAfter == HWND_BOTTOM) {
        index = siblings.size();
        if (topmost) index = firstNormal();
    } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        index = topmost ? 0 : firstNormal();
    } else {
        WindowObject* after = FromHandle(insertAfter);
        auto it = after ? std::find(siblings.begin(), siblings.end(), after) : siblings.end();
        index = it == siblings.end() ? (topmost ? 0 : firstNormal()) : std::size_t(it - siblings.begin()) + 1;
        if (topLevel && !topmost) index = std::max(index, firstNormal());
        if (topmost) index = std::min(index, firstNormal());
    }
    siblings.insert(siblings.begin() + std::ptrdiff_t(index), w);
    // Owned windows stay above their owner.
    if (topLevel) {
        std::vector<WindowObject*> owned;
        for (WindowObject* s : siblings)
            if (s->Owner == w && s != w) owned.push_back(s);
        for (WindowObject* o : owned) {
            std::size_t ownerIndex = IndexInParent(w);
            std::size_t ownedIndex = IndexInParent(o);
            if (ownedIndex > ownerIndex) {
                siblings.erase(siblings.begin() + std::ptrdiff_t(ownedIndex));
                siblings.insert(siblings.begin() + std::ptrdiff_t(ownerIndex), o);
            }
        }
    }
    if (siblings != before) ClippingChanged();
}

}   // namespace detail

using detail::FromHandle;

// ---------------------------------------------------------------------------------------------------------
// Creation and destruction
HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName, DWORD style, int x,
    int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    auto cls = detail::FindClass(className);
    if (!cls) return nullptr;
    WindowObject* parentWnd = nullptr;
    WindowObject* owner = nullptr;
    if (parent == HWND_MESSAGE) {
        parentWnd = detail::MessageRoot();
        style &= ~(WS_CHILD | WS_VISIBLE);
    } else if (parent) {
        WindowObject* p = FromHandle(parent);
        if (!p) return nullptr;
        if (style & WS_CHILD)
            parentWnd = p;
        else
            owner = detail::IsTopLevel(p) ? p : detail::TopLevelOf(p);
    } else if (style & WS_CHILD) {
        return nullptr;
    }
    if (!parentWnd) parentWnd = detail::Desktop();
    bool topLevel = parentWnd->IsDesktop;
    if (topLevel) {
        RECT work = CurrentDisplay() ? CurrentDisplay()->WorkArea() : RECT {0, 0, 1024, 738};
        if (x == CW_USEDEFAULT) {
            x = work.left + 40;
            y = work.top + 40;
        }
        if (width == CW_USEDEFAULT) {
            width = std::max(100, work.Width() * 3 / 4 - 40);
            height = std::max(100, work.Height() * 3 / 4 - 40);
        }
    } else {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) width = height = 0;
    }
    width = std::max(0, width);
    height = std::max(0, height);

    auto* w = new WindowObject;
    w->Class = cls;
    w->Queue = detail::CurrentQueuePtr();
    w->Thread = std::this_thread::get_id();
    w->Proc = cls->Proc;
    w->Style = style & ~WS_VISIBLE;
    w->ExStyle = exStyle;
    w->Owner = owner;
    w->Rect = gdi::ClampedRect(x, y, std::int64_t(x) + width, std::int64_t(y) + height);
    w->Client = w->Rect;
    w->NormalRect = w->Rect;
    w->Extra.assign(std::size_t(cls->WndExtra), 0);
    if (style & WS_CHILD)
        w->Id = reinterpret_cast<LONG_PTR>(menu);
    else
        w->Menu = menu;
    if (topLevel || parentWnd == detail::MessageRoot()) w->Top = std::make_unique<detail::TopLevelState>();
    w->Handle = AddToTable(w);
    cls->Windows++;
    HWND hwnd = w->Handle;
    if (topLevel) {
        detail::LinkAt(parentWnd, w, 0);
        detail::PlaceInZOrder(w, HWND_TOP);
    } else {
        detail::LinkAt(parentWnd, w, parentWnd->Children.size());   // new children go to the bottom
    }

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = LONG(style);
    cs.lpszName = windowName.c_str();
    cs.lpszClass = cls->Name.c_str();
    cs.dwExStyle = exStyle;

    detail::KeepAlive hold(w);
    auto fail = [&] {
        if (hold.Alive()) {
            if (w->Destroying)
                FreeTree(w);
            else
                DestroyWindow(hwnd);
        }
        return nullptr;
    };
    if (!detail::Send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (hold.Alive()) w->Destroying = true;
        return fail();
    }
    if (!hold.Alive()) return nullptr;
    RECT rect = w->Rect;
    detail::Send(w, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&rect));
    if (!hold.Alive()) return nullptr;
    w->Client = rect;
    detail::ClippingChanged();
    if (detail::Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) return fail();
    if (!hold.Alive()) return nullptr;
    WPARAM sizeType = (w->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
        : (w->Style & WS_MINIMIZE)             ? SIZE_MINIMIZED
                                               : SIZE_RESTORED;
    detail::Send(w, WM_SIZE, sizeType, MAKELPARAM(w->Client.right - w->Client.left, w->Client.bottom - w->Client.top));
    if (!hold.Alive()) return nullptr;
    detail::Send(w, WM_MOVE, 0, MAKELPARAM(w->Client.left, w->Client.top));
    if (!hold.Alive()) return nullptr;
    ParentNotify(w, WM_CREATE);
    if (!hold.Alive()) return nullptr;
    if (style & WS_VISIBLE) {
        int command = (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW;
        w->Style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
        detail::ClippingChanged();
        ShowWindow(hwnd, command);
        if (!hold.Alive()) return nullptr;
    }
    return hwnd;
}

bool DestroyWindow(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || w->IsDesktop || w == detail::MessageRoot() || w->Destroying) return false;
    if (w->Thread != std::this_thread::get_id()) return false;
    detail::KeepAlive hold(w);
    w->Destroying = true;
    if (w->Parent && w->Parent->IsDesktop) {
        std::vector<HWND> owned;
        for (WindowObject* top : w->Parent->Children)
            if (top->Owner == w) owned.push_back(top->Handle);
        for (HWND o : owned)
            DestroyWindow(o);
    }
    if (w->Visible())
        SetWindowPos(
            hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!FromHandle(hwnd)) return true;
    detail::ForgetWindow(w);
    ParentNotify(w, WM_DESTROY);
    if (!FromHandle(hwnd)) return true;
    SendDestroy(w);
    if (!FromHandle(hwnd)) return true;
    FreeTree(w);
    return true;
}

bool IsWindow(HWND hwnd) {
    return detail::FromHandle(hwnd) != nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// The tree
HWND GetDesktopWindow() {
    return detail::Desktop()->Handle;
}

HWND GetParent(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return nullptr;
    if (w->IsChildStyle() && w->Parent && !w->Parent->IsDesktop) return w->Parent->Handle;
    if (w->Style & WS_POPUP) return w->Owner ? w->Owner->Handle : nullptr;
    return nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent) {
    WindowObject* w = FromHandle(hwnd);
    WindowObject* p = newParent ? FromHandle(newParent) : detail::Desktop();
    if (!w || !p || w->IsDesktop || detail::IsDescendant(w, p)) return nullptr;
    WindowObject* old = w->Parent;
    HWND oldHandle = old ? old->Handle : nullptr;
    if (old == p) return oldHandle;
    bool wasVisible = detail::VisibleChain(w);
    if (wasVisible && old && !old->IsDesktop) detail::InvalidateParentArea(old, w->Rect);
    detail::ReleaseDcsOf(w);
    if (w->Top && !p->IsDesktop) {
        detail::DestroySurface(w);
        w->Top.reset();
    }
    detail::Unlink(w);
    detail::LinkAt(p, w, 0);
    if (p->IsDesktop) {
        if (!w->Top) w->Top = std::make_unique<detail::TopLevelState>();
        detail::ClippingChanged();
        detail::PlaceInZOrder(w, HWND_TOP);
        if (w->Visible()) {
            detail::EnsureSurface(w);
            detail::SyncSurface(w, true, true);
        }
    }
    if (detail::VisibleChain(w)) detail::InvalidateAll(w, true, true, true);
    detail::RefreshOpenDcs();
    return oldHandle;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return nullptr;
    if (relation == GW_CHILD) return w->Children.empty() ? nullptr : w->Children.front()->Handle;
    if (relation == GW_OWNER) return w->Owner ? w->Owner->Handle : nullptr;
    if (!w->Parent) return nullptr;
    auto& siblings = w->Parent->Children;
    std::size_t i = detail::IndexInParent(w);
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.front()->Handle;
    case GW_HWNDLAST:
        return siblings.back()->Handle;
    case GW_HWNDNEXT:
        return i + 1 < siblings.size() ? siblings[i + 1]->Handle : nullptr;
    case GW_HWNDPREV:
        return i > 0 && i < siblings.size() ? siblings[i - 1]->Handle : nullptr;
    case GW_ENABLEDPOPUP:
        for (WindowObject* s : siblings)
            if (s->Owner == w && s->Visible() && s->Enabled()) return s->Handle;
        return nullptr;
    default:
        return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD);
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || w->IsDesktop) return nullptr;
    switch (flags) {
    case GA_PARENT:
        return w->Parent ? w->Parent->Handle : nullptr;
    case GA_ROOT: {
        WindowObject* top = detail::TopLevelOf(w);
        return top ? top->Handle : nullptr;
    }
    case GA_ROOTOWNER: {
        WindowObject* top = detail::TopLevelOf(w);
        while (top && top->Owner)
            top = top->Owner;
        return top ? top->Handle : nullptr;
    }
    default:
        return nullptr;
    }
}

bool IsChild(HWND parent, HWND hwnd) {
    WindowObject* p = FromHandle(parent);
    WindowObject* w = FromHandle(hwnd);
    if (!p || !w || p == w) return false;
    for (WindowObject* a = w; a && a->IsChildStyle() && a->Parent; a = a->Parent)
        if (a->Parent == p) return true;
    return false;
}

namespace {
bool EnumTree(WindowObject* parent, const WNDENUMPROC& callback) {
    std::vector<HWND> handles;
    for (WindowObject* c : parent->Children)
        handles.push_back(c->Handle);
    for (HWND h : handles) {
        WindowObject* c = FromHandle(h);
        if (!c) continue;
        if (!callback(h)) return false;
        c = FromHandle(h);
        if (c && !EnumTree(c, callback)) return false;
    }
    return true;
}
}

bool EnumChildWindows(HWND parent, const WNDENUMPROC& callback) {
    WindowObject* p = parent ? FromHandle(parent) : detail::Desktop();
    if (!p || !callback) return false;
    EnumTree(p, callback);
    return true;
}

bool EnumWindows(const WNDENUMPROC& callback) {
    if (!callback) return false;
    std::vector<HWND> handles;
    for (WindowObject* c : detail::Desktop()->Children)
        handles.push_back(c->Handle);
    for (HWND h : handles)
        if (FromHandle(h) && !callback(h)) break;
    return true;
}

bool EnumThreadWindows(std::thread::id thread, const WNDENUMPROC& callback) {
    if (!callback) return false;
    std::vector<HWND> handles;
    for (WindowObject* root : {detail::Desktop(), detail::MessageRoot()})
        for (WindowObject* c : root->Children)
            if (c->Thread == thread) handles.push_back(c->Handle);
    for (HWND h : handles)
        if (FromHandle(h) && !callback(h)) break;
    return true;
}

HWND FindWindow(const std::string& className, const std::string& windowName) {
    for (WindowObject* c : detail::Desktop()->Children) {
        if (!className.empty() && !base::SameText(className, c->Class->Name)) continue;
        if (!windowName.empty() && windowName != c->Text) continue;
        return c->Handle;
    }
    return nullptr;
}

std::thread::id GetWindowThreadId(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    return w ? w->Thread : std::thread::id();
}

}
