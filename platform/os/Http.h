// HttpGet: one HTTP(S) GET with a time-out, the body in memory.
#pragma once

#include <cstddef>
#include <string>

namespace korvex::os {

inline constexpr std::size_t HttpBodyCap = 16u << 20;   // larger bodies fail rather than fill memory
inline constexpr int HttpMaxRedirects = 5;

struct THttpResult {
    bool Ok = false;
    long Status = 0;   // the final HTTP status, 0 when no answer came
    std::string Body;   // the body (also with a failing status); empty when the transfer failed
    std::string Error;   // "" on success, else the text shown to the user (below)
    std::string Detail;   // why, for the log: the transfer's own error text, or the status
    bool InitFailed = false;   // the HTTP library could not start: Error is "Unable to initialize Wininet"
};

// Fetches url afresh (no cache) within timeoutMs in all. Proxies come from the environment, never for
// loopback; redirects are followed (at most HttpMaxRedirects, http and https only). Fails with
// Error "Cannot open URL " + url when the transfer fails, the status is not 2xx, or the body passes the cap.
// Thread-safe; blocks the calling thread.
THttpResult HttpGet(const std::string& url, int timeoutMs);

}
