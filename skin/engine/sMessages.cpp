// The skin command message: delivery to one control, to a control's descendants and to every form.
#include "skin/engine/sMessages.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TWinControl.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <memory>

namespace korvex::skin {

using classes::TComponent;
using classes::TControl;
using classes::TCustomForm;
using classes::TMessage;
using classes::TWinControl;

namespace {

bool IsDestroying(const TComponent* component) {
    return component->ComponentState().Contains(classes::csDestroying);
}

// The extra forms, each watched so that a freed form leaves the list.
class TacExtraFormList : public TComponent {
public:
    TacExtraFormList() : TComponent(nullptr) { }
    ~TacExtraFormList() override { Clear(); }

    void Add(TCustomForm* form) {
        if (form == nullptr || std::find(FForms.begin(), FForms.end(), form) != FForms.end()) return;
        FForms.push_back(form);
        FreeNotification(form);
    }
    void Remove(TCustomForm* form) {
        auto it = std::find(FForms.begin(), FForms.end(), form);
        if (it == FForms.end()) return;
        FForms.erase(it);
        RemoveFreeNotification(form);
    }
    void Clear() {
        while (!FForms.empty())
            Remove(FForms.back());
    }
    const std::vector<TCustomForm*>& Forms() const { return FForms; }

protected:
    void Notification(TComponent* component, classes::TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == classes::opRemove) std::erase(FForms, component);
    }

private:
    std::vector<TCustomForm*> FForms;
};

TacExtraFormList& ExtraFormList() {
    static TacExtraFormList list;
    return list;
}

// One form: its window, its descendants and, for an MDI parent, its MDI client window.
void co_BroadcastToForm(TCustomForm* form, TMessage& message) {
    classes::TComponentWatch watch(form);
    // A form whose window is not made yet has it made, as its handle is asked for.
    user::SendMessage(form->Handle(), message.Msg, message.WParam, message.LParam);
    if (!watch.Alive() || IsDestroying(form)) return;
    BroadcastToChildren(form, message);
    if (!watch.Alive() || IsDestroying(form) || form->FormStyle() != classes::fsMDIForm) return;
    if (const user::HWND client = form->ClientHandle(); client != nullptr && user::IsWindow(client))
        user::SendMessage(client, message.Msg, message.WParam, message.LParam);
}

}

TMessage MakeSkinCommand(int code, int argument, classes::LPARAM lParam) {
    TMessage m;
    m.Msg = SM_SKINCMD;
    m.WParam = SkinCommandWParam(code, argument);
    m.LParam = lParam;
    return m;
}

bool IsSkinCommand(const TMessage& message, int code) {
    return message.Msg == SM_SKINCMD && SkinCommandCode(message) == code;
}

void AddExtraForm(TCustomForm* form) {
    ExtraFormList().Add(form);
}

void RemoveExtraForm(TCustomForm* form) {
    ExtraFormList().Remove(form);
}

void ClearExtraForms() {
    ExtraFormList().Clear();
}

std::vector<TCustomForm*> ExtraForms() {
    return ExtraFormList().Forms();
}

classes::LRESULT SendSkinCommand(user::HWND handle, int code, classes::LPARAM lParam) {
    if (handle == nullptr) return 0;
    return user::SendMessage(handle, SM_SKINCMD, SkinCommandWParam(code), lParam);
}

classes::LRESULT SendSkinCommandToControl(TControl* control, int code, classes::LPARAM lParam) {
    if (control == nullptr) return 0;
    auto* win = dynamic_cast<TWinControl*>(control);
    if (win == nullptr) return control->Perform(SM_SKINCMD, SkinCommandWParam(code), lParam);
    if (IsDestroying(win) || !win->HandleAllocated()) return 0;
    return SendSkinCommand(win->WindowHandle(), code, lParam);
}

classes::TColor AskColor(user::HWND handle) {
    classes::TColor answer = 0xFF00FF;
    SendSkinCommand(handle, SMC_GETCOLOR, reinterpret_cast<classes::LPARAM>(&answer));
    return answer;
}

classes::TColor AskControlColor(TControl* control) {
    classes::TColor answer = 0xFF00FF;
    SendSkinCommandToControl(control, SMC_GETCOLOR, reinterpret_cast<classes::LPARAM>(&answer));
    return answer;
}

void AnswerColorQuery(const TMessage& message, classes::TColor color) {
    if (message.LParam != 0) *reinterpret_cast<classes::TColor*>(message.LParam) = color;
}

TsParentCacheInfo AskCache(user::HWND handle) {
    TsParentCacheInfo answer;
    SendSkinCommand(handle, SMC_GETCACHE, reinterpret_cast<classes::LPARAM>(&answer));
    return answer;
}

TsParentCacheInfo AskControlCache(TControl* control) {
    TsParentCacheInfo answer;
    SendSkinCommandToControl(control, SMC_GETCACHE, reinterpret_cast<classes::LPARAM>(&answer));
    return answer;
}

void AnswerCacheQuery(const TMessage& message, const TsParentCacheInfo& info) {
    if (TsParentCacheInfo* slot = CacheQuerySlot(message)) *slot = info;
}

TsParentCacheInfo* CacheQuerySlot(const TMessage& message) {
    return reinterpret_cast<TsParentCacheInfo*>(message.LParam);
}

bool QuerySkinCommand(TControl* control, int code) {
    if (control == nullptr || !control->WindowProc) return false;
    TMessage m = MakeSkinCommand(code);
    control->WindowProc(m);
    return m.LParam == 1;
}

void BroadcastToChildren(TWinControl* control, TMessage& message) {
    if (control == nullptr) return;
    classes::TComponentWatch watch(control);
    try {
        for (int i = 0; watch.Alive() && i < control->ControlCount(); ++i) {
            TControl* child = control->Controls(i);
            // A dying child ends the walk of this parent's children.
            if (IsDestroying(child)) return;
            classes::TComponentWatch childWatch(child);   // a receiver may free it
            auto* win = dynamic_cast<TWinControl*>(child);
            if (win == nullptr) {
                child->Perform(message);
            } else if (QuerySkinCommand(win, SMC_ISSKINNED)) {
                if (childWatch.Alive()) win->WindowProc(message);
            } else if (childWatch.Alive()) {
                BroadcastToChildren(win, message);
            }
        }
    } catch (...) {
        // A receiver's exception ends the walk here, quietly.
    }
}

void BroadcastToForms(TMessage& message) {
    classes::TApplication* app = classes::Application;
    if (app != nullptr) {
        classes::TComponentWatch watch(app);
        // Last owned first; the count is re-read, and a walk that finds itself past the end stops.
        for (int i = app->ComponentCount() - 1; watch.Alive() && i >= 0; --i) {
            if (i >= app->ComponentCount()) break;
            auto* form = dynamic_cast<TCustomForm*>(app->Components(i));
            if (form != nullptr && !IsDestroying(form)) co_BroadcastToForm(form, message);
        }
    }
    BroadcastToExtraForms(message);
}

void BroadcastToExtraForms(TMessage& message) {
    // A copy: a receiver may free a form, which takes it out of the list.
    std::vector<TCustomForm*> forms = ExtraFormList().Forms();
    std::vector<std::unique_ptr<classes::TComponentWatch>> watches;
    for (TCustomForm* form : forms)
        watches.push_back(std::make_unique<classes::TComponentWatch>(form));
    for (auto& w : watches) {
        auto* form = w->As<TCustomForm>();
        if (form != nullptr && !IsDestroying(form)) co_BroadcastToForm(form, message);
    }
}

}
