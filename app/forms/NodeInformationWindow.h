// TForm8: the node information window: one node's current, cached and backed-up units with their lamps,
// and the commands that act on that node.
#pragma once

#include "app/nodes/NodeReading.h"
#include "app/forms/SideForm.h"

#include <map>
#include <memory>

namespace korvex::leds {
class TiLedRound;
}
namespace korvex::skin {
class TsGauge;
class TsLabel;
}

namespace korvex::app {

struct TUnitInfoView;

class TForm8 : public TSideForm {
public:
    explicit TForm8(classes::TComponent* owner);
    ~TForm8() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    int Node() const { return FNode; }
    void SetNode(int node) { FNode = node; }   // the node whose information is shown
    void SetLanguage(int language) override;

    void FormShow(classes::TObject* sender);
    void sSpeedButton1Click(classes::TObject* sender);   // Close
    void sSpeedButton3Click(classes::TObject* sender);   // Start FAH-Console
    void sSpeedButton2Click(classes::TObject* sender);   // Stop FAH-Console
    void sSpeedButton8Click(classes::TObject* sender);   // Make new Backup
    void sSpeedButton5Click(classes::TObject* sender);   // Restore
    void sSpeedButton9Click(classes::TObject* sender);   // Make new cash

    // The one-shot readings of the node's backup folder ("Backuped WU") and cache folder ("Cashed WU").
    void ShowNodeInfoBrief(const TNodeReading& reading);
    void ShowNodeInfo(const TNodeReading& reading);
    // A backup of `node` ended: its lamp follows the result and a good backup is read again.
    void BackupDone(int node, bool ok);

    leds::TiLedRound* Lamp(int index) const { return FLamps[index]; }   // 0 ON/OFF, 1 Cashing, 2 Backuping,
                                                                        // 3 Ready, 4 the backup's ON/OFF
    skin::TsLabel* ValueLabel(const char* name) const;

private:
    void ReadFolder(int mode, const std::string& folder);
    void FillGroup(const TUnitInfoView& view, skin::TsGauge* gauge, const char* const (&labels)[4]);
    bool FarmAnswered(int node, std::initializer_list<int> states) const;

    int FNode = 0;
    int FLanguage = 1;
    leds::TiLedRound* FLamps[5] = {};
    skin::TsGauge* FGauges[3] = {};
    // The readings started by a showing report only while it is the window's latest.
    std::shared_ptr<int> FShowing = std::make_shared<int>(0);
    std::map<int, int> FLatestRead;   // per reading mode, the serial of the last read asked for
};

extern TForm8* Form8;

}
