#include "link_session.h"

#include <QCoreApplication>
#include <QLabel>

#include "driving_window.h"
#include "script_input.h"

namespace ts {

namespace {
std::unique_ptr<LinkSession>& theProgramLink() {
    static std::unique_ptr<LinkSession> link;
    return link;
}
}  // namespace

LinkSession::LinkSession(bool control) {
    server_.control = control;
    server_.hello = [this]() -> std::string {
        const bool control = server_.control;
        if (!form_) {
            Run none;
            PanelModel empty;
            return linkHello(none, empty, control);
        }
        return form_->run().locked([&](Run& r, PanelModel& p) { return linkHello(r, p, control); });
    };
    server_.apply = [this](const ScriptCommand& c) -> std::string {
        if (!form_ || form_->run().closed()) return "no run to drive";
        // A replay plays its own inputs: a client's would make it another run.
        if (form_->replaying()) return "the run is a replay";
        // Before the first Start every device is locked; Start itself is how a run begins.
        if (c.kind != ScriptCommand::Kind::Start && !form_->run().started()) return "the run has not been started";
        applyScriptInput(*form_, c);
        return {};
    };
}

void LinkSession::attach(TForm1* form) { form_ = form; }

LinkSession::~LinkSession() {
    // The window outlives a link closed under it: give it back its own hook.
    if (form_ && followed_) form_->afterStep = before_;
}

void LinkSession::follow(TForm1* form) {
    attach(form);
    since_.start();
    followed_ = true;
    before_ = form->afterStep;
    auto before = before_;
    form->afterStep = [this, form, before] {
        if (before) before();
        if (form_ == form) stepEnded(since_.elapsed(), form->hintLine()->text().toStdString(), {});
    };
}

void LinkSession::stepEnded(int64_t t, const std::string& hint, const std::vector<std::string>& messages) {
    if (server_.clientCount() == 0 || !form_) return;
    LinkMoment m;
    m.t = t;
    m.hint = hint;
    m.messages = messages;
    const LinkState s = form_->run().locked([&](Run& r, PanelModel& p) { return linkState(m, r, p); });
    server_.sendState(s);
}

LinkSession* programLink() { return theProgramLink().get(); }

bool openProgramLink(quint16 port, bool control, bool lan, std::string& error) {
    auto link = std::make_unique<LinkSession>(control);
    if (!link->listen(port, error, lan)) return false;
    theProgramLink() = std::move(link);
    // Its sockets go before the application that runs them.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { closeProgramLink(); });
    return true;
}

void closeProgramLink() { theProgramLink().reset(); }

}  // namespace ts
