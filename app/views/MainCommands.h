// The main window's commands that need no window: the web pages, the version check, the check-points text
// and the quick change of the node list.
#pragma once

#include "app/farm/FarmLink.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

inline constexpr const char* ProgramWebsite = "https://korvex.ru/";
inline constexpr const char* ProgramMirror = "https://korvex.ca/";
inline constexpr const char* VersionTextName = "ver.txt";   // on the program's web site
inline constexpr int VersionCheckTimeoutMs = 30000;

// The page a web-link menu item opens, by the item's name; "" for an item that is not a web link. The team
// statistics pages end with the team as their last query value.
std::string WebLinkUrl(std::string_view itemName, const std::string& team);

// Opens a page in the registered browser (the desktop's default handler of http, its command started with the
// address). False when there is none or it could not be started; nothing is reported.
bool OpenURL(const std::string& url);

enum class TVersionAnswer { NewVersion, NoNewVersion, InitFailed, CannotOpen };

// A downloaded version text that holds `ver` anywhere means no new version.
TVersionAnswer CompareVersionText(std::string_view downloaded, std::string_view ver);

// The option Ver, "KORVEX 2.6.0.11" written first when it is missing.
std::string ReadVersionOption();

// Fetches site + "ver.txt" afresh and compares it with `ver`. A failed transfer or a status other than 2xx is
// CannotOpen: an error page is never taken for a version text.
TVersionAnswer CheckNewVersion(const std::string& site, const std::string& ver, int timeoutMs);

// The message the check shows: 0 Russian, any other language English.
std::string VersionCheckMessage(TVersionAnswer answer, int language, const std::string& site);

// What the hidden diagnostic view shows of one node.
struct TCheckPoint {
    int Stage = 0;   // the watchdog stage now
    int Saved = 0;   // the last stage the one-second timer saw
    int Repeats = 0;
    TFarmReply Reply;   // of the last status query
    int ServiceState = 0;
};

// Six lines joined by CR LF, each a label and every node's value after one blank.
std::string CheckPointsText(const std::vector<TCheckPoint>& nodes);

}
