// TsCtrlAdapter and TsGridAdapter: a component that finds the standard grids on its form and skins them:
// it takes over each grid's window procedure, paints its frame from the skin, gives it the skin's colours
// and lays skinned scroll bars over its own.
#pragma once

#include "platform/classes/TCollection.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TCustomGrid.h"
#include "platform/classes/TScrollBar.h"
#include "skin/engine/sCommonData.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::classes {
class TCustomForm;
}

namespace korvex::skin {

class TsScrollBar;
class TsGridAdapter;

// Called for each control the search finds; the handler may refuse it or choose its section.
using TAddItemEvent
    = std::function<void(classes::TComponent* item, bool& canBeAdded, std::string& skinSection)>;

// The general adapter: all controls of one class on its form. The base adapts nothing itself.
class TsCtrlAdapter : public classes::TComponent {
public:
    explicit TsCtrlAdapter(classes::TComponent* owner);
    ~TsCtrlAdapter() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool AutoSearch() const { return FAutoSearch; }
    void SetAutoSearch(bool value);   // on a change: one search
    TAddItemEvent OnAddItem;

    virtual bool CanAdapt(classes::TComponent* control) const;
    virtual int ItemCount() const { return 0; }
    virtual void LinkItem(int index, classes::TComponent* control) { (void)index, (void)control; }
    virtual classes::TCollectionItem* GetItem(int index) const { (void)index; return nullptr; }
    virtual TsCommonData* ItemSkinData(int index) const { (void)index; return nullptr; }
    virtual int IndexOf(const std::string& name) const { (void)name; return -1; }
    virtual void AddNewControl(classes::TComponent* control) { (void)control; }
    virtual void AddControl(classes::TComponent* control, const std::string& section) { (void)control, (void)section; }
    virtual void RemoveItem(int index) { (void)index; }

    void RemoveAllItems();
    void AddAllItems(classes::TComponent* owner = nullptr);   // errors end the walk silently
    classes::TCustomForm* OwnerForm() const;
    void LinkItems();

protected:
    void Loaded() override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

    classes::TClass FAdaptedClass = nullptr;
    std::string FDefaultSection;

private:
    bool FAutoSearch = true;
};

// One adapted grid: its skin state, its bars and the procedure it had.
class TsGridItem : public classes::TCollectionItem {
public:
    explicit TsGridItem(classes::TCollection* collection);
    ~TsGridItem() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    const std::string& CtrlName() const { return FCtrlName; }
    void SetCtrlName(const std::string& value) { FCtrlName = value; }
    std::string DisplayName() const override { return FCtrlName; }
    void SetDisplayName(const std::string& value) override { FCtrlName = value; }
    TsCommonData* SkinData() const { return FSkinData.get(); }

    classes::TCustomGrid* Grid() const { return FGrid; }
    TsScrollBar* VertBar() const { return FVertBar; }
    TsScrollBar* HorzBar() const { return FHorzBar; }
    bool Updating() const { return FUpdating; }
    TsGridAdapter* Adapter() const;

private:
    friend class TsGridAdapter;
    friend void SetGridColors(classes::TCustomGrid*, TsCommonData*, bool, TsGridItem*);
    void GridWndProc(classes::TMessage& message);
    void SkinCommand(classes::TMessage& message, bool skinned);
    void PaintFrame();
    void PrepareCache();
    void CallOld(classes::TMessage& message);

    std::string FCtrlName;
    std::unique_ptr<TsCommonData> FSkinData;
    TsScrollBar* FVertBar = nullptr;   // owned by the adapter
    TsScrollBar* FHorzBar = nullptr;
    classes::TCustomGrid* FGrid = nullptr;
    classes::TWndMethod FOldWndProc;
    int FBorderWidth = 0;
    bool FUpdating = false;
    classes::TColor FSavedFontColor = -1;   // -1: not saved
};

class TsGridItems : public classes::TOwnedCollection {
public:
    explicit TsGridItems(TsGridAdapter* adapter);
    ~TsGridItems() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    TsGridAdapter* Adapter() const { return FAdapter; }
    TsGridItem* Item(int index) const;

private:
    friend class TsGridAdapter;
    TsGridAdapter* FAdapter;   // cleared when the adapter goes
};

class TsGridAdapter : public TsCtrlAdapter {
public:
    explicit TsGridAdapter(classes::TComponent* owner);
    ~TsGridAdapter() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TsGridItems* Controls() const { return FItems.get(); }
    void SetControls(const TsGridItems* value) { FItems->Assign(value); }

    bool CanAdapt(classes::TComponent* control) const override;
    int ItemCount() const override;
    void LinkItem(int index, classes::TComponent* control) override;
    classes::TCollectionItem* GetItem(int index) const override;
    TsCommonData* ItemSkinData(int index) const override;
    int IndexOf(const std::string& name) const override;
    void AddNewControl(classes::TComponent* control) override;
    void AddControl(classes::TComponent* control, const std::string& section) override;
    void RemoveItem(int index) override;

    // The bars over a grid, made, placed, filled or hidden as the grid needs them.
    void UpdateScrollBars(TsGridItem* item);

protected:
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    friend class TsGridItem;
    void HookControl(TsGridItem* item, classes::TCustomGrid* grid);
    void UnhookControl(TsGridItem* item);
    TsScrollBar* MakeBar(TsGridItem* item, classes::TScrollBarKind kind);
    void FreeBars(TsGridItem* item);
    void BarChanged(TsScrollBar* bar, int previousPosition);

    std::unique_ptr<TsGridItems> FItems;
};

bool IsSupportedGrid(const classes::TComponent* control);   // not the data-aware grids
bool IsCustomGrid(const classes::TComponent* control);
// The grid's colours from the skin (skinned) or the standard ones back; item keeps the font colour.
void SetGridColors(classes::TCustomGrid* grid, TsCommonData* skinData, bool skinned, TsGridItem* item);

// True while the left button is down in an adapted grid.
bool GridButtonDown();

}
