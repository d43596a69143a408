// TsCalcForm: the popup calculator (display, memory, 26 keys, drag bar, menu) and its arithmetic engine.
#pragma once

#include "platform/classes/TForm.h"

#include <functional>
#include <string>

namespace korvex::classes {
class TMenuItem;
class TPopupMenu;
}

namespace korvex::skin {

class TsDragBar;
class TsPanel;
class TsSpeedButton;

// What the calculator asks of the number edit it drops down from.
class TacCalcClient {
public:
    virtual ~TacCalcClient() = default;
    virtual double CalcClientValue() = 0;   // the edit's value, shown when the calculator opens
    virtual void CalcClientAccept(double value) = 0;   // Value := value, focus, selection, OnChange
    virtual void CalcClientFocus() = 0;   // the focus back to the edit
    virtual void CalcClientClosed() = 0;   // the calculator is going; forget it
};

enum TacCalcStatus { csResult = 0, csTyping = 1, csError = 2 };

using TacCalcKeyEvent = std::function<void(classes::TObject* sender, char32_t& key)>;

inline constexpr int CalcDefaultPrecision = 16;
inline constexpr int CalcDragBarHeight = 24;   // what a drop-down calculator loses at the top

class TsCalcForm : public classes::TForm {
public:
    explicit TsCalcForm(classes::TComponent* owner);
    ~TsCalcForm() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    // The engine: every key, button and menu item ends here. Keys: '0'..'9', '.', ',', '_' (sign), '+', '-',
    // '*', '/', '%', '=', 'Q' (square root), 'R' (reciprocal), 'C' (clear), #8, #13, #27, #3 (copy), #22 (paste).
    void CalcKey(char32_t key);
    enum class TacMemoryKey { Clear, Recall, Store, Plus };
    void MemoryKey(TacMemoryKey key);
    void Copy();   // the display text to the clipboard
    void Paste();   // a number from the clipboard ("0" for a text that is none)
    void MenuOk();
    void MenuCancel();
    void HideDragBar();   // as a drop-down: the drag bar hidden, the rest moved up, the height reduced to match

    std::string Text() const { return FText; }   // the display text
    void SetText(const std::string& value);   // shown as typed (status: typing)
    double DisplayValue() const;   // 0 for a text that is no number
    void SetDisplay(double value);   // general format, max(2, Precision) digits
    int Precision() const { return FPrecision; }
    void SetPrecision(int value) { FPrecision = value; }
    bool BeepOn() const { return FBeep; }
    void SetBeepOn(bool value) { FBeep = value; }
    TacCalcStatus Status() const { return FStatus; }
    double Memory() const { return FMemory; }
    double Operand() const { return FOperand; }
    TacCalcClient* Client() const { return FClient; }
    void SetClient(TacCalcClient* value) { FClient = value; }   // the client outlives the calculator it owns

    // Parts of the form, for layout by the drop-down and for tests.
    TsPanel* DisplayPanel() const { return FDisplayPanel; }
    TsPanel* MemoryPanel() const { return FMemoryPanel; }
    TsDragBar* DragBar() const { return FDragBar; }
    TsSpeedButton* ButtonFor(const std::string& caption) const;   // nullptr when none has that caption
    classes::TPopupMenu* Menu() const { return FMenu; }

    classes::TNotifyEvent OnError;
    classes::TNotifyEvent OnOk;
    classes::TNotifyEvent OnCancel;
    classes::TNotifyEvent OnResult;
    classes::TNotifyEvent OnTextChange;
    TacCalcKeyEvent OnCalcKey;
    classes::TNotifyEvent OnDisplayChange;

protected:
    void KeyDown(user::WORD& key, classes::TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void DoShow() override;
    void WndProc(classes::TMessage& message) override;

private:
    void ButtonClick(classes::TObject* sender);
    void StartNumber();   // a new number when a result is shown
    void ShowText(const std::string& text);
    void Error();
    void Clear();
    void HandOver();   // the display to the client, which takes the focus; then the calculator closes
    void CloseUp();
    void Beep() const;
    void UpdateMemoryIndicator();
    void ApplyColors();

    double FOperand = 0;
    std::string FText = "0";
    double FMemory = 0;
    int FPrecision = CalcDefaultPrecision;
    bool FBeep = true;
    TacCalcStatus FStatus = csResult;
    char32_t FOperator = U'=';
    TacCalcClient* FClient = nullptr;

    TsPanel* FDisplayPanel = nullptr;   // owned by the form, bound by the form text
    TsPanel* FMemoryPanel = nullptr;
    TsDragBar* FDragBar = nullptr;
    classes::TPopupMenu* FMenu = nullptr;
    classes::TMenuItem* FPasteItem = nullptr;
};

}
