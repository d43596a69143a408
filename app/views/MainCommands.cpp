// The main window's commands that need no window.
#include "app/views/MainCommands.h"

#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"
#include "platform/os/Http.h"
#include "platform/os/Shell.h"

namespace korvex::app {

namespace {

struct TWebLink {
    std::string_view Item;
    const char* Url;
    bool TeamQuery;   // the team is appended
};

constexpr TWebLink WebLinks[] = {
    {"Projectsummary1", "https://fah-web.stanford.edu/psummary.html", false},
    {"Website1", ProgramWebsite, false},
    {"Website2", ProgramMirror, false},
    {"TeamStats1", "https://folding.extremeoverclocking.com/user_list.php?s=&t=", true},
    {"TeamStats2", "https://fah-web.stanford.edu/t.php?t=", true},
    {"Forum1", "https://foldingforum.org/", false},
    {"Forum2", "https://www.overclockers.com/forums/forumdisplay.php?f=71", false},
    {"Forum3", "https://forums.anandtech.com/forums/distributed-computing.11/", false},
    {"Forum4", "https://korvex.ru/forum/", false},
    {"TrayForum1", "https://foldingforum.org/", false},
};

}

std::string WebLinkUrl(std::string_view itemName, const std::string& team) {
    for (const TWebLink& link : WebLinks)
        if (link.Item == itemName) return link.TeamQuery ? link.Url + team : link.Url;
    return "";
}

bool OpenURL(const std::string& url) {
    return os::OpenInBrowser(url);
}

TVersionAnswer CompareVersionText(std::string_view downloaded, std::string_view ver) {
    return downloaded.find(ver) != std::string_view::npos ? TVersionAnswer::NoNewVersion : TVersionAnswer::NewVersion;
}

std::string ReadVersionOption() {
    return TSettingsKey(OptionsKey).Text("Ver", ProgramVersionText);
}

TVersionAnswer CheckNewVersion(const std::string& site, const std::string& ver, int timeoutMs) {
    const os::THttpResult result = os::HttpGet(site + VersionTextName, timeoutMs);
    if (result.InitFailed) return TVersionAnswer::InitFailed;
    if (!result.Ok) return TVersionAnswer::CannotOpen;   // the message is the only report
    return CompareVersionText(result.Body, ver);
}

std::string VersionCheckMessage(TVersionAnswer answer, int language, const std::string& site) {
    const bool russian = language == 0;
    switch (answer) {
    case TVersionAnswer::NewVersion:
        return russian ? "Обнаружена новая версия.\r\nСкачать с KORVEX вебсайта."
                       : "New version found.\r\nDownload from KORVEX website.";
    case TVersionAnswer::NoNewVersion: return russian ? "Нет новых версий" : "No new version.";
    case TVersionAnswer::InitFailed:
        return russian ? "Невозможно инициализировать Wininet (доступ в сеть)" : "Unable to initialize Wininet";
    case TVersionAnswer::CannotOpen: break;
    }
    return (russian ? "Невозможно открыть URL " : "Cannot open URL ") + site;
}

std::string CheckPointsText(const std::vector<TCheckPoint>& nodes) {
    auto line = [&nodes](const char* label, auto value) {
        std::string text = label;
        for (const TCheckPoint& node : nodes)
            text += " " + value(node);
        return text;
    };
    auto number = [](int TCheckPoint::*field) {
        return [field](const TCheckPoint& node) { return std::to_string(node.*field); };
    };
    return line("Last point      :", number(&TCheckPoint::Stage)) + "\r\n"
        + line("Save point     :", number(&TCheckPoint::Saved)) + "\r\n"
        + line("Repeat count:", number(&TCheckPoint::Repeats)) + "\r\n"
        + line("Servers colors:",
            [](const TCheckPoint& node) { return std::string(node.Reply.Color == FarmColorReplied ? "G" : "R"); })
        + "\r\n"
        + line("Servers status:", [](const TCheckPoint& node) { return std::string(node.Reply.Replied ? "T" : "F"); })
        + "\r\n" + line("FAH status:", number(&TCheckPoint::ServiceState));
}

}
