// LED component base, windowed part: transparency over the parent, the paint lock, a timer window, data items.
#pragma once

#include "leds/iComponent.h"
#include "platform/os/CriticalSection.h"

#include <functional>
#include <memory>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::leds {

class TiOPCItem;
class TiOPCItemManager;

using TiBeforeNewOPCDataEvent = std::function<void(classes::TObject* sender, int index, TiOPCValue& data)>;
using TiNewOPCDataEvent = std::function<void(classes::TObject* sender, int index)>;

class TiVCLComponent : public TiComponent {
public:
    explicit TiVCLComponent(TComponent* owner);
    ~TiVCLComponent() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    // Transparent: the background is what the parent draws under the control (no border is drawn).
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);

    void Lock() override;
    void Unlock() override;

    // The timer window is made with the control. StartTimer does nothing while a timer runs; the first period
    // is firstInterval (0: none), the later ones interval (0 after a first period: the system's shortest).
    bool TimerRunning() const override { return FTimerId != 0; }
    void StartTimer(int firstInterval, int interval) override;
    void StopTimer() override;
    classes::TNotifyEvent OnTimer;

    // Data items bound to the control's properties (stored as the stream entry "OPCItems").
    TiOPCItemManager* OPCItemManager() const { return FOPCItemManager.get(); }
    bool WriteItemValue(const std::string& propertyName, const TiOPCValue& value) override;
    TiBeforeNewOPCDataEvent OnBeforeNewOPCData;
    TiNewOPCDataEvent OnNewOPCData;

    void InvalidateChange() override;
    void SetBounds(int left, int top, int width, int height) override;

    void DefineProperties(classes::TFiler& filer) override;

protected:
    void iPaintBackground(TCanvas* canvas, TColor color) override;
    // New data of an item: sets the property it feeds unless iDoNewData answers true.
    void NewOPCData(TiOPCItem* item);
    virtual bool iDoNewData(TiOPCItem* item);
    virtual void iVCLHook() { }   // empty; nothing here calls it
    void MarkParentBackgroundDirty();
    user::HWND TimerWindow() const { return FTimerWindow; }

    void CreateWnd() override;
    void WndProc(classes::TMessage& message) override;
    void CMSysColorChange(classes::TMessage& m) override;

private:
    void TimerWndProc(classes::TMessage& message);
    void RefreshParentBackground();
    void ReadOPCItems(classes::TReader& reader);
    void WriteOPCItems(classes::TWriter& writer);

    user::HWND FTimerWindow = nullptr;
    std::unique_ptr<classes::TBitmap> FParentBackground;
    os::TCriticalSection FPaintLock;
    bool FTransparent = false;
    std::unique_ptr<TiOPCItemManager> FOPCItemManager;
    std::uintptr_t FTimerId = 0;
    bool FTimerFirstPeriod = false;
    int FTimerInterval = 0;
    bool FHandlingNewData = false;
    bool FParentBackgroundDirty = false;
};

}
