#include "marlix/cvt/prefix_label.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdio>
#include <cstring>

#include "marlix/internal/c_number.h"
#include "marlix/internal/text_writer.h"
#include "marlix/internal/three_perf.h"
#include "marlix/values/label_point.h"

namespace marlix {

namespace {

#if defined(__cpp_lib_atomic_ref)
template <class T>
using atomic_view = std::atomic_ref<T>;
#else
// Without std::atomic_ref: the operations the remembered prefix uses, on
// the same naturally aligned words, through the compiler's atomic builtins
// (which std::atomic_ref is built on where the library has it).
constexpr int builtin_order(std::memory_order order) {
    switch (order) {
        case std::memory_order_relaxed: return __ATOMIC_RELAXED;
        case std::memory_order_consume: return __ATOMIC_CONSUME;
        case std::memory_order_acquire: return __ATOMIC_ACQUIRE;
        case std::memory_order_release: return __ATOMIC_RELEASE;
        case std::memory_order_acq_rel: return __ATOMIC_ACQ_REL;
        case std::memory_order_seq_cst: return __ATOMIC_SEQ_CST;
    }
    return __ATOMIC_SEQ_CST;
}

template <class T>
class atomic_view {
public:
    static_assert(sizeof(T) <= sizeof(std::uint64_t) && __atomic_always_lock_free(sizeof(T), 0));
    explicit atomic_view(T& object) : object_(&object) {}
    T load(std::memory_order order) const { return __atomic_load_n(object_, builtin_order(order)); }
    void store(T value, std::memory_order order) const {
        __atomic_store_n(object_, value, builtin_order(order));
    }
    bool compare_exchange_weak(T& expected, T desired, std::memory_order success,
                               std::memory_order failure) const {
        return __atomic_compare_exchange_n(object_, &expected, desired, true,
                                           builtin_order(success), builtin_order(failure));
    }

private:
    T* object_;
};
#endif

// Copies at most n characters of src, stopping at its end, and terminates.
void copy_prefix(char* out, char const* src, int n) {
    int i = 0;
    for (; i < n && src[i] != '\0'; ++i) out[i] = src[i];
    out[i] = '\0';
}

// The prefix of a converter that shows none; writable because prefixes are
// handed out as char*, never written.
char no_prefix[] = "";

int length_up_to(char const* s, int limit) {
    int n = 0;
    while (n < limit && s[n] != '\0') ++n;
    return n;
}

using packed_prefix = prefix_label::packed_prefix;

// The first n characters of text (up to its end), zero padded, packed.
packed_prefix pack(char const* text, int n) {
    char zero_padded[sizeof(packed_prefix)] = {};
    copy_prefix(zero_padded, text, std::min(n, prefix_label::max_label_length));
    packed_prefix out;
    std::memcpy(&out, zero_padded, sizeof out);
    return out;
}

// The same from a buffer of at least 20 characters, read whole, with the
// length of its text (up to 20) in length: no loop over the text.
packed_prefix pack_buffer(char const* text, int n, int& length) {
    if constexpr (std::endian::native != std::endian::little) {
        length = length_up_to(text, prefix_label::max_label_length);
        return pack(text, n);
    }
    // Three words loaded straight from the text (the last four bytes of the
    // third zero); then the first terminator: the lowest byte the zero-byte
    // test flags (a flag above the first zero may be false, the lowest never
    // is). Kept in scalars throughout: a copy the compiler merged into one
    // wide load would wait for the narrower stores that made the words.
    static_assert(prefix_label::max_label_length + 1 == 20);
    std::uint64_t w0 = 0, w1 = 0;
    std::uint32_t tail{};  // loaded whole below
    std::memcpy(&w0, text, 8);
    std::memcpy(&w1, text + 8, 8);
    std::memcpy(&tail, text + 16, 4);
    std::uint64_t w2     = tail;
    auto const zero_byte = [](std::uint64_t w) {
        std::uint64_t const flags = (w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull;
        return flags == 0 ? 8 : std::countr_zero(flags) / 8;
    };
    length = zero_byte(w0);
    if (length == 8) length += zero_byte(w1);
    if (length == 16) length += zero_byte(w2);
    // Keep the first min(length, n) bytes, zero the rest.
    int const keep      = std::max(0, std::min(length, n));
    auto const keep_low = [](std::uint64_t w, int bytes) -> std::uint64_t {
        if (bytes >= 8) return w;
        if (bytes <= 0) return 0;
        return w & ((std::uint64_t{1} << (8 * bytes)) - 1);
    };
    return packed_prefix{{keep_low(w0, keep), keep_low(w1, keep - 8), keep_low(w2, keep - 16)}};
}

}  // namespace

prefix_label::prefix_label(int modulus_, long32 samples_per_unit_, int label_length)
    : catalogued(modulus_, samples_per_unit_),
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

char const* prefix_label::print_counts(label_point* point, int count_digits, int count, int frame,
                                       int phase) {
    if (count < 0 || frame < 0) return negative_text();
    if (count > max_count) count -= max_count + 1;
    detail::text_writer out(point->text_buffer);
    out.put(get_prefix(point), prefix_width());
    out.put_padded(count, count_digits);
    if (phase == no_phase) {
        out.put(separator);
        out.put_padded(frame, 2);
    } else {
        detail::put_three_perf_frame(out, frame, phase);
    }
    return out.finish();
}

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
// Every access is atomic (std::atomic_ref where the standard library has
// it), and a print writes only when the prefix it shows differs from the
// remembered one.
void prefix_label::read_memory(char (&out)[max_label_length + 1]) const {
    atomic_view<unsigned> const version(const_cast<unsigned&>(memory_version.value));
    std::uint64_t words[memory_word_count];
    for (;;) {
        unsigned const before = version.load(std::memory_order_acquire);
        if (before % 2 == 0) {
            // Acquire loads keep the second look at the version after them.
            for (int k = 0; k < memory_word_count; ++k)
                words[k] = atomic_view<std::uint64_t>(const_cast<std::uint64_t&>(memory_words[k]))
                               .load(std::memory_order_acquire);
            if (version.load(std::memory_order_relaxed) == before) break;
        }
    }
    static_assert(sizeof words >= sizeof out);
    std::memcpy(out, words, sizeof out);
    out[max_label_length] = '\0';
}

void prefix_label::remember(packed_prefix const& next) {
    // Printing one roll after another stores nothing: three words compared.
    bool same = true;
    for (int k = 0; k < memory_word_count; ++k)
        same &= atomic_view<std::uint64_t>(memory_words[k]).load(std::memory_order_relaxed) ==
                next.words[k];
    if (same) return;
    atomic_view<unsigned> const version(memory_version.value);
    unsigned v = version.load(std::memory_order_relaxed);
    // One writer at a time takes the version from even to odd; acq_rel
    // keeps the stores below after that.
    for (;;) {
        if (v % 2 == 0 && version.compare_exchange_weak(v, v + 1, std::memory_order_acq_rel,
                                                        std::memory_order_relaxed))
            break;
        v = version.load(std::memory_order_relaxed);
    }
    for (int k = 0; k < memory_word_count; ++k)
        atomic_view<std::uint64_t>(memory_words[k]).store(next.words[k], std::memory_order_release);
    // The text form, for a reader on one thread.
    char text[sizeof next];
    std::memcpy(text, &next, sizeof text);
    for (int k = 0; k <= max_label_length; ++k)
        atomic_view<char>(last_prefix[k]).store(text[k], std::memory_order_release);
    version.store(v + 2, std::memory_order_release);
}

char* prefix_label::get_prefix(label_point* point) {
    if (!has_prefix()) return no_prefix;
    // The answer is written into the point's own text buffer, where
    // label_point::get_prefix and the printers want it; so a thread always
    // sees the prefix of its own point.
    char* const shown = point->text_buffer;
    int const p       = prefix_width();
    static_assert(label_point::text_capacity >= max_label_length + 1);
    static_assert(label_point::prefix_capacity >= max_label_length);
    int length{};
    packed_prefix const packed = pack_buffer(point->prefix_text, p, length);
    if (length >= p) {
        // Word by word: a copy the compiler merges into one wide load would
        // wait for the narrower stores that made the words.
        std::uint32_t const tail = static_cast<std::uint32_t>(packed.words[2]);
        std::memcpy(shown, &packed.words[0], 8);
        std::memcpy(shown + 8, &packed.words[1], 8);
        std::memcpy(shown + 16, &tail, 4);
        remember(packed);
        return shown;
    }
    char memory[max_label_length + 1];
    read_memory(memory);
    if (length_up_to(memory, p) >= p) {
        copy_prefix(shown, memory, p);
    } else {
        copy_prefix(shown, dummy_prefix, p);
        remember(pack(shown, p));
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
    remember(pack(point->prefix_text, p));
}

}  // namespace marlix
