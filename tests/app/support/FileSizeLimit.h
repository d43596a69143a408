// Runs a check in a child process whose file size limit stands in for a full disk.
#pragma once

#include <cstdint>
#include <functional>

namespace korvex::app::test {

// Forks; the child ignores SIGXFSZ (a write past the limit fails with EFBIG), sets the limit to `bytes` and
// exits with whether `body` returned true. True when the child did so.
bool WithFileSizeLimit(std::int64_t bytes, const std::function<bool()>& body);

}
