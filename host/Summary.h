// The Summary panel: what every PDE says about its settings (GetSummaryText), shown as the
// last choice of the panel chooser, as the Mac print dialog does.
#ifndef HOST_SUMMARY_H
#define HOST_SUMMARY_H

#include "PDELoader.h"
#include "PrintDialog.h"

#include <string>
#include <vector>

namespace host {

// One PDE's part of the summary: its panel title and its (title, value) lines.
struct SummarySection {
    std::string panel;
    std::vector<std::pair<std::string, std::string>> lines;
};

// Asks every usable PDE that did not set kPMPDENoSummary for its summary. A PDE whose call
// fails, or hands back arrays of different lengths, is reported on standard error and left
// out. The arrays the PDEs create are released here.
std::vector<SummarySection> collect_summary(std::vector<LoadedPDE>& pdes,
                                            const std::vector<PanelInfo>& panels);

// Replaces the pane's contents with static texts showing the sections: each panel's title,
// then "title: value" lines below it.
OSStatus show_summary(ControlRef pane, const std::vector<SummarySection>& sections);

} // namespace host

#endif
