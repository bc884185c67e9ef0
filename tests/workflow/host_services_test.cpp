// host_services_test.cpp -- a clipboard that cannot be opened: the line on standard output, no box
#include "workflow/host_services.h"
#include "workflow/platform_scripted.h"

#include <gtest/gtest.h>

TEST(host_services, a_clipboard_that_cannot_be_opened_gets_the_line_on_standard_output)
{
    script_reset();
    script_clipboard_fails(true);
    copy_text_to_clipboard("0x12345678");
    EXPECT_EQ(script_transcript(), std::vector<std::string>{"stdout||Error opening clipboard"});
}
