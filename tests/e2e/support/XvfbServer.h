// A private Xvfb server for end-to-end tests: started on a free display number, stopped at the end.
#pragma once

#include <string>
#include <sys/types.h>

namespace korvex::e2e {

class XvfbServer {
public:
    // Starts Xvfb with one screen of the given size (24-bit) and waits until it accepts connections.
    explicit XvfbServer(int width = 1024, int height = 768);
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer();

    bool Running() const { return !FName.empty(); }
    const std::string& Name() const { return FName; }   // ":N", for $DISPLAY
    const std::string& Error() const { return FError; }

private:
    pid_t FPid = -1;
    std::string FName;
    std::string FError;
};

}
