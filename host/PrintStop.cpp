// The alert that says why a print was stopped.
#include "PrintStop.h"

#include "CFText.h"

namespace host {
namespace {

const char* template_for(StopReason reason, const StopTexts& texts) {
    switch (reason) {
    case StopReason::panelSettings:
        return texts.panelSettings;
    case StopReason::outputFolder:
        return texts.outputFolder;
    case StopReason::document:
        return texts.document;
    case StopReason::jobFile:
        return texts.jobFile;
    case StopReason::printerGone:
        return texts.printerGone;
    case StopReason::printerRejects:
        return texts.printerRejects;
    case StopReason::printerRefused:
        return texts.printerRefused;
    }
    return texts.notPrinted;
}

} // namespace

std::string stop_explanation(const PrintStop& stop, const HostTexts& texts) {
    const std::string pattern = template_for(stop.reason, texts.stop);
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '^' && i + 1 < pattern.size() &&
            (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            text += pattern[++i] == '1' ? stop.subject : stop.detail;
            continue;
        }
        text += pattern[i];
    }
    return text;
}

OSStatus show_stop_alert(const PrintStop& stop) {
    const HostTexts& texts = host_texts();
    const cf::Holder<CFStringRef> message = make_string(texts.stop.notPrinted);
    const cf::Holder<CFStringRef> explanation = make_string(stop_explanation(stop, texts));
    DialogRef alert = nullptr;
    OSStatus status =
        CreateStandardAlert(kAlertStopAlert, message.get(), explanation.get(), nullptr, &alert);
    if (status != noErr)
        return status;
    DialogItemIndex item = 0;
    return RunStandardAlert(alert, nullptr, &item);
}

} // namespace host
