// The skinned message dialog on a private Xvfb server in each of our skins: shown modally, answered with a
// real key press through xdotool, and a screenshot of each dialog written beside the test.
#include "support/X11ApplicationFixture.h"
#include "support/X11TestKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/PngCodec.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/Screen.h"
#include "platform/user/display/x11/X11Display.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sMessageDlg.h"
#include "skin/windows/sWindowClasses.h"
#include "skin/stored/EmbeddedSkins.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;

namespace {

// Whether every pixel of the picture has the first one's colour (a window the server has not drawn yet).
bool Uniform(const gdi::Bitmap& shot) {
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
            if (shot.PixelAt(x, y) != shot.PixelAt(0, 0)) return false;
    return true;
}

class MessageDialogOnX11 : public e2e::X11ApplicationFixture {
protected:
    MessageDialogOnX11() : X11ApplicationFixture(800, 600) {}
    void BeforeApplication() override { RegisterSkinWindowClasses(); }
    void WithApplication() override {
        Application->SetTitle("KORVEX");
        Manager = Create<TsSkinManager>(Application);
        Manager->SetActive(false);
        std::string error;
        ASSERT_TRUE(LoadEmbeddedSkins(*Manager, &error)) << error;
    }
    void BeforeDone() override { Application->OnIdle = nullptr; }

    TsSkinManager* Manager = nullptr;
};

}

TEST_F(MessageDialogOnX11, EachSkinShowsTheQuestionAndEscapeAnswersNo) {
    for (const char* skinName : {"MacOS", "LongHorn", "NextStyle", "Office2003"}) {
        SCOPED_TRACE(skinName);
        Manager->SetSkinName(std::string(skinName) + " (internal)");
        Manager->SetActive(true);
        std::string shotFile;
        bool pressed = false;
        const auto started = std::chrono::steady_clock::now();
        Application->OnIdle = [&](TObject*, bool&) {
            auto* dialog = dynamic_cast<TsMessageForm*>(Screen->ActiveForm());
            if (dialog == nullptr || pressed) return;
            // Photographed once the server shows the dialog (its picture is no longer one colour), then
            // answered with a real key.
            user::FlushDisplay();
            const TRect window {dialog->Left(), dialog->Top(), dialog->Left() + dialog->Width(),
                dialog->Top() + dialog->Height()};
            std::unique_ptr<gdi::Bitmap> shot(X11->CaptureScreen(window));
            const bool shown = shot && !Uniform(*shot);
            if (!shown && std::chrono::steady_clock::now() - started < std::chrono::seconds(60)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                user::PostMessage(dialog->Handle(), user::WM_NULL, 0, 0);
                return;
            }
            if (shown) {
                shotFile = testing::TempDir() + "message-dialog-" + skinName + ".png";
                e2e::WriteScreenshot(*shot, shotFile);
            }
            pressed = true;
            e2e::Xdotool(Server.Name(), {"key", "Escape"});
            user::PostMessage(dialog->Handle(), user::WM_NULL, 0, 0);
        };
        const int answer = sMessageDlg("The client on node 3 does not answer.\nRestart it?", mtConfirmation,
            {mbYes, mbNo}, 0);
        Application->OnIdle = nullptr;
        EXPECT_EQ(answer, mrNo);
        EXPECT_FALSE(shotFile.empty());
    }
}
