// The stock icons: read once from the embedded pictures and kept for the whole run.
#include "platform/classes/SystemIcons.h"

#include "platform/classes/TIcon.h"

#include <map>
#include <memory>

namespace korvex::classes {

namespace {

const char* ResourceName(int id) {
    switch (id) {
    case IDI_APPLICATION:
    case IDI_WINLOGO:
        return "icons/application-32";
    case IDI_HAND:
        return "icons/error-32";
    case IDI_QUESTION:
        return "icons/question-32";
    case IDI_EXCLAMATION:
        return "icons/warning-32";
    case IDI_ASTERISK:
        return "icons/information-32";
    }
    return nullptr;
}

}   // namespace

user::HICON LoadIcon(std::nullptr_t, int id) {
    static std::map<int, std::unique_ptr<TIcon>> loaded;
    if (auto found = loaded.find(id); found != loaded.end()) return found->second->Handle();
    const char* name = ResourceName(id);
    if (name == nullptr) return nullptr;
    auto icon = LoadEmbeddedIcon(name);
    if (!icon) return nullptr;
    return loaded.emplace(id, std::move(icon)).first->second->Handle();
}

}
