// TacComponentWatch: a free notification that clears the watched pointer.
#include "skin/engine/sComponentWatch.h"

namespace korvex::skin {

TacComponentWatch::TacComponentWatch(classes::TComponent* watched) : TComponent(nullptr), FWatched(watched) {
    if (FWatched != nullptr) FreeNotification(FWatched);
}

TacComponentWatch::~TacComponentWatch() {
    if (FWatched != nullptr) RemoveFreeNotification(FWatched);
}

void TacComponentWatch::Notification(classes::TComponent* component, classes::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == classes::opRemove && component == FWatched) FWatched = nullptr;
}

}
