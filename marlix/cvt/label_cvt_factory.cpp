#include "marlix/cvt/label_cvt_factory.h"

#include <cstring>
#include <iterator>

#include "marlix/cvt/foot_label.h"
#include "marlix/cvt/ink_label.h"
#include "marlix/cvt/keycode_label.h"
#include "marlix/cvt/timecode_label.h"
#include "marlix/internal/test_hooks.h"

namespace marlix {

namespace {

// Slots 42..49 stay empty.
constexpr int slot_count = converter_slot_count;

// The one place that says which class serves each label type; the shared
// table and the factory both build through it.
label_cvt* build(label_t t) {
    switch (t) {
        case LABEL_PAL:
        case LABEL_NTSC:
        case LABEL_NTSC_DROP:
        case LABEL_TC_24:
        case LABEL_TC_48:
        case LABEL_TC_50:
        case LABEL_TC_60: return make_timecode_label_cvt(t, TC_ALL_FIELDS);
        case LABEL_KEYCODE_35: return new keycode_35_label;
        case LABEL_KEYCODE_16: return new keycode_16_label;
        case LABEL_KEYCODE_353: return new keycode_353_label;
        case LABEL_FOOT_35: return new foot_35_label(4);
        case LABEL_FOOT_16: return new foot_16_label(4);
        case LABEL_FOOT_353: return new foot_353_label(4);
        case LABEL_INK_35: return new ink_35_label;
        case LABEL_INK_16: return new ink_16_label;
        case LABEL_KEYCODE_35_4: return new keycode_35_label_4;
        case LABEL_KEYCODE_35_5: return new keycode_35_label_5;
        case LABEL_KEYCODE_35_6: return new keycode_35_label_6;
        case LABEL_KEYCODE_16_4: return new keycode_16_label_4;
        case LABEL_KEYCODE_16_5: return new keycode_16_label_5;
        case LABEL_KEYCODE_16_6: return new keycode_16_label_6;
        case LABEL_KEYCODE_353_4: return new keycode_353_label_4;
        case LABEL_KEYCODE_353_5: return new keycode_353_label_5;
        case LABEL_KEYCODE_353_6: return new keycode_353_label_6;
        case LABEL_FILM_FRAMES: return new film_frames_label;
        case LABEL_KEYCODE_352: return new keycode_352_label;
        case LABEL_KEYCODE_358: return new keycode_358_label;
        case LABEL_KEYCODE_655_80: return new keycode_655_80_label;
        case LABEL_KEYCODE_658_80: return new keycode_658_80_label;
        case LABEL_KEYCODE_6510_80: return new keycode_6510_80_label;
        case LABEL_KEYCODE_655_120: return new keycode_655_120_label;
        case LABEL_KEYCODE_658_120: return new keycode_658_120_label;
        case LABEL_KEYCODE_6510_120: return new keycode_6510_120_label;
        case LABEL_KEYCODE_6515_120: return new keycode_6515_120_label;
        case LABEL_NONE:
        case LABEL_FIXED:
        case LABEL_VARIABLE:
        case LABEL_DUMMY:
        case LABEL_TIMECODE:
        case LABEL_KEYCODE:
        case LABEL_FOOT:
        case LABEL_INK: break;
    }
    return new dummy_label;
}

bool has_own_class(int t) {
    return t >= LABEL_PAL && t < label_type_count && t != LABEL_KEYCODE && t != LABEL_FOOT &&
           t != LABEL_INK;
}

struct shared_table {
    label_cvt* slots[slot_count] = {};

    shared_table() { detail::build_converter_slots(slots); }
};

// Built by the first caller; a function-local static is initialised once
// even when several threads arrive together, and a construction that
// throws is tried again by the next caller. Never destroyed: label values
// may point at the converters until the process ends.
shared_table const& table() {
    static shared_table const* const t = new shared_table;
    return *t;
}

}  // namespace

void detail::build_converter_slots(label_cvt* (&slots)[converter_slot_count]) {
    // One dummy for every type without a class, then the others in label
    // type order.
    for (label_cvt*& slot : slots) slot = nullptr;
    label_cvt* const dummy = build(LABEL_NONE);
    for (int t = 0; t < label_type_count; ++t)
        slots[t] = has_own_class(t) ? build(static_cast<label_t>(t)) : dummy;
}

label_cvt* make_timecode_label_cvt(label_t t, int fields) {
    switch (t) {
        case LABEL_PAL: return new pal_label(fields);
        case LABEL_NTSC: return new ntsc_label(fields);
        case LABEL_NTSC_DROP: return new ntsc_drop_label(fields);
        case LABEL_TC_24: return new tc_24_label(fields);
        case LABEL_TC_48: return new tc_48_label(fields);
        case LABEL_TC_50: return new tc_50_label(fields);
        case LABEL_TC_60: return new tc_60_label(fields);
        default: return nullptr;
    }
}

label_cvt* get_static_label_cvt(label_t t) {
    shared_table const& shared = table();
    return t >= 0 && t < slot_count ? shared.slots[t] : nullptr;
}

label_cvt* make_any_label_cvt(label_t t) {
    return build(t >= 0 && t < label_type_count ? t : LABEL_NONE);
}

label_t get_label_type(char const* name) {
    shared_table const& shared = table();
    if (name == nullptr) return LABEL_NONE;
    for (int t = 0; t < label_type_count; ++t)  // every type has a converter, if only the dummy
        if (std::strcmp(name, shared.slots[t]->type_str()) == 0) return static_cast<label_t>(t);
    return LABEL_NONE;
}

bool has_own_converter(label_t t) {
    label_cvt* c = get_static_label_cvt(t);
    return c != nullptr && c->type() == t;
}

}  // namespace marlix
