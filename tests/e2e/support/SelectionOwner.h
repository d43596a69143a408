// Another program's side of a selection transfer with raw Xlib: the data whole in one property, or by INCR in
// pieces as large lists and pastes are handed over.
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <string>
#include <thread>
#include <utility>

union _XEvent;
struct _XDisplay;

namespace korvex::e2e {

// Answers the selection requests of one connection with the same data. Pieces of `piece` bytes, INCR whenever
// the data is longer than one piece (0: always whole); each piece waits `pauseMs` before it is written.
class SelectionAnswers {
public:
    SelectionAnswers(_XDisplay* display, std::string data, std::size_t piece, int pauseMs = 0);

    // Takes a SelectionRequest or the PropertyNotify that asks for the next piece; false for other events.
    bool Handle(const _XEvent& event);
    bool Asked() const { return FAsked; }

private:
    void WritePiece(unsigned long requestor, unsigned long property, unsigned long type, std::size_t& offset);

    _XDisplay* FDisplay;
    std::string FData;
    std::size_t FPiece;
    int FPauseMs;
    bool FAsked = false;
    struct Transfer {
        unsigned long Type = 0;
        std::size_t Offset = 0;
    };
    std::map<std::pair<unsigned long, unsigned long>, Transfer> FTransfers;   // by requestor window and property
};

// A program owning CLIPBOARD with text, on a connection and thread of its own, until it is destroyed.
class ClipboardOwner {
public:
    ClipboardOwner(const std::string& displayName, std::string text, std::size_t piece, int pauseMs = 0);
    ~ClipboardOwner();
    bool Owning() const { return FOwning; }

private:
    void Serve(std::string text, std::size_t piece, int pauseMs);

    _XDisplay* FDisplay = nullptr;
    unsigned long FWindow = 0;
    std::atomic<bool> FOwning {false};
    std::atomic<bool> FStop {false};
    std::thread FThread;
};

}
