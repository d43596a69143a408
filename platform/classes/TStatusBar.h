// TStatusBar over the native status bar: a collection of panels (or one simple text), a size grip, owner drawing.
#pragma once

#include "platform/classes/Forward.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TCollection.h"
#include "platform/classes/TWinControl.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace korvex::classes {

class TStatusBar;

enum TStatusPanelStyle { psText, psOwnerDraw };
inline constexpr std::string_view StatusPanelStyleIdents[] = {"psText", "psOwnerDraw"};
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
inline constexpr std::string_view StatusPanelBevelIdents[] = {"pbNone", "pbLowered", "pbRaised"};

// One panel: its text, width, alignment, bevel and style. A change updates the bar.
class TStatusPanel : public TCollectionItem {
public:
    explicit TStatusPanel(TCollection* collection);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void Assign(const TPersistent* source) override;

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle value);

private:
    std::string FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
};

class TStatusPanels : public TControlCollection<TStatusPanel, TStatusBar> {
public:
    explicit TStatusPanels(TStatusBar* statusBar);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

protected:
    void Update(TCollectionItem* item) override;
};

using TDrawPanelEvent = std::function<void(TStatusBar* statusBar, TStatusPanel* panel, const TRect& rect)>;

// Aligned at its parent's bottom by default. In SimplePanel mode it shows SimpleText across the whole bar.
class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(const TStatusPanels* value) { FPanels->Assign(value); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    // The grip is drawn only where it can size something: SizeGrip on a form with a sizeable border.
    bool GripShown() const;
    TCanvas* Canvas() const;   // the paint DC while OnDrawPanel runs

    TDrawPanelEvent OnDrawPanel;

    void UpdatePanels();   // hands every panel to the native bar
    void UpdatePanel(int index);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    virtual void DrawPanel(TStatusPanel* panel, const TRect& rect);

private:
    void CNDrawItem(TMessage& m);

    std::unique_ptr<TStatusPanels> FPanels;
    std::unique_ptr<TControlCanvas> FCanvas;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
};

}
