// A node's control service on loopback, for the fake farm and the program's end-to-end tests: takes farm
// messages on its own address and port, and answers each on a new connection to the program's port, as told.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace korvex::fakefarm {

enum class TFarmAnswer {
    Reply,   // at once, in one write
    NoReply,   // takes the message and says nothing
    Late,   // after DelayMs
    Split,   // in Pieces writes, PieceGapMs apart
};

struct TFarmBehaviour {
    TFarmAnswer Answer = TFarmAnswer::Reply;
    int State = 4;   // the console service's state sent back (1 stopped, 4 running)
    int DelayMs = 0;
    int Pieces = 3;
    int PieceGapMs = 30;
    std::string ReplyFrom;   // the address the reply comes from: empty is the service's own (another node's
                             // address makes it a reply for another node)
};

// What the service saw and did, in order: a message taken, or a reply sent (its text).
struct TFarmEvent {
    std::chrono::steady_clock::time_point At;
    bool Reply = false;
    std::string Text;
    int Writes = 0;   // a reply's writes (a split one has several), 0 for a message taken
};

// Listens on listenIp:port (port 0 picks a free one) on a thread of its own; a message is complete when its
// sender closes the connection. Replies "A#B*C^D" (A the service's address, B the state, C and D the
// message's service path and node name) go to replyIp:replyPort.
class TFarmControlService {
public:
    TFarmControlService(std::string listenIp, int port, std::string replyIp, int replyPort);
    ~TFarmControlService();
    TFarmControlService(const TFarmControlService&) = delete;
    TFarmControlService& operator=(const TFarmControlService&) = delete;

    bool Listening() const { return FListen >= 0; }
    int Port() const { return FPort; }
    const std::string& Address() const { return FListenIp; }

    void SetBehaviour(const TFarmBehaviour& behaviour);
    int State() const;   // the state a status query is answered with now (start and stop change it)
    void SetReplyPort(int port);
    // Called on the service's thread for each message taken, before it is answered; set it before traffic.
    std::function<void(const std::string& message)> OnMessage;
    // Replies now, in one write, to the last status query taken (a reply that comes late, whenever the
    // caller likes); false when there was none or the reply could not be sent.
    bool ReplyNow();

    // What has arrived and been answered so far (any thread).
    std::vector<std::string> Messages() const;
    int RepliesSent() const;
    std::vector<TFarmEvent> Events() const;
    // Waits until at least count messages have arrived; false after timeoutMs.
    bool WaitForMessages(std::size_t count, int timeoutMs) const;
    bool WaitForReplies(int count, int timeoutMs) const;

private:
    struct TPendingReply;
    void Run();
    void Answer(const std::string& message);
    bool SendReply(const std::string& text, const TFarmBehaviour& behaviour, int replyPort);
    std::string ReplyText(const std::string& message, int state) const;

    std::string FListenIp;
    std::string FReplyIp;
    int FListen = -1;
    int FPort = 0;
    int FWake[2] = {-1, -1};
    std::thread FThread;
    mutable std::mutex FLock;
    mutable std::condition_variable FChanged;
    TFarmBehaviour FBehaviour;
    int FReplyPort = 0;
    bool FStop = false;
    std::vector<std::string> FMessages;
    int FReplies = 0;
    std::vector<TFarmEvent> FEvents;
    std::string FLastQuery;
    std::vector<TPendingReply> FPending;
};

}
