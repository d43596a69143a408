// Test support for the main window: the form on the headless display with a test's own settings store and
// program folder, built from settings without starting the monitor, and rows handed over by hand.
#pragma once

#include "support/AppEnvironment.h"
#include "support/SkinControlsKit.h"

#include "app/Settings.h"
#include "app/forms/MainUnit.h"

#include <memory>
#include <string>

namespace korvex::app::test {

// Settings for n nodes named "node1".. with the default columns.
TSettings NodesSettings(int nodes, int language = 1);

// A row as a node's refresh would leave it.
TRowRefresh SampleRefresh(int node, int progress, const std::string& marker = "");

class MainFormTest : public skin::ctltest::SkinControlsTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The main window with the settings' rows, shown; skin -1 leaves it without a skin.
    TMainForm* NewMainForm(const TSettings& settings, int skin = 1);
    // The window's (by default the main window's) picture as a PNG in the test pictures folder; the file's path.
    std::string WritePicture(const std::string& name, classes::TCustomForm* window = nullptr);
    void Wheel(classes::TControl* control, int delta);   // a WM_MOUSEWHEEL over the control

    std::unique_ptr<TAppEnvironment> Env;
    TMainForm* Form = nullptr;
};

}
