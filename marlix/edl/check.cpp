// The checks that need more than one line: an edit's lengths against its
// motion and transition, the events around it, and each channel's record
// timeline.

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "marlix/edl/detail/edl_support.h"

namespace marlix::edl::detail {

// Whether a motion edit's source span is one its writer could have given.
// Writers disagree on the span of n record frames at speed v (frames a
// second, at fps frames a labelled second):
//   floor((n - 1) * v / fps) + 1   the frame shown last, counted from the first
//   floor(n * v / fps) + 1         the frame after the last, counted likewise
//   n                              the record length, as at normal speed
// The speed is printed to 0.1 fps, so the speed used may be anywhere that
// prints the same: v +- 0.05. With x = 20 * v, floor(n * v / fps) is
// floor(n * x / (20 * fps)), exact in 64 bits (n < 2^31, x < 2^18).
bool span_explained(std::int64_t source, std::int64_t n, std::int32_t speed_tenths,
                    std::int32_t fps) {
    if (source == n) return true;
    if (fps <= 0) return false;
    std::int64_t const v    = std::abs(std::int64_t{speed_tenths});
    std::int64_t const low  = v == 0 ? 0 : 2 * v - 1;  // 20 * (v/10 - 0.05)
    std::int64_t const high = 2 * v + 1;               // 20 * (v/10 + 0.05)
    std::int64_t const den  = 20LL * fps;
    for (std::int64_t const count : {n - 1, n}) {
        if (count < 0) continue;
        if (source >= count * low / den + 1 && source <= count * high / den + 1) return true;
    }
    return false;
}

namespace {

// Video, and audio channels 1..99.
constexpr int channel_count = channel_set::max_audio + 1;

finding at_edit(finding_kind k, edit const& e) {
    finding f;
    f.kind  = k;
    f.line  = e.line;
    f.event = e.event;
    f.rate  = e.record_in.frame_rate();
    return f;
}

// Channel c of a set: 0 video, n audio n.
template <class F>
void for_each_channel(channel_set s, F&& fn) {
    if (s.video) fn(0);
    for (std::uint64_t bits = s.audio_low; bits != 0; bits &= bits - 1)
        fn(std::countr_zero(bits) + 1);
    for (std::uint64_t bits = s.audio_high; bits != 0; bits &= bits - 1)
        fn(std::countr_zero(bits) + 65);
}

// One edit's place on one channel's record timeline.
struct placed {
    std::int32_t channel;
    std::int64_t in, out;
    std::size_t edit;
    std::size_t event;  // the first edit of its event
};

class timelines {
public:
    explicit timelines(document& doc) : doc_(doc) {
        std::fill(std::begin(used_), std::end(used_), false);
    }

    void place(placed const& p) {
        edit const& e = doc_.edits[p.edit];
        if (used_[p.channel]) {
            std::int64_t const end = ends_[p.channel];
            // The lines of one event (a key's background and foreground)
            // share their record span.
            if (p.in != end && events_[p.channel] != p.event) {
                finding f = at_edit(
                    p.in < end ? finding_kind::record_overlap : finding_kind::record_gap, e);
                f.channel = p.channel;
                f.first   = p.in < end ? end - p.in : p.in - end;
                doc_.findings.push_back(f);
            }
            ends_[p.channel]   = std::max(end, p.out);
            events_[p.channel] = p.event;
        } else {
            events_[p.channel] = p.event;
            used_[p.channel]   = true;
            ends_[p.channel]   = p.out;
        }
    }

private:
    document& doc_;
    bool used_[channel_count];
    std::int64_t ends_[channel_count]  = {};
    std::size_t events_[channel_count] = {};
};

}  // namespace

void check(document& doc, bool strict) {
    std::vector<edit> const& edits = doc.edits;
    std::int32_t const fps         = doc.rate.nominal();
    std::vector<bool> seen(1000000);  // event numbers of the events above
    bool in_order        = true;
    std::int64_t last_in = 0;
    for (std::size_t i = 0; i < edits.size();) {
        std::size_t j = i + 1;
        while (j < edits.size() && edits[j].event == edits[i].event) ++j;
        // A dissolve, wipe or key: its outgoing cut and its key lines may
        // be zero length.
        bool paired = false;
        for (std::size_t k = i; k < j; ++k)
            paired = paired || (j - i > 1 && edits[k].how.kind != transition_kind::cut);
        auto const number = static_cast<std::size_t>(edits[i].event);
        if (seen[number]) doc.findings.push_back(at_edit(finding_kind::event_reused, edits[i]));
        seen[number]       = true;
        std::int64_t first = edits[i].record_in.frames();
        for (std::size_t k = i; k < j; ++k) {
            edit const& e             = edits[k];
            first                     = std::min<std::int64_t>(first, e.record_in.frames());
            std::int64_t const record = std::int64_t{e.record_out.frames()} - e.record_in.frames();
            std::int64_t source       = std::int64_t{e.source_out.frames()} - e.source_in.frames();
            if (source < 0) source = -source;
            if (record < 0 || (record == 0 && !paired)) {
                finding f = at_edit(
                    record < 0 ? finding_kind::record_reversed : finding_kind::zero_length, e);
                f.first  = e.record_in.frames();
                f.second = e.record_out.frames();
                doc.findings.push_back(f);
                continue;
            }
            if (e.has_motion ? !span_explained(source, record, e.speed.speed_tenths, fps)
                             : source != record) {
                finding f = at_edit(
                    e.has_motion ? finding_kind::speed_mismatch : finding_kind::length_mismatch, e);
                f.first  = source;
                f.second = record;
                f.which  = e.speed.speed_tenths;
                doc.findings.push_back(f);
            }
            if (e.how.kind != transition_kind::cut && e.how.frames > record) {
                finding f = at_edit(finding_kind::transition_too_long, e);
                f.first   = e.how.frames;
                f.second  = record;
                doc.findings.push_back(f);
            }
        }
        if (i > 0 && first < last_in) {
            in_order = false;
            doc.findings.push_back(at_edit(finding_kind::out_of_record_order, edits[i]));
        }
        last_in = first;
        i       = j;
    }

    // Each channel's timeline, in record order: lists sorted by source (B
    // and C mode) are sorted here first.
    std::vector<std::size_t> event_of(edits.size());
    for (std::size_t k = 0; k < edits.size(); ++k)
        event_of[k] = k > 0 && edits[k].event == edits[k - 1].event ? event_of[k - 1] : k;
    timelines lines(doc);
    auto placements = [&](std::size_t k, auto&& fn) {
        edit const& e = edits[k];
        if (e.record_out.frames() <= e.record_in.frames()) return;
        for_each_channel(e.all_channels(), [&](int c) {
            fn(placed{c, e.record_in.frames(), e.record_out.frames(), k, event_of[k]});
        });
    };
    if (in_order) {
        for (std::size_t k = 0; k < edits.size(); ++k)
            placements(k, [&](placed const& p) { lines.place(p); });
    } else {
        std::vector<placed> all;
        for (std::size_t k = 0; k < edits.size(); ++k)
            placements(k, [&](placed const& p) { all.push_back(p); });
        std::stable_sort(all.begin(), all.end(), [](placed const& a, placed const& b) {
            return std::tie(a.channel, a.in) < std::tie(b.channel, b.in);
        });
        for (placed const& p : all) lines.place(p);
    }

    std::stable_sort(doc.findings.begin(), doc.findings.end(),
                     [](finding const& a, finding const& b) { return a.line < b.line; });
    if (strict) {
        auto const error =
            std::find_if(doc.findings.begin(), doc.findings.end(),
                         [](finding const& f) { return f.level() == severity::error; });
        if (error != doc.findings.end()) doc.findings.erase(error + 1, doc.findings.end());
    }
}

}  // namespace marlix::edl::detail
