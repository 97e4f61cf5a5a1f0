#include "test_drive.h"

#include <QCoreApplication>
#include <QTimer>

#include "data/whole_file.h"

#include "app_state.h"
#include "devices/messages.h"
#include "driving_window.h"
#include "program_end.h"
#include "report_window.h"
#include "unsaved_route.h"

namespace ts::editor {

bool testDrive(const edit::RouteDocument& doc, const TestDrive& how, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const auto route = unsavedRouteFile(doc);
    if (!route) return fail(QCoreApplication::translate("TestDrive", "Cannot write a temporary file."));
    const std::string bytes = doc.bytes();

    // A fatal message ends the program, as in any run: the edits are kept first.
    const std::string recovery = how.recoveryPath;
    const bool keep = doc.modified() && !recovery.empty();
    setProgramEndHook([keep, recovery, bytes](int) {
        if (!keep) return;
        replaceFile(recovery, bytes, nullptr);
    });
    struct Unhook {
        ~Unhook() { setProgramEndHook({}); }
    } unhook;

    auto* form = new TForm1(how.code, [](const std::string&) {});
    app().current = form;
    form->run().setRouteFile(route->fileName().toStdString());
    try {
        form->formCreate();
    } catch (const FatalError&) {
        app().current = nullptr;
        form->deleteLater();
        return fail(QCoreApplication::translate("TestDrive", "The route did not load (see the message)."));
    }
    guarded([&] { form->jumpToFrame(how.frame); });
    if (how.shown) QTimer::singleShot(0, form, [form, shown = how.shown] { shown(*form); });
    form->runModal();
    form->hide();
    // How the test run went, as after any run that moved.
    if (const DriveReport report = form->run().report(); report.moved()) (new ReportWindow(report))->show();
    app().current = nullptr;
    form->deleteLater();
    return true;
}

}  // namespace ts::editor
