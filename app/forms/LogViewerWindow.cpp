// TForm3: the client log viewer.
#include "app/forms/LogViewerWindow.h"

#include "app/forms/LogPaneLoader.h"
#include "app/settings/ProgramLog.h"
#include "app/nodes/LogTail.h"
#include "app/nodes/NodeFiles.h"
#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"
#include "app/forms/MainWindow.h"
#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TMethodTable.h"
#include "platform/classes/TStringGrid.h"
#include "platform/classes/TTimer.h"
#include "platform/os/Files.h"
#include "platform/user/Timers.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRichEdit.h"
#include "tray/TrayIcon.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <malloc.h>
#include <new>

namespace korvex::app {

using namespace classes;

TForm3* Form3 = nullptr;

namespace {

constexpr TControlCaption Captions[] = {
    {"sSpeedButton1", "Закрыть", "Close"},
    {"Copytoclipbord1", "Копировать в буфер", "Copy to clipbord"},
};

constexpr unsigned ViewerCycleMs = 400;
constexpr unsigned NormalCycleMs = 150;

// A long log goes into its pane in slices of this much work, one a timer tick: input and painting between.
constexpr auto SliceOfWork = std::chrono::milliseconds(40);

// The window's and panes' sizes in Options, with their defaults.
struct TSizeValue {
    const char* Name;
    int TSettings::*Field;
};
constexpr TSizeValue SizeValues[] = {{"F3H", &TSettings::F3H}, {"F3W", &TSettings::F3W}, {"F3P1H", &TSettings::F3P1H},
    {"F3P1W", &TSettings::F3P1W}, {"F3P2H", &TSettings::F3P2H}, {"F3P2W", &TSettings::F3P2W}};

// A unit file is a few lines; of a larger one the pane shows this much.
constexpr std::int64_t UnitPaneBytes = std::int64_t(1) << 20;

// A file of the node loaded into a pane's lines (up to UnitPaneBytes); a missing file leaves the pane empty.
bool LoadPane(TStrings* lines, const std::string& path, int pauseMs) {
    os::TRetryOptions options;
    options.PauseMs = pauseMs;
    std::string text;
    auto load = [&text](os::TFileStream& stream, int& error) {
        text.assign(std::size_t(UnitPaneBytes), '\0');
        std::int64_t got = 0;
        for (std::int64_t n = 1; n > 0 && got < UnitPaneBytes; got += n)
            if ((n = stream.Read(text.data() + got, UnitPaneBytes - got)) < 0) {
                error = EIO;
                return false;
            }
        text.resize(std::size_t(got));
        return true;
    };
    if (!os::FileExists(path) || !os::ReadRetrying(path, load, options).Loaded) return false;
    lines->SetText(text);
    return true;
}

// The log as the pane takes it, read in slices: the whole file, or a larger one's last lines within
// LogPaneBytes. Nothing when there is no log or it cannot be opened.
std::unique_ptr<TLogTailReader> OpenLog(const std::string& path, int pauseMs) {
    os::TRetryOptions options;
    options.PauseMs = pauseMs;
    if (!os::FileExists(path)) return nullptr;
    auto reader = std::make_unique<TLogTailReader>();
    if (!reader->Open(path, TForm3::LogPaneBytes, options)) return nullptr;
    return reader;
}

}

TForm3::TForm3(TComponent* owner)
    : TSideForm(owner, {"Просмотр FAHLog", "View FAHLog files"})
    , FRoomKept(TLogPaneLoader::RoomKept) {
    TMethodTable methods;
    methods.Add("FormShow", this, &TForm3::FormShow)
        .Add("FormClose", this, &TForm3::FormClose)
        .Add("sSpeedButton1Click", this, &TForm3::sSpeedButton1Click)
        .Add("Copytoclipbord1Click", this, &TForm3::Copytoclipbord1Click)
        .Field("MemoF", FMemoF)
        .Field("MemoU", FMemoU);
    RegisterMenuClasses();
    ReadFormResource("Unit3", methods);
    KORVEX_ASSERT(FMemoF && FMemoU);
    FLoadTimer = Create<TTimer>(this);
    FLoadTimer->SetEnabled(false);
    FLoadTimer->SetInterval(user::USER_TIMER_MINIMUM);
    FLoadTimer->OnTimer = [this](TObject*) { LoadSlice(); };
    if (Form3 == nullptr) Form3 = this;
}

TForm3::~TForm3() {
    if (Form3 == this) Form3 = nullptr;
}

TClass TForm3::StaticClass() {
    static const TClassInfo info = MakeClass<TForm3, TSideForm>("TForm3");
    return &info;
}

void TForm3::SetLanguage(int language) {
    TSideForm::SetLanguage(language);
    TranslateCaptions(Captions, int(std::size(Captions)), language);
}

void TForm3::FormShow(TObject*) {
    if (MainForm != nullptr) {
        tray::TTrayIcon* tray = MainForm->TrayIcon();
        tray->SetIconList(MainForm->ViewerIcons());
        tray->SetCycleInterval(ViewerCycleMs);
        tray->SetCycleIcons(true);
    }
    TSettings sizes;
    {
        TSettingsKey options(OptionsKey);
        for (const TSizeValue& value : SizeValues)
            sizes.*value.Field = options.Integer(value.Name, sizes.*value.Field);
    }
    SetBounds(Left(), Top(), sizes.F3W, sizes.F3H);
    FMemoF->SetHeight(sizes.F3P1H);
    FMemoU->SetHeight(sizes.F3P2H);

    const int row = MainForm != nullptr ? MainForm->Grid()->Row() : -1;
    if (MainForm == nullptr || row < 0 || row >= MainForm->RowCount()) {
        ShowNode("", true);
        return;
    }
    const bool hostDown = MainForm->NodeStatus(row) == TNodeStatus::HostDown;
    ShowNode(MainForm->Settings().Nodes.at(row).Path, hostDown);
}

void TForm3::ShowNode(const std::string& folder, bool hostDown) {
    const std::string logName = NodeFilePath(folder, ClientLogName);
    const std::string unitName = NodeFilePath(folder, UnitInfoName);
    SetCaption(logName + "  " + unitName);
    StopLoading();
    FMemoF->Lines()->Clear();
    FMemoU->Lines()->Clear();
    ::malloc_trim(0);   // the last log's memory goes back before the next is read, so a reopening does not grow
    FMemoF->SelAttributes()->SetColor(clWindowText);
    if (hostDown) {
        SetCaption(ProgramLanguage() == 0 ? "Нет данных" : "No data");
        return;
    }
    FLogName = logName;
    try {
        FLogReader = OpenLog(logName, FLogPauseMs);
        LoadPane(FMemoU->Lines(), unitName, FUnitPauseMs);
    } catch (const std::bad_alloc&) {
        OutOfMemory(logName);
        return;
    }
    LoadSlice();
}

void TForm3::LoadSlice() {
    // The next slice a tick after this one ends, not at once: the window is painted and shown between.
    FLoadTimer->SetEnabled(false);
    const auto until = std::chrono::steady_clock::now() + SliceOfWork;
    auto left = [until] {
        return std::max(until - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration(0));
    };
    try {
        // The file read first; the pane takes it in the rest of the slice that read its end.
        if (FLogReader != nullptr) {
            if (!FLogReader->Step(left())) {
                FLoadTimer->SetEnabled(true);
                return;
            }
            const std::size_t begin = FLogReader->LinesStart();
            auto text = std::make_shared<const std::string>(FLogReader->TakeText());
            FLogReader.reset();
            FLogLoader = std::make_unique<TLogPaneLoader>(FMemoF, std::move(text), FRoomKept, begin);
        }
        if (FLogLoader == nullptr || FLogLoader->Step(left())) {
            StopLoading();
            return;
        }
    } catch (const std::bad_alloc&) {
        OutOfMemory(FLogName);
        return;
    }
    FLoadTimer->SetEnabled(true);
}

void TForm3::OutOfMemory(const std::string& logName) {
    // What was taken goes back first, so that the message itself has room.
    StopLoading();
    FMemoF->Lines()->Clear();
    ::malloc_trim(0);
    const std::string message = "Not enough memory to show the log " + logName + ": it is not shown.";
    FMemoF->Lines()->SetText(message);
    WLog("Log viewer: " + message);
}

void TForm3::StopLoading() {
    if (FLoadTimer != nullptr) FLoadTimer->SetEnabled(false);
    FLogReader.reset();
    FLogLoader.reset();
}

void TForm3::FormClose(TObject*, TCloseAction&) {
    StopLoading();
    if (MainForm != nullptr) {
        tray::TTrayIcon* tray = MainForm->TrayIcon();
        tray->SetIconList(MainForm->NormalIcons());
        tray->SetCycleInterval(NormalCycleMs);
        tray->SetCycleIcons(false);
    }
    TSettingsKey options(OptionsKey);
    options.WriteInteger("F3H", Height());
    options.WriteInteger("F3W", Width());
    options.WriteInteger("F3P1H", FMemoF->Height());
    options.WriteInteger("F3P1W", FMemoF->Width());
    options.WriteInteger("F3P2H", FMemoU->Height());
    options.WriteInteger("F3P2W", FMemoU->Width());
}

void TForm3::sSpeedButton1Click(TObject*) {
    Close();
}

void TForm3::Copytoclipbord1Click(TObject*) {
    FMemoF->CopyToClipboard();
}

}
