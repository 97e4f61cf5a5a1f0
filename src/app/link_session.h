// The live link bound to a driving window: the hello and every step's state
// come from its run, and a client's commands go to the window's input entry
// points, exactly as the drive script's and the keyboard's do, so they are
// recorded like any other input and a recording replays them. In the program
// the link outlives the runs: each new driving window is attached to it.
#pragma once
#include <QElapsedTimer>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link_server.h"

namespace ts {

class TForm1;

class LinkSession {
public:
    explicit LinkSession(bool control);
    ~LinkSession();
    bool listen(quint16 port, std::string& error, bool lan = false) { return server_.listen(port, error, lan); }
    LinkServer& server() { return server_; }

    // The run the link shows from now on (none: clients only wait).
    void attach(TForm1* form);
    // Attaches the window and sends its state after each of its steps, timed
    // from now (the window has no virtual clock).
    void follow(TForm1* form);

    // After a 100 ms step: sends its state to the clients.
    void stepEnded(int64_t t, const std::string& hint, const std::vector<std::string>& messages);

private:
    QPointer<TForm1> form_;
    LinkServer server_;
    QElapsedTimer since_;
    bool followed_ = false;
    std::function<void()> before_;  // the followed window's own after-step hook
};

// The program's link (trainsim --link), none until it is opened.
LinkSession* programLink();
// Opens it on `port` (`lan`: for the network, with a token); false with
// `error` set when the port cannot be had.
bool openProgramLink(quint16 port, bool control, bool lan, std::string& error);
void closeProgramLink();

}  // namespace ts
