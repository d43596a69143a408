// Fuzz target: an LED property file loaded into a round LED or an LED bar (the first byte picks: even round,
// odd bar), the LED painted, and what it saves loaded back into a fresh one unchanged.
#include "leds/iLedBar.h"
#include "leds/iLedRound.h"
#include "platform/base/Exceptions.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TComponent.h"

#include "support/FuzzSupport.h"
#include "support/HeadlessUi.h"

#include <exception>
#include <memory>

using namespace korvex;

namespace {

class TPaintableLedRound : public leds::TiLedRound {
public:
    using TiLedRound::TiLedRound;
    using TiLedRound::iPaintTo;
};

class TPaintableLedBar : public leds::TiLedBar {
public:
    using TiLedBar::TiLedBar;
    using TiLedBar::iPaintTo;
};

template <class Led>
void Check(const std::string& input) {
    fuzz::TScratchFolder folder;
    const std::string loadedPath = folder / "loaded.txt";
    fuzz::WriteBytes(loadedPath, input);
    classes::TComponent owner(nullptr);
    auto* led = classes::Create<Led>(&owner);
    try {
        led->LoadPropertiesFromFile(loadedPath);
    } catch (const base::EConvertError&) {
        // refused at one property; what was set before it stays and must paint and save as well
    }
    if (led->Updating()) fuzz::Fail("a load left the update open");

    classes::TBitmap canvasBitmap;
    canvasBitmap.SetPixelFormat(classes::pf24bit);
    canvasBitmap.SetSize(64, 48);
    led->iPaintTo(canvasBitmap.Canvas());

    // A control loads what it saved, and saves it the same way again.
    const std::string savedPath = folder / "saved.txt";
    led->SavePropertiesToFile(savedPath);
    auto* copy = classes::Create<Led>(&owner);
    try {
        copy->LoadPropertiesFromFile(savedPath);
    } catch (const std::exception& e) {
        fuzz::Fail("a saved property file does not load back", std::string(e.what()) + "\n" + fuzz::ReadBytes(savedPath));
    }
    const std::string resavedPath = folder / "resaved.txt";
    copy->SavePropertiesToFile(resavedPath);
    if (fuzz::ReadBytes(resavedPath) != fuzz::ReadBytes(savedPath))
        fuzz::Fail("a saved property file loads back changed", fuzz::ReadBytes(savedPath));
}

}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartHeadlessUi();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string input(fuzz::AsText(data + 1, size - 1));
    if (data[0] % 2 == 0)
        Check<TPaintableLedRound>(input);
    else
        Check<TPaintableLedBar>(input);
    return 0;
}
