// TCustomUpDown and TUpDown over the native up-down control: a position stepped by two arrows, with a buddy.
#pragma once

#include "platform/classes/TWinControl.h"

#include <functional>
#include <string_view>

namespace korvex::classes {

enum TUDAlignButton { udLeft, udRight };
inline constexpr std::string_view UDAlignButtonIdents[] = {"udLeft", "udRight"};
enum TUDOrientation { udHorizontal, udVertical };
inline constexpr std::string_view UDOrientationIdents[] = {"udHorizontal", "udVertical"};
enum TUDBtnType { btNext, btPrev };   // btNext: toward Max
enum TUpDownDirection { updNone, updUp, updDown };

using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;
using TUDChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;
using TUDChangingEventEx
    = std::function<void(TObject* sender, bool& allowChange, int newValue, TUpDownDirection direction)>;

// Position stays within [Min, Max]. OnChanging (and OnChangingEx with the new value) may refuse a step the
// user makes; OnClick follows each step that was made, with the direction.
class TCustomUpDown : public TWinControl {
public:
    explicit TCustomUpDown(TComponent* owner);
    ~TCustomUpDown() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* value);   // the buddy; its text shows the position
    TUDAlignButton AlignButton() const { return FAlignButton; }
    void SetAlignButton(TUDAlignButton value);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const;   // reads the buddy's number when the window exists
    void SetPosition(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);   // swaps width and height unless loading
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value);
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool value);
    bool Thousands() const { return FThousands; }
    void SetThousands(bool value);

    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;
    TUDChangingEventEx OnChangingEx;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanChange(int newValue, TUpDownDirection direction);
    virtual void Click(TUDBtnType button);

private:
    void SetRange();
    void CNNotify(TMessage& m);
    void CNScroll(TMessage& m);

    TWinControl* FAssociate = nullptr;
    TUDAlignButton FAlignButton = udRight;
    int FMin = 0;
    int FMax = 100;
    mutable int FPosition = 0;
    int FIncrement = 1;
    TUDOrientation FOrientation = udVertical;
    bool FWrap = false;
    bool FArrowKeys = true;
    bool FThousands = true;
    int FLastDelta = 0;
};

class TUpDown : public TCustomUpDown {
public:
    explicit TUpDown(TComponent* owner)
        : TCustomUpDown(owner) { }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
