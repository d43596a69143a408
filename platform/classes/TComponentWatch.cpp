// TComponentWatch: a free notification that clears the watched pointer.
#include "platform/classes/TComponentWatch.h"

namespace korvex::classes {

TComponentWatch::TComponentWatch(TComponent* watched) : TComponent(nullptr), FWatched(watched) {
    if (FWatched != nullptr) FreeNotification(FWatched);
}

TComponentWatch::~TComponentWatch() {
    if (FWatched != nullptr) RemoveFreeNotification(FWatched);
}

void TComponentWatch::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FWatched) FWatched = nullptr;
}

}
