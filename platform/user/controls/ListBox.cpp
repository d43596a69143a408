// The LISTBOX window class: items, selection and the LB_* messages.
#include "platform/user/controls/ListBox.h"

#include "platform/base/Strings.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ListBoxData.h"

#include <algorithm>
#include <cstring>

namespace korvex::user::listbox {

namespace {

DWORD StyleOf(const State& s) {
    return GetWindowStyle(s.Self);
}

// ---------------------------------------------------------------------------------------------------------
// Comparing and finding

int CompareItems(const State& s, const Item& a, const Item& b, int indexA, int indexB) {
    if (HasStrings(s)) return base::AnsiCompareText(a.Text, b.Text);
    HWND target = DrawTarget(s);
    if (!target) return 0;
    COMPAREITEMSTRUCT cis;
    cis.CtlType = OwnerCtlType(s);
    cis.CtlID = OwnerCtlId(s);
    cis.hwndItem = s.Self;
    cis.itemID1 = UINT(indexA);
    cis.itemData1 = a.Data;
    cis.itemID2 = UINT(indexB);
    cis.itemData2 = b.Data;
    return int(SendMessage(target, WM_COMPAREITEM, WPARAM(cis.CtlID), reinterpret_cast<LPARAM>(&cis)));
}

bool Matches(const State& s, const Item& item, LPARAM key, bool exact) {
    if (!HasStrings(s)) return item.Data == std::uintptr_t(key);
    const char* text = reinterpret_cast<const char*>(key);
    const std::string wanted = base::AnsiUpperCase(text ? text : "");
    const std::string have = base::AnsiUpperCase(item.Text);
    return exact ? have == wanted : have.compare(0, wanted.size(), wanted) == 0;
}

// The first match after `after` (-1: from the start), wrapping round once.
LRESULT Find(const State& s, int after, LPARAM key, bool exact) {
    const int n = Count(s);
    if (n == 0) return LB_ERR;
    const int start = (after < -1 || after >= n) ? -1 : after;
    for (int step = 1; step <= n; ++step) {
        const int i = (start + step) % n;
        if (Matches(s, s.Items[std::size_t(i)], key, exact)) return i;
    }
    return LB_ERR;
}

// ---------------------------------------------------------------------------------------------------------
// Adding and removing

LRESULT Insert(State& s, int index, LPARAM value, bool sorted) {
    Item item;
    if (HasStrings(s)) {
        const char* text = reinterpret_cast<const char*>(value);
        item.Text = text ? text : "";
    } else {
        item.Data = std::uintptr_t(value);
    }
    const int n = Count(s);
    if (sorted) {
        index = n;
        for (int i = 0; i < n; ++i)
            if (CompareItems(s, item, s.Items[std::size_t(i)], -1, i) < 0) {
                index = i;
                break;
            }
    } else if (index < 0 || index > n) {
        if (index > n) return LB_ERR;
        index = n;
    }
    s.Items.insert(s.Items.begin() + index, std::move(item));
    if (IsVariable(s)) s.Items[std::size_t(index)].Height = MeasureItem(s, index);
    if (s.Selected >= index) ++s.Selected;
    if (IsMultiple(s)) {
        if (s.Caret >= index && Count(s) > 1) ++s.Caret;
        if (s.Anchor >= index && Count(s) > 1) ++s.Anchor;
    }
    UpdateScrollBars(s);
    Invalidate(s);
    return index;
}

void SendDeleteItem(const State& s, int index) {
    const Item& item = s.Items[std::size_t(index)];
    if (!IsOwnerDraw(s) && item.Data == 0) return;
    HWND target = DrawTarget(s);
    if (!target) return;
    DELETEITEMSTRUCT dis;
    dis.CtlType = OwnerCtlType(s);
    dis.CtlID = OwnerCtlId(s);
    dis.itemID = UINT(index);
    dis.hwndItem = s.Self;
    dis.itemData = item.Data;
    SendMessage(target, WM_DELETEITEM, WPARAM(dis.CtlID), reinterpret_cast<LPARAM>(&dis));
}

LRESULT Delete(State& s, int index) {
    if (!Valid(s, index)) return LB_ERR;
    SendDeleteItem(s, index);
    if (!IsWindow(s.Self) || !Valid(s, index)) return LB_ERR;   // the state outlives the window for now
    s.Items.erase(s.Items.begin() + index);
    if (s.Selected == index)
        s.Selected = -1;
    else if (s.Selected > index)
        --s.Selected;
    if (s.Caret > index || s.Caret >= Count(s)) s.Caret = std::max(0, s.Caret - 1);
    if (s.Anchor > index || s.Anchor >= Count(s)) s.Anchor = std::max(0, s.Anchor - 1);
    s.Top = std::clamp(s.Top, 0, MaxTop(s));
    UpdateScrollBars(s);
    Invalidate(s);
    return Count(s);
}

// Tells the owner of every item going; false when the window went meanwhile.
bool DropItems(State& s) {
    for (int i = 0; i < Count(s); ++i) {
        SendDeleteItem(s, i);
        if (!IsWindow(s.Self)) return false;
    }
    s.Items.clear();
    return true;
}

void Reset(State& s) {
    if (!DropItems(s)) return;
    s.Top = 0;
    s.Selected = -1;
    s.Caret = 0;
    s.Anchor = 0;
    s.HorzPos = 0;
    UpdateScrollBars(s);
    Invalidate(s);
}

// ---------------------------------------------------------------------------------------------------------
// Item heights

void SetItemHeight(State& s, int index, int height) {
    if (IsVariable(s)) {
        if (!Valid(s, index)) return;
        s.Items[std::size_t(index)].Height = height;
    } else {
        s.ItemHeight = height;
        FitWholeItems(s);
    }
    s.Top = std::clamp(s.Top, 0, MaxTop(s));
    UpdateScrollBars(s);
    Invalidate(s);
}

// The height of text items follows the font; owner-drawn fixed ones ask the owner once.
void TakeFontHeight(State& s) {
    if (IsOwnerDraw(s)) return;
    s.ItemHeight = std::max(1, comctl::FontHeight(s.Self, ControlFont(s.Font)));
}

void OnCreate(State& s) {
    const DWORD style = StyleOf(s);
    s.VScroll = (style & WS_VSCROLL) != 0;
    s.HScroll = (style & WS_HSCROLL) != 0;
    if (IsOwnerDraw(s) && !IsVariable(s))
        s.ItemHeight = std::max(1, MeasureItem(s, 0));
    else
        TakeFontHeight(s);
    FitWholeItems(s);
    UpdateScrollBars(s);
}

// ---------------------------------------------------------------------------------------------------------
// The LB_* messages

LRESULT GetText(const State& s, int index, char* buffer) {
    if (!Valid(s, index)) return LB_ERR;
    const Item& item = s.Items[std::size_t(index)];
    if (!HasStrings(s)) {
        if (buffer) std::memcpy(buffer, &item.Data, sizeof(item.Data));
        return LRESULT(sizeof(item.Data));
    }
    if (buffer) std::memcpy(buffer, item.Text.c_str(), item.Text.size() + 1);
    return LRESULT(item.Text.size());
}

LRESULT SetSel(State& s, bool select, int index) {
    if (!IsMultiple(s)) return LB_ERR;
    if (index == -1) {
        for (Item& item : s.Items)
            item.Selected = select;
        Invalidate(s);
        return LB_OKAY;
    }
    if (!Valid(s, index)) return LB_ERR;
    s.Items[std::size_t(index)].Selected = select;
    InvalidateItem(s, index);
    return LB_OKAY;
}

LRESULT SetCurSel(State& s, int index) {
    if (IsMultiple(s)) return LB_ERR;
    if (index != -1 && !Valid(s, index)) index = -1;
    SelectOnly(s, index);
    if (index >= 0) {
        SetCaret(s, index);
        EnsureVisible(s, index);
    }
    return index >= 0 ? index : LB_ERR;
}

LRESULT GetSelItems(const State& s, int room, int* out) {
    if (!IsMultiple(s)) return LB_ERR;
    int n = 0;
    for (int i = 0; i < Count(s) && n < room; ++i)
        if (s.Items[std::size_t(i)].Selected) {
            if (out) out[n] = i;
            ++n;
        }
    return n;
}

LRESULT SelItemRange(State& s, bool select, int first, int last) {
    if (!IsMultiple(s)) return LB_ERR;
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, Count(s) - 1);
    for (int i = first; i <= last; ++i)
        s.Items[std::size_t(i)].Selected = select;
    Invalidate(s);
    return LB_OKAY;
}

LRESULT ItemFromPoint(const State& s, LPARAM lParam) {
    bool outside = false;
    const int index = ItemAt(s, LParamToPoint(lParam), &outside);
    if (index < 0) return MAKELRESULT(0xFFFF, 1);
    return MAKELRESULT(index, outside ? 1 : 0);
}

LRESULT OnListMessage(State& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int index = int(wParam);
    switch (msg) {
    case LB_ADDSTRING:
        return Insert(s, -1, lParam, (StyleOf(s) & LBS_SORT) != 0);
    case LB_INSERTSTRING:
        return Insert(s, index, lParam, false);
    case LB_DELETESTRING:
        return Delete(s, index);
    case LB_RESETCONTENT:
        Reset(s);
        return LB_OKAY;
    case LB_GETCOUNT:
        return Count(s);
    case LB_GETTEXT:
        return GetText(s, index, reinterpret_cast<char*>(lParam));
    case LB_GETTEXTLEN:
        return GetText(s, index, nullptr);
    case LB_GETITEMDATA:
        return Valid(s, index) ? LRESULT(s.Items[std::size_t(index)].Data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!Valid(s, index)) return LB_ERR;
        s.Items[std::size_t(index)].Data = std::uintptr_t(lParam);
        return LB_OKAY;
    case LB_SETCURSEL:
        return SetCurSel(s, index);
    case LB_GETCURSEL:
        return IsMultiple(s) ? (Count(s) ? s.Caret : LB_ERR) : (s.Selected >= 0 ? s.Selected : LB_ERR);
    case LB_SETSEL:
        return SetSel(s, wParam != 0, int(lParam));
    case LB_GETSEL:
        return Valid(s, index) ? (IsSelected(s, index) ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT: {
        if (!IsMultiple(s)) return LB_ERR;
        return std::count_if(s.Items.begin(), s.Items.end(), [](const Item& item) { return item.Selected; });
    }
    case LB_GETSELITEMS:
        return GetSelItems(s, index, reinterpret_cast<int*>(lParam));
    case LB_SELITEMRANGE:
        return SelItemRange(s, wParam != 0, LOWORD(std::uintptr_t(lParam)), HIWORD(std::uintptr_t(lParam)));
    case LB_SELITEMRANGEEX:
        if (index > int(lParam)) return SelItemRange(s, false, int(lParam), index);
        return SelItemRange(s, true, index, int(lParam));
    case LB_FINDSTRING:
        return Find(s, index, lParam, false);
    case LB_FINDSTRINGEXACT:
        return Find(s, index, lParam, true);
    case LB_SELECTSTRING: {
        const LRESULT found = Find(s, index, lParam, false);
        if (found == LB_ERR) return LB_ERR;
        if (IsMultiple(s)) {
            SetSel(s, true, int(found));
            SetCaret(s, int(found));
        } else {
            SetCurSel(s, int(found));
        }
        return found;
    }
    case LB_GETTOPINDEX:
        return s.Top;
    case LB_SETTOPINDEX:
        if (Count(s) && !Valid(s, index)) return LB_ERR;
        SetTop(s, index);
        return LB_OKAY;
    case LB_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (!rect || (!Valid(s, index) && !(index == 0 && Count(s) == 0))) return LB_ERR;
        *rect = ItemRect(s, index);
        return 1;
    }
    case LB_ITEMFROMPOINT:
        return ItemFromPoint(s, lParam);
    case LB_SETITEMHEIGHT: {
        const int height = int(LOWORD(std::uintptr_t(lParam)));
        if (height < 1 || height > 255) return LB_ERR;
        SetItemHeight(s, index, height);
        return LB_OKAY;
    }
    case LB_GETITEMHEIGHT:
        if (IsVariable(s)) return Valid(s, index) ? HeightOf(s, index) : LB_ERR;
        return s.ItemHeight;
    case LB_SETCARETINDEX:
        if (!Valid(s, index)) return LB_ERR;
        SetCaret(s, index);
        if (!lParam) EnsureVisible(s, index);
        return LB_OKAY;
    case LB_GETCARETINDEX:
        return Count(s) ? s.Caret : 0;
    case LB_SETANCHORINDEX:
        if (!Valid(s, index)) return LB_ERR;
        s.Anchor = index;
        return LB_OKAY;
    case LB_GETANCHORINDEX:
        return s.Anchor;
    case LB_SETHORIZONTALEXTENT:
        s.HorzExtent = std::max(0, index);
        UpdateScrollBars(s);
        Invalidate(s);
        return 0;
    case LB_GETHORIZONTALEXTENT:
        return s.HorzExtent;
    case LB_SETTABSTOPS:
        return (StyleOf(s) & LBS_USETABSTOPS) ? 1 : 0;
    case LB_INITSTORAGE:
        s.Items.reserve(s.Items.size() + std::size_t(std::max(0, index)));
        return LRESULT(s.Items.capacity());
    case LB_SETCOUNT:
    case LB_DIR:
    case LB_ADDFILE:
    case LB_SETCOLUMNWIDTH:
        return LB_ERR;
    case LB_SETLOCALE:
    case LB_GETLOCALE:
        return 0;
    default:
        return DefWindowProc(s.Self, msg, wParam, lParam);
    }
}

LRESULT OnWindowMessage(State& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = s.Self;
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(s, dc); }))
        return *painted;
    switch (msg) {
    case WM_CREATE:
        OnCreate(s);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SIZE:
        FitWholeItems(s);
        s.Top = std::clamp(s.Top, 0, MaxTop(s));
        UpdateScrollBars(s);
        Invalidate(s);
        return 0;
    case WM_SETFONT:
        s.Font = reinterpret_cast<HFONT>(wParam);
        TakeFontHeight(s);
        FitWholeItems(s);
        UpdateScrollBars(s);
        if (lParam) Invalidate(s);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.Font);
    case WM_SETREDRAW:
        s.NoRedraw = wParam == 0;
        if (!s.NoRedraw) {
            UpdateScrollBars(s);
            Invalidate(s);
        }
        return 0;
    case WM_ENABLE:
        Invalidate(s);
        return 0;
    case WM_SETFOCUS:
        s.Focused = true;
        InvalidateItem(s, s.Caret);
        if (Notifies(s)) Notify(s, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s.Focused = false;
        if (s.Captured) OnCaptureChanged(s, nullptr);
        InvalidateItem(s, s.Caret);
        if (Notifies(s)) Notify(s, LBN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(s, msg, wParam, LParamToPoint(lParam));
    case WM_MOUSEMOVE:
        return OnMouseMove(s, LParamToPoint(lParam));
    case WM_LBUTTONUP:
        return OnButtonUp(s);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(s, reinterpret_cast<HWND>(lParam));
    case WM_TIMER:
        return OnTimer(s, wParam);
    case WM_MOUSEWHEEL:
        return OnWheel(s, wParam);
    case WM_KEYDOWN:
        return OnKeyDown(s, wParam);
    case WM_CHAR:
        return OnChar(s, wParam);
    case WM_VSCROLL:
    case WM_HSCROLL:
        return OnScroll(s, msg == WM_VSCROLL, LOWORD(wParam));
    default:
        return OnListMessage(s, msg, wParam, lParam);
    }
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// Kinds and owner messages

State* StateOf(HWND hwnd) {
    return ControlData<State>(hwnd);
}

bool IsOwnerDraw(const State& s) {
    return (StyleOf(s) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

bool IsVariable(const State& s) {
    return (StyleOf(s) & LBS_OWNERDRAWVARIABLE) != 0;
}

bool HasStrings(const State& s) {
    return !IsOwnerDraw(s) || (StyleOf(s) & LBS_HASSTRINGS);
}

bool IsMultiple(const State& s) {
    return (StyleOf(s) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

bool IsExtended(const State& s) {
    return (StyleOf(s) & LBS_EXTENDEDSEL) != 0;
}

bool Notifies(const State& s) {
    return (StyleOf(s) & LBS_NOTIFY) != 0 || s.Combo != nullptr;
}

int Count(const State& s) {
    return int(s.Items.size());
}

bool Valid(const State& s, int index) {
    return index >= 0 && index < Count(s);
}

bool IsSelected(const State& s, int index) {
    if (!Valid(s, index)) return false;
    return IsMultiple(s) ? s.Items[std::size_t(index)].Selected : s.Selected == index;
}

void Notify(const State& s, WORD code) {
    HWND target = s.Combo ? s.Combo : GetParent(s.Self);
    if (!target) return;
    SendMessage(target, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(s.Self), code), reinterpret_cast<LPARAM>(s.Self));
}

HWND DrawTarget(const State& s) {
    return s.Combo ? GetParent(s.Combo) : GetParent(s.Self);
}

UINT OwnerCtlId(const State& s) {
    return UINT(GetDlgCtrlID(s.Combo ? s.Combo : s.Self));
}

UINT OwnerCtlType(const State& s) {
    return s.Combo ? ODT_COMBOBOX : ODT_LISTBOX;
}

int MeasureItem(State& s, int index) {
    MEASUREITEMSTRUCT mis;
    mis.CtlType = OwnerCtlType(s);
    mis.CtlID = OwnerCtlId(s);
    mis.itemID = UINT(index);
    mis.itemHeight = UINT(std::max(1, comctl::FontHeight(s.Self, ControlFont(s.Font))));
    mis.itemWidth = UINT(ClientRect(s.Self).Width());
    if (Valid(s, index)) mis.itemData = s.Items[std::size_t(index)].Data;
    if (HWND target = DrawTarget(s))
        SendMessage(target, WM_MEASUREITEM, WPARAM(mis.CtlID), reinterpret_cast<LPARAM>(&mis));
    return std::clamp(int(mis.itemHeight), 1, 255);
}

// ---------------------------------------------------------------------------------------------------------
// Selection

void SelectOnly(State& s, int index) {
    if (IsMultiple(s)) {
        for (int i = 0; i < Count(s); ++i) {
            Item& item = s.Items[std::size_t(i)];
            if (item.Selected != (i == index)) {
                item.Selected = i == index;
                InvalidateItem(s, i);
            }
        }
        return;
    }
    if (s.Selected == index) return;
    InvalidateItem(s, s.Selected);
    s.Selected = index;
    InvalidateItem(s, index);
}

void SelectRange(State& s, int from, int to, bool keepOthers) {
    if (!IsMultiple(s)) {
        SelectOnly(s, to);
        return;
    }
    const int lo = std::min(from, to);
    const int hi = std::max(from, to);
    for (int i = 0; i < Count(s); ++i) {
        Item& item = s.Items[std::size_t(i)];
        const bool wanted = (i >= lo && i <= hi) || (keepOthers && item.Selected);
        if (item.Selected != wanted) {
            item.Selected = wanted;
            InvalidateItem(s, i);
        }
    }
}

void SetCaret(State& s, int index) {
    if (!Valid(s, index) || s.Caret == index) return;
    InvalidateItem(s, s.Caret);
    s.Caret = index;
    InvalidateItem(s, index);
}

LRESULT ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const ControlStateHooks<State> hooks = [] {
        auto kept = KeptStateHooks<State>();
        kept.Created = [](HWND self, State& state, const CREATESTRUCT* cs) {
            state.Self = self;
            if (cs && (DWORD(cs->style) & LBS_COMBOBOX)) state.Combo = reinterpret_cast<HWND>(cs->lpCreateParams);
        };
        return kept;
    }();
    LRESULT result = 0;
    State* s = ControlPrologue(hwnd, msg, wParam, lParam, result, hooks);
    if (!s) return result;
    const std::shared_ptr<State> hold = s->shared_from_this();
    if (msg == WM_DESTROY) {
        DropItems(*s);
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
    return OnWindowMessage(*s, msg, wParam, lParam);
}

}

namespace korvex::user {

ATOM RegisterListBoxClass() {
    return RegisterControlClass(ListBoxClassName, listbox::ListBoxProc, CS_DBLCLKS | CS_GLOBALCLASS);
}

}
