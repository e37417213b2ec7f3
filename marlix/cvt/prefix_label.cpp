#include "marlix/cvt/prefix_label.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

#include "marlix/internal/c_number.h"
#include "marlix/values/label_point.h"

namespace marlix {

namespace {

// Copies at most n characters of src, stopping at its end, and terminates.
void copy_prefix(char* out, char const* src, int n) {
    int i = 0;
    for (; i < n && src[i] != '\0'; ++i) out[i] = src[i];
    out[i] = '\0';
}

// The prefix of a converter that shows none; writable because prefixes are
// handed out as char*, never written.
char no_prefix[1] = "";

int length_up_to(char const* s, int limit) {
    int n = 0;
    while (n < limit && s[n] != '\0') ++n;
    return n;
}

}  // namespace

prefix_label::prefix_label(int modulus_, long32 samples_per_unit_, int label_length)
    : variable_label(modulus_, samples_per_unit_),
      dummy_prefix(""),
      last_prefix{},
      label_len(std::clamp(label_length, 0, max_label_length)) {
    separator = '+';
}

void prefix_label::set_count_len(int n) {
    n          = std::clamp(n, 0, std::min(max_count_length, label_len));
    prefix_len = label_len - n;
    count_len  = n;
    int m      = 10;
    for (int i = 1; i < n; ++i) m *= 10;
    max_count = m - 1;
}

long32 prefix_label::normalise_into_count_cycle(long32 s) const {
    long long const cycle =
        detail::saturating_mul(detail::saturating_mul(unit_samples, max_count + 1LL), modulus);
    if (cycle <= 0) return s;
    if (s >= 0) return s < cycle ? s : static_cast<long32>(s % cycle);
    long long const r = s % cycle;
    long long const v = r == 0 ? 0 : r + cycle;
    return detail::fits_long32(v) ? static_cast<long32>(v) : INVALID_SAMPLE;
}

char const* prefix_label::type_str() { return "prefix_label"; }
label_t prefix_label::type() { return LABEL_NONE; }
UserLabelType prefix_label::UserType() { return UserLabelNone; }
bool prefix_label::has_prefix() { return true; }
int prefix_label::get_prefix_length() { return prefix_len; }
int prefix_label::get_count_length() { return count_len; }
char* prefix_label::get_dummy_prefix() { return const_cast<char*>(dummy_prefix); }

void prefix_label::set_prefix_templates(char const* suffix) {
    char editable[label_template::max_length + 1];
    char read_only[label_template::max_length + 1];
    int const p = prefix_width();
    int i       = 0;
    for (; i < label_len && i < label_template::max_length; ++i) {
        editable[i]  = i < p ? '?' : '9';
        read_only[i] = i < p ? '~' : '9';
    }
    editable[i] = read_only[i] = '\0';
    std::snprintf(editable + i, sizeof editable - static_cast<std::size_t>(i), "%s", suffix);
    std::snprintf(read_only + i, sizeof read_only - static_cast<std::size_t>(i), "%s", suffix);
    templates[0].set(editable);
    templates[1].set(read_only);
}

void prefix_label::build_template() {
    // Frame suffix: "+%02d" of the last frame for up to ten frames, else
    // the tens of the last frame with 9 ("+19" for 16 or 20 frames).
    char suffix[24];
    long long const m = modulus;  // 64 bits: any int modulus without overflow
    if (m <= 10)
        std::snprintf(suffix, sizeof suffix, "+%02lld", m - 1);
    else
        std::snprintf(suffix, sizeof suffix, "+%lld", (m - 1) / 10 * 10 + 9);
    set_prefix_templates(suffix);
}

// The remembered prefix is shared by every thread that prints through the
// converter. It is kept under a sequence lock: a writer makes the version
// odd, stores the characters and makes it even again; a reader copies the
// characters and keeps the copy only when the version was even and did not
// change meanwhile, so it always sees some complete prefix a writer stored.
// Every access goes through atomic_ref, and a print writes only when the
// prefix it shows differs from the remembered one.
void prefix_label::read_memory(char (&out)[max_label_length + 1]) const {
    std::atomic_ref<unsigned> const version(const_cast<unsigned&>(memory_version.value));
    for (;;) {
        unsigned const before = version.load(std::memory_order_acquire);
        if (before % 2 == 0) {
            // Acquire loads keep the second look at the version after them.
            for (int i = 0; i <= max_label_length; ++i)
                out[i] = std::atomic_ref<char>(const_cast<char&>(last_prefix[i]))
                             .load(std::memory_order_acquire);
            if (version.load(std::memory_order_relaxed) == before) break;
        }
    }
    out[max_label_length] = '\0';
}

void prefix_label::remember(char const* text, int n) {
    // Printing one roll after another stores nothing: compare first (text
    // holds at most n characters that matter, then its end).
    int i = 0;
    for (; i < n && text[i] != '\0'; ++i)
        if (std::atomic_ref<char>(last_prefix[i]).load(std::memory_order_relaxed) != text[i]) break;
    if ((i == n || text[i] == '\0') &&
        std::atomic_ref<char>(last_prefix[i]).load(std::memory_order_relaxed) == '\0')
        return;
    char next[max_label_length + 1] = {};
    copy_prefix(next, text, n);
    std::atomic_ref<unsigned> const version(memory_version.value);
    unsigned v = version.load(std::memory_order_relaxed);
    // One writer at a time takes the version from even to odd; acq_rel
    // keeps the stores below after that.
    for (;;) {
        if (v % 2 == 0 && version.compare_exchange_weak(v, v + 1, std::memory_order_acq_rel,
                                                        std::memory_order_relaxed))
            break;
        v = version.load(std::memory_order_relaxed);
    }
    for (int k = 0; k <= max_label_length; ++k)
        std::atomic_ref<char>(last_prefix[k])
            .store(k <= n ? next[k] : '\0', std::memory_order_release);
    version.store(v + 2, std::memory_order_release);
}

char* prefix_label::get_prefix(label_point* point) {
    if (!has_prefix()) return no_prefix;
    // The answer is written into the point's own text buffer, where
    // label_point::get_prefix and the printers want it; so a thread always
    // sees the prefix of its own point.
    char* const shown = point->text_buffer;
    int const p       = prefix_width();
    if (length_up_to(point->prefix_text, p) >= p) {
        copy_prefix(shown, point->prefix_text, p);
        remember(shown, p);
        return shown;
    }
    char memory[max_label_length + 1];
    read_memory(memory);
    if (length_up_to(memory, p) >= p) {
        copy_prefix(shown, memory, p);
    } else {
        copy_prefix(shown, dummy_prefix, p);
        remember(shown, p);
    }
    return shown;
}

void prefix_label::set_prefix(label_point* point, char const* text) {
    if (!has_prefix()) return;
    if (text == nullptr) text = "";
    int const p = prefix_width();
    if (length_up_to(text, p) >= p) {
        copy_prefix(point->prefix_text, text, label_len);
    } else {
        char now[max_label_length + 1];
        read_memory(now);
        if (length_up_to(now, p) < p) copy_prefix(point->prefix_text, dummy_prefix, label_len);
    }
    remember(point->prefix_text, p);
}

}  // namespace marlix
