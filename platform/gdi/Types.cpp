// Rectangle helpers with Windows semantics (right and bottom exclusive).
#include "platform/gdi/Types.h"

#include <algorithm>

namespace korvex::gdi {

bool SetRect(RECT* rect, int left, int top, int right, int bottom) {
    if (!rect) return false;
    *rect = RECT {left, top, right, bottom};
    return true;
}

bool SetRectEmpty(RECT* rect) {
    if (!rect) return false;
    *rect = RECT {};
    return true;
}

bool CopyRect(RECT* dest, const RECT* src) {
    if (!dest || !src) return false;
    *dest = *src;
    return true;
}

bool IsRectEmpty(const RECT* rect) {
    return !rect || rect->right <= rect->left || rect->bottom <= rect->top;
}

bool EqualRect(const RECT* a, const RECT* b) {
    return a && b && *a == *b;
}

bool PtInRect(const RECT* rect, POINT pt) {
    return rect && pt.x >= rect->left && pt.x < rect->right && pt.y >= rect->top && pt.y < rect->bottom;
}

bool OffsetRect(RECT* rect, int dx, int dy) {
    if (!rect) return false;
    *rect = ClampedRect(
        int64_t(rect->left) + dx, int64_t(rect->top) + dy, int64_t(rect->right) + dx, int64_t(rect->bottom) + dy);
    return true;
}

bool InflateRect(RECT* rect, int dx, int dy) {
    if (!rect) return false;
    *rect = ClampedRect(
        int64_t(rect->left) - dx, int64_t(rect->top) - dy, int64_t(rect->right) + dx, int64_t(rect->bottom) + dy);
    return true;
}

bool IntersectRect(RECT* dest, const RECT* a, const RECT* b) {
    if (!dest) return false;
    if (IsRectEmpty(a) || IsRectEmpty(b)) {
        *dest = RECT {};
        return false;
    }
    RECT r {std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
        std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        *dest = RECT {};
        return false;
    }
    *dest = r;
    return true;
}

bool UnionRect(RECT* dest, const RECT* a, const RECT* b) {
    if (!dest) return false;
    const bool emptyA = IsRectEmpty(a);
    const bool emptyB = IsRectEmpty(b);
    if (emptyA && emptyB) {
        *dest = RECT {};
        return false;
    }
    if (emptyA) {
        *dest = *b;
        return true;
    }
    if (emptyB) {
        *dest = *a;
        return true;
    }
    *dest = RECT {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
        std::max(a->bottom, b->bottom)};
    return true;
}

bool SubtractRect(RECT* dest, const RECT* a, const RECT* b) {
    if (!dest || !a) return false;
    RECT result = *a;
    RECT cut;
    if (b && IntersectRect(&cut, a, b)) {
        const bool fullWidth = cut.left == a->left && cut.right == a->right;
        const bool fullHeight = cut.top == a->top && cut.bottom == a->bottom;
        if (fullWidth && fullHeight) {
            *dest = RECT {};
            return false;
        }
        if (fullWidth && cut.top == a->top)
            result.top = cut.bottom;
        else if (fullWidth && cut.bottom == a->bottom)
            result.bottom = cut.top;
        else if (fullHeight && cut.left == a->left)
            result.left = cut.right;
        else if (fullHeight && cut.right == a->right)
            result.right = cut.left;
    }
    *dest = result;
    return !IsRectEmpty(dest);
}

}
