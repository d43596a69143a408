// HttpGet through libcurl.
#include "platform/os/Http.h"

#include <cstdlib>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace korvex::os {

namespace {

bool GlobalInit() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ready;
}

struct Transfer {
    std::string* Body;
    bool TooLarge = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    size_t bytes = size * count;
    if (transfer->Body->size() + bytes > HttpBodyCap) {
        transfer->TooLarge = true;
        return 0;   // aborts the transfer
    }
    transfer->Body->append(data, bytes);
    return bytes;
}

// Loopback never goes through a proxy; what the environment already exempts stays exempt (the option
// replaces the environment's list rather than adding to it).
std::string NoProxyList() {
    std::string list = "localhost,127.0.0.1,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            list += ',';
            list += value;
            break;
        }
    }
    return list;
}

}

THttpResult HttpGet(const std::string& url, int timeoutMs) {
    THttpResult result;
    if (!GlobalInit()) {
        result.InitFailed = true;
        result.Error = "Unable to initialize Wininet";
        return result;
    }
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        result.InitFailed = true;
        result.Error = "Unable to initialize Wininet";
        return result;
    }
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr, &curl_slist_free_all);
    headers.reset(curl_slist_append(headers.release(), "Cache-Control: no-cache"));
    headers.reset(curl_slist_append(headers.release(), "Pragma: no-cache"));

    char errorText[CURL_ERROR_SIZE] = {};
    Transfer transfer {&result.Body};
    std::string noProxy = NoProxyList();
    long timeout = timeoutMs > 0 ? timeoutMs : 1;
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, timeout);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, timeout);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, static_cast<long>(HttpMaxRedirects));
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_NOPROXY, noProxy.c_str());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "KORVEX");
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);

    CURLcode code = curl_easy_perform(handle);
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &result.Status);
    if (code != CURLE_OK) {
        result.Detail = transfer.TooLarge ? "body larger than " + std::to_string(HttpBodyCap) + " bytes"
            : *errorText                  ? errorText
                                          : curl_easy_strerror(code);
    } else if (result.Status < 200 || result.Status > 299) {
        result.Detail = "HTTP status " + std::to_string(result.Status);
    } else {
        result.Ok = true;
        return result;
    }
    if (code != CURLE_OK) result.Body.clear();   // only part of it came
    result.Error = "Cannot open URL " + url;
    return result;
}

}
