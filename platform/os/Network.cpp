// Local address through getifaddrs, names through getaddrinfo, the host probe through a timed connect.
#include "platform/os/Network.h"

#include "platform/os/SocketConnect.h"

#include <arpa/inet.h>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ifaddrs.h>
#include <mutex>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

namespace korvex::os {

namespace {

int PortFromEnv(const char* name, int fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    int port = 0;
    const char* end = text + std::strlen(text);
    auto [rest, error] = std::from_chars(text, end, port);
    if (error != std::errc() || rest != end || port < 1 || port > 65535) return fallback;
    return port;
}

std::mutex OverrideMutex;
std::string LocalIPOverride;
std::function<std::string(const std::string&)> NameLookUpOverride;

std::string Dotted(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    return inet_ntop(AF_INET, &address, text, sizeof text) ? text : "";
}

}

int FarmPort() {
    return PortFromEnv("KORVEX_FARM_PORT", DefaultFarmPort);
}

int FarmServicePort() {
    return PortFromEnv("KORVEX_FARM_SERVICE_PORT", FarmPort());
}

int SmbPort() {
    return PortFromEnv("KORVEX_SMB_PORT", DefaultSmbPort);
}

void SetLocalIPOverride(const std::string& ip) {
    std::lock_guard lock(OverrideMutex);
    LocalIPOverride = ip;
}

void SetNameLookUpOverride(std::function<std::string(const std::string& name)> lookUp) {
    std::lock_guard lock(OverrideMutex);
    NameLookUpOverride = std::move(lookUp);
}

std::string LocalIP() {
    {
        std::lock_guard lock(OverrideMutex);
        if (!LocalIPOverride.empty()) return LocalIPOverride;
    }
    std::string result = "127.0.0.1";
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return result;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        if (!(entry->ifa_flags & IFF_UP) || (entry->ifa_flags & IFF_LOOPBACK)) continue;
        std::string text = Dotted(reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr);
        if (text.empty() || text.rfind("127.", 0) == 0) continue;
        result = text;
        break;
    }
    freeifaddrs(list);
    return result;
}

std::string NameToIP(const std::string& name) {
    if (name.empty()) return "";
    in_addr numeric {};
    if (inet_pton(AF_INET, name.c_str(), &numeric) == 1) return Dotted(numeric);   // no look-up needed
    std::function<std::string(const std::string&)> lookUp;
    {
        std::lock_guard lock(OverrideMutex);
        lookUp = NameLookUpOverride;
    }
    if (lookUp) return lookUp(name);
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found) return "";
    std::string result;
    for (addrinfo* entry = found; entry && result.empty(); entry = entry->ai_next)
        if (entry->ai_family == AF_INET) result = Dotted(reinterpret_cast<sockaddr_in*>(entry->ai_addr)->sin_addr);
    freeaddrinfo(found);
    return result;
}

bool HostAnswers(const std::string& host, int timeoutMs) {
    std::string ip = NameToIP(host);
    if (ip.empty()) return false;
    int error = 0;
    int fd = detail::ConnectTcp(ip, SmbPort(), timeoutMs, error);
    if (fd < 0) return false;
    close(fd);
    return true;
}

std::string HostOfUncPath(const std::string& path) {
    if (path.size() < 3 || path[0] != '\\' || path[1] != '\\') return "";
    size_t end = path.find_first_of("\\/", 2);
    return path.substr(2, end == std::string::npos ? std::string::npos : end - 2);
}

}
