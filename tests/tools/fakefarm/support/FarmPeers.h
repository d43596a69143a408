// The program's side of a farm control service in tests: the port its replies come to, and farm messages sent
// to it.
#pragma once

#include <string>
#include <vector>

namespace korvex::fakefarm::test {

// A listener on 127.0.0.1 with a port of the system's choice: each reply connection's reads and its address.
class TReplyPort {
public:
    TReplyPort();
    ~TReplyPort();
    TReplyPort(const TReplyPort&) = delete;
    TReplyPort& operator=(const TReplyPort&) = delete;
    int Port() const { return FPort; }

    struct TReply {
        std::string From;
        std::vector<std::string> Reads;
        std::string Text() const;
    };
    // The next reply connection, read to its end; nothing within timeoutMs gives an empty From.
    TReply Next(int timeoutMs);

private:
    int FFd = -1;
    int FPort = 0;
};

// A farm message as the program sends it: one connection to ip:port, closed after the text. False when it
// could not be sent.
bool SendFarmMessage(const std::string& ip, int port, const std::string& text);

}
