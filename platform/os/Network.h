// Addresses and ports: the local IPv4 address, name look-up, the farm and SMB ports, the host probe.
#pragma once

#include <functional>
#include <string>

namespace korvex::os {

inline constexpr int DefaultFarmPort = 138;
inline constexpr int DefaultSmbPort = 445;

// The farm link's port: $KORVEX_FARM_PORT when it holds a port number (1 to 65535), else 138.
int FarmPort();
// The port farm messages are sent to: $KORVEX_FARM_SERVICE_PORT when it holds a port number, else FarmPort().
// Only a control service on this same machine needs it (it cannot listen on the port the program listens on).
int FarmServicePort();
// The port the host probe connects to: $KORVEX_SMB_PORT when it holds a port number, else 445.
int SmbPort();

// The first IPv4 address of an interface that is up and not loopback, dotted; "127.0.0.1" when there is none.
std::string LocalIP();
// Makes LocalIP answer ip (for tests); an empty text returns to asking the system.
void SetLocalIPOverride(const std::string& ip);

// The first IPv4 address of a host name (or a dotted address), dotted; "" when it cannot be resolved.
std::string NameToIP(const std::string& name);
// Makes NameToIP ask `lookUp` for names (for tests: a look-up that hangs, or answers at once); an empty
// function returns to asking the system. Dotted addresses are never looked up.
void SetNameLookUpOverride(std::function<std::string(const std::string& name)> lookUp);

// Whether a host answers: a TCP connect to its SMB port (SmbPort()) within timeoutMs. The host is a name or
// a dotted address; one that does not resolve does not answer.
bool HostAnswers(const std::string& host, int timeoutMs);

// The host of a UNC path: "\\box\fah\x" gives "box". "" when the path does not start with two backslashes.
std::string HostOfUncPath(const std::string& path);

}
