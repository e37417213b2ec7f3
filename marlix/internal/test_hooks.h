#pragma once

// Entry points the unit tests reach into. The library's own functions live
// in detail and are hidden like the rest of its internals; the hooks of the
// same names in marlix forward to them from test_hooks.cpp, an object that
// only the unit tests' library links. So no shipped build of libmarlix,
// shared or static, holds a hook.

#include <string_view>

#include "marlix/export.h"
#include "marlix/internal/c_double.h"

namespace marlix {

class label_cvt;

// The number of slots of the shared converter table; slots 42..49 stay
// empty.
inline constexpr int converter_slot_count = 50;
// The marker names below, terminator included, fit this.
inline constexpr int marker_name_capacity = 64;

namespace detail {
void build_converter_slots(label_cvt* (&slots)[converter_slot_count]);
void report_assertion(char const* expression, char const* file, int line);
void debug_marker_name(char (&name)[marker_name_capacity], unsigned process_id);
void release_marker_name(char (&name)[marker_name_capacity], unsigned process_id);
bool marker_exists(char const* name);
bool create_marker(char const* name);
bool looks_numeric_by_grammar(std::string_view text);
}  // namespace detail

// Builds a table of converters as the shared table is built: one dummy in
// every slot of a type without a class (0..4, 9, 13, 17), a converter of
// each other type 5..41, nothing in 42..49. A slot whose allocation the
// host heap refuses stays null. The caller owns the converters; the dummy
// stands in several slots and is deleted once.
MARLIX_API void build_converter_slots(label_cvt* (&slots)[converter_slot_count]);

// The assertion report: to the diagnostics sink (and to standard error
// when the sink is another), then to the installed handler.
MARLIX_API void report_assertion(char const* expression, char const* file, int line);

// The process-wide markers of the build-flavour check, formatted from a
// process id: "TovApp_PID_%08x_IsDebug" and "TovApp_PID_%08x_IsRelease".
// A marker is an abstract-namespace UNIX socket of that name: it exists
// while a descriptor bound to it is open, and disappears with the process.
MARLIX_API void debug_marker_name(char (&name)[marker_name_capacity], unsigned process_id);
MARLIX_API void release_marker_name(char (&name)[marker_name_capacity], unsigned process_id);
// Whether a marker of that name exists; creating one keeps its descriptor
// open for the life of the process and answers false when it cannot.
MARLIX_API bool marker_exists(char const* name);
MARLIX_API bool create_marker(char const* name);

// Whether text starts with a decimal number std::from_chars would read into
// a double in range, found without std::from_chars (the name reader's way
// where the standard library lacks it).
MARLIX_API bool looks_numeric_by_grammar(std::string_view text);

// The number at the start of text as strtod reads it in the "C" locale.
MARLIX_API detail::c_double read_c_double(std::string_view text);

}  // namespace marlix
