#include <CoreFoundation/CFDiagnostics.h>

#include <gtest/gtest.h>

#include <string>

TEST(CFDiagnostics, OneLineInTheOneStyle) {
    testing::internal::CaptureStderr();
    cf::report("CFArrayAppendValue", "index %ld out of bounds (count %d)", 7L, 3);
    cf::report_in_file("CreateNibReference", "/tmp/a.nib", 12, "unknown element <%s>", "x");
    cf::report_in_file("printdialog", "letter.script", 0, "the script cannot be read: %s",
                       "No such file or directory");
    cf::report("HIToolbox", "100%% sure");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "CFArrayAppendValue: index 7 out of bounds (count 3)\n"
              "CreateNibReference: /tmp/a.nib:12: unknown element <x>\n"
              "printdialog: letter.script: the script cannot be read: No such file or directory\n"
              "HIToolbox: 100% sure\n");
}

TEST(CFDiagnostics, LongMessagesAreWrittenWhole) {
    const std::string long_text(5000, 'x');
    testing::internal::CaptureStderr();
    cf::report("who", "%s|", long_text.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "who: " + long_text + "|\n");
}
