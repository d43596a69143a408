// Skinned containers: TsPanel, the window-moving TsDragBar, the corner TsGrip and the colour grid TsColorsPanel.
#pragma once

#include "platform/classes/TPanel.h"
#include "skin/controls/sControlFrame.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TStringList;
class TStrings;
}

namespace korvex::skin {

class TsCommonData;

using TPaintEvent = std::function<void(classes::TObject* sender, classes::TCanvas* canvas)>;

class TsPanel : public classes::TPanel {
public:
    explicit TsPanel(classes::TComponent* owner);
    ~TsPanel() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }

    TPaintEvent OnPaint;   // the cache's canvas after a render (skinned), the own canvas after painting (not)
    classes::TNotifyEvent OnMouseEnter;
    classes::TNotifyEvent OnMouseLeave;

    // The container paint routine onto dc; nothing while unskinned.
    virtual void PaintSkin(gdi::HDC dc);

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void PaintWindow(gdi::HDC dc) override;
    void Paint() override;
    // The caption (and what descendants add) on the freshly rendered cache.
    virtual void PaintOwnParts(classes::TBitmap* cache);
    TacFrameHooks Hooks();

private:
    std::unique_ptr<TsCommonData> FCommonData;
};

// A caption-like bar; dragging it moves DraggedControl (by default the form it was loaded on).
class TsDragBar : public TsPanel {
public:
    explicit TsDragBar(classes::TComponent* owner);
    ~TsDragBar() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TControl* DraggedControl() const { return FDraggedControl; }
    void SetDraggedControl(classes::TControl* value);

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void MouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    bool ColorStored() const { return !ParentColor(); }
    classes::TControl* FDraggedControl = nullptr;
};

// The square between two scroll bars. Unskinned, it copies its look from the host's cache corner when asked to.
class TsGrip : public TsPanel {
public:
    explicit TsGrip(classes::TComponent* owner);
    ~TsGrip() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool Transparent = false;   // copy the host's cache corner
    classes::TWinControl* LinkedControl() const { return FLinkedControl; }
    void SetLinkedControl(classes::TWinControl* value);

protected:
    void Paint() override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    bool CopyHostCorner(gdi::HDC dc);
    classes::TWinControl* FLinkedControl = nullptr;
};

struct TsColorItem {
    int Index = 0;
    classes::TColor Color = 0xFFFFFF;
    classes::TRect Rect {};
    bool Selected = false;
};

// A grid of RowCount x ColCount colour cells, one line of Colors (hexadecimal) per cell.
class TsColorsPanel : public TsPanel {
public:
    explicit TsColorsPanel(classes::TComponent* owner);
    ~TsColorsPanel() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    int ColCount() const { return FColCount; }
    void SetColCount(int value);
    classes::TStrings* Colors() const;
    void SetColors(classes::TStrings* value);   // copies the lines
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);   // an index outside -1 .. cell count - 1 selects nothing
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    int ItemWidth() const { return FItemWidth; }
    void SetItemWidth(int value);
    int ItemMargin() const { return FItemMargin; }
    void SetItemMargin(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);

    classes::TNotifyEvent OnChange;

    classes::TColor ColorValue() const;   // white when nothing is selected
    const std::vector<TsColorItem>& Items() const { return FItems; }
    // Rebuilds the cells from Colors (missing lines become "FFFFFF"); a stale ItemIndex becomes -1.
    void GenerateColors();
    int ItemAtPos(int x, int y) const;   // -1 when no grown cell holds the point

    void PaintSkin(gdi::HDC dc) override;

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void MouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void Paint() override;
    void PaintOwnParts(classes::TBitmap* cache) override;

private:
    void SizeChanged();
    void PaintCells(classes::TCanvas* canvas) const;
    void PaintSelection(classes::TCanvas* canvas);

    int FColCount = 5;
    std::unique_ptr<classes::TStringList> FColors;
    int FItemIndex = -1;
    int FOldIndex = -1;
    int FItemHeight = 21;
    int FItemWidth = 21;
    int FItemMargin = 6;
    int FRowCount = 2;
    std::vector<TsColorItem> FItems;
};

}
