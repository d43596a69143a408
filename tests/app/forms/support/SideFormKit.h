// Test support for the side windows: a main window with a few nodes for them to read, the side window shown
// in one of our skins, its picture, and actions run inside a modal window's loop.
#pragma once

#include "support/MainFormKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"

#include <functional>
#include <string>

namespace korvex::app::test {

class SideFormTest : public MainFormTest {
protected:
    void TearDown() override;
    // The main window (not shown) with the settings' nodes, in skin `skin` (-1: none).
    TMainForm* NewMain(const TSettings& settings, int skin = 1);
    // A side window of class T owned by the application, registered for freeing at the end.
    template <class T>
    T* NewSide() {
        T* form = classes::Create<T>(classes::Application);
        FSides.push_back(form);
        return form;
    }
    // The window's picture (frame included) as a PNG in the test pictures folder; the file's path.
    std::string WriteFormPicture(classes::TForm* form, const std::string& name);
    // Runs `action` on the active modal window as soon as one is up.
    static void WhenModal(std::function<void(classes::TCustomForm*)> action);

private:
    std::vector<classes::TForm*> FSides;
};

}
