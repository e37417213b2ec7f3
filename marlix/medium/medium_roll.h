#pragma once

/// @file
/// The medium roll a label belongs to: its medium (film, video at a rate
/// and scan, sound, playout, the host's time bases) and generation, with
/// their text forms, the pattern match between identities, and the stored
/// form of a roll with its reel id.

#include <cstdint>

#include "marlix/export.h"
#include "marlix/types/label_types.h"

namespace marlix {

class configb;
class tokeniser;

enum MediumRollMedium : std::int32_t {
    MediumRollNone            = 0,
    MediumRollAny             = 1,
    MediumRollFilm            = 2,
    MediumRollVideo           = 3,
    MediumRollAudio           = 4,
    MediumRollTOVClock        = 7,
    MediumRollPlayoutVideo    = 8,
    MediumRollLabFilm         = 10,
    MediumRollCompFilm        = 11,
    MediumRollTOVCel          = 12,
    MediumRoll24PVideo        = 13,
    MediumRollPlayout24PVideo = 14,
    MediumRoll24p             = 15,
    MediumRoll24pM            = 16,
    MediumRoll24i             = 17,
    MediumRoll24iM            = 18,
    MediumRoll25p             = 19,
    MediumRoll25i             = 20,
    MediumRoll30p             = 21,
    MediumRoll30pM            = 22,
    MediumRoll30i             = 23,
    MediumRoll30iM            = 24,
    MediumRoll50p             = 25,
    MediumRoll60p             = 26,
    MediumRoll60pM            = 27,
    MediumRollPlayout24p      = 28,
    MediumRollPlayout24pM     = 29,
    MediumRollPlayout24i      = 30,
    MediumRollPlayout24iM     = 31,
    MediumRollPlayout25p      = 32,
    MediumRollPlayout25i      = 33,
    MediumRollPlayout30p      = 34,
    MediumRollPlayout30pM     = 35,
    MediumRollPlayout30i      = 36,
    MediumRollPlayout30iM     = 37,
    MediumRollPlayout50p      = 38,
    MediumRollPlayout60p      = 39,
    MediumRollPlayout60pM     = 40,
};
inline constexpr int medium_count = 41;  ///< 0..40

enum MediumRollGeneration : std::int32_t {
    MediumRollNoGen  = 0,
    MediumRollAnyGen = 1,
    MediumRoll1stGen = 2,
    MediumRoll2ndGen = 3,
    MediumRoll3rdGen = 4,
    MediumRoll4thGen = 5,
};

struct MARLIX_API MediumRollIdent {
    MediumRollMedium medium         = MediumRollNone;
    MediumRollGeneration generation = MediumRollNoGen;

    MediumRollIdent() = default;
    MediumRollIdent(MediumRollMedium m, MediumRollGeneration g) : medium(m), generation(g) {}

    int operator==(MediumRollIdent const& o) const {
        return medium == o.medium && generation == o.generation ? 1 : 0;
    }
    int operator!=(MediumRollIdent const& o) const { return *this == o ? 0 : 1; }
    /// 1 when this identity, as a pattern, accepts other: any medium or
    /// generation matches, and a rate's progressive and interlaced media
    /// accept each other. Not symmetric.
    int MediumRollId_fits_this(MediumRollIdent const& other) const;
};

/// "MediumRollId": the keyword before an identity in keep strings.
MARLIX_API char const* MediumRollId_name_str();
/// "medium,generation" into buffer, which holds medium_id_text_capacity chars.
inline constexpr int medium_id_text_capacity = 24;
MARLIX_API void MediumRollId_to_string(char* buffer, MediumRollIdent const& id);
/// Reads "medium[,generation]"; (0, 0) for text that is not an identity. A
/// missing or 0 generation is 1st for video, 2nd for audio, any otherwise;
/// then an ink label (family UserLabelInk) gets the lab film medium.
MARLIX_API void MediumRollId_from_string(char const* text, MediumRollIdent& id,
                                         UserLabelType family);
MARLIX_API void MediumRollId_from_tokens(tokeniser& t, MediumRollIdent& id);
/// "24p,1stGen": the user texts of medium and generation, in a buffer of the
/// calling thread, rewritten by its next call.
MARLIX_API char const* MediumRollId_to_UserString(MediumRollIdent const& id);
/// The medium's enumerator name without "MediumRoll" ("24pM", "Film",
/// "TOVClock"); "" for values that have none.
MARLIX_API char const* medium_name(MediumRollMedium m);
/// A medium as a person names it: its number (0..40) or its name as
/// medium_name gives it, in any case ("film", "30i", "PlayoutVideo").
/// False, with m untouched, for any other text.
MARLIX_API bool find_medium(char const* text, MediumRollMedium& m);

class MARLIX_API MediumRoll {
public:
    static constexpr int reelid_capacity = 32;  ///< 31 characters and a terminator
    static constexpr int keep_capacity   = 128;

    MediumRoll(MediumRollMedium m, MediumRollGeneration g);
    explicit MediumRoll(MediumRollIdent const& id);
    MediumRoll(MediumRoll const& r);
    /// Reads a keep string; (0, 0) with an empty reel id when text is null or
    /// not a medium-roll keep string.
    explicit MediumRoll(char const* text);
    /// The roll stored under "MediumRoll<medium,generation>" of id; (0, 0, "")
    /// when the store holds none.
    MediumRoll(MediumRollIdent const& id, configb* store);
    MediumRoll& operator=(MediumRoll const& r);

    MediumRollIdent& type() { return id; }
    MediumRollIdent const& type() const { return id; }
    void type_str(char* buffer) const { MediumRollId_to_string(buffer, id); }
    int is_valid() const { return id.medium != 0 && id.generation != 0 ? 1 : 0; }
    char const* get_reelid() const { return reelid; }
    /// Keeps at most 31 characters.
    void set_reelid(char const* s);
    /// Equal reel ids (case counts) and this identity accepting r's.
    int operator==(MediumRoll const& r) const;
    int operator!=(MediumRoll const& r) const { return *this == r ? 0 : 1; }
    /// "REV:1 MediumRollId:2,1 reelid:A001" into buffer (keep_capacity chars)
    /// or keep_str when buffer is null.
    char const* make_keep_string(char* buffer) const;
    /// Stores the keep string under "MediumRoll<m,g>" and the reel id under
    /// "camreel" (film), "reelid" (first generation) or "reelid1".
    void write_to_config(configb* store) const;

    /// One buffer per thread: valid until the thread's next keep string.
    static thread_local char keep_str[keep_capacity];

    MediumRollIdent id;
    char reelid[reelid_capacity];

private:
    void fill_from_string(char const* text);
};

MARLIX_API MediumRollIdent& get_invalid_MediumRollIdent();
MARLIX_API MediumRoll* invalid_MediumRoll();

}  // namespace marlix
