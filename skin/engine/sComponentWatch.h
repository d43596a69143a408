// TacComponentWatch: tells whether a component still exists after a call that may have freed it.
#pragma once

#include "platform/classes/TComponent.h"

namespace korvex::skin {

// Asks the watched component for a free notification and forgets it when it is freed; a watch that is freed
// first takes its request back. Make one on the stack around a call that may free the component, then test
// Alive() (or Get()) before touching it again.
class TacComponentWatch : public classes::TComponent {
public:
    explicit TacComponentWatch(classes::TComponent* watched);
    ~TacComponentWatch() override;

    bool Alive() const { return FWatched != nullptr; }
    // The watched component; nullptr once it is freed. Being destroyed still counts as alive.
    classes::TComponent* Get() const { return FWatched; }
    template <class T>
    T* As() const {
        return static_cast<T*>(FWatched);
    }

protected:
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    classes::TComponent* FWatched = nullptr;
};

}
