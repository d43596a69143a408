// Runs of text: UTF-8 to glyphs, measurement, placement along the escapement and one coverage mask a run.
#include "platform/gdi/FontEngine.h"

#include "platform/base/Utf8.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace korvex::gdi {

namespace {

struct Direction {
    double Cos = 1.0;
    double Sin = 0.0;
};

Direction DirectionOf(int escapement) {
    switch (escapement) {
    case 0:
        return {1.0, 0.0};
    case 900:
        return {0.0, 1.0};
    case 1800:
        return {-1.0, 0.0};
    case 2700:
        return {0.0, -1.0};
    default: {
        double radians = escapement * 3.14159265358979323846 / 1800.0;
        return {std::cos(radians), std::sin(radians)};
    }
    }
}

// A point of the unrotated run (x along the baseline, y down) on the screen (y down).
POINT Turn(const Direction& d, double x, double y) {
    return POINT {LONG(std::lround(x * d.Cos + y * d.Sin)), LONG(std::lround(-x * d.Sin + y * d.Cos))};
}

struct Box {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    void Add(const Box& other) {
        if (other.Empty()) return;
        if (Empty()) {
            *this = other;
            return;
        }
        Left = std::min(Left, other.Left);
        Top = std::min(Top, other.Top);
        Right = std::max(Right, other.Right);
        Bottom = std::max(Bottom, other.Bottom);
    }
};

// A band of the unrotated run, [0, length) along the baseline, as screen pixels whose centres lie inside.
struct Band {
    double Length = 0;
    double Top = 0;
    double Bottom = 0;
};

Box BandBox(const Direction& d, const Band& band) {
    Box box;
    const double xs[] = {0.0, band.Length};
    const double ys[] = {band.Top, band.Bottom};
    bool first = true;
    for (double x : xs) {
        for (double y : ys) {
            double sx = x * d.Cos + y * d.Sin;
            double sy = -x * d.Sin + y * d.Cos;
            int left = int(std::floor(sx)) - 1;
            int top = int(std::floor(sy)) - 1;
            int right = int(std::ceil(sx)) + 1;
            int bottom = int(std::ceil(sy)) + 1;
            if (first) {
                box = Box {left, top, right, bottom};
                first = false;
            } else {
                box.Add(Box {left, top, right, bottom});
            }
        }
    }
    return band.Length > 0 && band.Bottom > band.Top ? box : Box {};
}

void FillBand(RunMask& mask, const Direction& d, const Band& band) {
    if (band.Length <= 0 || band.Bottom <= band.Top) return;
    Box box = BandBox(d, band);
    for (int py = std::max(box.Top, mask.Top); py < std::min(box.Bottom, mask.Top + mask.Height); ++py) {
        for (int px = std::max(box.Left, mask.Left); px < std::min(box.Right, mask.Left + mask.Width); ++px) {
            double sx = px + 0.5;
            double sy = py + 0.5;
            double x = sx * d.Cos - sy * d.Sin;   // back into the run's own axes
            double y = sx * d.Sin + sy * d.Cos;
            if (x >= 0 && x < band.Length && y >= band.Top && y < band.Bottom)
                mask.Coverage[std::size_t(py - mask.Top) * std::size_t(mask.Width) + std::size_t(px - mask.Left)] = 255;
        }
    }
}

// Maps a run's code points one by one without storing them; ASCII is looked up once a run.
class RunMapper {
public:
    explicit RunMapper(const FontInstance& font)
        : FFont(font) { }

    RunCharacter Map(char32_t codePoint) {
        if (codePoint >= FAscii.size()) return FFont.MapCharacter(codePoint);
        if (!FKnown[codePoint]) {
            FAscii[codePoint] = FFont.MapCharacter(codePoint);
            FKnown[codePoint] = true;
        }
        return FAscii[codePoint];
    }

private:
    const FontInstance& FFont;
    std::array<RunCharacter, 128> FAscii {};
    std::array<bool, 128> FKnown {};
};

// Index after the last negative spacing: before it the pen may still move back.
std::size_t ForwardFrom(std::span<const int> dx) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < dx.size(); ++i)
        if (dx[i] < 0) from = i + 1;
    return from;
}

}

POINT FontInstance::BaselineFromCellTop() const {
    return Turn(DirectionOf(FEscapement), 0, FMetrics.tmAscent);
}

std::vector<RunCharacter> FontInstance::Characters(std::string_view utf8) const {
    std::vector<RunCharacter> out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t start = pos;
        char32_t codePoint = base::Utf8DecodeNext(utf8, pos);
        RunCharacter mapped = MapCharacter(codePoint);
        mapped.ByteOffset = start;
        mapped.ByteLength = pos - start;
        out.push_back(mapped);
    }
    return out;
}

int FontInstance::MeasureWidth(std::string_view utf8) const {
    return int(std::clamp<long long>(RunLength(utf8), INT_MIN, INT_MAX));
}

long long FontInstance::RunLength(std::string_view utf8, std::span<const int> dx) const {
    RunMapper mapper(*this);
    long long length = 0;
    std::size_t index = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const int advance = mapper.Map(base::Utf8DecodeNext(utf8, pos)).Advance;
        length += index < dx.size() ? dx[index] : advance;
        ++index;
    }
    return length;
}

int FontInstance::InkReach() const {
    return 2 * (FMetrics.tmHeight + FMetrics.tmMaxCharWidth) + 8;
}

std::vector<PlacedGlyph> FontInstance::LayoutRun(std::string_view utf8, std::span<const int> dx) const {
    Direction d = DirectionOf(FEscapement);
    std::vector<PlacedGlyph> out;
    long long pen = 0;
    std::size_t index = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        RunCharacter mapped = MapCharacter(base::Utf8DecodeNext(utf8, pos));
        POINT at = Turn(d, double(pen), 0);
        out.push_back(PlacedGlyph {RenderGlyph(mapped.GlyphIndex), at.x, at.y});
        pen += index < dx.size() ? dx[index] : mapped.Advance;
        ++index;
    }
    return out;
}

RunMask FontInstance::RenderRun(std::string_view utf8, std::span<const int> dx) const {
    Direction d = DirectionOf(FEscapement);
    std::vector<PlacedGlyph> glyphs = LayoutRun(utf8, dx);
    long long length = 0;
    {
        std::size_t index = 0;
        std::size_t pos = 0;
        while (pos < utf8.size()) {
            int advance = MapCharacter(base::Utf8DecodeNext(utf8, pos)).Advance;
            length += index < dx.size() ? dx[index] : advance;
            ++index;
        }
    }

    std::vector<Band> bands;
    if (FUnderline)
        bands.push_back(Band {
            double(length), double(FUnderlineBand.Offset), double(FUnderlineBand.Offset + FUnderlineBand.Thickness)});
    if (FStrikeOut)
        bands.push_back(Band {
            double(length), double(FStrikeOutBand.Offset), double(FStrikeOutBand.Offset + FStrikeOutBand.Thickness)});

    Box box;
    for (const PlacedGlyph& glyph : glyphs) {
        if (glyph.Mask->Empty()) continue;
        int left = glyph.X + glyph.Mask->Left;
        int top = glyph.Y + glyph.Mask->Top;
        box.Add(Box {left, top, left + glyph.Mask->Width, top + glyph.Mask->Height});
    }
    for (const Band& band : bands)
        box.Add(BandBox(d, band));

    RunMask mask;
    if (box.Empty()) return mask;
    mask.Left = box.Left;
    mask.Top = box.Top;
    mask.Width = box.Right - box.Left;
    mask.Height = box.Bottom - box.Top;
    mask.Coverage.assign(std::size_t(mask.Width) * std::size_t(mask.Height), 0);
    for (const PlacedGlyph& glyph : glyphs) {
        const GlyphMask& g = *glyph.Mask;
        if (g.Empty()) continue;
        int left = glyph.X + g.Left - mask.Left;
        int top = glyph.Y + g.Top - mask.Top;
        for (int y = 0; y < g.Height; ++y) {
            const std::uint8_t* in = g.Coverage.data() + std::size_t(y) * std::size_t(g.Width);
            std::uint8_t* out
                = mask.Coverage.data() + std::size_t(top + y) * std::size_t(mask.Width) + std::size_t(left);
            for (int x = 0; x < g.Width; ++x)
                out[x] = std::max(out[x], in[x]);   // overlapping glyphs keep the stronger coverage
        }
    }
    for (const Band& band : bands)
        FillBand(mask, d, band);
    return mask;
}

RunMask FontInstance::RenderRun(std::string_view utf8, std::span<const int> dx, const RECT& window) const {
    RunMask mask;
    if (utf8.empty() || window.right <= window.left || window.bottom <= window.top) return mask;
    const Direction d = DirectionOf(FEscapement);
    const double reach = InkReach();
    // The window in the run's own axes: along the baseline and across it (y down).
    double alongMin = 1e300, alongMax = -1e300, acrossMin = 1e300, acrossMax = -1e300;
    for (double x : {double(window.left), double(window.right)})
        for (double y : {double(window.top), double(window.bottom)}) {
            alongMin = std::min(alongMin, x * d.Cos - y * d.Sin);
            alongMax = std::max(alongMax, x * d.Cos - y * d.Sin);
            acrossMin = std::min(acrossMin, x * d.Sin + y * d.Cos);
            acrossMax = std::max(acrossMax, x * d.Sin + y * d.Cos);
        }
    const std::size_t forwardFrom = ForwardFrom(dx);
    // Glyphs, underline and strike-out all lie within `reach` of the baseline.
    if (acrossMin > reach || acrossMax < -reach) return mask;
    if (forwardFrom == 0 && alongMax < -reach) return mask;

    auto allocate = [&] {
        if (!mask.Coverage.empty()) return;
        mask.Left = window.left;
        mask.Top = window.top;
        mask.Width = window.right - window.left;
        mask.Height = window.bottom - window.top;
        mask.Coverage.assign(std::size_t(mask.Width) * std::size_t(mask.Height), 0);
    };

    RunMapper mapper(*this);
    long long pen = 0;
    std::size_t index = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (index >= forwardFrom && double(pen) - reach > alongMax) break;   // the rest lies past the window
        const RunCharacter mapped = mapper.Map(base::Utf8DecodeNext(utf8, pos));
        const long long advance = index < dx.size() ? dx[index] : mapped.Advance;
        const double px = double(pen) * d.Cos;
        const double py = -double(pen) * d.Sin;
        if (px + reach >= window.left && px - reach < window.right && py + reach >= window.top
            && py - reach < window.bottom) {
            const POINT at = Turn(d, double(pen), 0);
            const std::shared_ptr<const GlyphMask> glyph = RenderGlyph(mapped.GlyphIndex);
            if (!glyph->Empty()) {
                const int left = std::max<int>(at.x + glyph->Left, window.left);
                const int top = std::max<int>(at.y + glyph->Top, window.top);
                const int right = std::min<int>(at.x + glyph->Left + glyph->Width, window.right);
                const int bottom = std::min<int>(at.y + glyph->Top + glyph->Height, window.bottom);
                if (left < right && top < bottom) {
                    allocate();
                    for (int y = top; y < bottom; ++y) {
                        const std::uint8_t* in = glyph->Coverage.data()
                            + std::size_t(y - at.y - glyph->Top) * std::size_t(glyph->Width)
                            + std::size_t(left - at.x - glyph->Left);
                        std::uint8_t* out = mask.Coverage.data() + std::size_t(y - mask.Top) * std::size_t(mask.Width)
                            + std::size_t(left - mask.Left);
                        for (int x = 0; x < right - left; ++x)
                            out[x] = std::max(out[x], in[x]);   // overlapping glyphs keep the stronger coverage
                    }
                }
            }
        }
        pen += advance;
        ++index;
    }
    // Past the window the lines' length no longer matters (and a run stopped early is longer than that).
    const double length = pos < utf8.size() ? alongMax + reach + 1 : std::min(double(pen), alongMax + reach + 1);
    std::vector<Band> bands;
    if (FUnderline)
        bands.push_back(Band {
            length, double(FUnderlineBand.Offset), double(FUnderlineBand.Offset + FUnderlineBand.Thickness)});
    if (FStrikeOut)
        bands.push_back(Band {
            length, double(FStrikeOutBand.Offset), double(FStrikeOutBand.Offset + FStrikeOutBand.Thickness)});
    for (const Band& band : bands) {
        const Box box = BandBox(d, band);
        if (box.Empty() || box.Right <= window.left || box.Left >= window.right || box.Bottom <= window.top
            || box.Top >= window.bottom)
            continue;
        allocate();
        FillBand(mask, d, band);
    }
    return mask;
}

}
