// The four skins stored with the main window, read from the text embedded in the program.
#include "skin/stored/EmbeddedSkins.h"

#include "platform/classes/Resources.h"
#include "platform/classes/TReader.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStoredSkins.h"

namespace korvex::skin {

std::string_view EmbeddedStoredSkins() {
    const auto bytes = classes::FindEmbeddedResource(StoredSkinsResource);
    if (!bytes) return {};
    return {reinterpret_cast<const char*>(bytes->data()), bytes->size()};
}

bool LoadEmbeddedSkins(TsSkinManager& manager, std::string* error) {
    const std::string_view text = EmbeddedStoredSkins();
    if (text.empty()) {
        if (error != nullptr) *error = "the stored skins are not in the program";
        return false;
    }
    RegisterStoredSkinClasses();
    std::string message;
    if (!classes::TryReadRootComponent(&manager, text, nullptr, message)) {
        if (error != nullptr) *error = message;
        return false;
    }
    return true;
}

}
