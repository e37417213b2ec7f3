// Strict reading of label texts, for every type with a converter:
// - every text the strict reader takes prints back as its normalised form,
//   and that form reads as itself;
// - every label the converter prints is taken, as the position the
//   converter reads it as.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "marlix/front/label_form.h"
#include "marlix/front/labeller.h"

namespace {

using namespace marlix;

// The labellers of every type, made once (nullptr: no converter).
front::labeller* labeller_of(label_t t, front::reading mode) {
    static front::labeller* all[2][label_type_count] = {};
    static bool made                                 = false;
    if (!made) {
        for (int k = 0; k < label_type_count; ++k)
            for (auto m : {front::reading::strict, front::reading::lax}) {
                auto l = front::labeller::make(static_cast<label_t>(k), TC_ALL_FIELDS, m);
                if (l) all[static_cast<int>(m)][k] = new front::labeller(std::move(l.value));
            }
        made = true;
    }
    return all[static_cast<int>(mode)][t];
}

void check_text(label_t t, front::labeller& labels, std::string_view text) {
    auto const read = labels.sample(text);
    if (!read) {
        if (labels.refusal().empty()) std::abort();  // every refusal says why
        return;
    }
    front::label_form const form = front::normalise_label(t, text);
    labels.set_prefix(labels.prefix_read());
    if (!form.ok() || form.text != labels.text(read.value)) std::abort();
    if (front::normalise_label(t, form.text).text != form.text) std::abort();
}

// A printed text is a label when the converter reads it back as a position
// that prints as the same text. That leaves out the markers ("NEGATIVE",
// ">>>>"), what prints where a count wraps or before a roll starts, and
// "-0000.00" just before zero; each of those names another position, or
// none.
// Film has no key numbers before the start of its roll: what a keycode or
// ink converter prints there (the 3-perf phase 4 of "+00.4") is no label.
void check_sample(front::labeller& labels, front::labeller& lax, std::int32_t sample) {
    UserLabelType const family = labels.family();
    if (sample < 0 && (family == UserLabelKeycode || family == UserLabelInk)) return;
    std::string const printed = labels.text(sample);
    auto const again          = lax.sample(printed);
    if (!again) return;
    lax.set_prefix(lax.prefix_read());
    if (printed != lax.text(again.value)) return;
    auto const read = labels.sample(printed);
    if (!read || read.value != again.value) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    if (size < 5) return 0;
    auto const t                  = static_cast<label_t>(data[0] % label_type_count);
    front::labeller* const labels = labeller_of(t, front::reading::strict);
    front::labeller* const lax    = labeller_of(t, front::reading::lax);
    if (labels == nullptr || lax == nullptr) return 0;
    std::uint32_t bits = 0;
    std::memcpy(&bits, data + 1, sizeof bits);
    labels->set_prefix("KU229012");
    check_sample(*labels, *lax, static_cast<std::int32_t>(bits));
    check_text(t, *labels, std::string_view(reinterpret_cast<char const*>(data + 5), size - 5));
    return 0;
}
