// Internal: the geometry of nine-part skin pictures shared by the mask, corner and button-region painters.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "skin/engine/Forward.h"

#include <algorithm>
#include <cstdint>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {
}

namespace korvex::skin::detail {

// Skins with an image count below 1 or a mask type below 0 paint as if they had 1 and 0 (and above
// MaxImageField as if they had that).
int ImageCountOf(const TsMaskData& mask);
int MaskTypeOf(const TsMaskData& mask);
// The manager's master bitmap, or null.
classes::TBitmap* MasterOf(const TsMaskData& mask);

// Sizes of the corner pieces for an area w x h: a cell each, halved when the area is smaller than two cells
// (the odd pixel goes to the right or bottom piece). A positive limit caps left and top first.
struct PieceSizes {
    int Left = 0, Right = 0, Top = 0, Bottom = 0;
    static PieceSizes For(int w, int h, int cellWidth, int cellHeight, int limit);
};

// Where one side's pieces go: whole pieces from Start while the position is below Bound, then one piece cut
// at End.
struct TileSpan {
    int Start = 0, Bound = 0, End = 0;
};

// Calls piece(position, length) for each piece of span in steps of `step`, leaving out pieces that lie
// wholly outside [lo, hi) (they would be clipped anyway; huge rectangles stay quick).
template <class Piece>
void ForEachTile(const TileSpan& span, int step, int lo, int hi, Piece&& piece) {
    if (step <= 0) return;
    std::int64_t pos = span.Start;
    const std::int64_t bound = span.Bound, end = span.End;
    if (pos + step <= lo && pos < bound) {
        // Skip whole pieces before lo, keeping their phase.
        const std::int64_t limit = std::min<std::int64_t>(bound, lo);
        const std::int64_t skip = (limit - pos) / step;
        pos += std::max<std::int64_t>(skip - 1, 0) * step;
    }
    for (; pos < bound; pos += step) {
        if (pos >= hi) return;
        if (pos + step > lo) piece(int(pos), step);
    }
    if (end > pos && pos < hi && end > lo) piece(int(pos), int(end - pos));
}

inline bool HasArea(int w, int h) {
    return w > 0 && h > 0;
}

enum class PieceKind { Corner, Side, Centre };

// Which table places the side and centre pieces.
enum class SpanStyle {
    Own,   // own bitmaps: sides from one cell in to one cell before the far edge
    Plain,   // master pictures without mask: from the corner piece in to the corner piece before the edge
    Masked,   // master pictures with mask rows
};

struct NinePartGeometry {
    int CellWidth = 0;   // WL: a state column is three cells wide
    int CellHeight = 0;   // TH: the picture is three cells high
    int Column = 0;   // the state column's left edge, from the picture's left edge
    int PictureHeight = 0;   // the picture's rows above its mask rows
    PieceSizes Size;
    SpanStyle Spans = SpanStyle::Masked;
    bool Stretch = false;   // sides and centre stretched once instead of tiled
};

// Visits the pieces of a nine-part frame over r in painting order: top-left corner, left side, top side,
// bottom-left corner, bottom side, bottom-right corner, top-right corner, right side, then the centre when
// asked. piece(kind, dst, src): src is relative to the picture's top-left corner and, for stretched pieces
// only, differs in size from dst. Tiles wholly outside (0, 0, limitW, limitH) are not visited.
template <class Piece>
void ForEachNinePart(
    const NinePartGeometry& g, const classes::TRect& r, bool centre, int limitW, int limitH, Piece&& piece) {
    const int wl = g.CellWidth, th = g.CellHeight;
    const PieceSizes& size = g.Size;
    const int cl = g.Column, cm = g.Column + wl, cr = g.Column + 3 * wl - size.Right;
    const int rt = 0, rm = th, rb = g.PictureHeight - size.Bottom;

    TileSpan rows, cols;
    switch (g.Spans) {
    case SpanStyle::Own:
        rows = {r.top + th, r.bottom - 2 * th, r.bottom - th};
        cols = {r.left + wl, r.right - 2 * wl, r.right - wl};
        break;
    case SpanStyle::Plain:
        rows = {r.top + size.Top, r.bottom - th - size.Top, r.bottom - size.Top};
        cols = {r.left + size.Left, r.right - wl - size.Left, r.right - size.Left};
        break;
    case SpanStyle::Masked:
        rows = {r.top + th, r.bottom - th - size.Top, r.bottom - size.Top};
        cols = {r.left + wl, r.right - 2 * wl, r.right - wl};
        break;
    }
    auto cell = [](int x, int y, int w, int h) { return classes::TRect {x, y, x + w, y + h}; };
    auto vertical = [&](int x, int width, int sx) {
        if (g.Stretch) {
            piece(PieceKind::Side, cell(x, rows.Start, width, rows.End - rows.Start), cell(sx, rm, width, th));
            return;
        }
        ForEachTile(rows, th, 0, limitH,
            [&](int y, int len) { piece(PieceKind::Side, cell(x, y, width, len), cell(sx, rm, width, len)); });
    };
    auto horizontal = [&](int y, int height, int sy) {
        if (g.Stretch) {
            piece(PieceKind::Side, cell(cols.Start, y, cols.End - cols.Start, height), cell(cm, sy, wl, height));
            return;
        }
        ForEachTile(cols, wl, 0, limitW,
            [&](int x, int len) { piece(PieceKind::Side, cell(x, y, len, height), cell(cm, sy, len, height)); });
    };

    piece(PieceKind::Corner, cell(r.left, r.top, size.Left, size.Top), cell(cl, rt, size.Left, size.Top));
    vertical(r.left, size.Left, cl);
    horizontal(r.top, size.Top, rt);
    piece(PieceKind::Corner, cell(r.left, r.bottom - size.Bottom, size.Left, size.Bottom),
        cell(cl, rb, size.Left, size.Bottom));
    horizontal(r.bottom - size.Bottom, size.Bottom, rb);
    piece(PieceKind::Corner, cell(r.right - size.Right, r.bottom - size.Bottom, size.Right, size.Bottom),
        cell(cr, rb, size.Right, size.Bottom));
    piece(
        PieceKind::Corner, cell(r.right - size.Right, r.top, size.Right, size.Top), cell(cr, rt, size.Right, size.Top));
    vertical(r.right - size.Right, size.Right, cr);

    if (!centre) return;
    if (g.Stretch) {
        piece(PieceKind::Centre,
            classes::TRect {r.left + size.Left, r.top + size.Top, r.right - size.Right, r.bottom - size.Bottom},
            cell(cm, rm, wl, th));
        return;
    }
    TileSpan centreRows = rows, centreCols = cols;
    centreCols.Start = r.left + wl;
    centreRows.Start = g.Spans == SpanStyle::Plain ? r.top + size.Top : r.top + th;
    ForEachTile(centreRows, th, 0, limitH, [&](int y, int height) {
        ForEachTile(centreCols, wl, 0, limitW, [&](int x, int width) {
            piece(PieceKind::Centre, cell(x, y, width, height), cell(cm, rm, width, height));
        });
    });
}

}
