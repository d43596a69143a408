// A registered browser for tests: a desktop entry that a temporary mimeapps.list names the default handler of
// http, whose program writes the arguments it was started with into a record file.
#pragma once

#include "support/TempFolder.h"

#include <memory>
#include <string>
#include <vector>

namespace korvex::os::filetest {

// Points the XDG folders, HOME and the desktop's name into a temporary folder for the scope (the desktop taken
// as a generic one), so that the look-up of the default browser sees only what the test writes there.
class FakeBrowser {
public:
    // `exec`: the entry's Exec line, "%R" standing for the recording program (default "%R %u"). Without
    // `registered` the entry is written but no mimeapps.list names it.
    explicit FakeBrowser(const std::string& exec = "%R %u", bool registered = true);
    ~FakeBrowser();

    std::string Recorder() const;   // the recording program
    // The arguments the program was started with, one a line; "" when it did not run within the wait (bounded).
    std::string WaitForRecord(int timeoutMs = 10000) const;
    std::string Record() const;   // as it is now

private:
    TempFolder FFolder {"korvex-browser"};
    std::vector<std::unique_ptr<EnvOverride>> FEnvironment;
};

}
