#include "replay_player.h"

#include <QCoreApplication>

#include <map>

#include "driving_window.h"
#include "script_input.h"

namespace ts {

using K = ScriptCommand::Kind;

ReplayPlayer::ReplayPlayer(TForm1& form, std::vector<ScriptCommand> commands)
    : form_(form), commands_(std::move(commands)) {
    std::map<int, std::vector<std::pair<int64_t, int>>> answers;
    for (const auto& c : commands_)
        if (c.kind == K::SoundStatus) answers[c.amount].emplace_back(c.call, c.status);
    form_.run().replaySoundAnswers(std::move(answers));
}

bool ReplayPlayer::diverge(const ScriptCommand& c, const std::string& why) {
    error_ = QCoreApplication::translate("ReplayPlayer", "line %1: %2")
                 .arg(c.line)
                 .arg(QString::fromStdString(why))
                 .toStdString();
    finished_ = true;
    return false;
}

bool ReplayPlayer::reachesNextAnchor(size_t line) {
    const ScriptCommand& c = commands_[line];
    int64_t sim = c.simulationSteps, pres = c.presentationSteps;
    for (const StepToken& t : c.steps) {
        if (t.kind == StepToken::Kind::Simulation)
            sim += t.count;
        else if (t.kind == StepToken::Kind::Presentation)
            pres += t.count;
    }
    for (size_t k = line + 1; k < commands_.size(); ++k) {
        const ScriptCommand& n = commands_[k];
        if (!n.anchored) continue;
        if (n.simulationSteps == sim && n.presentationSteps == pres) return true;
        return diverge(c, QCoreApplication::translate("ReplayPlayer",
                                                      "its steps bring the run to %1/%2, but line %3 was recorded "
                                                      "after %4/%5")
                              .arg(sim)
                              .arg(pres)
                              .arg(n.line)
                              .arg(n.simulationSteps)
                              .arg(n.presentationSteps)
                              .toStdString());
    }
    return true;  // the recording's last line: the parser bounds its steps
}

bool ReplayPlayer::seek() {
    while (next_ < commands_.size()) {
        const ScriptCommand& c = commands_[next_];
        const bool runsSomething = c.kind == K::Run
                                       ? token_ < c.steps.size()
                                       : c.kind != K::SoundStatus && c.kind != K::Recording && c.kind != K::Train &&
                                             c.kind != K::Data && c.kind != K::Snapshot;
        if (!runsSomething) {
            ++next_;
            token_ = 0;
            left_ = 0;
            anchorChecked_ = false;
            continue;
        }
        if (!anchorChecked_) {
            if (c.simulationSteps != simulation_ || c.presentationSteps != presentation_)
                return diverge(c, QCoreApplication::translate(
                                      "ReplayPlayer", "recorded after %1/%2 steps, but the replay has run %3/%4")
                                      .arg(c.simulationSteps)
                                      .arg(c.presentationSteps)
                                      .arg(simulation_)
                                      .arg(presentation_)
                                      .toStdString());
            if (c.kind == K::Run && token_ == 0 && !reachesNextAnchor(next_)) return false;
            anchorChecked_ = true;
        }
        return true;
    }
    finished_ = true;
    return false;
}

bool ReplayPlayer::nextIsSimulationStep() {
    if (finished_ || !seek()) return false;
    const ScriptCommand& c = commands_[next_];
    return c.kind == K::Run && c.steps[token_].kind == StepToken::Kind::Simulation;
}

bool ReplayPlayer::advance() {
    if (finished_ || form_.run().closed() || !seek()) {
        finished_ = true;
        return false;
    }
    const ScriptCommand& c = commands_[next_];
    if (c.kind != K::Run) {
        if (onInput) onInput(c);
        ++next_;
        anchorChecked_ = false;
        applyScriptInput(form_, c);
        return true;
    }
    const StepToken& t = c.steps[token_];
    if (stopBefore && t.kind != StepToken::Kind::Paint &&
        stopBefore(simulation_ + (t.kind == StepToken::Kind::Simulation),
                   presentation_ + (t.kind == StepToken::Kind::Presentation))) {
        finished_ = stopped_ = true;
        return false;
    }
    if (left_ == 0) left_ = t.count;
    if (--left_ == 0) ++token_;
    switch (t.kind) {
        case StepToken::Kind::Simulation:
            ++simulation_;
            if (beforeStep) beforeStep(simulation_, presentation_);
            form_.run().simulationTick();
            break;
        case StepToken::Kind::Presentation:
            ++presentation_;
            if (beforeStep) beforeStep(simulation_, presentation_);
            form_.run().presentationTick();
            break;
        case StepToken::Kind::Paint: {
            const int32_t frame =
                t.frame >= 0 ? t.frame : form_.run().locked([](Run& r, PanelModel&) { return r.paintFrame; });
            form_.paintRecorded(frame);
            break;
        }
    }
    return true;
}

}  // namespace ts
