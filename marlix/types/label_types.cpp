#include "marlix/types/label_types.h"

#include <cstring>
#include <iterator>

#include "marlix/host/host_services.h"
#include "marlix/internal/ascii.h"
#include "marlix/internal/table_rows.h"

namespace marlix {

namespace {

// One row per label type: the converter class, the EDL name written, the
// EDL name read (null where none is read; "" for the empty rows of the name
// table, which a text starting with white space matches), the family and
// the foot, ink and keycode types of the same gauge.
struct label_type_row {
    label_t value;
    char const* class_name;
    char const* edl_written;
    char const* edl_read;
    UserLabelType family;
    label_t foot, ink, key;
};

// clang-format off
constexpr label_type_row label_type_rows[] = {
    {LABEL_NONE, "prefix_label", "BAD", nullptr, UserLabelNone, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_FIXED, "fixed_label", "BAD", nullptr, UserLabelFixed, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_VARIABLE, "variable_label", "BAD", nullptr, UserLabelNone, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_DUMMY, "dummy_label", "BAD", nullptr, UserLabelNone, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_TIMECODE, "timecode_label", "BAD", nullptr, UserLabelTimecode, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_PAL, "pal_label", "P", "P", UserLabelTimecode, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_NTSC, "ntsc_label", "N", "N", UserLabelTimecode, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_NTSC_DROP, "ntsc_drop_label", "ND", "ND", UserLabelTimecode, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_TC_24, "tc_24_label", "P24", "P24", UserLabelTimecode, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_KEYCODE, "keycode_label", "BAD", "", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_KEYCODE_35, "keycode_35_label", "F35", "F35", UserLabelKeycode, LABEL_FOOT_35, LABEL_INK_35, LABEL_KEYCODE_35},
    {LABEL_KEYCODE_16, "keycode_16_label", "F16", "F16", UserLabelKeycode, LABEL_FOOT_16, LABEL_INK_16, LABEL_KEYCODE_16},
    {LABEL_KEYCODE_353, "keycode_353_label", "F353", "F353", UserLabelKeycode, LABEL_FOOT_353, LABEL_INK_35, LABEL_KEYCODE_353},
    {LABEL_FOOT, "foot_label", "BAD", "", UserLabelFeet, LABEL_NONE, LABEL_INK_35, LABEL_KEYCODE_35},
    {LABEL_FOOT_35, "foot_35_label", "BAD", "", UserLabelFeet, LABEL_FOOT_35, LABEL_INK_35, LABEL_KEYCODE_35},
    {LABEL_FOOT_16, "foot_16_label", "BAD", "", UserLabelFeet, LABEL_FOOT_16, LABEL_INK_16, LABEL_KEYCODE_16},
    {LABEL_FOOT_353, "foot_353_label", "BAD", "", UserLabelFeet, LABEL_FOOT_353, LABEL_NONE, LABEL_KEYCODE_353},
    {LABEL_INK, "ink_label", "I35", "", UserLabelInk, LABEL_FOOT_35, LABEL_NONE, LABEL_NONE},
    {LABEL_INK_35, "ink_35_label", "I35", "I35", UserLabelInk, LABEL_FOOT_35, LABEL_INK_35, LABEL_KEYCODE_35},
    {LABEL_INK_16, "ink_16_label", "I16", "I16", UserLabelInk, LABEL_FOOT_16, LABEL_INK_16, LABEL_KEYCODE_16},
    {LABEL_TC_48, "tc_48_label", "P48", "P48", UserLabelTimecode, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_KEYCODE_35_4, "keycode_35_label_4", "F35_4", "F35_4", UserLabelKeycode, LABEL_FOOT_35, LABEL_INK_35, LABEL_KEYCODE_35_4},
    {LABEL_KEYCODE_35_5, "keycode_35_label_5", "F35_5", "F35_5", UserLabelKeycode, LABEL_FOOT_35, LABEL_INK_35, LABEL_KEYCODE_35_5},
    {LABEL_KEYCODE_35_6, "keycode_35_label_6", "F35_6", "F35_6", UserLabelKeycode, LABEL_FOOT_35, LABEL_INK_35, LABEL_KEYCODE_35_6},
    {LABEL_KEYCODE_16_4, "keycode_16_label_4", "F16_4", "F16_4", UserLabelKeycode, LABEL_FOOT_16, LABEL_INK_16, LABEL_KEYCODE_16_4},
    {LABEL_KEYCODE_16_5, "keycode_16_label_5", "F16_5", "F16_5", UserLabelKeycode, LABEL_FOOT_16, LABEL_INK_16, LABEL_KEYCODE_16_5},
    {LABEL_KEYCODE_16_6, "keycode_16_label_6", "F16_6", "F16_6", UserLabelKeycode, LABEL_FOOT_16, LABEL_INK_16, LABEL_KEYCODE_16_6},
    {LABEL_KEYCODE_353_4, "keycode_353_label_4", "F353_4", "F353_4", UserLabelKeycode, LABEL_FOOT_353, LABEL_INK_35, LABEL_KEYCODE_353_4},
    {LABEL_KEYCODE_353_5, "keycode_353_label_5", "F353_5", "F353_5", UserLabelKeycode, LABEL_FOOT_353, LABEL_INK_35, LABEL_KEYCODE_353_5},
    {LABEL_KEYCODE_353_6, "keycode_353_label_6", "F353_6", "F353_6", UserLabelKeycode, LABEL_FOOT_353, LABEL_INK_35, LABEL_KEYCODE_353_6},
    {LABEL_FILM_FRAMES, "film_frames_label", "BAD", "FR", UserLabelFilmFrames, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_TC_50, "tc_50_label", "P50", "P50", UserLabelTimecode, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_TC_60, "tc_60_label", "P60", "P60", UserLabelTimecode, LABEL_NONE, LABEL_NONE, LABEL_NONE},
    {LABEL_KEYCODE_352, "keycode_352_label", "F352", "F352", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_KEYCODE_352},
    {LABEL_KEYCODE_358, "keycode_358_label", "F358", "F358", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_KEYCODE_358},
    {LABEL_KEYCODE_655_80, "keycode_655_80_label", "F655_80", "F655_80", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_KEYCODE_655_80},
    {LABEL_KEYCODE_658_80, "keycode_658_80_label", "F658_80", "F658_80", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_KEYCODE_658_80},
    {LABEL_KEYCODE_6510_80, "keycode_6510_80_label", "F6510_80", "F6510_80", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_KEYCODE_6510_80},
    {LABEL_KEYCODE_655_120, "keycode_655_120_label", "F655_120", "F655_120", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_KEYCODE_655_120},
    {LABEL_KEYCODE_658_120, "keycode_658_120_label", "F658_120", "F658_120", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_KEYCODE_658_120},
    {LABEL_KEYCODE_6510_120, "keycode_6510_120_label", "F6510_120", "F6510_120", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_KEYCODE_6510_120},
    {LABEL_KEYCODE_6515_120, "keycode_6515_120_label", "F6515_120", "F6515_120", UserLabelKeycode, LABEL_NONE, LABEL_NONE, LABEL_KEYCODE_6515_120},
};
// clang-format on
static_assert(std::size(label_type_rows) == label_type_count, "one row per label_t 0..41");

static_assert(detail::rows_in_order(label_type_rows, &label_type_row::value),
              "row i describes label_t i");

// The EDL name table is the read names of types 5 to 41 in order; the types
// below 5 have no row, and every one of those rows holds a name.
constexpr int first_named_type = 5;
constexpr bool name_table_complete() {
    for (std::size_t i = 0; i < std::size(label_type_rows); ++i)
        if ((label_type_rows[i].edl_read != nullptr) != (i >= first_named_type)) return false;
    return true;
}
static_assert(name_table_complete(), "types 5..41 each hold a row of the EDL name table");

constexpr label_type_row const* row_of(label_t t) {
    return t >= 0 && t < label_type_count ? &label_type_rows[t] : nullptr;
}

constexpr bool in_range(label_t t, label_t low, label_t high) { return t >= low && t <= high; }

constexpr bool is_keycode_type(label_t t) {
    return in_range(t, LABEL_KEYCODE_35, LABEL_KEYCODE_353) ||
           in_range(t, LABEL_KEYCODE_35_4, LABEL_KEYCODE_353_6) ||
           in_range(t, LABEL_KEYCODE_352, LABEL_KEYCODE_6515_120);
}

// s spells name, in either case, up to its end or white space.
bool spells_edl_name(char const* s, char const* name) {
    std::size_t n = 0;
    for (; name[n] != '\0'; ++n)
        if (marlix::detail::to_upper(s[n]) != name[n]) return false;
    return s[n] == '\0' || marlix::detail::is_space(s[n]);
}

}  // namespace

label_t edlstr_to_label_type(char const* s) {
    if (s == nullptr || s[0] == '\0') return LABEL_NONE;
    for (int t = first_named_type; t < label_type_count; ++t)
        if (spells_edl_name(s, label_type_rows[t].edl_read)) return static_cast<label_t>(t);
    return LABEL_NONE;
}

label_t edlstr_to_label_type(char const* s, UserLabelType family) {
    switch (family) {
        case UserLabelKeycode: return label_t_to_key_label_t(edlstr_to_label_type(s));
        case UserLabelFeet: return label_t_to_foot_label_t(edlstr_to_label_type(s));
        case UserLabelInk: return label_t_to_ink_label_t(edlstr_to_label_type(s));
        case UserLabelNone:
        case UserLabelAny:
        case UserLabelFixed:
        case UserLabelTimecode:
        case UserLabelFilmFrames: break;
    }
    return LABEL_NONE;
}

label_t edlstr_to_film_label_type(char const* s) {
    label_t const t = edlstr_to_label_type(s);
    return is_keycode_type(t) ? t : LABEL_NONE;
}

char const* label_type_to_edlstr(label_t t) {
    label_type_row const* row = row_of(t);
    return row == nullptr ? "BAD" : row->edl_written;
}

label_t label_t_to_foot_label_t(label_t t) {
    label_type_row const* row = row_of(t);
    return row == nullptr ? LABEL_NONE : row->foot;
}

label_t label_t_to_ink_label_t(label_t t) {
    label_type_row const* row = row_of(t);
    return row == nullptr ? LABEL_NONE : row->ink;
}

label_t label_t_to_key_label_t(label_t t) {
    label_type_row const* row = row_of(t);
    return row == nullptr ? LABEL_NONE : row->key;
}

label_t label_t_to_duration_label_t(label_t t) {
    bool const slow = Tov::has1001Factor(Tov::CurrentProject::getOutputImageTOVFrameRate());
    if (slow && t == LABEL_NTSC) return LABEL_NTSC_DROP;
    if (!slow && t == LABEL_NTSC_DROP) return LABEL_NTSC;
    return t;
}

int UserType_matches(UserLabelType a, UserLabelType b) {
    if (a == UserLabelAny || b == UserLabelAny) return 1;
    if (a != UserLabelNone && b != UserLabelNone) return a == b ? 1 : 0;
    return 0;
}

label_t TvStd_to_label_type(TCInf const& standard) {
    switch (standard.rate) {
        case Tov::FrameRate_24:
        case Tov::FrameRate_23_976:
        case Tov::FrameRate_48:
        case Tov::FrameRate_47_952: return LABEL_TC_24;
        case Tov::FrameRate_25:
        case Tov::FrameRate_50: return LABEL_PAL;
        default: return standard.drop_frame ? LABEL_NTSC_DROP : LABEL_NTSC;
    }
}

TCInf label_type_to_TvStd(label_t t) {
    switch (t) {
        case LABEL_PAL: return {Tov::FrameRate_25, false};
        case LABEL_NTSC: return {Tov::FrameRate_29_97, false};
        case LABEL_NTSC_DROP: return {Tov::FrameRate_29_97, true};
        case LABEL_TC_24: return {Tov::FrameRate_23_976, false};
        case LABEL_TC_48: return {Tov::FrameRate_48, false};
        case LABEL_TC_50: return {Tov::FrameRate_50, false};
        case LABEL_TC_60: return {Tov::FrameRate_60, false};
        default: return {Tov::FrameRate_None, false};
    }
}

double getDefaultTimecodeFrameRate(Tov::FrameRate r) {
    switch (r) {
        case Tov::FrameRate_23_976: return 24 / 1.001;
        case Tov::FrameRate_25:
        case Tov::FrameRate_50: return 25.0;
        case Tov::FrameRate_30:
        case Tov::FrameRate_60: return 30.0;
        case Tov::FrameRate_29_97:
        case Tov::FrameRate_59_94: return 30 / 1.001;
        default: return 24.0;
    }
}

label_t getDefaultLabelTypeforFrameRate(Tov::FrameRate r) {
    switch (r) {
        case Tov::FrameRate_25:
        case Tov::FrameRate_50: return LABEL_PAL;
        case Tov::FrameRate_30:
        case Tov::FrameRate_29_97:
        case Tov::FrameRate_60:
        case Tov::FrameRate_59_94: return LABEL_NTSC;
        default: return LABEL_TC_24;
    }
}

label_t getDefaultLabelTypeForProject() {
    bool const drop           = Tov::CurrentProject::getUseDropFrameTimecode();
    Tov::FrameRate const rate = Tov::CurrentProject::getFrameRate(0);
    return TvStd_to_label_type(TCInf{rate, drop});
}

char const* label_type_class_name(label_t t) {
    label_type_row const* row = row_of(t);
    return row == nullptr ? nullptr : row->class_name;
}

char const* label_type_edl_read_name(label_t t) {
    label_type_row const* row = row_of(t);
    return row == nullptr ? nullptr : row->edl_read;
}

UserLabelType label_type_family(label_t t) {
    label_type_row const* row = row_of(t);
    return row == nullptr ? UserLabelNone : row->family;
}

char const* user_label_type_name(UserLabelType u) {
    switch (u) {
        case UserLabelNone: return "UserLabelNone";
        case UserLabelAny: return "UserLabelAny";
        case UserLabelFixed: return "UserLabelFixed";
        case UserLabelTimecode: return "UserLabelTimecode";
        case UserLabelKeycode: return "UserLabelKeycode";
        case UserLabelFeet: return "UserLabelFeet";
        case UserLabelInk: return "UserLabelInk";
        case UserLabelFilmFrames: return "UserLabelFilmFrames";
    }
    return "";
}

}  // namespace marlix
