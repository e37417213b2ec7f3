#include "marlix/front/pull.h"

#include <cstdint>
#include <utility>

#include "marlix/front/timecode_text.h"

namespace marlix::front {

namespace {

template <class T>
result<T> refused(reason why, std::string* detail, std::string text) {
    if (detail != nullptr) *detail = std::move(text);
    return {{}, why};
}

}  // namespace

result<keycode_pull> keycode_pull::make(label_t stock, smpte::rate video, std::string_view sync,
                                        std::string* why) {
    if (label_type_family(stock) != UserLabelKeycode)
        return refused<keycode_pull>(reason::not_keycode_stock, why, "");
    auto labels = labeller::make(stock);
    if (!labels) return refused<keycode_pull>(labels.why, why, "");
    if (!smpte::pull(0, video))
        return refused<keycode_pull>(reason::no_film_pull, why, smpte::rate_name(video));
    std::size_t const eq = sync.find('=');
    if (eq == sync.npos) return refused<keycode_pull>(reason::not_a_sync_point, why, "KEYCODE=TC");
    auto const key = labels.value.sample(sync.substr(0, eq));  // the roll, then the count
    if (!key) return refused<keycode_pull>(reason::sync_keycode, why, labels.value.refusal());
    auto const frame = read_timecode(sync.substr(eq + 1), video);
    if (!frame)
        return refused<keycode_pull>(reason::sync_video_timecode, why,
                                     smpte::error_text(frame.why));
    result<keycode_pull> out;
    out.value.labels_ = std::move(labels.value);
    out.value.labels_.set_prefix(out.value.labels_.prefix_read());  // the sync point's roll
    out.value.video_       = video;
    out.value.sync_sample_ = key.value;
    out.value.sync_frame_  = frame.value.frames();
    return out;
}

result<bool> keycode_pull::set_count(count& c, label_t type, char const* what,
                                     std::string_view at_sync, std::string* why) {
    if (type == LABEL_NONE) return refused<bool>(reason::no_gauge_count, why, what);
    auto labels = labeller::make(type);
    if (!labels) return refused<bool>(labels.why, why, "");
    // 3-perf film has ink numbers of 4-perf frames only: none to print here.
    if (labels.value.samples_per_unit() != labels_.samples_per_unit())
        return refused<bool>(reason::no_gauge_count, why, what);
    auto const at = labels.value.sample(at_sync);
    if (!at) return refused<bool>(reason::sync_count, why, labels.value.refusal());
    if (labels.value.has_prefix()) labels.value.set_prefix(labels.value.prefix_read());
    c = {std::move(labels.value), at.value, true};
    return {true};
}

label_t keycode_pull::footage_type() const { return label_t_to_foot_label_t(stock()); }
label_t keycode_pull::ink_type() const { return label_t_to_ink_label_t(stock()); }

result<bool> keycode_pull::set_footage(std::string_view at_sync, std::string* why) {
    return set_count(footage_, footage_type(), "footage", at_sync, why);
}

result<bool> keycode_pull::set_ink(std::string_view at_sync, std::string* why) {
    return set_count(ink_, ink_type(), "ink number", at_sync, why);
}

// The roll holds the samples its converter does not wrap, [0, end); the
// frames nearest its ends are those in step with the sync point's.
result<pulled_keycode> keycode_pull::operator()(smpte::timecode video) {
    refusal_.clear();
    if (video.frame_rate() != video_) return {{}, reason::timecode_rate_differs};
    std::int64_t const from_sync = std::int64_t{video.frames()} - sync_frame_;
    auto const pulled            = smpte::pull(from_sync, video_);
    std::int64_t const unit      = labels_.samples_per_unit() > 0 ? labels_.samples_per_unit() : 1;
    long32 const last            = labels_.normalise(-1);  // INVALID_SAMPLE past 32 bits
    std::int64_t const end = last == INVALID_SAMPLE ? std::int64_t{INT32_MAX} + 1 : last + 1LL;
    std::int64_t const s   = sync_sample_ + pulled.value.film_frame * unit;
    if (pulled && s >= 0 && s < end) {
        pulled_keycode out{labels_.text(static_cast<long32>(s)), pulled.value.split};
        // Footage and ink run with the film from their sync point's frame.
        for (auto [c, text] : {std::pair{&footage_, &out.footage}, std::pair{&ink_, &out.ink}}) {
            if (!c->given) continue;
            std::int64_t const at = c->at_sync + (s - sync_sample_);
            if (at < INT32_MIN + 1 || at > INT32_MAX) return {{}, reason::count_out_of_range};
            char const* t = c->labels.text(static_cast<long32>(at));
            while (*t == ' ') ++t;  // the blank footage keeps for a sign
            *text = t;
        }
        return {out};
    }
    bool const before = pulled ? s < 0 : from_sync < 0;
    std::int64_t const bound =
        before ? sync_sample_ % unit : sync_sample_ + (end - 1 - sync_sample_) / unit * unit;
    refusal_ = before ? "before its first frame, " : "past its last frame, ";
    refusal_ += labels_.text(static_cast<long32>(bound));
    return {{}, reason::outside_roll};
}

result<smpte::sync_point> read_pulldown_sync(std::string_view text, smpte::rate from,
                                             smpte::rate to, std::string* why) {
    std::size_t const eq = text.find('=');
    if (eq == text.npos)
        return refused<smpte::sync_point>(reason::not_a_sync_point, why, "FILMTC=VIDEOTC");
    bool const from_film   = from.nominal() == 24;
    smpte::rate const film = from_film ? from : to, video = from_film ? to : from;
    auto const f = read_timecode(text.substr(0, eq), film);
    if (!f)
        return refused<smpte::sync_point>(reason::sync_film_timecode, why,
                                          smpte::error_text(f.why));
    auto const v = read_timecode(text.substr(eq + 1), video);
    if (!v)
        return refused<smpte::sync_point>(reason::sync_video_timecode, why,
                                          smpte::error_text(v.why));
    return {{f.value.frames(), v.value.frames()}};
}

}  // namespace marlix::front
