// The C interface, labels and media: each function checks its pointers, calls the C++
// library and turns its failure values into status codes. No exception
// leaves a function: a failed allocation is MARLIX_ERR_NO_MEMORY, anything
// else unexpected MARLIX_ERR_INTERNAL.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>

#include "marlix/capi/capi_support.h"
#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/entry/library_entry.h"
#include "marlix/front/keep_string.h"
#include "marlix/front/labeller.h"
#include "marlix/front/names.h"
#include "marlix/host/host_services.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/smpte/timecode.h"
#include "marlix/values/edit_label.h"

static_assert(MARLIX_LABEL_TEXT_SIZE == marlix::front::labeller::text_capacity);
static_assert(MARLIX_KEEP_STRING_SIZE == std::max({marlix::label::keep_string_capacity,
                                                   marlix::edit_label::keep_buffer_capacity,
                                                   marlix::MediumRoll::keep_capacity}));
static_assert(MARLIX_REELID_SIZE == marlix::MediumRoll::reelid_capacity);
// An identity's user text (at most 12 characters) has no capacity of its
// own.
static_assert(MARLIX_IDENTITY_TEXT_SIZE == marlix::medium_id_text_capacity);

struct marlix_label {
    // One of the two is set. They are held apart because a label is not
    // deleted through a pointer to its base (it has no virtual destructor).
    std::unique_ptr<marlix::label> plain;
    std::unique_ptr<marlix::edit_label> edit;

    marlix::label& value() const { return edit ? *edit : *plain; }
};

namespace {

using namespace marlix;
using capi::copy_out;
using capi::found_into;
using capi::guarded;
using capi::guarded_or;
using capi::guarded_void;
using capi::is_label_type;

// The status of a label job's refusal: a text that does not read, a label
// a keep string would not keep, or else a label type the job cannot use.
marlix_status status_of(front::reason why) {
    using front::reason;
    constexpr reason unreadable[] = {
        reason::unreadable,           reason::not_a_keep_string, reason::text_after_keep_string,
        reason::keep_start_not_label, reason::malformed_label,   reason::malformed_prefix};
    constexpr reason not_kept[] = {reason::negative_length,    reason::length_not_whole_frames,
                                   reason::start_not_on_frame, reason::prefix_needed,
                                   reason::prefix_not_kept,    reason::keep_string_not_kept};
    auto const among            = [why](auto const& set) {
        return std::find(std::begin(set), std::end(set), why) != std::end(set);
    };
    if (why == reason::none) return MARLIX_OK;
    if (why == reason::no_memory) return MARLIX_ERR_NO_MEMORY;
    if (among(unreadable)) return MARLIX_ERR_UNREADABLE;
    return among(not_kept) ? MARLIX_ERR_NOT_KEPT : MARLIX_ERR_LABEL_TYPE;
}

MediumRollIdent to_ident(marlix_medium_id id) {
    return MediumRollIdent(static_cast<MediumRollMedium>(id.medium),
                           static_cast<MediumRollGeneration>(id.generation));
}

marlix_medium_id from_ident(MediumRollIdent const& id) {
    return marlix_medium_id{id.medium, id.generation};
}

bool is_ident(marlix_medium_id id) {
    return id.medium >= 0 && id.medium < medium_count && id.generation >= 0 &&
           id.generation <= MediumRoll4thGen;
}

// A label type's family, for the medium identities of ink labels.
UserLabelType family_of(int32_t label_type) {
    return is_label_type(label_type) ? label_type_family(static_cast<label_t>(label_type))
                                     : UserLabelNone;
}

// Every status's text. No default: with -Wswitch an error here, a status
// without a text does not compile.
#pragma GCC diagnostic push
#pragma GCC diagnostic error "-Wswitch"
char const* text_of(marlix_status status) {
    switch (status) {
        case MARLIX_OK: return "success";
        case MARLIX_ERR_ARGUMENT: return "an argument is null or out of range";
        case MARLIX_ERR_LABEL_TYPE: return "not a label type with a converter";
        case MARLIX_ERR_UNREADABLE: return "the text does not read";
        case MARLIX_ERR_TRUNCATED: return "the text was cut to fit the buffer";
        case MARLIX_ERR_MEDIUM: return "not a medium";
        case MARLIX_ERR_RATE: return "not a frame rate";
        case MARLIX_ERR_NO_TRANSLATION: return "no translation between these media";
        case MARLIX_ERR_NO_MEMORY: return "no memory";
        case MARLIX_ERR_REFUSED: return "the arguments were refused";
        case MARLIX_ERR_INTERNAL: return "an internal failure";
        case MARLIX_ERR_NOT_KEPT: return "the keep string would read back as another label";
        case MARLIX_ERR_TC_EMPTY:
        case MARLIX_ERR_TC_SYNTAX:
        case MARLIX_ERR_TC_FIELD_RANGE:
        case MARLIX_ERR_TC_DROPPED_LABEL:
        case MARLIX_ERR_TC_DROP_SEPARATOR:
        case MARLIX_ERR_TC_TRAILING_TEXT:
        case MARLIX_ERR_TC_OUT_OF_RANGE:
        case MARLIX_ERR_TC_UNKNOWN_RATE:
        case MARLIX_ERR_TC_RATE_MISMATCH:
        case MARLIX_ERR_TC_NO_PULLDOWN:
            return smpte::error_text(static_cast<smpte::error>(status - capi::tc_status_offset));
    }
    return nullptr;
}
#pragma GCC diagnostic pop

// The statuses need six bits, so 0..63 are values of the enumeration and
// convert to it; any other int does not.
constexpr int status_values = 64;
static_assert(MARLIX_ERR_TC_NO_PULLDOWN < status_values);

}  // namespace

const char* marlix_status_text(int status) {
    return guarded_or("an unknown status", [&] {
        char const* const text = status >= 0 && status < status_values
                                     ? text_of(static_cast<marlix_status>(status))
                                     : nullptr;
        return text != nullptr ? text : "an unknown status";
    });
}

const char* marlix_version(void) {
    return guarded_or("", [] { return library_version(); });
}

void marlix_set_diagnostic_sink(marlix_diagnostic_sink sink, void* context) {
    guarded_void([&] { set_diagnostic_sink(sink, context); });
}

void marlix_set_messages_to_standard_output(int on) {
    guarded_void([&] { set_messages_to_standard_output(on != 0); });
}

marlix_status marlix_type_find(const char* name, int32_t* type) {
    if (name == nullptr || type == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded(
        [&] { return found_into(front::find_converter_type(name), type, MARLIX_ERR_LABEL_TYPE); });
}

marlix_status marlix_type_name(int32_t type, char* out, size_t size) {
    if (!is_label_type(type)) return MARLIX_ERR_LABEL_TYPE;
    return guarded(
        [&] { return copy_out(label_type_class_name(static_cast<label_t>(type)), out, size); });
}

namespace {

front::reading reading_of(uint32_t flags) {
    return (flags & MARLIX_READ_LAX) != 0 ? front::reading::lax : front::reading::strict;
}

}  // namespace

marlix_status marlix_type_text(int32_t type, int32_t sample, const char* prefix, uint32_t flags,
                               char* out, size_t size) {
    if (out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        auto const text =
            front::label_text(static_cast<label_t>(type), sample, prefix, reading_of(flags));
        return text ? copy_out(text.value.c_str(), out, size) : status_of(text.why);
    });
}

marlix_status marlix_type_sample(int32_t type, const char* text, const char* prefix, uint32_t flags,
                                 int32_t* sample) {
    if (text == nullptr || sample == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        auto const read =
            front::label_sample(static_cast<label_t>(type), text, prefix, reading_of(flags));
        if (read) *sample = read.value;
        return status_of(read.why);
    });
}

marlix_status marlix_type_refusal(int32_t type, const char* text, const char* prefix,
                                  uint32_t flags, char* out, size_t size) {
    if (text == nullptr || out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        auto const t = static_cast<label_t>(type);
        std::string detail;
        auto const read = front::label_sample(t, text, prefix, reading_of(flags), &detail);
        return copy_out(read ? std::string() : front::describe(read.why, detail, t), out, size);
    });
}

marlix_status marlix_medium_find(const char* name, int32_t* medium) {
    if (name == nullptr || medium == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] { return found_into(front::find_medium(name), medium, MARLIX_ERR_MEDIUM); });
}

marlix_status marlix_medium_name(int32_t medium, char* out, size_t size) {
    return guarded([&] {
        char const* name = medium_name(static_cast<MediumRollMedium>(medium));
        if (*name == '\0') return MARLIX_ERR_MEDIUM;
        return copy_out(name, out, size);
    });
}

marlix_status marlix_medium_id_read(const char* text, int32_t label_type, marlix_medium_id* id) {
    if (text == nullptr || id == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        MediumRollIdent ident;
        MediumRollId_from_string(text, ident, family_of(label_type));
        if (ident.medium == MediumRollNone && ident.generation == MediumRollNoGen)
            return MARLIX_ERR_UNREADABLE;
        *id = from_ident(ident);
        return MARLIX_OK;
    });
}

marlix_status marlix_medium_id_text(marlix_medium_id id, char* out, size_t size) {
    if (!is_ident(id)) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        char text[medium_id_text_capacity];
        MediumRollId_to_string(text, to_ident(id));
        return copy_out(text, out, size);
    });
}

marlix_status marlix_medium_id_user_text(marlix_medium_id id, char* out, size_t size) {
    if (!is_ident(id)) return MARLIX_ERR_ARGUMENT;
    return guarded([&] { return copy_out(MediumRollId_to_UserString(to_ident(id)), out, size); });
}

int marlix_medium_id_fits(marlix_medium_id pattern, marlix_medium_id id) {
    if (!is_ident(pattern) || !is_ident(id)) return 0;
    return guarded_or(0, [&] { return to_ident(pattern).MediumRollId_fits_this(to_ident(id)); });
}

marlix_status marlix_medium_roll_keep_string(marlix_medium_id id, const char* reelid, char* out,
                                             size_t size) {
    if (!is_ident(id)) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        MediumRoll roll(to_ident(id));
        if (reelid != nullptr) roll.set_reelid(reelid);
        char keep[MediumRoll::keep_capacity];
        return copy_out(roll.make_keep_string(keep), out, size);
    });
}

marlix_status marlix_medium_roll_read(const char* keep, marlix_medium_id* id, char* reelid,
                                      size_t size) {
    if (keep == nullptr || id == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        MediumRoll const roll(keep);
        if (!roll.is_valid()) return MARLIX_ERR_UNREADABLE;
        *id = from_ident(roll.type());
        return reelid != nullptr ? copy_out(roll.get_reelid(), reelid, size) : MARLIX_OK;
    });
}

marlix_status marlix_label_new(int32_t type, marlix_label** label) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    if (!is_label_type(type) || !has_own_converter(static_cast<label_t>(type)))
        return MARLIX_ERR_LABEL_TYPE;
    return guarded([&] {
        auto handle   = std::make_unique<marlix_label>();
        handle->plain = std::make_unique<marlix::label>(static_cast<label_t>(type));
        handle->plain->set_length(front::default_kept_length(static_cast<label_t>(type)));
        *label = handle.release();
        return MARLIX_OK;
    });
}

marlix_status marlix_edit_label_new(int32_t type, marlix_medium_id id, marlix_label** label) {
    if (label == nullptr || !is_ident(id)) return MARLIX_ERR_ARGUMENT;
    if (!is_label_type(type) || !has_own_converter(static_cast<label_t>(type)))
        return MARLIX_ERR_LABEL_TYPE;
    return guarded([&] {
        auto handle  = std::make_unique<marlix_label>();
        handle->edit = std::make_unique<edit_label>(static_cast<label_t>(type), to_ident(id));
        handle->edit->set_length(front::default_kept_length(static_cast<label_t>(type)));
        *label = handle.release();
        return MARLIX_OK;
    });
}

namespace {

// A keep string as the front ends read one, into a new handle.
template <class L>
marlix_status read_keep(char const* keep, marlix_label** label,
                        std::unique_ptr<L> marlix_label::*slot,
                        front::result<std::unique_ptr<L>> (*read)(std::string_view)) {
    if (keep == nullptr || label == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        auto value = read(keep);
        if (!value) return status_of(value.why);
        auto handle     = std::make_unique<marlix_label>();
        (*handle).*slot = std::move(value.value);
        *label          = handle.release();
        return MARLIX_OK;
    });
}

}  // namespace

marlix_status marlix_label_read(const char* keep, marlix_label** label) {
    return read_keep<marlix::label>(keep, label, &marlix_label::plain, front::read_keep_string);
}

marlix_status marlix_edit_label_read(const char* keep, marlix_label** label) {
    return read_keep<edit_label>(keep, label, &marlix_label::edit, front::read_edit_keep_string);
}

void marlix_label_free(marlix_label* label) {
    guarded_void([&] { delete label; });
}

marlix_status marlix_label_keep_string(const marlix_label* label, char* out, size_t size) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        if (out == nullptr || size == 0) return MARLIX_ERR_ARGUMENT;
        auto const keep = label->edit ? front::keep_string_of(*label->edit)
                                      : front::keep_string_of(*label->plain);
        return keep ? copy_out(keep.value, out, size) : status_of(keep.why);
    });
}

marlix_status marlix_label_medium_id(const marlix_label* label, marlix_medium_id* id) {
    if (label == nullptr || id == nullptr || !label->edit) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        *id = from_ident(label->edit->get_MediumRoll());
        return MARLIX_OK;
    });
}

namespace {

template <class T, class F>
marlix_status read_field(marlix_label const* label, T* v, F field) {
    if (label == nullptr || v == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        *v = static_cast<T>(field(label->value()));
        return MARLIX_OK;
    });
}

// Calls f with the label as what it is: an edit label's own setters hide
// the label's (they keep its pitch and mark its keep string stale).
template <class F>
marlix_status as_held(marlix_label* label, F&& f) {
    return guarded([&] {
        if (label->edit)
            f(*label->edit);
        else
            f(*label->plain);
        return MARLIX_OK;
    });
}

}  // namespace

marlix_status marlix_label_type(const marlix_label* label, int32_t* type) {
    return read_field(label, type, [](marlix::label const& l) { return l.type(); });
}
marlix_status marlix_label_start(const marlix_label* label, int32_t* sample) {
    return read_field(label, sample, [](marlix::label const& l) { return l.get_start(); });
}
marlix_status marlix_label_length(const marlix_label* label, int32_t* samples) {
    return read_field(label, samples, [](marlix::label const& l) { return l.get_length(); });
}
marlix_status marlix_label_pitch(const marlix_label* label, double* seconds) {
    return read_field(label, seconds, [](marlix::label const& l) { return l.get_pitch(); });
}
marlix_status marlix_label_bounded(const marlix_label* label, int32_t* bounded) {
    return read_field(label, bounded, [](marlix::label const& l) { return l.bounded; });
}

marlix_status marlix_label_set_start(marlix_label* label, int32_t sample) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    return as_held(label, [&](auto& l) { l.set_start(static_cast<long32>(sample)); });
}

marlix_status marlix_label_set_start_text(marlix_label* label, const char* text, uint32_t flags) {
    if (label == nullptr || text == nullptr) return MARLIX_ERR_ARGUMENT;
    front::reason why          = front::reason::none;
    marlix_status const status = as_held(
        label, [&](auto& l) { why = front::set_start_text(l, text, reading_of(flags)).why; });
    return status != MARLIX_OK ? status : status_of(why);
}

marlix_status marlix_label_set_length(marlix_label* label, int32_t samples) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    return as_held(label, [&](auto& l) { l.set_length(static_cast<long32>(samples)); });
}

marlix_status marlix_label_set_pitch(marlix_label* label, double seconds) {
    if (label == nullptr || !std::isfinite(seconds)) return MARLIX_ERR_ARGUMENT;
    return as_held(label, [&](auto& l) { l.set_pitch(seconds); });
}

marlix_status marlix_label_set_bounded(marlix_label* label, int32_t bounded) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        label->value().set_bounded(bounded != 0 ? 1 : 0);
        return MARLIX_OK;
    });
}

marlix_status marlix_label_set_prefix(marlix_label* label, const char* prefix, uint32_t flags) {
    if (label == nullptr || prefix == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        if ((flags & MARLIX_READ_LAX) != 0) {
            label->value().set_prefix(prefix);
            return MARLIX_OK;
        }
        return status_of(front::set_typed_start_prefix(label->value(), prefix).why);
    });
}

marlix_status marlix_label_text_at(const marlix_label* label, int32_t relative, char* out,
                                   size_t size) {
    if (label == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        return copy_out(label->value().get_string(static_cast<long32>(relative)), out, size);
    });
}

marlix_status marlix_label_position(const marlix_label* label, const char* text, uint32_t flags,
                                    double* seconds) {
    if (label == nullptr || text == nullptr || seconds == nullptr) return MARLIX_ERR_ARGUMENT;
    return guarded([&] {
        auto const p = front::position_of(label->value(), text, reading_of(flags));
        if (!p) return status_of(p.why);
        if (std::fabs(p.value) >= invalid_position) return MARLIX_ERR_UNREADABLE;
        *seconds = p.value;
        return MARLIX_OK;
    });
}
