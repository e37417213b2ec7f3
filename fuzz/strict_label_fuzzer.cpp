// Strict reading of label texts, for every type with a converter:
// - every text the strict reader takes prints back as its normalised form,
//   and that form reads as itself;
// - every label the converter prints (of the printed shape: not the longer
//   texts past the last count) is taken, and reads back to that label.

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
front::labeller* labeller_of(label_t t) {
    static front::labeller* all[label_type_count] = {};
    static bool made                              = false;
    if (!made) {
        for (int k = 0; k < label_type_count; ++k) {
            auto m = front::labeller::make(static_cast<label_t>(k));
            if (m) all[k] = new front::labeller(std::move(m.value));
        }
        made = true;
    }
    return all[t];
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

void check_sample(front::labeller& labels, std::int32_t sample) {
    std::string const zero    = labels.text(0);
    std::string const printed = labels.text(sample);
    if (printed.size() != zero.size()) return;  // past the last count
    auto const read = labels.sample(printed);
    if (!read) std::abort();
    if (std::string(labels.text(read.value)) != printed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    if (size < 5) return 0;
    auto const t                  = static_cast<label_t>(data[0] % label_type_count);
    front::labeller* const labels = labeller_of(t);
    if (labels == nullptr) return 0;
    std::uint32_t bits = 0;
    std::memcpy(&bits, data + 1, sizeof bits);
    labels->set_prefix("KU229012");
    check_sample(*labels, static_cast<std::int32_t>(bits));
    check_text(t, *labels, std::string_view(reinterpret_cast<char const*>(data + 5), size - 5));
    return 0;
}
