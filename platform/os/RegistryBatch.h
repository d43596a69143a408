// TRegistryBatch: a scope whose settings changes reach the settings file together, with one write at its end;
// TRegistryHold: a scope whose changes are in the store at once and reach the file with its next write.
#pragma once

#include "platform/os/RegistryStore.h"

namespace korvex::os {

// Opens a batch of the store on the calling thread for the object's life (RegistryStore::BeginUpdate): the
// thread's changes stay in memory, visible to its own reads, and are written at the end of the outermost
// batch. Batches nest; one that ends through an exception still writes what was changed before it.
//
//     {
//         TRegistryBatch batch;
//         ... reads and writes through TRegistry ...
//     }   // one file write here
class TRegistryBatch {
public:
    TRegistryBatch();   // on RegistryStore::Default()
    explicit TRegistryBatch(RegistryStore& store);
    ~TRegistryBatch();   // ends the batch unless Commit did
    TRegistryBatch(const TRegistryBatch&) = delete;
    TRegistryBatch& operator=(const TRegistryBatch&) = delete;

    // Ends the batch now; false with errno when its changes could not be written (they are then dropped).
    // Inside an outer batch it only closes this one and returns true. Later calls give the same answer.
    bool Commit();

private:
    RegistryStore& FStore;
    bool FOpen = true;
    bool FResult = true;
    int FError = 0;
};

// Holds the calling thread's changes for the object's life (RegistryStore::BeginHold): they are in the store at
// once for every reader, and reach the file with its next write (RegistryStore::WriteHeld).
class TRegistryHold {
public:
    TRegistryHold();   // on RegistryStore::Default()
    explicit TRegistryHold(RegistryStore& store);
    ~TRegistryHold();
    TRegistryHold(const TRegistryHold&) = delete;
    TRegistryHold& operator=(const TRegistryHold&) = delete;

private:
    RegistryStore& FStore;
};

}
