#include "marlix/values/edit_label.h"

#include <cstdio>
#include <cstring>

#include "marlix/host/host_services.h"
#include "marlix/medium/detail/media_classes.h"

namespace marlix {

namespace {

constexpr char beta_warning[] =
    "WARNING: Beta labels. Sometime, run VUVUVIZA (call us if confused).\n";

using detail::is_playout;
using detail::is_video;
using detail::medium_class;

// A video or playout medium at a whole rate of nominal n (30p, 30i, 60p
// and their playouts for 30 and 60).
bool whole_rate_medium(MediumRollMedium m, int n) {
    return medium_class(m).nominal == n && !medium_class(m).has_1001;
}

// Seconds per sample of a timecode type on a medium: every type counts 24
// a second on film; 30 fps timecode runs at exactly 30 on sound and on the
// integer-rate 30 and 60 media and at 29.97 elsewhere; 24 fps timecode runs
// at 23.976 on the "M" media; 25 fps timecode counts 50 a second on 50p.
// Answers 0 for types whose pitch the medium does not set.
double timecode_pitch(label_t t, MediumRollMedium m) {
    constexpr double film = 1.0 / 24;
    switch (t) {
        case LABEL_NTSC:
        case LABEL_NTSC_DROP:
            if (m == MediumRollFilm) return film;
            if (m == MediumRollAudio) return 1.0 / 30;
            if (whole_rate_medium(m, 30) || whole_rate_medium(m, 60)) return 1.0 / 30;
            return 0.03336666666666666;  // 1.001 / 30
        case LABEL_TC_60:
            if (m == MediumRollFilm) return film;
            if (m == MediumRollAudio) return 1.0 / 60;
            if (whole_rate_medium(m, 60)) return 1.0 / 60;
            return 0.01668333333333333;  // 1.001 / 60
        case LABEL_PAL:
            if (m == MediumRollFilm) return film;
            if (medium_class(m).nominal == 50) return 0.02;
            return 0.04;
        case LABEL_TC_48: return m == MediumRollFilm ? film : 1.0 / 48;
        case LABEL_TC_50: return m == MediumRollFilm ? film : 0.02;
        case LABEL_TC_24:
            if (medium_class(m).single_film() && medium_class(m).has_1001)
                return 0.04170833333333333;  // 1001 / 24000
            return film;
        default: return 0.0;
    }
}

// Playouts of one rate at single rate, progressive or interlaced, form a
// group: its number is their rate (1..5 for 24, 23.976, 25, 30, 29.97); 0
// for the double-rate playouts and other media.
int playout_group(MediumRollMedium m) {
    return is_playout(m) && !medium_class(m).double_rate() ? detail::medium_rate(m) : 0;
}

// The nominal single rate of a video medium's family: 24, 25 or 30.
int rate_family(MediumRollMedium m) {
    if (m == MediumRoll24PVideo) return 24;
    if (!is_video(m)) return 0;
    return detail::classify(detail::single_rate_of(m)).nominal;
}

}  // namespace

int edit_label::howmany = 0;

void edit_label::init(MediumRollIdent const& id) {
    medium_roll = id;
    fixup_pitch();
    dirty    = false;
    dumpable = 1;
    std::memset(keep_buffer, 0, sizeof keep_buffer);
    ++howmany;
}

edit_label::edit_label() : label(LABEL_NONE) {
    init(MediumRollIdent(MediumRollAny, MediumRollAnyGen));
}
edit_label::edit_label(label const& l, MediumRollIdent const& id) : label(l) { init(id); }
edit_label::edit_label(label_t t, MediumRollIdent const& id) : label(t) { init(id); }
edit_label::edit_label(label_point& p, MediumRollIdent const& id) : label(p) { init(id); }

edit_label::edit_label(edit_label const& e)
    : label(e), medium_roll(e.medium_roll), dumpable(e.dumpable) {
    std::memset(keep_buffer, 0, sizeof keep_buffer);
    ++howmany;
}

edit_label::edit_label(char const* text) : label(text) {
    std::memset(keep_buffer, 0, sizeof keep_buffer);
    medium_roll = MediumRollIdent(MediumRollAny, MediumRollAnyGen);
    if (text != nullptr) {
        if (char const* at = std::strstr(text, MediumRollId_name_str()))
            MediumRollId_from_string(at + std::strlen(MediumRollId_name_str()), medium_roll,
                                     UserType());
    }
    if (revision == 2) vimb_printf("%s", beta_warning);
    dumpable = 1;
    dirty    = false;
    ++howmany;
}

edit_label::~edit_label() { --howmany; }

edit_label& edit_label::operator=(edit_label const& e) {
    if (&e == this) return *this;
    label::operator=(e);
    medium_roll = e.medium_roll;
    return *this;
}

void edit_label::set_type(label_t t) {
    label::set_type(t);
    fixup_pitch();
}

void edit_label::set_MediumRoll(MediumRollIdent const& id) {
    if (id == medium_roll) return;
    medium_roll = id;
    fixup_pitch();
    dirty = true;
}

bool edit_label::is_valid() const {
    return UserType() != UserLabelNone && medium_roll.medium != 0 && medium_roll.generation != 0;
}

void edit_label::fixup_pitch() {
    double const p = timecode_pitch(type(), medium_roll.medium);
    if (p == 0.0) return;
    pitch = p;
    dirty = true;
}

void edit_label::fix_audio_label_pitch(transfer_type t, MediumRollMedium m) {
    Tov::FrameRate const film_speed = Tov::CurrentProject::getInCameraFilmSpeed();
    if (medium_roll.medium != MediumRollAudio) return;
    fixup_pitch();
    label_t const lt = type();
    double const r   = lt == LABEL_PAL                               ? 25.0
                       : (lt == LABEL_NTSC || lt == LABEL_NTSC_DROP) ? 30.0
                                                                     : 24.0;
    if (t != transfer_frame_for_frame && t != transfer_cadence) {
        bool const slow = is_video(m) && medium_class(m).has_1001;
        pitch           = slow ? (1 / r) * 1.001 : 1 / r;
        dirty           = true;
        return;
    }
    if (medium_roll.generation != MediumRoll1stGen) {
        pitch = 1 / r;
        dirty = true;
        return;
    }
    if (!is_video(m)) return;  // the pitch fixed up above stands
    int const family = rate_family(m);
    if (family == 24) {
        pitch = 1 / r;
    } else if (family == 25) {
        pitch =
            t == transfer_cadence || film_speed == Tov::FrameRate_25 ? 1 / r : ((1 / r) * 25) / 24;
    } else if (family == 30) {
        pitch =
            t == transfer_cadence || film_speed == Tov::FrameRate_30 ? 1 / r : ((1 / r) * 30) / 24;
    } else {
        return;
    }
    dirty = true;
}

bool edit_label::equivalentPlayoutLabelMediumRolls(edit_label const* other) const {
    if (other == nullptr) return false;
    MediumRollMedium const o = other->medium_roll.medium, t = medium_roll.medium;
    if (is_playout(o) && medium_class(o).double_rate()) return t == o;
    int const g = playout_group(o);
    return g != 0 && g == playout_group(t);
}

bool edit_label::equivalentPreviousGenerationMediumRolls(edit_label const* other) const {
    if (other == nullptr) return false;
    if (medium_roll.generation == MediumRoll1stGen ||
        other->medium_roll.generation == MediumRoll1stGen)
        return false;
    int const f = rate_family(other->medium_roll.medium);
    return f != 0 && f == rate_family(medium_roll.medium);
}

bool edit_label::operator==(edit_label const& e) const {
    return label::operator==(e) && medium_roll == e.medium_roll;
}

char const* edit_label::make_keep_string(char* buffer) {
    char* out = buffer != nullptr ? buffer : keep_buffer;
    char label_text[keep_string_capacity];
    label::make_keep_string(label_text);
    char id[medium_id_text_capacity];
    MediumRollId_to_string(id, medium_roll);
    // A label keep string at its longest leaves the identity cut, never
    // overrun.
    if (std::snprintf(out, keep_buffer_capacity, "%s %s %s", label_text, MediumRollId_name_str(),
                      id) < 0)
        out[0] = '\0';
    return out;
}

}  // namespace marlix
