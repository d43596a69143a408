// TSplitter: a windowless bar between aligned controls; dragging it resizes the control on its aligned side.
#pragma once

#include "platform/classes/TGraphicControl.h"

#include <functional>
#include <string_view>

namespace korvex::classes {

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
inline constexpr std::string_view ResizeStyleIdents[] = {"rsNone", "rsLine", "rsUpdate", "rsPattern"};

using TCanResizeEvent = std::function<void(TObject* sender, int& newSize, bool& accept)>;

// The resized control is the visible sibling aligned the same way whose edge touches the splitter (for
// alLeft: its right edge at the splitter's left). The new size stays within MinSize and the room the parent
// leaves MinSize for the rest; with AutoSnap a size below MinSize becomes 0. OnCanResize may change the size
// or refuse it. rsUpdate resizes while dragging, rsLine and rsPattern on release (an inverted bar shows
// the place meanwhile), rsNone not at all;
// OnMoved follows every resize.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* owner);
    ~TSplitter() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int MinSize() const { return FMinSize; }
    void SetMinSize(int value) { FMinSize = value > 0 ? value : 1; }
    bool AutoSnap() const { return FAutoSnap; }
    void SetAutoSnap(bool value) { FAutoSnap = value; }
    TResizeStyle ResizeStyle() const { return FResizeStyle; }
    void SetResizeStyle(TResizeStyle value) { FResizeStyle = value; }
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool value);
    TControl* ResizeControl() const { return FControl; }   // while dragging

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;
    TNotifyEvent OnPaint;   // after the splitter painted itself

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMVisibleChanged(TMessage& m) override;

private:
    TControl* FindControl() const;
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    int ParentPos(int x, int y) const;   // the mouse along the resizing axis, in the parent
    bool DoCanResize(int& newSize);
    void ApplySize(int newSize);
    void InvertLine();

    TControl* FControl = nullptr;
    int FDownPos = 0;
    int FOldSize = 0;
    int FNewSize = -1;
    int FMaxSize = 0;
    int FMinSize = 30;
    bool FAutoSnap = true;
    bool FBeveled = false;
    TResizeStyle FResizeStyle = rsPattern;
};

}
