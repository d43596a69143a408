// TRegistryBatch: a scope whose settings changes reach the settings file together, with one write at its end.
#include "platform/os/RegistryBatch.h"

#include <cerrno>

namespace korvex::os {

TRegistryBatch::TRegistryBatch()
    : TRegistryBatch(RegistryStore::Default()) {
}

TRegistryBatch::TRegistryBatch(RegistryStore& store)
    : FStore(store) {
    FStore.BeginUpdate();
}

TRegistryBatch::~TRegistryBatch() {
    const int error = errno;
    Commit();
    errno = error;
}

bool TRegistryBatch::Commit() {
    if (FOpen) {
        FOpen = false;
        FResult = FStore.EndUpdate();
        FError = FResult ? 0 : errno;
    }
    if (!FResult) errno = FError;
    return FResult;
}

TRegistryHold::TRegistryHold()
    : TRegistryHold(RegistryStore::Default()) {
}

TRegistryHold::TRegistryHold(RegistryStore& store)
    : FStore(store) {
    FStore.BeginHold();
}

TRegistryHold::~TRegistryHold() {
    const int error = errno;
    FStore.EndHold();
    errno = error;
}

}
