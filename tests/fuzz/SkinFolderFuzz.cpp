// Fuzz target: a skin folder loaded and its images painted. The input is "Options.dat", then its other
// files (the pictures it names), each after "\n@@file NAME\n".
#include "platform/classes/TBitmap.h"
#include "platform/classes/TComponent.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include "support/FuzzSupport.h"

#include <sys/stat.h>

using namespace korvex;
using namespace korvex::skin;

namespace {

// Every image through the nine-part and state painters, into a bitmap larger than most pictures' parts.
void PaintImages(TsSkinManager& sm) {
    classes::TBitmap target;
    target.SetPixelFormat(classes::pf24bit);
    target.SetSize(48, 40);
    classes::TBitmap parentCache;
    parentCache.SetPixelFormat(classes::pf24bit);
    parentCache.SetSize(60, 50);
    TsParentCacheInfo parent;
    FillCacheInfo(parent, &parentCache, 3, 2);
    const std::size_t count = std::min<std::size_t>(sm.Masks.size(), 64);
    for (std::size_t i = 0; i < count; ++i) {
        const TsMaskData& mask = sm.Masks[i];
        const classes::TRect rect {2, 3, 45, 38};
        for (int state = 0; state < 2; ++state) {
            PaintNinePartMask(&target, rect, true, false, state, mask, parent);
            if (!mask.Bmp) PaintNinePartMaster(&target, rect, true, state, mask, EmptyCacheInfo);
            DrawMaskStateImage(&target, {1, 1}, state, mask, state + 1);
        }
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<fuzz::TNamedPart> files;
    const std::string_view options = fuzz::SplitFiles(fuzz::AsText(data, size), files);
    fuzz::TScratchFolder root;
    const std::string folder = root / "Fuzz";
    if (mkdir(folder.c_str(), 0700) != 0) fuzz::Fail("cannot make the skin folder", folder);
    fuzz::WriteBytes(folder + "/Options.dat", options);
    for (const auto& file : files)
        fuzz::WriteBytes(folder + "/" + file.Name, file.Bytes);

    classes::TComponent owner(nullptr);
    auto* sm = classes::Create<TsSkinManager>(&owner);
    sm->SetActive(false);
    sm->SetSkinDirectory(root.Path());
    sm->SetSkinName("Fuzz");
    sm->SetActive(true);
    SkinChanging = false;
    PaintImages(*sm);

    // The look-ups the controls make, with names the input may hold.
    for (const char* section : {"BUTTON", "FORM", "GLOBALINFO", "EDIT"}) {
        const int index = sm->GetSkinIndex(section);
        sm->GetMaskIndex(index, section, "BORDERSMASK");
        sm->GetTextureIndex(index, section, "PATTERN");
        sm->GetPatternIndex(index, section, "HOTPATTERN");
    }
    return 0;
}
