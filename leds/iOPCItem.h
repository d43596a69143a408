// A data item: the binding of one control property to an item of a data-access server.
#pragma once

#include "leds/iOPCTypes.h"
#include "platform/classes/TPersistent.h"

#include <string>

namespace korvex::leds {

class TiOPCItemManager;

// No server can be reached from this program (there is no COM): Connect of a complete binding makes the item
// active and then raises the failure of its first step, so an item never delivers data by itself. DataChange is
// the entry the server's callbacks would use.
class TiOPCItem : public classes::TPersistent {
public:
    explicit TiOPCItem(TiOPCItemManager* manager = nullptr);
    ~TiOPCItem() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    const std::string& PropertyName() const { return FPropertyName; }   // dotted name of the property fed
    void SetPropertyName(const std::string& value) { FPropertyName = value; }
    const std::string& ComputerName() const { return FComputerName; }   // "Local" (any case): this machine
    void SetComputerName(const std::string& value);
    const std::string& ServerName() const { return FServerName; }
    void SetServerName(const std::string& value);
    const std::string& ItemName() const { return FItemName; }
    void SetItemName(const std::string& value);
    int UpdateRate() const { return FUpdateRate; }   // milliseconds
    void SetUpdateRate(int value);
    bool AutoConnect() const { return FAutoConnect; }
    void SetAutoConnect(bool value);
    bool AutoError() const { return FAutoError; }
    void SetAutoError(bool value);   // turning it on refreshes the control's error state

    bool Active() const { return FActive; }
    const TiOPCValue& Data() const { return FData; }
    int Quality() const { return FQuality; }
    double TimeStamp() const { return FTimeStamp; }
    TiOPCItemManager* Manager() const { return FManager; }

    // After reading: the error state, then Connect when AutoConnect and the control is not being designed.
    void Loaded();
    // True when the binding names a property, a server and an item (trimmed).
    bool Complete() const;
    // A complete binding: active, then the server object cannot be made: throws base::Exception
    // "Exception : Failed to Connect to Server - " and "Unable to convert ProgID to CLSID" (this machine) or
    // "Unable to Create IOPCServerList Object" (another). The item stays active until Disconnect.
    void Connect();
    void Disconnect();
    // A new value from the server, taken only while active: kept, the error state refreshed (AutoError), the
    // manager told.
    void DataChange(const TiOPCValue& value, int quality, double timeStamp);
    // While active, the owning control's error state follows the quality.
    void RefreshErrorState();

    TPersistent* GetOwner() const override;

private:
    void Reconnect();

    TiOPCItemManager* FManager = nullptr;
    std::string FPropertyName;
    std::string FComputerName = "Local";
    std::string FServerName;
    std::string FItemName;
    int FUpdateRate = 500;
    bool FAutoConnect = true;
    bool FAutoError = false;
    bool FActive = false;
    TiOPCValue FData;
    int FQuality = 0;
    double FTimeStamp = 0;
};

}
