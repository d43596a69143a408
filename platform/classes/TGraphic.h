// TGraphic: the abstract picture (bitmap, JPEG, icon): size, transparency, files and streams, drawing on a canvas.
#pragma once

#include "platform/base/Exceptions.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TPersistent.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvex::classes {

class TCanvas;

// A picture whose bytes cannot be read ("Bitmap image is not valid").
class EInvalidGraphic : public base::Exception {
public:
    using Exception::Exception;
};
// An operation the picture cannot do now ("Scan line index out of range").
class EInvalidGraphicOperation : public base::Exception {
public:
    using Exception::Exception;
};

class TGraphic : public TPersistent {
public:
    ~TGraphic() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual int Height() const = 0;
    virtual void SetHeight(int value) = 0;
    virtual void SetSize(int width, int height);
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return FModified; }
    void SetModified(bool value);

    // Files go through the class library's file stream (Windows paths and names without case resolve).
    // LoadFromFile raises os::EFOpenError for a missing file and EInvalidGraphic for bytes it cannot read;
    // the picture is then as it was. TryLoadFromFile is the twin that answers false instead.
    void LoadFromFile(const std::string& fileName);
    bool TryLoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;   // raises os::EFCreateError
    // The whole rest of the stream (from its position) is the picture's file.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;

    // Component text: the picture's bytes as the binary entry "Data", written when not empty.
    void DefineProperties(TFiler& filer) override;

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    TGraphic() = default;

    // Paints the picture scaled into rect of the canvas (the canvas has its DC).
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    virtual void Changed();
    void StoreTransparent(bool value) { FTransparent = value; }   // without a notification (Assign)
    // The "Data" entry; by default the picture's file as SaveToStream writes it.
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream) const;
    // The rest of a stream from its position, and a block written whole.
    static std::vector<std::uint8_t> ReadRest(TStream& stream);
    static void WriteBytes(TStream& stream, std::span<const std::uint8_t> bytes);

private:
    bool FTransparent = false;
    bool FModified = false;
};

}
