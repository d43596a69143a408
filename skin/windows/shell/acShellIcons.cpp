// The namespace's icons, drawn in code into the system image lists.
#include "skin/windows/shell/acShellIcons.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TIcon.h"
#include "platform/os/IconTheme.h"
#include "platform/os/MimeTypes.h"
#include "platform/os/Paths.h"
#include "platform/os/ShellItems.h"
#include "skin/windows/shell/acShellNamespace.h"

#include <array>
#include <cassert>
#include <map>
#include <memory>

namespace korvex::skin {

namespace {

using classes::TColor;

constexpr TColor Outline = 0x303030;
constexpr TColor FolderBack = 0x1E9FE0;   // amber
constexpr TColor FolderFront = 0x5CC8F8;
constexpr TColor FolderEdge = 0x0A6AA8;
constexpr TColor Paper = 0xFFFFFF;
constexpr TColor PaperEdge = 0x707070;
constexpr TColor PaperLine = 0xC8A878;
constexpr TColor Metal = 0xC8C4C0;
constexpr TColor MetalDark = 0x6E6A66;
constexpr TColor Led = 0x30D040;
constexpr TColor Roof = 0x2838C8;
constexpr TColor Wall = 0xC8E8F4;
constexpr TColor Door = 0x285A8C;
constexpr TColor Screen = 0xD07828;
constexpr TColor ScreenLight = 0xF0B060;
constexpr TColor Grass = 0x40A050;
constexpr TColor Sky = 0xE8A040;
constexpr TColor Key = 0xFF00FF;   // transparent

// Coordinates on a 16-unit grid, scaled to the icon's size.
struct Grid {
    classes::TCanvas* Canvas;
    int X, Y, Scale;
    classes::TPoint P(int x, int y) const { return classes::Point(X + x * Scale, Y + y * Scale); }
    void Pen(TColor color) const {
        Canvas->Pen()->SetColor(color);
        Canvas->Pen()->SetWidth(Scale);
    }
    void Brush(TColor color) const { Canvas->Brush()->SetColor(color); }
    void Poly(std::initializer_list<std::array<int, 2>> points, TColor fill, TColor edge) const {
        std::vector<classes::TPoint> pts;
        for (auto& p : points)
            pts.push_back(P(p[0], p[1]));
        Pen(edge);
        Brush(fill);
        Canvas->Polygon(pts);
    }
    void Box(int l, int t, int r, int b, TColor fill, TColor edge) const {
        Pen(edge);
        Brush(fill);
        Canvas->Rectangle(X + l * Scale, Y + t * Scale, X + r * Scale, Y + b * Scale);
    }
    void Line(int x1, int y1, int x2, int y2, TColor color) const {
        Pen(color);
        Canvas->MoveTo(X + x1 * Scale, Y + y1 * Scale);
        Canvas->LineTo(X + x2 * Scale, Y + y2 * Scale);
    }
};

void DrawFolder(const Grid& g, bool open) {
    g.Poly({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 14}, {1, 14}}, FolderBack, FolderEdge);
    if (open) {
        g.Box(3, 2, 12, 9, Paper, PaperEdge);
        g.Poly({{3, 8}, {15, 8}, {13, 14}, {1, 14}}, FolderFront, FolderEdge);
    } else {
        g.Poly({{1, 7}, {14, 7}, {14, 14}, {1, 14}}, FolderFront, FolderEdge);
    }
}

void DrawFile(const Grid& g) {
    g.Poly({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, Paper, PaperEdge);
    g.Poly({{10, 1}, {10, 4}, {13, 4}}, Metal, PaperEdge);
    for (int y = 6; y <= 12; y += 2)
        g.Line(5, y, 11, y, PaperLine);
}

void DrawDrive(const Grid& g) {
    g.Box(1, 5, 15, 12, Metal, MetalDark);
    g.Line(2, 10, 14, 10, MetalDark);
    g.Box(11, 7, 13, 9, Led, Outline);
}

void DrawHome(const Grid& g) {
    g.Box(3, 8, 13, 15, Wall, Outline);
    g.Poly({{1, 8}, {8, 1}, {15, 8}}, Roof, Outline);
    g.Box(7, 10, 10, 15, Door, Outline);
}

void DrawComputer(const Grid& g) {
    g.Box(1, 1, 15, 11, Screen, Outline);
    g.Box(3, 3, 13, 9, ScreenLight, Screen);
    g.Box(6, 11, 10, 13, MetalDark, Outline);
    g.Box(3, 13, 13, 15, Metal, Outline);
}

void DrawDesktop(const Grid& g) {
    g.Box(1, 2, 15, 14, Sky, Outline);
    g.Poly({{2, 13}, {2, 10}, {6, 7}, {10, 10}, {14, 8}, {14, 13}}, Grass, Grass);
}

std::unique_ptr<classes::TImageList> MakeImageList(int size) {
    auto list = std::make_unique<classes::TImageList>(nullptr);
    list->SetSize(size, size);
    classes::TBitmap image;
    image.SetPixelFormat(classes::pf24bit);
    image.SetSize(size, size);
    for (int icon = 0; icon < siCount; ++icon) {
        image.Canvas()->Brush()->SetColor(Key);
        image.Canvas()->FillRect(classes::Rect(0, 0, size, size));
        DrawShellIcon(image.Canvas(), static_cast<TacShellIcon>(icon), 0, 0, size);
        list->AddMasked(&image, Key);
    }
    return list;
}

}

void DrawShellIcon(classes::TCanvas* canvas, TacShellIcon icon, int x, int y, int size) {
    Grid g{canvas, x, y, size >= 32 ? size / 16 : 1};
    switch (icon) {
    case siDesktop: DrawDesktop(g); break;
    case siHome: DrawHome(g); break;
    case siComputer: DrawComputer(g); break;
    case siDrive: DrawDrive(g); break;
    case siFolder: DrawFolder(g, false); break;
    case siFolderOpen: DrawFolder(g, true); break;
    case siFile:
    case siCount: DrawFile(g); break;
    }
}

classes::TImageList* SystemImageList(bool large) {
    static std::unique_ptr<classes::TImageList> small, big;
    std::unique_ptr<classes::TImageList>& list = large ? big : small;
    if (!list) list = MakeImageList(large ? 32 : 16);
    return list.get();
}

int FileTypeImage(const std::string& fileName) {
    // By type, theme and the folders the theme was looked up in: another desktop setting finds again.
    static std::map<std::string, int> found;
    const std::string type = os::MimeTypeOf(os::ExtractFileName(fileName), false);   // globs match names
    const std::vector<std::string> folders = os::DesktopDataFolders();
    const std::string theme = os::DesktopIconTheme();
    std::string key = type + '\n' + theme;
    for (const std::string& folder : folders)
        key += '\n' + folder;
    if (auto it = found.find(key); it != found.end()) return it->second;
    int index = siFile;
    const std::vector<std::string> names = os::MimeIconNames(type, folders);
    const std::string smallFile = os::FindThemeIcon(names, 16, theme, folders);
    const std::string largeFile = os::FindThemeIcon(names, 32, theme, folders);
    classes::TIcon small, large;
    if (!smallFile.empty() && !largeFile.empty() && small.TryLoadFromFile(smallFile) && large.TryLoadFromFile(largeFile)
        && !small.Empty() && !large.Empty()) {
        index = SystemImageList(false)->AddIcon(&small);
        const int largeIndex = SystemImageList(true)->AddIcon(&large);
        assert(index == largeIndex);
        (void)largeIndex;
    }
    found.emplace(std::move(key), index);
    return index;
}

int GetShellImage(const TItemIDList& absolute, bool large, bool open) {
    (void)large;   // both lists hold the icons at the same indexes
    std::vector<TItemIDView> items = ItemsOf(absolute);
    if (items.empty()) return siDesktop;
    switch (items.back().Kind) {
    case TacItemKind::Home: return siHome;
    case TacItemKind::Computer: return siComputer;
    case TacItemKind::Drive: return siDrive;
    case TacItemKind::Entry: break;
    }
    std::optional<std::string> path = PidlPath(absolute);
    os::TShellEntry entry;
    if (!path || !os::StatShellEntry(*path, entry)) return siFile;
    if (entry.IsFolder) return open ? siFolderOpen : siFolder;
    return FileTypeImage(*path);
}

}
