// Settings values a refresh cycle changes, held in memory and written to the settings store together.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace korvex::app {

// The node threads hand their values here under the update lock; Flush writes them all in one batch of the
// store, so one file write for the lot (none when every value equals the stored one), on the thread that
// flushes and outside the update lock. The last value given for a key's value wins. Any thread.
class TSettingsWrites {
public:
    void WriteInteger(const std::string& key, const std::string& name, int value);
    void WriteFloat(const std::string& key, const std::string& name, double value);
    void WriteText(const std::string& key, const std::string& name, const std::string& value);

    // The float last given for the value and not written yet.
    std::optional<double> PendingFloat(const std::string& key, const std::string& name) const;
    bool Pending() const;

    // Writes what is held; false when the file could not be written (logged), and the values are held again
    // unless newer ones came meanwhile.
    bool Flush();

private:
    using TValue = std::variant<int, double, std::string>;
    struct TWrite {
        std::string Key;
        std::string Name;
        TValue Value;
    };
    void Hold(const std::string& key, const std::string& name, TValue value);

    mutable std::mutex FLock;
    std::vector<TWrite> FWrites;   // in the order first given, one per value
};

}
