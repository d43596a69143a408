// TForm3: the client log viewer: the selected node's client log with its keywords coloured above, its unit
// file below, a splitter between them; the tray icon animates while it is open.
#pragma once

#include "app/forms/SideForm.h"

#include <cstddef>
#include <memory>
#include <string>

namespace korvex::classes {
class TTimer;
}

namespace korvex::skin {
class TsMemo;
class TsRichEdit;
}

namespace korvex::app {

class TLogPaneLoader;
class TLogTailReader;

class TForm3 : public TSideForm {
public:
    explicit TForm3(classes::TComponent* owner);
    ~TForm3() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void SetLanguage(int language) override;

    void FormShow(classes::TObject* sender);
    void FormClose(classes::TObject* sender, classes::TCloseAction& action);
    void sSpeedButton1Click(classes::TObject* sender);   // Close
    void Copytoclipbord1Click(classes::TObject* sender);

    // Loads and colours the two files of the node in `folder`; "No data" instead when the host is down.
    void ShowNode(const std::string& folder, bool hostDown);
    void SetFilePauses(int logMs, int unitMs) {   // between tries of a busy file (tests shorten them)
        FLogPauseMs = logMs;
        FUnitPauseMs = unitMs;
    }
    // Address space each slice of the log's load leaves free, or memory counts as run out (tests ask for more).
    void SetRoomKept(std::size_t bytes) { FRoomKept = bytes; }

    // The log pane shows the whole log, or a larger one's last lines within this many bytes (positions in the
    // pane count a line end as two characters and must stay within an int). It goes in slice by slice, input
    // and painting in between, while the log is loading.
    static constexpr std::size_t LogPaneBytes = 0x3FFFFFF0;
    bool LogLoading() const { return FLogReader != nullptr || FLogLoader != nullptr; }
    void LoadSlice();   // the next slice of the log's reading, then of its load (the load timer's tick)

    skin::TsRichEdit* LogPane() const { return FMemoF; }
    skin::TsMemo* UnitPane() const { return FMemoU; }

private:
    void StopLoading();
    // Memory ran out reading or showing the log: the pane lets go of it and says so (and the program log).
    void OutOfMemory(const std::string& logName);

    skin::TsRichEdit* FMemoF = nullptr;
    skin::TsMemo* FMemoU = nullptr;
    int FLogPauseMs = 250;
    int FUnitPauseMs = 100;
    std::size_t FRoomKept;
    std::unique_ptr<TLogTailReader> FLogReader;   // the log read from its file, before the pane takes it
    std::unique_ptr<TLogPaneLoader> FLogLoader;
    std::string FLogName;   // the log shown last
    classes::TTimer* FLoadTimer = nullptr;
};

extern TForm3* Form3;

}
