// Diagnostic lines on standard error: one format for the whole project, one write per line.
#include <CoreFoundation/CFDiagnostics.h>

#include <cstdarg>
#include <cstdio>

namespace cf {
namespace {

void append_formatted(std::string& line, const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (size <= 0)
        return;
    const size_t start = line.size();
    line.resize(start + static_cast<size_t>(size) + 1);
    std::vsnprintf(line.data() + start, static_cast<size_t>(size) + 1, format, arguments);
    line.resize(start + static_cast<size_t>(size));
}

// Writes `line` (its prefix) followed by the formatted message.
void write_line(std::string& line, const char* format, va_list arguments) {
    append_formatted(line, format, arguments);
    line += '\n';
    // Standard error is unbuffered: one fwrite is one write.
    std::fwrite(line.data(), 1, line.size(), stderr);
}

} // namespace

void report(const char* who, const char* format, ...) {
    std::string line = who != nullptr ? who : "?";
    line += ": ";
    va_list arguments;
    va_start(arguments, format);
    write_line(line, format, arguments);
    va_end(arguments);
}

void report_in_file(const char* who, const std::string& file, long line_number, const char* format,
                    ...) {
    std::string line = who != nullptr ? who : "?";
    line += ": " + file;
    if (line_number > 0)
        line += ":" + std::to_string(line_number);
    line += ": ";
    va_list arguments;
    va_start(arguments, format);
    write_line(line, format, arguments);
    va_end(arguments);
}

} // namespace cf
