// The unit tests' hooks, linked into their library only.
#include "marlix/internal/test_hooks.h"

namespace marlix {

void build_converter_slots(label_cvt* (&slots)[converter_slot_count]) {
    detail::build_converter_slots(slots);
}

void report_assertion(char const* expression, char const* file, int line) {
    detail::report_assertion(expression, file, line);
}

void debug_marker_name(char (&name)[marker_name_capacity], unsigned process_id) {
    detail::debug_marker_name(name, process_id);
}

void release_marker_name(char (&name)[marker_name_capacity], unsigned process_id) {
    detail::release_marker_name(name, process_id);
}

bool marker_exists(char const* name) { return detail::marker_exists(name); }

bool create_marker(char const* name) { return detail::create_marker(name); }

bool looks_numeric_by_grammar(std::string_view text) {
    return detail::looks_numeric_by_grammar(text);
}

detail::c_double read_c_double(std::string_view text) { return detail::read_c_double(text); }

}  // namespace marlix
