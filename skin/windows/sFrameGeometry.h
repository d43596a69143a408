// TsFrameGeometry: the skinned frame's measures in window coordinates: the border widths, the caption and
// menu-line heights, the title icon's place, where the client begins, and which frame area a point is on.
#pragma once

#include "platform/classes/TForm.h"

#include <vector>

namespace korvex::skin {

// What the frame is measured from: the form (nullptr once it is gone) and the title icon's settings.
class TsFrameSource {
public:
    virtual classes::TCustomForm* FramedForm() const = 0;
    virtual bool FrameShowsIcon() const = 0;
    virtual classes::TSize FrameIconSize() const = 0;   // the title icon's own size; 0 fits the caption

protected:
    ~TsFrameSource() = default;
};

// The title icon's side for a height: 0 below 9, 8 up to 16, 16 up to 27, else 32.
int IconSizeFor(int h);

class TsFrameGeometry {
public:
    explicit TsFrameGeometry(const TsFrameSource& source)
        : FSource(source) { }

    int CaptionHeight() const;
    int SysBorderWidth() const;
    int SysBorderHeight() const;
    int BorderHeight() const;   // SysBorderHeight + the form's BorderWidth
    int FormWidth() const;
    int MenuHeight() const;
    bool MenuPresent() const;
    int HeaderHeight() const;
    int OffsetX() const;
    int OffsetY() const;
    classes::TPoint FormLeftTop() const;   // screen position of the window's top-left corner
    classes::TPoint CursorToPoint(classes::TPoint screen) const;
    bool IconVisible() const;
    int IconWidth() const;
    int IconHeight() const;
    classes::TRect IconRect() const;
    bool HasBorder() const;
    bool Iconic() const;
    bool Maximized() const;

    // The caption buttons' row: its top for buttons of a height, and the buttons' places from the right
    // frame edge to the left, without gaps, one per width.
    int ButtonsTop(int buttonHeight) const;
    std::vector<classes::TRect> ButtonRects(const std::vector<int>& widths, int buttonHeight) const;

    // Hit testing of the frame's areas (window coordinates).
    bool InButtonBand(classes::TPoint p, int buttonHeight) const;   // the band the caption buttons lie in
    bool OnTitleIcon(classes::TPoint p) const;
    bool OnMenuLine(classes::TPoint p) const;
    bool OnGrip(classes::TPoint p, classes::TSize grip, classes::TSize cache) const;   // the grip's corner
    bool OutsideInner(classes::TPoint p) const;   // off (2, 2)-(Width - 4, Height - 4), a maximized form's outside

private:
    classes::TCustomForm* Form() const { return FSource.FramedForm(); }

    const TsFrameSource& FSource;
};

}
