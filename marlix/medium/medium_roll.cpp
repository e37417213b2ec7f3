#include "marlix/medium/medium_roll.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "marlix/host/host_config.h"
#include "marlix/host/tokeniser.h"
#include "marlix/internal/ascii.h"
#include "marlix/internal/c_number.h"
#include "marlix/internal/scan_fields.h"
#include "marlix/internal/table_rows.h"
#include "marlix/medium/detail/media_classes.h"

namespace marlix {

namespace {

// One row per medium: its enumerator name without "MediumRoll" and the text
// users see for it.
struct medium_row {
    MediumRollMedium value;
    char const* name;
    char const* user;
};
// clang-format off
constexpr medium_row medium_rows[] = {
    {MediumRollNone, "None", "med?"},          {MediumRollAny, "Any", "med?"},
    {MediumRollFilm, "Film", "film"},          {MediumRollVideo, "Video", "video"},
    {MediumRollAudio, "Audio", "audio"},       {static_cast<MediumRollMedium>(5), "", "med?"},
    {static_cast<MediumRollMedium>(6), "", "med?"},
    {MediumRollTOVClock, "TOVClock", "med?"},  {MediumRollPlayoutVideo, "PlayoutVideo", "med?"},
    {static_cast<MediumRollMedium>(9), "", "med?"},
    {MediumRollLabFilm, "LabFilm", "ink"},     {MediumRollCompFilm, "CompFilm", "Lab"},
    {MediumRollTOVCel, "TOVCel", "med?"},      {MediumRoll24PVideo, "24PVideo", "24p"},
    {MediumRollPlayout24PVideo, "Playout24PVideo", "med?"},
    {MediumRoll24p, "24p", "24p"},    {MediumRoll24pM, "24pM", "24p"},
    {MediumRoll24i, "24i", "24i"},    {MediumRoll24iM, "24iM", "24i"},
    {MediumRoll25p, "25p", "25p"},    {MediumRoll25i, "25i", "25i"},
    {MediumRoll30p, "30p", "30p"},    {MediumRoll30pM, "30pM", "30p"},
    {MediumRoll30i, "30i", "30i"},    {MediumRoll30iM, "30iM", "30i"},
    {MediumRoll50p, "50p", "50p"},    {MediumRoll60p, "60p", "60p"},
    {MediumRoll60pM, "60pM", "60p"},
    {MediumRollPlayout24p, "Playout24p", "med?"},   {MediumRollPlayout24pM, "Playout24pM", "med?"},
    {MediumRollPlayout24i, "Playout24i", "med?"},   {MediumRollPlayout24iM, "Playout24iM", "med?"},
    {MediumRollPlayout25p, "Playout25p", "med?"},   {MediumRollPlayout25i, "Playout25i", "med?"},
    {MediumRollPlayout30p, "Playout30p", "med?"},   {MediumRollPlayout30pM, "Playout30pM", "med?"},
    {MediumRollPlayout30i, "Playout30i", "med?"},   {MediumRollPlayout30iM, "Playout30iM", "med?"},
    {MediumRollPlayout50p, "Playout50p", "med?"},   {MediumRollPlayout60p, "Playout60p", "med?"},
    {MediumRollPlayout60pM, "Playout60pM", "med?"},
};
// clang-format on
static_assert(std::size(medium_rows) == medium_count, "one row per medium 0..40");
static_assert(detail::rows_in_order(medium_rows, &medium_row::value), "row m describes medium m");

char const* generation_user_text(MediumRollGeneration g) {
    switch (g) {
        case MediumRollAnyGen: return ",anyGen";
        case MediumRoll1stGen: return ",1stGen";
        case MediumRoll2ndGen: return ",2ndGen";
        case MediumRoll3rdGen: return ",3rdGen";
        case MediumRoll4thGen: return ",4thGen";
        case MediumRollNoGen: break;
    }
    return ",gen?";
}

// The media a pattern medium accepts besides itself: the progressive and
// interlaced forms of one rate at single rate, video with video and playout
// with playout. 24PVideo stands for 24p, Playout24PVideo for Playout24p
// (and is accepted by the 24 fps playouts).
bool in_group(MediumRollMedium pattern, MediumRollMedium other) {
    if (pattern == MediumRoll24PVideo) pattern = MediumRoll24p;
    if (pattern == MediumRollPlayout24PVideo) pattern = MediumRollPlayout24p;
    bool const video = detail::is_video(pattern);
    if (!(video || detail::is_playout(pattern)) || detail::medium_class(pattern).double_rate())
        return false;
    Tov::FrameRate const rate = detail::medium_rate(pattern);
    if (other == MediumRollPlayout24PVideo) return !video && rate == Tov::FrameRate_24;
    return (video ? detail::is_video(other) : detail::is_playout(other)) &&
           detail::medium_rate(other) == rate;
}

constexpr char id_name[]     = "MediumRollId";
constexpr int keep_revision  = 1;
constexpr int max_generation = MediumRoll4thGen;

}  // namespace

thread_local char MediumRoll::keep_str[MediumRoll::keep_capacity];

int MediumRollIdent::MediumRollId_fits_this(MediumRollIdent const& o) const {
    if (o.medium == 0 || o.generation == 0 || medium == 0 || generation == 0) return 0;
    if (medium == MediumRollAny)
        return generation == MediumRollAnyGen || generation == o.generation ? 1 : 0;
    if (generation != MediumRollAnyGen && generation != o.generation) return 0;
    if (medium == o.medium) return 1;
    return in_group(medium, o.medium) ? 1 : 0;
}

char const* MediumRollId_name_str() { return id_name; }

void MediumRollId_to_string(char* buffer, MediumRollIdent const& id) {
    if (buffer == nullptr) return;
    std::snprintf(buffer, medium_id_text_capacity, "%d,%d", static_cast<int>(id.medium),
                  static_cast<int>(id.generation));
}

void MediumRollId_from_string(char const* text, MediumRollIdent& id, UserLabelType family) {
    id = MediumRollIdent();
    if (text == nullptr) return;
    using detail::scan_op;
    // "%2d,%1d"
    constexpr scan_op format[] = {detail::scan_number(2), detail::scan_literal(','),
                                  detail::scan_number(1)};
    long long f[2]             = {};
    int const n                = detail::scan_fields(text, format, f);
    if (n < 1) return;
    if (f[0] < 1 || f[0] >= medium_count) return;
    auto medium   = static_cast<MediumRollMedium>(f[0]);
    long long gen = n >= 2 ? f[1] : 0;
    if (gen == 0) {
        gen = medium == MediumRollVideo   ? MediumRoll1stGen
              : medium == MediumRollAudio ? MediumRoll2ndGen
                                          : MediumRollAnyGen;
        if (family == UserLabelInk) medium = MediumRollLabFilm;
    }
    if (gen < 1 || gen > max_generation) return;
    id = MediumRollIdent(medium, static_cast<MediumRollGeneration>(gen));
}

void MediumRollId_from_tokens(tokeniser& t, MediumRollIdent& id) {
    MediumRollId_from_string(t.next(), id, UserLabelNone);
}

char const* MediumRollId_to_UserString(MediumRollIdent const& id) {
    thread_local char text[medium_id_text_capacity];  // one per thread, until its next call
    char const* medium =
        id.medium >= 0 && id.medium < medium_count ? medium_rows[id.medium].user : "med?";
    std::snprintf(text, sizeof text, "%s%s", medium, generation_user_text(id.generation));
    return text;
}

char const* medium_name(MediumRollMedium m) {
    return m >= 0 && m < medium_count ? medium_rows[m].name : "";
}

bool find_medium(char const* text, MediumRollMedium& m) {
    if (text == nullptr || *text == '\0') return false;
    int n           = 0;
    char const* end = text + std::strlen(text);
    auto const r    = std::from_chars(text, end, n);
    if (r.ec == std::errc() && r.ptr == end) {
        if (n < 0 || n >= medium_count) return false;
        m = static_cast<MediumRollMedium>(n);
        return true;
    }
    for (int i = 0; i < medium_count; ++i) {
        char const* name = medium_rows[i].name;
        if (*name != '\0' && detail::same_ignoring_case(name, text)) {
            m = static_cast<MediumRollMedium>(i);
            return true;
        }
    }
    return false;
}

MediumRoll::MediumRoll(MediumRollMedium m, MediumRollGeneration g) : id(m, g), reelid{} {}
MediumRoll::MediumRoll(MediumRollIdent const& ident) : id(ident), reelid{} {}
MediumRoll::MediumRoll(MediumRoll const& r) : id(r.id), reelid{} { set_reelid(r.reelid); }

MediumRoll::MediumRoll(char const* text) : reelid{} {
    if (text != nullptr) fill_from_string(text);
}

MediumRoll::MediumRoll(MediumRollIdent const& ident, configb* store) : reelid{} {
    if (store == nullptr) return;
    char number[medium_id_text_capacity];
    MediumRollId_to_string(number, ident);
    char name[sizeof "MediumRoll" + medium_id_text_capacity];
    std::snprintf(name, sizeof name, "MediumRoll%s", number);
    char value[configb::in_buffer_size];
    if (store->in(name, value) == 0) fill_from_string(value);
}

MediumRoll& MediumRoll::operator=(MediumRoll const& r) {
    id = r.id;
    std::memcpy(reelid, r.reelid, sizeof reelid);
    reelid[reelid_capacity - 1] = '\0';
    return *this;
}

void MediumRoll::set_reelid(char const* s) { detail::copy_text(reelid, s != nullptr ? s : ""); }

int MediumRoll::operator==(MediumRoll const& r) const {
    return std::strcmp(reelid, r.reelid) == 0 && id.MediumRollId_fits_this(r.id) ? 1 : 0;
}

char const* MediumRoll::make_keep_string(char* buffer) const {
    char* out = buffer != nullptr ? buffer : keep_str;
    char number[medium_id_text_capacity];
    MediumRollId_to_string(number, id);
    std::snprintf(out, keep_capacity, "REV:%d %s:%s reelid:%s", keep_revision, id_name, number,
                  reelid);
    return out;
}

void MediumRoll::write_to_config(configb* store) const {
    if (store == nullptr) return;
    char number[medium_id_text_capacity];
    MediumRollId_to_string(number, id);
    char name[sizeof "MediumRoll" + medium_id_text_capacity];
    std::snprintf(name, sizeof name, "MediumRoll%s", number);
    store->set(name, make_keep_string(nullptr), nullptr);
    strp_field field;
    field.set(reelid, 0);
    char const* reel_name = id.medium == MediumRollFilm         ? "camreel"
                            : id.generation == MediumRoll1stGen ? "reelid"
                                                                : "reelid1";
    store->set(reel_name, field);
}

void MediumRoll::fill_from_string(char const* text) {
    tokeniser t(text, ": ");
    if (t.count() < 4) return;
    if (std::strcmp(t.token(0), "REV") != 0) return;
    if (detail::read_c_number(t.token(1)) != keep_revision) return;
    if (std::strcmp(t.token(2), id_name) != 0) return;
    MediumRollId_from_string(t.token(3), id, UserLabelNone);
    char const* keyword = t.token(4);
    if (keyword == nullptr || std::strcmp(keyword, "reelid") != 0) return;
    if (char const* reel = t.token(5)) set_reelid(reel);
}

MediumRollIdent& get_invalid_MediumRollIdent() {
    static MediumRollIdent invalid;
    return invalid;
}

MediumRoll* invalid_MediumRoll() {
    static MediumRoll invalid(MediumRollNone, MediumRollNoGen);
    return &invalid;
}

}  // namespace marlix
