// What printdialog finds out about its surroundings before the dialog: the display, the CUPS
// default destination and a document arriving on standard input.
#ifndef HOST_COMMANDLINE_H
#define HOST_COMMANDLINE_H

#include <string>

namespace host {

// A display to show windows on: DISPLAY or WAYLAND_DISPLAY is set and not empty.
bool has_display();

// The destination lp would print to without -d: LPDEST or PRINTER, the lpoptions default, the
// scheduler's default ("queue" or "queue/instance"); empty when there is none.
std::string default_cups_destination();

// Standard input kept in a private folder as a file named "stdin" while the print runs.
class SpooledInput {
  public:
    SpooledInput() = default;
    SpooledInput(const SpooledInput&) = delete;
    SpooledInput& operator=(const SpooledInput&) = delete;
    ~SpooledInput();

    // Reads standard input to its end. False with `error` when it cannot be kept; true with an
    // empty path() when there was nothing to read (a terminal is not read).
    bool read(std::string& error);
    const std::string& path() const { return path_; }

  private:
    std::string folder_;
    std::string path_;
};

} // namespace host

#endif
