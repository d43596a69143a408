// TsTitleIcon, TsTitleButton and TsTitleButtons: a skinned form's own title icon and its own caption buttons
// beside the system ones.
#pragma once

#include "platform/classes/TCollection.h"
#include "platform/classes/TControl.h"
#include "skin/windows/sSkinProvider.h"

#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

class TsTitleIcon : public classes::TPersistent {
public:
    TsTitleIcon();
    ~TsTitleIcon() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const classes::TBitmap* value);   // copied
    int Height() const { return FHeight; }   // 0: from the caption's height
    void SetHeight(int value) { FHeight = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }

private:
    std::unique_ptr<classes::TBitmap> FGlyph;
    int FHeight = 0;
    int FWidth = 0;
};

class TsTitleButton : public classes::TCollectionItem {
public:
    explicit TsTitleButton(classes::TCollection* collection);
    ~TsTitleButton() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    classes::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const classes::TBitmap* value);   // copied
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { FName = value; }
    bool UseSkinData() const { return FUseSkinData; }
    void SetUseSkinData(bool value) { FUseSkinData = value; }
    classes::TMouseEvent OnMouseDown;
    classes::TMouseEvent OnMouseUp;

    std::string DisplayName() const override { return FName; }
    // Takes another title button's settings and events (a collection copy makes its items so).
    void Assign(const classes::TPersistent* source) override;
    void DoMouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y);
    void DoMouseUp(classes::TMouseButton button, classes::TShiftState shift, int x, int y);

    TsCaptionButton Data;   // state, mask and place in the title (window coordinates)

private:
    bool FEnabled = true;
    std::unique_ptr<classes::TBitmap> FGlyph;
    std::string FName;
    bool FUseSkinData = true;
};

class TsTitleButtons : public classes::TOwnedCollection {
public:
    explicit TsTitleButtons(TsSkinProvider* owner);
    ~TsTitleButtons() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    TsTitleButton* Items(int index) const { return Item<TsTitleButton>(index); }
    TsTitleButton* Add() { return static_cast<TsTitleButton*>(TCollection::Add()); }
};

}
