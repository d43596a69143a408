// Farm message texts: a request built, a reply cut into its fields, and a reply put together from the pieces
// its connection brings.
#pragma once

#include <string>
#include <string_view>

namespace korvex::app {

// Commands of a farm message.
inline constexpr int FarmStart = 1;   // start the console service
inline constexpr int FarmStop = 2;   // stop it
inline constexpr int FarmStatus = 3;   // report its state

inline constexpr int FarmStateStopped = 1;
inline constexpr int FarmStateRunning = 4;

inline constexpr int FarmReplyLimit = 1024;   // bytes read of one reply connection, at most

// sender "#" command "*" service path "^" node name; the fields are sent as they are.
std::string FarmMessage(
    const std::string& sender, int command, const std::string& servicePath, const std::string& nodeName);

// A reply cut at the first "#", the first "*" and the first "^" by their positions: a missing mark stands
// before the text's first character, so a field it opens starts at the text's start ("4*p^n" gives B "4")
// and a field it closes is empty.
struct TFarmReplyFields {
    std::string A, B, C, D;
};
TFarmReplyFields SplitFarmReply(const std::string& text);
// The service state of a reply: its second field as a decimal integer, 1 when it is not one.
int FarmReplyState(const std::string& text);
// Whether a reply has all its marks, so no more of it is needed.
bool FarmReplyComplete(const std::string& text);

// The text of one reply connection as its pieces arrive, however the sender's writes were cut or joined.
// It keeps at most FarmReplyLimit bytes and takes nothing once it is whole.
class TFarmReplyText {
public:
    // Adds a piece; true once the reply is whole (all its marks, or the limit reached).
    bool Add(std::string_view piece);
    bool Whole() const { return FWhole; }
    const std::string& Text() const { return FText; }

private:
    std::string FText;
    bool FWhole = false;
};

}
