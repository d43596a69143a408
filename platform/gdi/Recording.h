// Recording device contexts: a log of the primitives drawn on a DC with their arguments, for tests.
#pragma once

#include "platform/gdi/DeviceContext.h"

#include <string>
#include <vector>

namespace korvex::gdi {

enum class DrawKind : uint8_t {
    FillRect,
    FrameRect,
    InvertRect,
    FillRgn,
    PatBlt,
    SetPixel,
    LineTo,
    Polyline,
    Polygon,
    Rectangle,
    RoundRect,
    Ellipse,
    Arc,
    Pie,
    Chord,
    DrawEdge,
    DrawFocusRect,
    DrawFrameControl,
    GradientFill,
    BitBlt,
    StretchBlt,
    AlphaBlend,
    TextOut,
    ExtTextOut,
    DrawText,
};

const char* DrawKindName(DrawKind kind);   // "FillRect", "Ellipse", ...

// One primitive as it was called: logical coordinates, the colours in effect (after system colours are
// resolved). Rect is the primitive's rectangle (bounding box for point lists, destination for blits);
// Points hold line and polygon vertices, and for Arc/Pie/Chord the start and end radial points.
struct DrawCall {
    DrawKind Kind = DrawKind::FillRect;
    RECT Rect {};
    std::vector<POINT> Points;
    COLORREF PenColor = 0;
    int PenStyle = PS_SOLID;
    int PenWidth = 1;
    COLORREF BrushColor = 0;
    bool BrushNull = false;
    COLORREF TextColor = 0;
    UINT Flags = 0;   // DrawEdge edge | (flags << 16), DrawText/ExtTextOut flags, blit raster operation
    std::string Text;
};

// Attach to a DC with StartRecording; every primitive drawn on the DC afterwards is appended to Calls.
// With DrawCalls::Keep the pixels are drawn as well; with DrawCalls::Skip only the log is written.
enum class DrawCalls : uint8_t { Keep, Skip };

// A metafile recorder makes its DC a metafile's: GetDeviceCaps(TECHNOLOGY) answers DT_METAFILE there.
enum class RecorderKind : uint8_t { Log, Metafile };

class DrawRecorder {
public:
    explicit DrawRecorder(DrawCalls mode = DrawCalls::Keep, RecorderKind kind = RecorderKind::Log)
        : FMode(mode)
        , FKind(kind) { }

    const std::vector<DrawCall>& Calls() const { return FCalls; }
    std::vector<DrawCall> CallsOf(DrawKind kind) const;
    void Clear() { FCalls.clear(); }
    bool Drawing() const { return FMode == DrawCalls::Keep; }
    bool Metafile() const { return FKind == RecorderKind::Metafile; }

    void Add(DrawCall call) { FCalls.push_back(std::move(call)); }

private:
    DrawCalls FMode;
    RecorderKind FKind;
    std::vector<DrawCall> FCalls;
};

// The recorder is not owned; StopRecording (or deleting the DC) detaches it.
bool StartRecording(HDC dc, DrawRecorder* recorder);
bool StopRecording(HDC dc);

// A memory DC with a fresh bitmap of the given size selected and a recorder attached: the usual test setup.
class RecordingDC {
public:
    RecordingDC(int width, int height, PixelFormat format = PixelFormat::pf24bit, DrawCalls mode = DrawCalls::Keep,
        RecorderKind kind = RecorderKind::Log);
    ~RecordingDC();
    RecordingDC(const RecordingDC&) = delete;
    RecordingDC& operator=(const RecordingDC&) = delete;

    HDC Handle() const { return FDc; }
    operator HDC() const { return FDc; }
    Bitmap* Target() const { return FBitmap; }
    DrawRecorder& Recorder() { return FRecorder; }
    const std::vector<DrawCall>& Calls() const { return FRecorder.Calls(); }

private:
    DrawRecorder FRecorder;
    HDC FDc = nullptr;
    Bitmap* FBitmap = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
};

inline DrawCall MakeCall(DrawKind kind, const RECT& rect, std::vector<POINT> points = {}) {
    DrawCall call;
    call.Kind = kind;
    call.Rect = rect;
    call.Points = std::move(points);
    return call;
}

// Internal: fills the pen, brush and text fields of a call from the DC (the brush given, else the DC's) and
// logs it. True when the caller should go on drawing pixels.
bool RecordCall(HDC dc, DrawCall call, HBRUSH brush = nullptr);

}
