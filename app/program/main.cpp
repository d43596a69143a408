// korvex: the program's entry: one instance, the application, the windows and the message loop.
#include "app/settings/ProgramLog.h"
#include "app/settings/Settings.h"
#include "app/forms/MainWindow.h"
#include "app/forms/SideForms.h"
#include "leds/iOPCTypes.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/os/SingleInstance.h"
#include "platform/os/TextFiles.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Screen.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/display/Display.h"
#include "skin/engine/sAppIcons.h"
#include "skin/windows/sMessageDlg.h"
#include "skin/windows/sWindowClasses.h"
#include "tray/SimpleTimer.h"
#include "tray/TrayIcon.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <malloc.h>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace korvex;

namespace {

int SignalPipe[2] = {-1, -1};

extern "C" void OnTerminateSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] auto written = write(SignalPipe[1], &byte, 1);
    errno = saved;
}

// SIGTERM and SIGINT only write to a pipe; the message loop reads it and runs the Exit path on its thread.
bool InstallSignalPipe() {
    if (pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction action { };
    action.sa_handler = OnTerminateSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

void WatchSignalPipe() {
    user::MessageEventLoop().Watch(SignalPipe[0], os::feRead, [](int fd, unsigned) {
        char bytes[16];
        while (read(fd, bytes, sizeof bytes) > 0) { }
        if (app::MainForm != nullptr) app::MainForm->ExitFromSignal();
    });
}

}

int Run() {
    os::SetFileLog([](const std::string& line) { app::WLog(line); });   // a settings or history file not written
    app::ReportSettingsFileTrouble();
    user::InitMessageQueue();
    // Torn down in the reverse order: the application, the queue, then the display (before static objects go,
    // the tray's among them).
    base::ScopeExit display([] { user::ResetDisplay(); });
    base::ScopeExit shutdown([] { user::ShutdownMessageQueue(); });
    // The tray's shared windows, should any still be there once the application went, before the queue goes.
    base::ScopeExit trayHandlers([] {
        tray::TTrayIcon::FreeSharedHandler();
        tray::TSimpleTimer::FreeSharedHandler();
    });
    // Without an X server the windows would go to the in-memory display, unseen, unless that was asked for.
    if (user::ShowsOnNoScreen()) {
        std::fprintf(stderr, "korvex: no X display (DISPLAY is not set or the X server cannot be reached)\n");
        return 1;
    }
    // The program's icons, before its first window shows; freed after the last one went.
    const skin::TsAppIcons appIcons;
    classes::InitApplication();
    base::ScopeExit done([] { classes::DoneApplication(); });
    if (!app::ReadTaskbar()) {
        const user::HWND owner = classes::Application->Handle();
        user::SetWindowLongPtr(
            owner, user::GWL_EXSTYLE, user::GetWindowLongPtr(owner, user::GWL_EXSTYLE) | user::WS_EX_TOOLWINDOW);
    }
    os::TSingleInstance instance;
    switch (instance.Acquire()) {
    case os::TInstanceLock::Acquired:
        break;
    case os::TInstanceLock::Running:
        return 0;   // another run of the user's: this one ends silently, before any window
    case os::TInstanceLock::Failed: {
        const std::string text = "Cannot take the single-instance lock: " + instance.ErrorText();
        app::WLog(text);
        std::fprintf(stderr, "korvex: %s\n", text.c_str());
        return 1;
    }
    }

    skin::RegisterSkinWindowClasses();
    skin::InstallSkinnedMessageBoxes();
    leds::InitOPCTypes();
    classes::Application->SetTitle("KORVEX");
    classes::Application->CreateForm(app::MainForm);
    classes::Application->CreateForm(app::Form1);
    classes::Application->CreateForm(app::Form2);
    classes::Application->CreateForm(app::Form4);
    classes::Application->CreateForm(app::Form3);
    classes::Application->CreateForm(app::Form5);
    classes::Application->CreateForm(app::Form6);
    classes::Application->CreateForm(app::Form7);
    classes::Application->CreateForm(app::Form8);
    if (InstallSignalPipe()) WatchSignalPipe();
    user::SetDisplayLostHook([] {
        if (app::MainForm != nullptr) app::MainForm->SaveWithoutDisplay();
    });
    classes::Application->Run();
    return 0;
}

int main() {
    // One node thread per node, each asleep most of the time: an allocator arena per thread would keep every
    // arena's high-water mark resident (half the program's memory on 200 nodes). Two arenas serve them.
    mallopt(M_ARENA_MAX, 2);
    try {
        return Run();
    } catch (const std::exception& error) {
        // Only the start can get here: the message loop hands exceptions to the application's handler.
        std::fprintf(stderr, "korvex: %s\n", error.what());
        return 1;
    }
}
