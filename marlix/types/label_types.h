#pragma once

/// @file
/// The label type catalogue: the numbering of label types and families, the
/// EDL names types are written and read under, the maps between the keycode,
/// foot and ink types of one gauge, TV standards and default timecode types.
/// All functions are stateless; those that read the project ask the host on
/// every call.

#include <cstdint>

#include "marlix/export.h"
#include "marlix/host/frame_rate.h"

namespace marlix {

/// The type of a label, one value per converter class; 0 also stands for no
/// type. The values reach stored text and never change.
enum label_t : std::int32_t {
    LABEL_NONE             = 0,  ///< prefix_label, and the absence of a type
    LABEL_FIXED            = 1,
    LABEL_VARIABLE         = 2,
    LABEL_DUMMY            = 3,
    LABEL_TIMECODE         = 4,
    LABEL_PAL              = 5,  ///< 25 fps timecode
    LABEL_NTSC             = 6,  ///< 30 fps non-drop timecode
    LABEL_NTSC_DROP        = 7,  ///< 29.97 fps drop-frame timecode
    LABEL_TC_24            = 8,
    LABEL_KEYCODE          = 9,
    LABEL_KEYCODE_35       = 10,
    LABEL_KEYCODE_16       = 11,
    LABEL_KEYCODE_353      = 12,
    LABEL_FOOT             = 13,
    LABEL_FOOT_35          = 14,
    LABEL_FOOT_16          = 15,
    LABEL_FOOT_353         = 16,
    LABEL_INK              = 17,
    LABEL_INK_35           = 18,
    LABEL_INK_16           = 19,
    LABEL_TC_48            = 20,
    LABEL_KEYCODE_35_4     = 21,
    LABEL_KEYCODE_35_5     = 22,
    LABEL_KEYCODE_35_6     = 23,
    LABEL_KEYCODE_16_4     = 24,
    LABEL_KEYCODE_16_5     = 25,
    LABEL_KEYCODE_16_6     = 26,
    LABEL_KEYCODE_353_4    = 27,
    LABEL_KEYCODE_353_5    = 28,
    LABEL_KEYCODE_353_6    = 29,
    LABEL_FILM_FRAMES      = 30,
    LABEL_TC_50            = 31,
    LABEL_TC_60            = 32,
    LABEL_KEYCODE_352      = 33,
    LABEL_KEYCODE_358      = 34,
    LABEL_KEYCODE_655_80   = 35,
    LABEL_KEYCODE_658_80   = 36,
    LABEL_KEYCODE_6510_80  = 37,
    LABEL_KEYCODE_655_120  = 38,
    LABEL_KEYCODE_658_120  = 39,
    LABEL_KEYCODE_6510_120 = 40,
    LABEL_KEYCODE_6515_120 = 41,
};

/// Number of label types, 0 to 41.
inline constexpr int label_type_count = 42;

/// The family of a label type.
enum UserLabelType : std::int32_t {
    UserLabelNone       = 0,
    UserLabelAny        = 1,  ///< wildcard in UserType_matches
    UserLabelFixed      = 2,
    UserLabelTimecode   = 3,
    UserLabelKeycode    = 4,
    UserLabelFeet       = 5,
    UserLabelInk        = 6,
    UserLabelFilmFrames = 7,
};

/// A TV standard: a frame rate and whether its timecode drops frames.
struct TCInf {
    Tov::FrameRate rate;
    bool drop_frame;
};

/// EDL name to label type: case-insensitive, judged on the text up to its
/// first white space and at most 11 characters; 0 when not recognised or
/// when s is null or empty.
MARLIX_API label_t edlstr_to_label_type(char const* s);
/// EDL name to the keycode (family 4), foot (5) or ink (6) type of the same
/// gauge; 0 for every other family.
MARLIX_API label_t edlstr_to_label_type(char const* s, UserLabelType family);
/// EDL name to a keycode type; 0 for anything else.
MARLIX_API label_t edlstr_to_film_label_type(char const* s);
/// Label type to EDL name; "BAD" when the type has none. A constant string.
MARLIX_API char const* label_type_to_edlstr(label_t t);

MARLIX_API label_t label_t_to_foot_label_t(label_t t);
MARLIX_API label_t label_t_to_ink_label_t(label_t t);
MARLIX_API label_t label_t_to_key_label_t(label_t t);
/// The type a duration of type t is shown in: 30 fps non-drop and drop-frame
/// follow the 1000/1001 factor of the project's output rate.
MARLIX_API label_t label_t_to_duration_label_t(label_t t);

/// 1 when the families are compatible (UserLabelAny matches every family).
MARLIX_API int UserType_matches(UserLabelType a, UserLabelType b);

MARLIX_API label_t TvStd_to_label_type(TCInf const& standard);
MARLIX_API TCInf label_type_to_TvStd(label_t t);

/// Timecode rate in frames per second that goes with a picture rate.
MARLIX_API double getDefaultTimecodeFrameRate(Tov::FrameRate r);
MARLIX_API label_t getDefaultLabelTypeforFrameRate(Tov::FrameRate r);
MARLIX_API label_t getDefaultLabelTypeForProject();

/// Catalogue facts for tools and tests: the class name of the type's
/// converter class, the EDL name read for it (null when none is read; "" for
/// the rows whose read name is empty) and the family its class reports.
/// Out-of-range values answer null, null and UserLabelNone.
MARLIX_API char const* label_type_class_name(label_t t);
MARLIX_API char const* label_type_edl_read_name(label_t t);
MARLIX_API UserLabelType label_type_family(label_t t);
/// The name of a family ("UserLabelTimecode"); "" for values outside 0..7.
MARLIX_API char const* user_label_type_name(UserLabelType u);

}  // namespace marlix
