// TsSplitter: a windowless splitter painted from the SPLITTER section, hot under the mouse, pressed while dragged.
#pragma once

#include "platform/classes/TSplitter.h"
#include "skin/controls/sControlFrame.h"

#include <memory>

namespace korvex::skin {

class TsCommonData;

class TsSplitter : public classes::TSplitter {
public:
    explicit TsSplitter(classes::TComponent* owner);
    ~TsSplitter() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }
    bool Pressed() const { return FPressed; }
    int SkinState() const;   // 0 normal, 1 hot, 2 pressed (only while rsUpdate resizes as it drags)

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void Paint() override;
    void MouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void MouseUp(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;

private:
    void DrawDesignFrame();

    std::unique_ptr<TsCommonData> FCommonData;
    bool FPressed = false;
    bool FSavedShowHint = true;   // the application's ShowHint at the last press; every mouse-up restores it
};

}
