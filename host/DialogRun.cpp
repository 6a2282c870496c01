// Running one print dialog: the host's event handler, the panels' lifecycle around the user's
// actions, and the end of the dialog (a printed job, or nothing after Cancel).
#include "DialogRun.h"
#include <CoreFoundation/CFDiagnostics.h>

#include "CFText.h"
#include "CupsJob.h"
#include "PrintJob.h"
#include "Summary.h"

#include <HIToolbox/PlatformHost.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace host {
namespace {

// Where PDEs find the bundle whose help book their help buttons open.
constexpr OSType kHelpBookPropertyCreator = 'TPDE', kHelpBookPropertyTag = 'MBND';

bool running_on_105_or_later() {
    SInt32 major = 0, minor = 0;
    if (Gestalt(gestaltSystemVersionMajor, &major) != noErr ||
        Gestalt(gestaltSystemVersionMinor, &minor) != noErr)
        return true;
    return major > 10 || (major == 10 && minor >= 5);
}

// Failures always go to standard error; with --verbose every operation is listed.
void report(bool verbose, const PanelInfo& panel, const char* operation, OSStatus status) {
    if (status != noErr)
        cf::report("printdialog", "%s: %s returned %d", panel.title.c_str(), operation,
                   static_cast<int>(status));
    else if (verbose)
        std::printf("printdialog: %s: %s 0\n", panel.title.c_str(), operation);
}

// The script's player, watched: once an action fails, the user's intent is unknown and the
// dialog must not print on whatever state a broken loop left behind.
struct WatchedSource {
    PlatformEventSource inner{};
    OSStatus failure = noErr;

    static OSStatus perform(void* info) {
        auto* self = static_cast<WatchedSource*>(info);
        const OSStatus status = self->inner.performNextAction(self->inner.info);
        if (status != noErr && self->failure == noErr)
            self->failure = status;
        return status;
    }
    static void notice(void* info, CFOptionFlags level, CFStringRef header, CFStringRef message) {
        auto* self = static_cast<WatchedSource*>(info);
        if (self->inner.notice != nullptr)
            self->inner.notice(self->inner.info, level, header, message);
    }
    static void release(void* info) {
        auto* self = static_cast<WatchedSource*>(info);
        if (self->inner.release != nullptr)
            self->inner.release(self->inner.info);
        self->inner = PlatformEventSource{};
    }
};

class Run {
  public:
    Run(std::vector<LoadedPDE>& pdes, const RunSettings& settings)
        : pdes_(pdes), settings_(settings), on105_(running_on_105_or_later()) {}
    ~Run() { dispose_print_dialog(dialog_); }

    RunResult run();

  private:
    static OSStatus on_event(EventHandlerCallRef, EventRef event, void* info);
    static OSStatus on_print_button(EventHandlerCallRef call, EventRef event, void* info);
    OSStatus command(EventRef event);
    OSStatus control_hit(EventRef event);
    OSStatus start();
    void open_panel(size_t index);
    void open_summary();
    void close_open_panel();
    void terminate_all(OSStatus status);
    void print();
    void sync_all(Boolean direction);
    void send_to_cups(const std::vector<std::string>& documents);
    OSStatus play();
    bool script_left_over();
    bool usable(size_t i) const { return panels_[i].prologStatus == noErr; }

    std::vector<LoadedPDE>& pdes_;
    const RunSettings& settings_;
    const bool on105_;
    std::vector<PanelInfo> panels_;
    PrintDialog dialog_;
    long openPanel_ = -1;
    bool terminated_ = false;
    bool done_ = false;
    Outcome outcome_ = Outcome::failed;
    OSStatus okStatus_ = noErr; // what the panels made of the last OK command
    WatchedSource source_;
};

OSStatus Run::on_event(EventHandlerCallRef, EventRef event, void* info) {
    auto* run = static_cast<Run*>(info);
    if (GetEventClass(event) == kEventClassCommand)
        return run->command(event);
    return run->control_hit(event);
}

// Watches a press of Print from the button itself, before any panel: a panel that stops the
// print may do so without a word, so the console always says that it was stopped, with the
// status the panel gave (the OK command's on 10.5 and later, the click's before).
OSStatus Run::on_print_button(EventHandlerCallRef call, EventRef event, void* info) {
    auto* run = static_cast<Run*>(info);
    if (GetEventClass(event) == kEventClassCommand) {
        run->okStatus_ = CallNextEventHandler(call, event);
        return run->okStatus_;
    }
    run->okStatus_ = noErr;
    const OSStatus status = CallNextEventHandler(call, event);
    if (!run->done_ && run->source_.failure == noErr)
        cf::report("printdialog", "a panel stopped the print (status %d); nothing was printed",
                   static_cast<int>(run->on105_ ? run->okStatus_ : status));
    return status;
}

// Reached only when no panel's handler took the command: a panel stops a print by handling it.
OSStatus Run::command(EventRef event) {
    HICommand command{};
    GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof(command),
                      nullptr, &command);
    if (command.commandID == kHICommandOK && on105_) {
        print();
        return noErr;
    }
    if (command.commandID == kReadSettingsCommand) {
        sync_all(kPMSyncPaneFromTicket);
        return noErr;
    }
    if (command.commandID == kHICommandCancel) {
        const bool leftOver = script_left_over();
        close_open_panel();
        terminate_all(userCanceledErr);
        std::printf("printdialog: cancelled; nothing was printed\n");
        outcome_ = leftOver ? Outcome::failed : Outcome::cancelled;
        done_ = true;
        return noErr;
    }
    return eventNotHandledErr;
}

OSStatus Run::control_hit(EventRef event) {
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof(control),
                      nullptr, &control);
    if (control == dialog_.chooser) {
        const auto choice = static_cast<size_t>(GetControl32BitValue(control) - 1);
        if (choice == panels_.size())
            open_summary();
        else
            open_panel(choice);
        return noErr;
    }
    // Before 10.5 the Print button has no command: its click is the print.
    if (control == dialog_.printButton && !on105_) {
        print();
        return noErr;
    }
    return eventNotHandledErr;
}

void Run::open_panel(size_t index) {
    if (index >= panels_.size() || static_cast<long>(index) == openPanel_)
        return;
    close_open_panel();
    SetControlVisibility(dialog_.summaryPane, false, true);
    for (size_t i = 0; i < dialog_.userPanes.size(); ++i)
        SetControlVisibility(dialog_.userPanes[i], i == index, true);
    openPanel_ = static_cast<long>(index);
    if (!usable(index))
        return;
    CFBundleRef bundle = pdes_[index].bundle;
    SetControlProperty(dialog_.printButton, kHelpBookPropertyCreator, kHelpBookPropertyTag,
                       sizeof(bundle), &bundle);
    report(settings_.verbose, panels_[index], "Open",
           pdes_[index].pde->vtable->Open(panels_[index].context));
}

// The Summary asks every PDE afresh, so it shows the settings as they are now.
void Run::open_summary() {
    close_open_panel();
    for (ControlRef pane : dialog_.userPanes)
        SetControlVisibility(pane, false, true);
    const std::vector<SummarySection> sections = collect_summary(pdes_, panels_);
    const OSStatus status = show_summary(dialog_.summaryPane, sections);
    if (status != noErr)
        cf::report("printdialog", "the summary cannot be shown: %d", static_cast<int>(status));
    SetControlVisibility(dialog_.summaryPane, true, true);
    if (settings_.verbose)
        std::printf("printdialog: Summary of %zu panels\n", sections.size());
}

void Run::close_open_panel() {
    if (openPanel_ < 0)
        return;
    const auto i = static_cast<size_t>(openPanel_);
    openPanel_ = -1;
    if (usable(i))
        report(settings_.verbose, panels_[i], "Close",
               pdes_[i].pde->vtable->Close(panels_[i].context));
}

void Run::terminate_all(OSStatus status) {
    if (terminated_)
        return;
    terminated_ = true;
    for (size_t i = 0; i < pdes_.size(); ++i)
        if (usable(i))
            report(settings_.verbose, panels_[i], "Terminate",
                   pdes_[i].pde->vtable->Terminate(panels_[i].context, status));
}

// The dialog ends with this action: script lines after it would never run, and the script
// meant something else than what happens.
bool Run::script_left_over() {
    const int line = PlatformScriptEventSourceNextLine(&source_.inner);
    if (line == 0)
        return false;
    cf::report_in_file("printdialog", settings_.script, line,
                       "the dialog has ended; this line and those after it are left over");
    if (source_.failure == noErr)
        source_.failure = paramErr;
    return true;
}

// Every PDE writes its settings into the ticket, or (reading) shows the ticket's again.
void Run::sync_all(Boolean direction) {
    for (size_t i = 0; i < pdes_.size(); ++i)
        if (usable(i))
            report(settings_.verbose, panels_[i],
                   direction == kPMSyncPaneFromTicket ? "Sync (reading)" : "Sync",
                   pdes_[i].pde->vtable->Sync(panels_[i].context, dialog_.session, direction));
}

void Run::print() {
    if (script_left_over()) {
        cf::report("printdialog", "nothing is printed");
        return;
    }
    if (source_.failure != noErr) {
        cf::report("printdialog", "the user's actions failed (%d); nothing is printed",
                   static_cast<int>(source_.failure));
        return;
    }
    sync_all(kPMSyncTicketFromPane);
    close_open_panel();
    terminate_all(noErr);
    done_ = true;
    std::vector<std::string> documents{settings_.document};
    documents.insert(documents.end(), settings_.moreDocuments.begin(),
                     settings_.moreDocuments.end());
    std::vector<std::string> written;
    for (const std::string& document : documents) {
        const JobResult job = write_job(document, settings_.output, dialog_.ticket);
        if (job.status != noErr) {
            cf::report("printdialog", "the job was not written: %s", job.error.c_str());
            return;
        }
        std::printf("printdialog: printed %s; job ticket %s\n",
                    job.documentPath.empty() ? "(no document)" : job.documentPath.c_str(),
                    job.ticketPath.c_str());
        std::printf("printdialog: ticket keys: %s\n", job.keys.c_str());
        if (!job.documentPath.empty())
            written.push_back(job.documentPath);
    }
    outcome_ = Outcome::printed;
    if (!settings_.cupsDestination.empty())
        send_to_cups(written);
}

void Run::send_to_cups(const std::vector<std::string>& documents) {
    std::string error;
    const int id =
        submit_job(settings_.cupsDestination, documents, dialog_.ticket, settings_.job, error);
    if (id == 0) {
        cf::report("printdialog", "CUPS destination %s did not take the job: %s",
                   settings_.cupsDestination.c_str(), error.c_str());
        outcome_ = Outcome::failed;
        return;
    }
    std::printf("printdialog: sent to CUPS destination %s as job %d\n",
                settings_.cupsDestination.c_str(), id);
}

OSStatus Run::start() {
    for (LoadedPDE& pde : pdes_)
        panels_.push_back(run_prolog(pde));
    OSStatus status = create_print_dialog(dialog_, panels_, settings_.ticket);
    if (status != noErr)
        return status;
    if (settings_.printer != nullptr)
        PMSessionSetCurrentPMPrinter(dialog_.session, settings_.printer);
    if (on105_)
        SetControlCommandID(dialog_.printButton, kHICommandOK);
    // Installed before any panel's handlers, so theirs run first and may stop a print.
    const EventTypeSpec events[] = {{kEventClassCommand, kEventCommandProcess},
                                    {kEventClassControl, kEventControlHit}};
    InstallEventHandler(GetWindowEventTarget(dialog_.window), on_event, 2, events, this, nullptr);
    InstallEventHandler(GetControlEventTarget(dialog_.printButton), on_print_button, 2, events,
                        this, nullptr);
    for (size_t i = 0; i < pdes_.size(); ++i) {
        report(settings_.verbose, panels_[i], "Prolog", panels_[i].prologStatus);
        if (!usable(i))
            continue;
        report(settings_.verbose, panels_[i], "Initialize",
               pdes_[i].pde->vtable->Initialize(panels_[i].context, &panels_[i].flags, nullptr,
                                                dialog_.userPanes[i], dialog_.session));
    }
    ShowWindow(dialog_.window);
    open_panel(0);
    return noErr;
}

// Feeds the user's actions to the dialog until Print or Cancel ends it.
OSStatus Run::play() {
    if (settings_.script.empty() && !settings_.display) {
        // Without a script the user presses Print at once.
        PlatformClickControl(dialog_.printButton);
        return noErr;
    }
    std::error_code error;
    if (!settings_.output.empty())
        std::filesystem::create_directories(settings_.output, error);
    OSStatus status =
        settings_.display
            ? PlatformCreateDisplayEventSource(&source_.inner)
            : PlatformCreateScriptEventSource(
                  settings_.script.c_str(),
                  settings_.output.empty() ? nullptr : settings_.output.c_str(), &source_.inner);
    if (status != noErr)
        return status;
    const PlatformEventSource watched{source_.inner.name, &source_, WatchedSource::perform,
                                      WatchedSource::notice, WatchedSource::release};
    PlatformSetEventSource(&watched);
    while (!done_ && status == noErr && source_.failure == noErr)
        status = WatchedSource::perform(&source_);
    if (status == eofErr)
        cf::report("printdialog", "%s: the %s ended before Print or Cancel was pressed",
                   source_.inner.name != nullptr ? source_.inner.name : "(source)",
                   settings_.display ? "display" : "script");
    PlatformSetEventSource(nullptr);
    if (source_.failure != noErr)
        return source_.failure;
    return done_ ? noErr : status;
}

RunResult Run::run() {
    RunResult result;
    OSStatus status = start();
    if (status != noErr) {
        cf::report("printdialog", "cannot create the print dialog window: %d",
                   static_cast<int>(status));
    } else {
        status = play();
    }
    if (!done_) {
        close_open_panel();
        terminate_all(status != noErr ? status : userCanceledErr);
    }
    result.outcome = outcome_;
    if (dialog_.ticket != nullptr) {
        PMTicketRetain(dialog_.ticket);
        result.ticket = dialog_.ticket;
    }
    return result;
}

} // namespace

RunResult run_print_dialog(std::vector<LoadedPDE>& pdes, const RunSettings& settings) {
    Run run(pdes, settings);
    return run.run();
}

} // namespace host
