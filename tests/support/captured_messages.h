#pragma once

// Captures the library's diagnostics for a scope: their text and how many
// messages came, with the standard-output copy off; restores both after.

#include <string>

#include "marlix/host/host_services.h"

namespace marlix::test_support {

struct captured_messages {
    std::string text;
    int count = 0;
    diagnostic_sink_record previous;
    bool const copy = messages_to_standard_output();

    captured_messages() {
        previous = set_diagnostic_sink(
            [](char const* t, void* c) {
                static_cast<captured_messages*>(c)->text += t;
                ++static_cast<captured_messages*>(c)->count;
            },
            this);
        set_messages_to_standard_output(false);
    }
    ~captured_messages() {
        set_diagnostic_sink(previous.sink, previous.context);
        set_messages_to_standard_output(copy);
    }
    captured_messages(captured_messages const&)            = delete;
    captured_messages& operator=(captured_messages const&) = delete;
};

}  // namespace marlix::test_support
