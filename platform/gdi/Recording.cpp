// Recording device contexts: attaching recorders and logging primitives with the DC's colours.
#include "platform/gdi/Recording.h"

#include <array>

namespace korvex::gdi {

const char* DrawKindName(DrawKind kind) {
    static constexpr std::array<const char*, 25> names = {
        "FillRect",
        "FrameRect",
        "InvertRect",
        "FillRgn",
        "PatBlt",
        "SetPixel",
        "LineTo",
        "Polyline",
        "Polygon",
        "Rectangle",
        "RoundRect",
        "Ellipse",
        "Arc",
        "Pie",
        "Chord",
        "DrawEdge",
        "DrawFocusRect",
        "DrawFrameControl",
        "GradientFill",
        "BitBlt",
        "StretchBlt",
        "AlphaBlend",
        "TextOut",
        "ExtTextOut",
        "DrawText",
    };
    const size_t index = size_t(kind);
    return index < names.size() ? names[index] : "?";
}

std::vector<DrawCall> DrawRecorder::CallsOf(DrawKind kind) const {
    std::vector<DrawCall> result;
    for (const DrawCall& call : FCalls)
        if (call.Kind == kind) result.push_back(call);
    return result;
}

bool StartRecording(HDC dc, DrawRecorder* recorder) {
    if (!IsValidDC(dc) || !recorder) return false;
    dc->SetRecorder(recorder);
    return true;
}

bool StopRecording(HDC dc) {
    if (!IsValidDC(dc)) return false;
    dc->SetRecorder(nullptr);
    return true;
}

bool RecordCall(HDC dc, DrawCall call, HBRUSH brush) {
    DrawRecorder* recorder = dc->Recorder();
    if (!recorder) return true;
    const DcState& state = dc->State();
    if (state.Pen) {
        call.PenColor = state.Pen->Color();
        call.PenStyle = state.Pen->Style();
        call.PenWidth = state.Pen->Width();
    }
    if (!brush) brush = state.Brush;
    if (brush) {
        call.BrushColor = brush->Color();
        call.BrushNull = brush->IsNull();
    }
    call.TextColor = state.TextColor;
    recorder->Add(std::move(call));
    return recorder->Drawing();
}

RecordingDC::RecordingDC(int width, int height, PixelFormat format, DrawCalls mode, RecorderKind kind)
    : FRecorder(mode, kind) {
    FDc = CreateCompatibleDC(nullptr);
    FBitmap = Bitmap::Create(width, height, format);
    if (FDc && FBitmap) FOldBitmap = SelectObject(FDc, FBitmap);
    StartRecording(FDc, &FRecorder);
}

RecordingDC::~RecordingDC() {
    if (FDc) {
        StopRecording(FDc);
        if (FOldBitmap) SelectObject(FDc, FOldBitmap);
        DeleteDC(FDc);
    }
    if (FBitmap) DeleteObject(FBitmap);
}

}
