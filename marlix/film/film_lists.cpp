// Matchback: each video edit to its clip, its source range to film frames
// through the clip's pulldown, the frames to key numbers; then the lists.

#include "marlix/film/film_lists.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <numeric>
#include <tuple>

#include "marlix/edl/detail/edl_support.h"
#include "marlix/front/labeller.h"
#include "marlix/front/timecode_text.h"
#include "marlix/internal/table_rows.h"

namespace marlix::film {

namespace {

// The kinds' names, in the enumeration's order.
constexpr char const* finding_names[] = {"none",           "reel_by_prefix", "reel_by_clip_name",
                                         "ambiguous_reel", "rate_differs",   "rounding_past_clip",
                                         "dupes_cut_short"};
static_assert(std::size(finding_names) == list_finding_kind_count, "a name for every finding kind");

// Half up: floor((2a + b) / 2b) for a >= 0, b > 0.
std::int64_t round_half_up(std::int64_t a, std::int64_t b) { return (2 * a + b) / (2 * b); }

bool is_black(std::string_view reel) { return reel == "BL" || reel == "BLK" || reel == "BLACK"; }

std::string compact(char const* text) {
    std::string out;
    for (char const* p = text; *p != '\0'; ++p)
        if (*p != ' ') out += *p;
    return out;
}

std::string transition_note(edl::transition const& t) {
    switch (t.kind) {
        case edl::transition_kind::cut: return "";
        case edl::transition_kind::dissolve:
            return "dissolve " + std::to_string(t.frames) + ": overlap needed";
        case edl::transition_kind::wipe:
            return "wipe " + std::to_string(t.wipe) + " " + std::to_string(t.frames) +
                   ": overlap needed";
        case edl::transition_kind::key:
        case edl::transition_kind::key_background:
        case edl::transition_kind::key_overlay: return "key: optical";
    }
    return "";
}

void add_note(std::string& notes, std::string const& note) {
    if (note.empty()) return;
    if (!notes.empty()) notes += "; ";
    notes += note;
}

// The edit's source timecode at the log's rate: the same label where only
// drop-frame counting differs.
bool at_rate(smpte::timecode t, smpte::rate r, std::int32_t& frames) {
    if (t.frame_rate() == r) {
        frames = t.frames();
        return true;
    }
    if (t.frame_rate().nominal() != r.nominal()) return false;
    auto const read = smpte::read(smpte::to_string(t), r);
    frames          = read.value.frames();
    return read.ok();
}

class list_maker {
public:
    list_maker(edl::document const& list, clip_index const& index, list_options const& options)
        : list_(list), index_(index), options_(options) {}

    film_lists make() {
        for (telecine_log const& log : index_.logs())
            if (out_.stock == LABEL_NONE) out_.stock = log.stock;
        geometry_ = geometry_of(out_.stock);
        rate_     = cadence_of(list_.rate, pullin::a, options_.pal_24_25);
        std::vector<edl::edit const*> edits;
        for (edl::edit const& e : list_.edits)
            if (e.channels.video && e.record_out.frames() > e.record_in.frames())
                edits.push_back(&e);
        std::stable_sort(edits.begin(), edits.end(), [](auto a, auto b) {
            return a->record_in.frames() < b->record_in.frames();
        });
        std::int64_t const ppf = geometry_.perfs_per_frame > 0 ? geometry_.perfs_per_frame : 1;
        leader_frames_         = options_.leader_perfs / ppf;
        record_before_.assign(list_.edits.size(), 0);
        for (edl::edit const* e : edits) {
            record_before_[static_cast<std::size_t>(e - list_.edits.data())] = record_frames_;
            cut(*e);
        }
        make_pulls();
        make_dupes();
        quiet_ = true;
        for (std::size_t k = 0; k < list_.edits.size(); ++k) effects(k);
        out_.totals.events        = static_cast<std::int64_t>(out_.cuts.size());
        out_.totals.frames        = cut_frames_;
        out_.totals.feet_frames   = feet_frames_text(cut_frames_, geometry_);
        out_.totals.record_frames = record_frames_;
        out_.totals.running_time  = smpte::to_string(
             smpte::timecode(
                 static_cast<std::int32_t>(std::min<std::int64_t>(record_frames_, INT32_MAX)),
                 list_.rate),
             false);
        return std::move(out_);
    }

private:
    void find(list_finding_kind k, edl::edit const& e, std::string what) {
        if (quiet_) return;
        out_.findings.push_back({k, e.event, e.line, std::move(what)});
    }

    // The tape of a reel: the reel map, the tape of that name, the one tape
    // whose name it starts.
    clip_index::tape_clips const* tape_of(edl::edit const& e, std::string_view reel) {
        for (auto const& [from, to] : options_.reel_map)
            if (from == reel) return index_.tape(to);
        if (auto const* t = index_.tape(reel)) return t;
        if (reel.empty()) return nullptr;
        auto const tapes = index_.tapes_starting(reel);
        if (tapes.size() == 1) {
            find(list_finding_kind::reel_by_prefix, e, std::string(tapes.front()));
            return index_.tape(tapes.front());
        }
        if (!tapes.empty()) find(list_finding_kind::ambiguous_reel, e, std::string(reel));
        return nullptr;
    }

    // The clip holding the source in: the last to start at or before it.
    clip_index::entry const* in_tape(clip_index::tape_clips const& tape, edl::edit const& e) {
        telecine_log const& log = index_.logs()[tape.clips.front().log];
        std::int32_t in{};
        if (!at_rate(e.source_in, log.rate, in)) {
            find(list_finding_kind::rate_differs, e, smpte::rate_name(log.rate));
            return nullptr;
        }
        return tape.holder(in);
    }

    clip_index::entry const* clip_of(edl::edit const& e) {
        std::string_view const reel = list_.text(e.reel);
        if (auto const* t = tape_of(e, reel)) {
            if (auto const* c = in_tape(*t, e)) return c;
        }
        std::string_view const name = list_.text(e.clip);
        if (auto const* n = name.empty() ? nullptr : index_.named(name)) {
            for (clip_index::entry const& c : *n) {
                telecine_log const& log = index_.logs()[c.log];
                std::int32_t in{};
                if (at_rate(e.source_in, log.rate, in) && in >= c.start && in < c.end) {
                    find(list_finding_kind::reel_by_clip_name, e, std::string(name));
                    return &c;
                }
            }
        }
        return nullptr;
    }

    // The labellers of a stock: key numbers and ink numbers of its gauge.
    struct stock_labels {
        label_t stock = LABEL_NONE;
        front::labeller keys, inks;
    };
    stock_labels& labels_of(label_t stock) {
        for (auto& l : labels_)
            if (l->stock == stock) return *l;
        auto made   = std::make_unique<stock_labels>();
        made->stock = stock;
        auto k      = front::labeller::make(stock);
        if (k) made->keys = std::move(k.value);
        label_t const ink_type = label_t_to_ink_label_t(stock);
        auto i                 = front::labeller::make(ink_type);
        if (ink_type != LABEL_NONE && i) made->inks = std::move(i.value);
        labels_.push_back(std::move(made));
        return *labels_.back();
    }

    std::string key_text(front::labeller& keys, std::string const& prefix, std::int64_t sample) {
        if (sample < 0 || sample > INT32_MAX) return "";
        keys.set_prefix(prefix);
        return compact(keys.text(static_cast<long32>(sample)));
    }

    std::string ink_text(front::labeller& inks_, std::string_view ink, std::int64_t offset_frames) {
        if (ink.empty() || inks_.type() == LABEL_DUMMY) return "";
        auto const s = inks_.sample(ink);
        if (!s) return "";
        std::string const prefix =
            std::string(inks_.prefix_read())
                .substr(0, static_cast<std::size_t>(std::max(inks_.prefix_length(), 0)));
        std::int64_t const at = s.value + offset_frames * inks_.samples_per_unit();
        if (at < 0 || at > INT32_MAX) return "";
        inks_.set_prefix(prefix);
        return compact(inks_.text(static_cast<long32>(at)));
    }

    void missing(edl::edit const& e, missing_kind k, std::string clip) {
        out_.missing.push_back({e.event, e.line, std::string(list_.text(e.reel)), k,
                                std::move(clip), e.source_in, e.source_out});
    }

    // A row of edit e: the event, its line, reel and record.
    template <class Row>
    Row row_of(edl::edit const& e) const {
        Row row;
        row.event      = e.event;
        row.line       = e.line;
        row.reel       = std::string(list_.text(e.reel));
        row.record_in  = e.record_in;
        row.record_out = e.record_out;
        return row;
    }

    void cut(edl::edit const& e) {
        auto row             = row_of<cut_row>(e);
        row.source_in        = e.source_in;
        row.source_out       = e.source_out;
        std::int64_t const v = std::int64_t{e.record_out.frames()} - e.record_in.frames();
        // The running total: the record so far in film frames, half up.
        std::int64_t const before = cut_frames_;
        record_frames_ += v;
        cut_frames_ = round_half_up(record_frames_ * rate_.num, rate_.den);
        row.frames  = cut_frames_ - before;
        row.adjust =
            static_cast<std::int32_t>(row.frames - round_half_up(v * rate_.num, rate_.den));
        row.feet_frames    = feet_frames_text(row.frames, geometry_);
        row.running_frames = leader_frames_ + cut_frames_;
        row.running_feet   = feet_frames_text(row.running_frames, geometry_);
        if (row.frames == 0) add_note(row.notes, "shorter than a film frame: no frame cut");
        if (row.adjust != 0)
            add_note(row.notes, row.adjust > 0 ? "rounding: +1 frame" : "rounding: -1 frame");
        add_note(row.notes, transition_note(e.how));
        if (e.has_motion)
            add_note(row.notes,
                     "M2 " + edl::detail::speed_text(e.speed.speed_tenths) + " fps: optical");
        if (is_black(row.reel)) {
            add_note(row.notes, "black: leader");
            out_.cuts.push_back(std::move(row));
            return;
        }
        clip_index::entry const* found = clip_of(e);
        sound(e, found);
        if (found == nullptr) {
            missing(e, missing_kind::no_clip, "");
            add_note(row.notes, "no log clip");
            out_.cuts.push_back(std::move(row));
            return;
        }
        telecine_log const& log = index_.logs()[found->log];
        clip const& c           = log.clips[found->clip];
        row.clip                = std::string(log.field(c, column::name));
        row.tape                = std::string(log.field(c, column::tape));
        row.camroll             = std::string(log.field(c, column::camroll));
        row.labroll             = std::string(log.field(c, column::labroll));
        row.scene               = std::string(log.field(c, column::scene));
        row.take                = std::string(log.field(c, column::take));
        stock_geometry const g  = geometry_of(log.stock);
        if (!c.kn_start.present || g.perfs_per_frame == 0) {
            missing(e, missing_kind::no_key_numbers, row.clip);
            add_note(row.notes, "no key numbers");
            out_.cuts.push_back(std::move(row));
            return;
        }
        std::int32_t in{}, out{};
        at_rate(e.source_in, log.rate, in);
        bool const out_read = at_rate(e.source_out, log.rate, out);
        if (!out_read || out > c.end.frames()) {
            missing(e, missing_kind::outside_clip, row.clip);
            add_note(row.notes, "source past the clip's End");
        }
        cadence const cad            = cadence_of(log.rate, c.phase, options_.pal_24_25);
        std::int64_t const film_in   = nearest_film_frame(cad, std::int64_t{in} - c.start.frames());
        std::int64_t const film_last = film_in + row.frames - 1;
        std::int64_t const clip_last =
            last_film_frame(cad, std::int64_t{c.end.frames()} - c.start.frames() - 1);
        if (film_last > clip_last && out_read && out <= c.end.frames()) {
            find(list_finding_kind::rounding_past_clip, e, row.clip);
            add_note(row.notes, "rounding takes a frame past the clip (flash frame?)");
        }
        std::int64_t const ppf = g.perfs_per_frame;
        stock_labels& labels   = labels_of(log.stock);
        row.stock              = log.stock;
        row.key_prefix         = c.kn_start.prefix;
        std::int64_t const s0  = c.kn_start.sample + film_in * ppf;
        std::int64_t const s1  = c.kn_start.sample + film_last * ppf;
        row.key_in             = key_text(labels.keys, row.key_prefix, s0);
        row.key_out            = key_text(labels.keys, row.key_prefix, s1);
        if (row.key_in.empty() || row.key_out.empty()) {
            missing(e, missing_kind::outside_clip, row.clip);
            out_.cuts.push_back(std::move(row));
            return;
        }
        row.first_sample           = static_cast<std::int32_t>(s0);
        row.last_sample            = static_cast<std::int32_t>(s1);
        std::string_view const ink = log.field(c, column::ink_number);
        row.ink_in                 = ink_text(labels.inks, ink, film_in);
        row.ink_out                = ink_text(labels.inks, ink, film_last);
        row.matched                = true;
        out_.cuts.push_back(std::move(row));
    }

    // The pieces of negative: by lab roll, camera roll, roll and key.
    void make_pulls() {
        label_t last_stock = LABEL_NONE;
        std::vector<cut_row const*> used;
        for (cut_row const& r : out_.cuts)
            if (r.matched && r.frames > 0) used.push_back(&r);
        std::stable_sort(used.begin(), used.end(), [](cut_row const* a, cut_row const* b) {
            return std::tie(a->labroll, a->camroll, a->key_prefix, a->stock, a->first_sample) <
                   std::tie(b->labroll, b->camroll, b->key_prefix, b->stock, b->first_sample);
        });
        for (cut_row const* r : used) {
            std::int64_t const ppf = std::max(geometry_of(r->stock).perfs_per_frame, 1);
            pull_row* last         = out_.pulls.empty() ? nullptr : &out_.pulls.back();
            if (last != nullptr && last->labroll == r->labroll && last->camroll == r->camroll &&
                last->key_prefix == r->key_prefix && last_stock == r->stock &&
                std::int64_t{r->first_sample} <= std::int64_t{last->last_sample} + ppf) {
                if (r->last_sample > last->last_sample) {
                    last->last_sample = r->last_sample;
                    last->key_out     = r->key_out;
                }
                last->frames = (std::int64_t{last->last_sample} - last->first_sample) / ppf + 1;
                last->events.push_back(r->event);
                continue;
            }
            pull_row p;
            p.labroll      = r->labroll;
            p.camroll      = r->camroll;
            p.clip         = r->clip;
            p.key_prefix   = r->key_prefix;
            p.key_in       = r->key_in;
            p.key_out      = r->key_out;
            p.first_sample = r->first_sample;
            p.last_sample  = r->last_sample;
            p.frames       = r->frames;
            p.events.push_back(r->event);
            out_.pulls.push_back(std::move(p));
            last_stock = r->stock;
        }
    }

    // The sound of a picture cut: the clip's Sound TC is the sound timecode
    // at its Start, and sound runs with the picture.
    void sound(edl::edit const& e, clip_index::entry const* found) {
        auto s           = row_of<sound_row>(e);
        s.channels       = e.all_channels();
        s.channels.video = false;
        if (s.channels.empty()) {
            s.channels.add_audio(1);
            s.channels.add_audio(2);
        }
        if (found != nullptr) {
            telecine_log const& log     = index_.logs()[found->log];
            clip const& c               = log.clips[found->clip];
            s.clip                      = std::string(log.field(c, column::name));
            s.soundroll                 = std::string(log.field(c, column::soundroll));
            std::string_view const text = log.field(c, column::sound_tc);
            // At 29.97 and 59.94 the separator tells the sound's mode:
            // ';', '.' or ',' drop-frame, ':' not, whatever the picture's.
            smpte::rate sound_rate = log.rate;
            if (log.rate.nominal() == 30 || log.rate.nominal() == 60)
                sound_rate.drop = text.find_first_of(";.,") != text.npos;
            auto const sync = smpte::read(text, sound_rate);
            // The record keeps its instants (its frames), labelled in the
            // sound's mode.
            smpte::rate const record_rate = e.record_in.frame_rate();
            std::int32_t in{}, out{};
            if (!s.soundroll.empty() && sync.ok() && record_rate.num == sound_rate.num &&
                record_rate.den == sound_rate.den && at_rate(e.source_in, log.rate, in) &&
                at_rate(e.source_out, log.rate, out)) {
                std::int64_t const from = std::int64_t{sync.value.frames()} + in - c.start.frames();
                std::int64_t const to = std::int64_t{sync.value.frames()} + out - c.start.frames();
                if (from >= 0 && to >= from && to <= INT32_MAX) {
                    s.found      = true;
                    s.sound_in   = smpte::timecode(static_cast<std::int32_t>(from), sound_rate);
                    s.sound_out  = smpte::timecode(static_cast<std::int32_t>(to), sound_rate);
                    s.record_in  = smpte::timecode(e.record_in.frames(), sound_rate);
                    s.record_out = smpte::timecode(e.record_out.frames(), sound_rate);
                }
            }
        }
        out_.sounds.push_back(std::move(s));
    }

    // The negative a cut's key numbers name, with its handles: on each roll,
    // the runs of frames two or more cuts use.
    void make_dupes() {
        struct use {
            std::int64_t at;
            bool starts;
            std::size_t cut;
        };
        std::map<std::pair<std::string, label_t>, std::vector<use>> rolls;
        std::int64_t const h = std::max<std::int32_t>(options_.handles, 0);
        for (std::size_t k = 0; k < out_.cuts.size(); ++k) {
            cut_row const& r = out_.cuts[k];
            if (!r.matched || r.frames <= 0) continue;
            std::int64_t const ppf = std::max(geometry_of(r.stock).perfs_per_frame, 1);
            auto& uses             = rolls[{r.key_prefix, r.stock}];
            uses.push_back({std::max<std::int64_t>(r.first_sample - h * ppf, 0), true, k});
            uses.push_back({std::int64_t{r.last_sample} + (h + 1) * ppf, false, k});
        }
        for (auto& [roll, uses] : rolls) {
            std::sort(uses.begin(), uses.end(), [](use const& a, use const& b) {
                return a.at != b.at ? a.at < b.at : a.starts < b.starts;
            });
            std::vector<std::size_t> active;  // cuts in record order
            std::int64_t const ppf = std::max(geometry_of(roll.second).perfs_per_frame, 1);
            for (std::size_t k = 0; k < uses.size(); ++k) {
                use const& u = uses[k];
                if (u.starts)
                    active.insert(std::lower_bound(active.begin(), active.end(), u.cut), u.cut);
                else
                    active.erase(std::lower_bound(active.begin(), active.end(), u.cut));
                if (active.size() < 2 || k + 1 == uses.size() || uses[k + 1].at == u.at) continue;
                std::int64_t const from = u.at, to = uses[k + 1].at;  // [from, to) perfs
                // Cuts staggered along a roll make a row each; past a bound
                // the list stops rather than grow without one.
                dupe_uses_ += active.size();
                if (dupe_uses_ > max_dupe_uses) {
                    out_.findings.push_back(
                        {list_finding_kind::dupes_cut_short, -1, 0, std::to_string(max_dupe_uses)});
                    return;
                }
                std::vector<std::int32_t> events;
                for (std::size_t const c : active) events.push_back(out_.cuts[c].event);
                dupe_row* last = out_.dupes.empty() ? nullptr : &out_.dupes.back();
                if (last != nullptr && last->key_prefix == roll.first &&
                    last->stock == roll.second && last->events == events &&
                    std::int64_t{last->last_sample} + ppf >= from) {
                    extend_dupe(*last, to - ppf, ppf);
                    continue;
                }
                cut_row const& first = out_.cuts[active.front()];
                dupe_row d;
                d.labroll      = first.labroll;
                d.camroll      = first.camroll;
                d.clip         = first.clip;
                d.key_prefix   = roll.first;
                d.stock        = roll.second;
                d.events       = std::move(events);
                d.first_sample = static_cast<std::int32_t>(std::min<std::int64_t>(from, INT32_MAX));
                d.key_in       = key_text(labels_of(d.stock).keys, d.key_prefix, from);
                d.last_sample  = d.first_sample;
                extend_dupe(d, to - ppf, ppf);
                out_.dupes.push_back(std::move(d));
            }
        }
    }

    void extend_dupe(dupe_row& d, std::int64_t last, std::int64_t ppf) {
        d.last_sample = static_cast<std::int32_t>(std::clamp<std::int64_t>(last, 0, INT32_MAX));
        d.key_out     = key_text(labels_of(d.stock).keys, d.key_prefix, d.last_sample);
        d.frames      = (std::int64_t{d.last_sample} - d.first_sample) / ppf + 1;
    }

    // The film of one side of an effect: frames film frames from the edit's
    // source in, matched as a cut is.
    void side_of(edl::edit const& e, std::int64_t frames, optical_side& side) {
        side.reel       = std::string(list_.text(e.reel));
        side.source_in  = e.source_in;
        side.source_out = e.source_out;
        side.frames     = frames;
        if (is_black(side.reel)) {
            side.black = true;
            return;
        }
        clip_index::entry const* found = clip_of(e);
        if (found == nullptr) return;
        telecine_log const& log = index_.logs()[found->log];
        clip const& c           = log.clips[found->clip];
        side.clip               = std::string(log.field(c, column::name));
        side.labroll            = std::string(log.field(c, column::labroll));
        side.camroll            = std::string(log.field(c, column::camroll));
        stock_geometry const g  = geometry_of(log.stock);
        std::int32_t in{};
        if (!c.kn_start.present || g.perfs_per_frame == 0 || frames <= 0 ||
            !at_rate(e.source_in, log.rate, in))
            return;
        cadence const cad          = cadence_of(log.rate, c.phase, options_.pal_24_25);
        std::int64_t const film_in = nearest_film_frame(cad, std::int64_t{in} - c.start.frames());
        std::int64_t const s0      = c.kn_start.sample + film_in * g.perfs_per_frame;
        std::int64_t const s1      = s0 + (frames - 1) * g.perfs_per_frame;
        side.key_prefix            = c.kn_start.prefix;
        side.key_in                = key_text(labels_of(log.stock).keys, side.key_prefix, s0);
        side.key_out               = key_text(labels_of(log.stock).keys, side.key_prefix, s1);
        if (side.key_in.empty() || side.key_out.empty()) return;
        side.first_sample = static_cast<std::int32_t>(s0);
        side.last_sample  = static_cast<std::int32_t>(s1);
        side.matched      = true;
    }

    std::int64_t record_before(edl::edit const& e) const {
        return record_before_[static_cast<std::size_t>(&e - list_.edits.data())];
    }

    std::int64_t film_of(std::int64_t video) const {
        return round_half_up(std::max<std::int64_t>(video, 0) * rate_.num, rate_.den);
    }

    void place(optical_row& o, edl::edit const& e, std::int64_t length) {
        o.event      = e.event;
        o.line       = e.line;
        o.length     = static_cast<std::int32_t>(std::min<std::int64_t>(length, INT32_MAX));
        o.record_in  = e.record_in;
        o.record_out = smpte::timecode(static_cast<std::int32_t>(std::min<std::int64_t>(
                                           std::int64_t{e.record_in.frames()} + length, INT32_MAX)),
                                       e.record_in.frame_rate());
        o.centre     = smpte::timecode(static_cast<std::int32_t>(std::min<std::int64_t>(
                                       std::int64_t{e.record_in.frames()} + length / 2, INT32_MAX)),
                                       e.record_in.frame_rate());
        o.centre_feet =
            feet_frames_text(leader_frames_ + film_of(record_before(e) + length / 2), geometry_);
        o.speed_tenths = e.has_motion ? e.speed.speed_tenths : list_.rate.nominal() * 10;
    }

    // The effects of the k-th edit: its dissolve, wipe or fade, and its M2
    // speed.
    void effects(std::size_t k) {
        edl::edit const& e = list_.edits[k];
        if (!e.channels.video || e.record_out.frames() <= e.record_in.frames()) return;
        edl::transition const& t = e.how;
        if (t.kind == edl::transition_kind::dissolve || t.kind == edl::transition_kind::wipe) {
            optical_row o;
            std::int64_t const length = std::max<std::int32_t>(t.frames, 0);
            place(o, e, length);
            o.film_frames = film_of(length);
            o.kind =
                t.kind == edl::transition_kind::wipe ? optical_kind::wipe : optical_kind::dissolve;
            o.wipe = t.wipe;
            // The outgoing side: the video line before, of the same event
            // (audio lines may stand between).
            for (std::size_t j = k; j-- > 0 && list_.edits[j].event == e.event;) {
                if (!list_.edits[j].channels.video) continue;
                o.has_out = true;
                side_of(list_.edits[j], o.film_frames, o.out);
                break;
            }
            side_of(e, o.film_frames, o.in);
            if (o.kind == optical_kind::dissolve && o.has_out && o.out.black)
                o.kind = optical_kind::fade_in;
            else if (o.kind == optical_kind::dissolve && o.in.black)
                o.kind = optical_kind::fade_out;
            o.lab = o.kind != optical_kind::wipe && !e.has_motion &&
                    std::find(options_.lab_lengths.begin(), options_.lab_lengths.end(), t.frames) !=
                        options_.lab_lengths.end();
            out_.opticals.push_back(std::move(o));
        }
        if (e.has_motion) {
            optical_row o;
            std::int64_t const v = std::int64_t{e.record_out.frames()} - e.record_in.frames();
            place(o, e, v);
            o.kind = optical_kind::speed;
            // The source the speed runs through: at least the entry frame.
            std::int64_t const nominal = std::max<std::int32_t>(list_.rate.nominal(), 1) * 10;
            std::int64_t const tenths  = e.speed.speed_tenths;
            std::int64_t const source =
                std::max<std::int64_t>((v * std::abs(tenths) + nominal - 1) / nominal, 1);
            edl::edit from = e;
            std::int64_t const at =
                std::int64_t{e.speed.entry.frames()} - (tenths < 0 ? source - 1 : 0);
            from.source_in = smpte::timecode(
                static_cast<std::int32_t>(std::clamp<std::int64_t>(at, 0, INT32_MAX)),
                e.speed.entry.frame_rate());
            from.source_out = smpte::timecode(static_cast<std::int32_t>(std::min<std::int64_t>(
                                                  from.source_in.frames() + source, INT32_MAX)),
                                              e.speed.entry.frame_rate());
            o.film_frames   = std::max<std::int64_t>(film_of(source), 1);
            side_of(from, o.film_frames, o.in);
            out_.opticals.push_back(std::move(o));
        }
    }

    edl::document const& list_;
    clip_index const& index_;
    list_options const& options_;
    film_lists out_;
    stock_geometry geometry_;
    cadence rate_;
    std::vector<std::unique_ptr<stock_labels>> labels_;
    std::int64_t record_frames_{}, cut_frames_{}, leader_frames_{};
    std::vector<std::int64_t> record_before_;  // record frames before each edit
    bool quiet_ = false;  // matching for an effect: the cut's findings are made
    std::size_t dupe_uses_{};
};

}  // namespace

clip_index::clip_index(std::vector<telecine_log> const& logs) : logs_(&logs) {
    for (std::size_t l = 0; l < logs.size(); ++l) {
        telecine_log const& log = logs[l];
        for (std::size_t k = 0; k < log.clips.size(); ++k) {
            clip const& c = log.clips[k];
            if (!c.has_range) continue;
            entry const e{c.start.frames(), c.end.frames(), static_cast<std::uint32_t>(l),
                          static_cast<std::uint32_t>(k)};
            std::string_view const tape = log.field(c, column::tape);
            if (!tape.empty()) tapes_[std::string(tape)].clips.push_back(e);
            std::string_view const name = log.field(c, column::name);
            if (!name.empty()) names_[std::string(name)].push_back(e);
        }
    }
    for (auto& [name, tape] : tapes_) tape.index();
}

void clip_index::tape_clips::index() {
    std::stable_sort(clips.begin(), clips.end(),
                     [](entry const& a, entry const& b) { return a.start < b.start; });
    latest_end_.assign(1, {});
    for (entry const& e : clips) latest_end_[0].push_back(e.end);
    for (std::size_t k = 1; std::size_t{1} << k <= clips.size(); ++k) {
        std::vector<std::int32_t> const& half = latest_end_[k - 1];
        std::size_t const step                = std::size_t{1} << (k - 1);
        std::vector<std::int32_t> level(clips.size() - 2 * step + 1);
        for (std::size_t j = 0; j < level.size(); ++j)
            level[j] = std::max(half[j], half.at(j + step));  // at: the level fits below
        latest_end_.push_back(std::move(level));
    }
}

clip_index::entry const* clip_index::tape_clips::holder(std::int32_t frame) const {
    // Clips [0, n) start at or before the frame; one of them holds it when
    // its End passes the frame. The latest End of clips [j, n) falls as j
    // grows, so the holder that starts last is where it last passes.
    auto const n = static_cast<std::size_t>(
        std::upper_bound(clips.begin(), clips.end(), frame,
                         [](std::int32_t v, entry const& c) { return v < c.start; }) -
        clips.begin());
    auto const latest_end_from = [&](std::size_t j) {
        std::size_t const k = static_cast<std::size_t>(std::bit_width(n - j)) - 1;
        return std::max(latest_end_[k][j], latest_end_[k][n - (std::size_t{1} << k)]);
    };
    if (n == 0 || latest_end_from(0) <= frame) return nullptr;
    // The last j where it passes, a bit at a time from the highest.
    std::size_t last = 0;
    for (std::size_t step = std::bit_floor(n); step != 0; step /= 2)
        if (last + step < n && latest_end_from(last + step) > frame) last += step;
    return &clips[last];
}

clip_index::tape_clips const* clip_index::tape(std::string_view name) const {
    auto const it = tapes_.find(name);
    return it == tapes_.end() ? nullptr : &it->second;
}

std::vector<std::string_view> clip_index::tapes_starting(std::string_view text) const {
    std::vector<std::string_view> out;
    for (auto it = tapes_.lower_bound(text); it != tapes_.end() && out.size() < 2; ++it) {
        if (it->first.compare(0, text.size(), text) != 0) break;
        out.emplace_back(it->first);
    }
    return out;
}

std::vector<clip_index::entry> const* clip_index::named(std::string_view name) const {
    auto const it = names_.find(name);
    return it == names_.end() ? nullptr : &it->second;
}

char const* finding_name(list_finding_kind k) { return detail::name_in(finding_names, k); }

severity severity_of(list_finding_kind k) {
    switch (k) {
        case list_finding_kind::none:
        case list_finding_kind::reel_by_clip_name: return severity::note;
        case list_finding_kind::reel_by_prefix:
        case list_finding_kind::ambiguous_reel:
        case list_finding_kind::rounding_past_clip:
        case list_finding_kind::dupes_cut_short: return severity::warning;
        case list_finding_kind::rate_differs: return severity::error;
    }
    return severity::error;
}

std::string describe(list_finding const& f) {
    switch (f.kind) {
        case list_finding_kind::none: return "no finding";
        case list_finding_kind::reel_by_prefix: return "reel taken as tape " + f.what;
        case list_finding_kind::reel_by_clip_name:
            return "clip found by its name " + f.what + ", not by its reel";
        case list_finding_kind::ambiguous_reel:
            return "reel " + f.what + " starts the names of several tapes: give a reel map";
        case list_finding_kind::rate_differs:
            return "the log counts " + f.what + ", not the list's rate";
        case list_finding_kind::rounding_past_clip:
            return "rounding takes a frame past the end of clip " + f.what;
        case list_finding_kind::dupes_cut_short:
            return "the dupe list stops at " + f.what + " uses of frames";
    }
    return "unknown finding";
}

namespace {

constexpr char const* optical_names[] = {"dissolve", "wipe", "fade_in", "fade_out", "speed"};
static_assert(std::size(optical_names) == optical_kind_count);
constexpr char const* change_names[] = {"add", "remove", "lengthen", "shorten"};
static_assert(std::size(change_names) == change_kind_count);
constexpr char const* missing_names[] = {"no_clip", "no_key_numbers", "outside_clip"};
static_assert(std::size(missing_names) == missing_kind_count);

}  // namespace

char const* optical_name(optical_kind k) { return detail::name_in(optical_names, k); }
char const* change_name(change_kind k) { return detail::name_in(change_names, k); }
char const* missing_name(missing_kind k) { return detail::name_in(missing_names, k); }

std::string feet_frames_text(std::int64_t frames, stock_geometry g) {
    if (g.perfs_per_frame <= 0 || g.perfs_per_foot <= 0) return std::to_string(frames);
    bool const negative      = frames < 0;
    std::int64_t const perfs = (negative ? -frames : frames) * g.perfs_per_frame;
    char text[sizeof("-9223372036854775807+-2147483648")];
    std::snprintf(text, sizeof text, "%s%lld+%02lld", negative ? "-" : "",
                  static_cast<long long>(perfs / g.perfs_per_foot),
                  static_cast<long long>(perfs % g.perfs_per_foot / g.perfs_per_frame));
    return text;
}

film_lists make_lists(edl::document const& list, clip_index const& index,
                      list_options const& options) {
    return list_maker(list, index, options).make();
}

edl::document audio_edl(film_lists const& lists, std::string_view title) {
    edl::document doc;
    doc.has_title = !title.empty();
    doc.title     = {0, static_cast<std::uint32_t>(title.size())};
    doc.body.assign(title);
    bool first = true;
    bool drop  = false;  // the mode the last FCM: line set
    for (sound_row const& s : lists.sounds) {
        smpte::rate const r = s.sound_in.frame_rate();
        if (!s.found || (!first && (r.num != doc.rate.num || r.den != doc.rate.den))) continue;
        if (first) doc.rate = r;
        // An FCM: line where the mode changes: in the heading, or after the
        // edit before.
        if (r.nominal() == 30 || r.nominal() == 60) {
            if (first || r.drop != drop) {
                edl::kept_line fcm;
                fcm.kind  = edl::line_kind::frame_code_mode;
                fcm.value = static_cast<std::int32_t>(r.drop);
                doc.lines.push_back(fcm);
                if (!doc.edits.empty()) ++doc.edits.back().line_count;
            }
            drop = r.drop;
        }
        first = false;
        edl::edit e;
        e.event = s.event;
        e.reel  = {static_cast<std::uint32_t>(doc.body.size()),
                   static_cast<std::uint32_t>(s.soundroll.size())};
        doc.body += s.soundroll;
        e.channels   = s.channels;
        e.source_in  = s.sound_in;
        e.source_out = s.sound_out;
        e.record_in  = s.record_in;
        e.record_out = s.record_out;
        e.first_line = static_cast<std::uint32_t>(doc.lines.size());
        doc.edits.push_back(e);
    }
    doc.reels = edl::detail::narrowest_layout(doc);
    return doc;
}

namespace {

// A cut as the change list sees it: a roll and the units it covers (key
// number samples, or source frames without key numbers), and its place in
// the running footage.
struct piece {
    cut_row const* cut;
    std::string roll;
    std::int64_t low{}, high{}, unit = 1;  // [low, high] inclusive
    std::int64_t start{}, end{};           // running film frames
};

std::vector<piece> pieces_of(film_lists const& l) {
    std::vector<piece> out;
    for (cut_row const& c : l.cuts) {
        if (c.frames <= 0) continue;
        piece p{
            .cut = &c, .roll = {}, .start = c.running_frames - c.frames, .end = c.running_frames};
        if (c.matched) {
            p.roll = "key " + c.key_prefix + " " + std::to_string(c.stock);
            p.low  = c.first_sample;
            p.high = c.last_sample;
            p.unit = std::max(geometry_of(c.stock).perfs_per_frame, 1);
        } else if (is_black(c.reel)) {
            p.roll = "black";
            p.high = c.frames - 1;
        } else {
            // The source frames, whichever way they run (a reverse or a
            // freeze still uses at least its in).
            std::int64_t const in = c.source_in.frames(), to = c.source_out.frames();
            p.roll = "reel " + c.reel;
            p.low  = std::min(in, to);
            p.high = std::max(std::max(in, to) - 1, p.low);
        }
        out.push_back(std::move(p));
    }
    return out;
}

bool same_shot(piece const& a, piece const& b) {
    return a.roll == b.roll && a.low <= b.high && b.low <= a.high;
}

class change_maker {
public:
    change_list make(film_lists const& previous, film_lists const& current) {
        stock_       = previous.stock != LABEL_NONE ? previous.stock : current.stock;
        auto const a = pieces_of(previous), b = pieces_of(current);
        std::size_t const n = a.size(), m = b.size();
        // The longest run of kept shots, where the table fits; else every
        // piece is replaced, which replays as well.
        std::vector<std::uint32_t> keep;
        if (n * m <= std::size_t{1} << 22) {
            keep.assign((n + 1) * (m + 1), 0);
            auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
                return keep[i * (m + 1) + j];
            };
            for (std::size_t i = n; i-- > 0;)
                for (std::size_t j = m; j-- > 0;)
                    at(i, j) = same_shot(a[i], b[j]) ? at(i + 1, j + 1) + 1
                                                     : std::max(at(i + 1, j), at(i, j + 1));
        }
        auto kept = [&](std::size_t i, std::size_t j) -> std::uint32_t {
            return keep.empty() ? 0 : keep[i * (m + 1) + j];
        };
        std::int64_t position = a.empty() ? 0 : a.front().start;
        std::size_t i = 0, j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && same_shot(a[i], b[j]) && kept(i, j) == kept(i + 1, j + 1) + 1) {
                trim(a[i], b[j]);
                position = a[i].end;
                ++i, ++j;
            } else if (i < n && (j == m || kept(i + 1, j) >= kept(i, j + 1))) {
                whole(change_kind::remove, a[i], a[i].start, a[i].low, a[i].high);
                position = a[i].end;
                ++i;
            } else {
                whole(change_kind::add, b[j], position, b[j].low, b[j].high);
                ++j;
            }
        }
        out_.reel_order.resize(out_.rows.size());
        std::iota(out_.reel_order.begin(), out_.reel_order.end(), std::uint32_t{0});
        std::stable_sort(
            out_.reel_order.begin(), out_.reel_order.end(), [&](std::uint32_t x, std::uint32_t y) {
                change_row const &p = out_.rows[x], &q = out_.rows[y];
                return std::tie(p.labroll, p.camroll, p.key_prefix, p.reel, p.first_sample) <
                       std::tie(q.labroll, q.camroll, q.key_prefix, q.reel, q.first_sample);
            });
        return std::move(out_);
    }

private:
    std::string key(cut_row const& c, std::int64_t sample) {
        if (!c.matched || sample < 0 || sample > INT32_MAX) return "";
        if (!keys_ || keys_->type() != c.stock) {
            auto made = front::labeller::make(c.stock);
            if (!made) return "";
            keys_ = std::make_unique<front::labeller>(std::move(made.value));
        }
        keys_->set_prefix(c.key_prefix);
        return compact(keys_->text(static_cast<long32>(sample)));
    }

    // A row of the piece p covering units [low, high].
    void whole(change_kind k, piece const& p, std::int64_t at, std::int64_t low, std::int64_t high,
               change_end end = change_end::whole) {
        cut_row const& c = *p.cut;
        change_row r;
        r.kind    = k;
        r.end     = end;
        r.at      = at;
        r.at_feet = feet_frames_text(at, geometry_of(stock_));
        r.event   = c.event;
        r.reel    = c.reel;
        r.clip    = c.clip;
        r.labroll = c.labroll;
        r.camroll = c.camroll;
        r.frames  = (high - low) / p.unit + 1;
        if (c.matched) {
            r.key_prefix   = c.key_prefix;
            r.first_sample = static_cast<std::int32_t>(low);
            r.last_sample  = static_cast<std::int32_t>(high);
            r.key_in       = key(c, low);
            r.key_out      = key(c, high);
        } else if (p.roll != "black") {
            r.source_in = smpte::timecode(static_cast<std::int32_t>(low), c.source_in.frame_rate());
            r.source_out =
                smpte::timecode(static_cast<std::int32_t>(high + 1), c.source_in.frame_rate());
        }
        out_.rows.push_back(std::move(r));
    }

    // A kept shot: what its head and tail gain or lose.
    void trim(piece const& was, piece const& now) {
        if (now.low < was.low)
            whole(change_kind::lengthen, now, was.start, now.low, was.low - now.unit,
                  change_end::head);
        else if (now.low > was.low)
            whole(change_kind::shorten, was, was.start, was.low, now.low - was.unit,
                  change_end::head);
        if (now.high > was.high)
            whole(change_kind::lengthen, now, was.end, was.high + now.unit, now.high,
                  change_end::tail);
        else if (now.high < was.high)
            whole(change_kind::shorten, was, was.end, now.high + was.unit, was.high,
                  change_end::tail);
    }

    label_t stock_ = LABEL_NONE;
    std::unique_ptr<front::labeller> keys_;
    change_list out_;
};

}  // namespace

change_list make_change_list(film_lists const& previous, film_lists const& current) {
    return change_maker().make(previous, current);
}

}  // namespace marlix::film
