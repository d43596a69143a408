// LED component base: off-screen painting, background and border, batched and throttled repaints, property files.
#pragma once

#include "leds/iOPCTypes.h"
#include "platform/classes/TCustomControl.h"

#include <memory>
#include <string>
#include <string_view>

namespace korvex::leds {

using classes::TCanvas;
using classes::TColor;
using classes::TComponent;

enum TiBevelStyle { ibsNone, ibsRaised, ibsLowered };
inline constexpr std::string_view iBevelStyleIdents[] = {"ibsNone", "ibsRaised", "ibsLowered"};

// Repaint requests: InvalidateChange for a change of look, InvalidateNoChange for a change of value.
// BeginUpdate holds them back (a flag, not a counter) and EndUpdate releases what was asked for meanwhile,
// once. With AutoFrameRate a request repaints only when 1 / UpdateFrameRate seconds passed since the last
// repaint (on base::Now); otherwise it stays pending until a later request or EndUpdate.
class TiComponent : public classes::TCustomControl {
public:
    explicit TiComponent(TComponent* owner);
    ~TiComponent() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool OptionSaveAllProperties() const { return FOptionSaveAllProperties; }
    void SetOptionSaveAllProperties(bool value) { FOptionSaveAllProperties = value; }
    bool AutoFrameRate() const { return FAutoFrameRate; }
    void SetAutoFrameRate(bool value);   // on: InvalidateChange; off: EndUpdate
    int UpdateFrameRate() const { return FUpdateFrameRate; }
    void SetUpdateFrameRate(int value);   // repaints per second; 0: no throttle

    virtual classes::TPoint GetCenterPoint() const;

    TiBevelStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TiBevelStyle value);
    TColor BackGroundColor() const { return FBackGroundColor; }
    virtual void SetBackGroundColor(TColor value);

    virtual void InvalidateChange();
    void InvalidateNoChange();
    virtual void BeginUpdate();
    virtual void EndUpdate();
    bool Updating() const { return FUpdating; }

    // The paint lock: painting runs inside it.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;

    // A timer of the control's own (the LED controls never start one).
    virtual bool TimerRunning() const = 0;
    virtual void StartTimer(int firstInterval, int interval) = 0;
    virtual void StopTimer() = 0;

    // Data items: the value type a property asks of its server (0: the server's own), and writing a value
    // back to the item bound to a property (false here: nothing is bound).
    virtual int OPCRequestedDataType(const std::string& propertyName) const;
    virtual bool WriteItemValue(const std::string& propertyName, const TiOPCValue& value);

    // Property files: "File Type = <class name>", then "Name = Value" lines. Saving leaves out Name and,
    // unless OptionSaveAllProperties, the placement and common control properties. Loading runs inside
    // BeginUpdate / EndUpdate; a value that does not convert raises EConvertError, and the update still ends.
    virtual void SavePropertiesToFile(const std::string& fileName);
    virtual void LoadPropertiesFromFile(const std::string& fileName);

    // The error state data items set (the painters do not show it).
    bool ErrorActive() const { return FErrorActive; }
    void SetErrorActive(bool value) { FErrorActive = value; }
    const std::string& ErrorText() const { return FErrorText; }
    classes::TFont* ErrorFont() const { return FErrorFont.get(); }

protected:
    bool BackGroundChanged() const { return FBackGroundChanged; }
    void BackGroundPainted() { FBackGroundChanged = false; }

    // The picture, composed off screen and copied in one operation.
    void Paint() override;
    virtual void iPaintTo(TCanvas* canvas) = 0;
    // Background in color over the whole control, then the border.
    virtual void iPaintBackground(TCanvas* canvas, TColor color);
    virtual void iPaintBorder(TCanvas* canvas);

    // Focus and input hooks beside the inherited handling; empty here.
    virtual void iDoSetFocus();
    virtual void iDoKillFocus();
    virtual bool iWantSpecialKey(user::WORD key) { return (void)key, false; }
    virtual void iKeyDown(user::WORD& key, classes::TShiftState shift) { (void)key, (void)shift; }
    virtual void iKeyUp(user::WORD& key, classes::TShiftState shift) { (void)key, (void)shift; }
    virtual void iKeyPress(char32_t& key) { (void)key; }
    virtual void iMouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y);
    virtual void iMouseUp(classes::TMouseButton button, classes::TShiftState shift, int x, int y);
    virtual void iMouseMove(classes::TShiftState shift, int x, int y) { (void)shift, (void)x, (void)y; }
    virtual void iDoubleClick() { }
    // Non-zero: the wheel turn is taken here.
    virtual int iMouseWheel(classes::TShiftState shift, int wheelDelta, classes::TPoint mousePos) {
        return (void)shift, (void)wheelDelta, (void)mousePos, 0;
    }

    void KeyDown(user::WORD& key, classes::TShiftState shift) override;
    void KeyUp(user::WORD& key, classes::TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void MouseUp(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void MouseMove(classes::TShiftState shift, int x, int y) override;
    void DblClick() override;
    bool DoMouseWheel(classes::TShiftState shift, int wheelDelta, classes::TPoint mousePos) override;

private:
    void RepaintNow();
    void FrameRateCheck();

    bool FUpdating = false;
    int FUpdateFrameRate = 60;
    double FLastRepaintTime = 0;
    bool FRepaintPending = false;
    bool FChangePending = false;
    TColor FBackGroundColor = classes::clBtnFace;
    bool FBackGroundChanged = true;
    TiBevelStyle FBorderStyle = ibsNone;
    bool FAutoFrameRate = false;
    bool FOptionSaveAllProperties = false;
    bool FErrorActive = false;
    std::string FErrorText = "Error";
    std::unique_ptr<classes::TFont> FErrorFont;
};

}
