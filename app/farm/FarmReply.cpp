// Farm message texts: building requests, cutting replies and assembling them from their pieces.
#include "app/farm/FarmReply.h"

#include <algorithm>
#include <charconv>

namespace korvex::app {

std::string FarmMessage(
    const std::string& sender, int command, const std::string& servicePath, const std::string& nodeName) {
    return sender + "#" + std::to_string(command) + "*" + servicePath + "^" + nodeName;
}

namespace {

// The text after the first `open` mark up to the first `close` mark, by position: a missing `open` (or none
// asked for) starts the field at the text's start; a missing `close`, or one before the start, leaves it empty.
std::string Between(const std::string& text, char open, char close) {
    std::size_t from = 0;
    if (open != '\0') {
        const std::size_t at = text.find(open);
        if (at != std::string::npos) from = at + 1;
    }
    const std::size_t to = text.find(close);
    if (to == std::string::npos || to < from) return "";
    return text.substr(from, to - from);
}

}

TFarmReplyFields SplitFarmReply(const std::string& text) {
    TFarmReplyFields fields;
    fields.A = Between(text, '\0', '#');
    fields.B = Between(text, '#', '*');
    fields.C = Between(text, '*', '^');
    const std::size_t caret = text.find('^');
    fields.D = caret != std::string::npos ? text.substr(caret + 1) : text;
    return fields;
}

int FarmReplyState(const std::string& text) {
    // Decimal digits with an optional sign, nothing else, within an int.
    const std::string b = SplitFarmReply(text).B;
    const char* first = b.data();
    const char* last = b.data() + b.size();
    if (first != last && *first == '+') ++first;
    int state = 0;
    const auto [end, error] = std::from_chars(first, last, state);
    return first != last && error == std::errc() && end == last ? state : FarmStateStopped;
}

bool FarmReplyComplete(const std::string& text) {
    return text.find('#') != std::string::npos && text.find('*') != std::string::npos
        && text.find('^') != std::string::npos;
}

bool TFarmReplyText::Add(std::string_view piece) {
    if (FWhole) return true;
    const std::size_t room = FarmReplyLimit - FText.size();
    FText.append(piece.substr(0, std::min(room, piece.size())));
    FWhole = FarmReplyComplete(FText) || FText.size() >= static_cast<std::size_t>(FarmReplyLimit);
    return FWhole;
}

}
