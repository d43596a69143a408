// TCustomMemo and TMemo: the multi-line edit with its lines as TStrings, scroll bars, word wrap and alignment.
#pragma once

#include "platform/classes/TCustomEdit.h"
#include "platform/classes/TStrings.h"

#include <memory>

namespace korvex::classes {

class TCustomMemo;

// The lines of a memo or rich edit, read from and written to the window's text. Lines are the window's lines
// (wrapped lines count one each, as the native control counts them); a text ending in a line end has no
// empty last line. Without a window (and no parent to make one on) the lines live in the control's text.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo)
        : FMemo(memo) { }

    int Count() const override;
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    std::string Text() const override;
    void SetText(const std::string& value) override;

protected:
    void SetUpdateState(bool updating) override;

private:
    user::HWND Window() const;   // nullptr when the lines work on the control's text
    TCustomMemo* FMemo;
};

// The control's point of the caret: x is the character in the line, y the line.
class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TStrings* Lines() const { return FLines.get(); }
    void SetLines(const TStrings* value) { FLines->Assign(value); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TPoint CaretPos();
    void SetCaretPos(TPoint value);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    const char* NativeClass() const override;
    void AdjustHeight() override { }   // a memo keeps its height

    std::unique_ptr<TStrings> FLines;

private:
    TAlignment FAlignment = taLeftJustify;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
    bool FWantTabs = false;
    bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
