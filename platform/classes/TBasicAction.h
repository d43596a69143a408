// TBasicAction, TCustomAction: a command a control can be linked to; a change reaches every linked control.
#pragma once

#include "platform/classes/TComponent.h"

#include <functional>
#include <string>
#include <vector>

namespace korvex::classes {

class TBasicAction;

// One client's tie to an action: OnChange runs when the action's properties change. The action clears the
// tie when it is freed; the tie leaves the action when it is freed.
class TBasicActionLink {
public:
    TBasicActionLink() = default;
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;
    ~TBasicActionLink() { SetAction(nullptr); }

    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* value);
    bool Execute();   // the action's Execute; false without an action

    std::function<void(TBasicAction* action)> OnChange;

private:
    friend class TBasicAction;
    TBasicAction* FAction = nullptr;
};

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* owner) : TComponent(owner) { }
    ~TBasicAction() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual bool Execute();   // OnExecute; false when there is none

    TNotifyEvent OnExecute;

protected:
    void Change();   // tells every link

private:
    friend class TBasicActionLink;
    std::vector<TBasicActionLink*> FClients;
};

class TCustomAction : public TBasicAction {
public:
    explicit TCustomAction(TComponent* owner) : TBasicAction(owner) { }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    bool Execute() override;   // nothing while disabled

private:
    template <class T>
    void Assign(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Change();
    }

    std::string FCaption;
    bool FEnabled = true;
    bool FChecked = false;
    std::string FHint;
    int FImageIndex = -1;
    bool FVisible = true;
};

}
