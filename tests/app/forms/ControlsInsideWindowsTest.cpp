// Every window of the program in each of our four skins and both languages: every control that shows lies
// inside its parent and inside the window's client area, so no border cuts it; each case written as a picture.
#include "support/SideFormKit.h"

#include "app/forms/AboutWindow.h"
#include "app/forms/CoresDiagramWindow.h"
#include "app/forms/HistoryFindWindow.h"
#include "app/forms/HistoryWindow.h"
#include "app/forms/LogViewerWindow.h"
#include "app/forms/ManualProjectWindow.h"
#include "app/forms/NodeInformationWindow.h"
#include "app/forms/OptionsWindow.h"
#include "app/settings/OptionsNodes.h"
#include "platform/classes/TScrollBox.h"
#include "platform/classes/TPageControl.h"
#include "platform/classes/TSpeedButton.h"

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace korvex::app::test {

using namespace classes;

namespace {

struct TStoredSkin {
    int Index;
    const char* Name;
};
constexpr TStoredSkin StoredSkins[] = {{0, "MacOS"}, {1, "LongHorn"}, {2, "NextStyle"}, {3, "Office2003"}};

struct TScreenRect {
    int Left, Top, Right, Bottom;
    bool Holds(const TScreenRect& r) const {
        return r.Left >= Left && r.Top >= Top && r.Right <= Right && r.Bottom <= Bottom;
    }
};

TScreenRect ClientOnScreen(const TWinControl* control) {
    const TPoint origin = control->ClientToScreen(TPoint {0, 0});
    return {origin.x, origin.y, origin.x + control->ClientWidth(), origin.y + control->ClientHeight()};
}

TScreenRect BoundsOnScreen(const TControl* control) {
    const TPoint origin = control->Parent()->ClientToScreen(TPoint {control->Left(), control->Top()});
    return {origin.x, origin.y, origin.x + control->Width(), origin.y + control->Height()};
}

std::string Describe(const TControl* control, const TScreenRect& r, const TScreenRect& room) {
    std::ostringstream text;
    text << control->Name() << " (" << control->ClassType()->Name() << ") [" << r.Left << "," << r.Top << " - "
         << r.Right << "," << r.Bottom << "] outside " << (control->Parent() ? control->Parent()->Name() : "")
         << " [" << room.Left << "," << room.Top << " - " << room.Right << "," << room.Bottom << "]";
    return text.str();
}

// The showing controls under `parent` that stick out of their parent's client area or the window's. The
// contents of scroll boxes scroll, so only the boxes themselves are measured.
void CollectOutside(const TWinControl* parent, const TScreenRect& window, std::vector<std::string>& outside,
    std::vector<TSpeedButton*>* buttons) {
    const TScreenRect room = ClientOnScreen(parent);
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        if (!control->Visible()) continue;
        const TScreenRect r = BoundsOnScreen(control);
        if (!room.Holds(r)) outside.push_back(Describe(control, r, room));
        else if (!window.Holds(r)) outside.push_back(Describe(control, r, window) + " (the window)");
        if (auto* button = dynamic_cast<TSpeedButton*>(control); button != nullptr && buttons != nullptr)
            buttons->push_back(button);
        auto* inner = dynamic_cast<TWinControl*>(control);
        if (inner == nullptr || (dynamic_cast<TScrollingWinControl*>(inner) && !dynamic_cast<TCustomForm*>(inner)))
            continue;
        CollectOutside(inner, window, outside, buttons);
    }
}

TSettings WindowSettings(int language) {
    TSettings settings = NodesSettings(3, language);
    settings.Nodes[1].Get = true;
    return settings;
}

class ControlsInsideWindows : public SideFormTest {
protected:
    // Shows the window `make` returns for each skin and language, each page of its page controls in turn, and
    // checks what shows.
    void CheckEverywhere(const std::string& name, const std::function<TForm*(int language, int skin)>& make) {
        for (const TStoredSkin& skin : StoredSkins)
            for (int language = 0; language < 2; ++language) {
                TForm* form = make(language, skin.Index);
                Pump();
                CheckPages(form, name + "-" + skin.Name + (language == 0 ? "-ru" : "-en"));
                TearDown();
                SetUp();
            }
    }

    // A side window of class T over the hidden main window; `ready` prepares both before the window shows.
    template <class T>
    void CheckSide(const std::string& name, const std::function<void(TMainForm*, T*)>& ready = {}) {
        CheckEverywhere(name, [this, ready](int language, int skin) -> TForm* {
            TMainForm* main = NewMain(WindowSettings(language), skin);
            T* form = NewSide<T>();
            if (ready) ready(main, form);
            form->Show();
            return form;
        });
    }

private:
    void CheckPages(TForm* form, const std::string& caseName) {
        std::vector<TPageControl*> pageControls;
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* pages = dynamic_cast<TPageControl*>(form->Components(i))) pageControls.push_back(pages);
        const int tabs = pageControls.empty() ? 1 : pageControls.front()->PageCount();
        for (int tab = 0; tab < tabs; ++tab) {
            if (!pageControls.empty()) pageControls.front()->SetActivePageIndex(tab);
            const std::string name = tabs > 1 ? caseName + "-" + std::to_string(tab + 1) : caseName;
            std::vector<std::string> outside;
            std::vector<TSpeedButton*> buttons;
            CollectOutside(form, ClientOnScreen(form), outside, &buttons);
            for (const std::string& line : outside)
                ADD_FAILURE() << name << ": " << line;
            // The picture shows the caption or glyph of every button of the window's own.
            const TPicture picture(WriteFormPicture(form, "inside-" + name), form);
            ASSERT_TRUE(picture.Valid()) << name;
            for (TSpeedButton* button : buttons) {
                if (button->Owner() != form) continue;
                EXPECT_TRUE(picture.ShowsText(button, 2, 6)) << name << " " << button->Name();
            }
        }
    }
};

}

TEST_F(ControlsInsideWindows, TheMainWindow) {
    CheckEverywhere("main", [this](int language, int skin) -> TForm* {
        TMainForm* form = NewMainForm(WindowSettings(language), skin);
        for (int i = 0; i < 3; ++i)
            form->RowRefreshed(SampleRefresh(i, 20 + 30 * i));
        return form;
    });
}

TEST_F(ControlsInsideWindows, TheOptionsWindow) {
    CheckEverywhere("options", [this](int language, int skin) -> TForm* {
        const TSettings settings = WindowSettings(language);
        StoreOptionsNodes(settings.Nodes);
        Env->Store(OptionsKey, "Language", os::MakeDwordValue(std::uint32_t(language)));
        NewMain(settings, skin);
        TForm1* form = NewSide<TForm1>();
        form->Show();
        return form;
    });
}

TEST_F(ControlsInsideWindows, TheAboutWindow) {
    CheckSide<TForm2>("about");
}

TEST_F(ControlsInsideWindows, TheCoresDiagramWindow) {
    CheckSide<TForm4>("diagram");
}

TEST_F(ControlsInsideWindows, TheLogViewerWindow) {
    CheckSide<TForm3>("logviewer", [](TMainForm* main, TForm3* form) {
        main->RowRefreshed(SampleRefresh(0, 20));
        form->SetFilePauses(0, 0);
    });
}

TEST_F(ControlsInsideWindows, TheHistoryWindow) {
    CheckSide<TForm5>("history", [this](TMainForm*, TForm5*) { NewSide<TForm6>(); });
}

TEST_F(ControlsInsideWindows, TheFindWindow) {
    CheckSide<TForm6>("find", [this](TMainForm*, TForm6*) { NewSide<TForm5>(); });
}

TEST_F(ControlsInsideWindows, TheManualProjectInputWindow) {
    CheckSide<TForm7>("manual");
}

TEST_F(ControlsInsideWindows, TheNodeInformationWindow) {
    CheckSide<TForm8>("nodeinfo", [](TMainForm* main, TForm8* form) {
        main->RowRefreshed(SampleRefresh(1, 40));
        form->SetNode(1);
    });
}

}
