#include "marlix/cvt/label_cvt.h"

#include "marlix/base/wrap32.h"
#include "marlix/host/host_services.h"
#include "marlix/internal/c_number.h"
#include "marlix/values/label_point.h"

namespace marlix {

namespace {
// The text a converter without a prefix answers for its prefix. Writable
// because the interface hands prefixes out as char*; nothing writes it.
char no_prefix[] = "";
}  // namespace

int label_cvt::howmany = 0;

void* label_cvt::operator new(std::size_t bytes) noexcept {
    return Tov::Heap::Selector::getHeapFunctions().allocate(bytes);
}

void label_cvt::operator delete(void* memory) noexcept {
    if (memory != nullptr) Tov::Heap::Selector::getHeapFunctions().release(memory);
}

label_cvt::label_cvt() : templates{label_template(""), label_template("")} { ++howmany; }

label_cvt::label_cvt(label_cvt const& other) : templates{other.templates[0], other.templates[1]} {}

label_cvt& label_cvt::operator=(label_cvt const& other) {
    templates[0] = other.templates[0];
    templates[1] = other.templates[1];
    return *this;
}

label_cvt::~label_cvt() { --howmany; }

char const* label_cvt::get_invalid_string(label_point*, long32 sample) const {
    return templates[0].get_invalid_string(sample);
}

long32 label_cvt::normalise_sample_unit(long32 s) { return s; }
int label_cvt::perfs_per_keyKode() { return 1; }
long32 label_cvt::get_samples_from_SMPTETc(unsigned&, bool&) { return 0; }
char const* label_cvt::get_abs_perfs_string(label_point*, long32) { return ""; }
void label_cvt::build_template() {
    templates[0].set("");
    templates[1].set("");
}

// fixed_label: a shape without arithmetic; reserved, so every operation
// answers its neutral value.
bool fixed_label::has_prefix() { return false; }
int fixed_label::get_prefix_length() { return 0; }
int fixed_label::get_count_length() { return 0; }
long32 fixed_label::samples_per_unit() { return 1; }
char const* fixed_label::get_string(label_point*, long32) { return nullptr; }
char const* fixed_label::get_perfs_string(label_point*, long32) { return ""; }
unsigned fixed_label::get_smpte_string(label_point*, long32) const { return 0; }
long32 fixed_label::get_sample(label_point*, long32) { return INVALID_SAMPLE; }
long32 fixed_label::get_sample(label_point*, char const*) { return INVALID_SAMPLE; }
long32 fixed_label::get_abs_sample_from_packed_string(char const*) { return INVALID_SAMPLE; }
long32 fixed_label::get_sample_span_from_packed_strings(char const*, char const*) {
    return INVALID_SAMPLE;
}
char const* fixed_label::get_abs_string(label_point* point, long32) { return get_string(point, 0); }
unsigned fixed_label::get_abs_smpte_string(label_point*, long32) const { return 0; }
long32 fixed_label::get_abs_sample(double) { return INVALID_SAMPLE; }
long32 fixed_label::get_abs_sample(char const*) { return 0; }
char const* fixed_label::get_keep_string(label_point* point, long32 sample) {
    return get_abs_string(point, sample);
}
long32 fixed_label::get_keep_sample(char const* s) { return get_abs_sample(s); }
double fixed_label::get_V2tc(long32) { return 0.0; }
char* fixed_label::get_dummy_prefix() { return no_prefix; }
char* fixed_label::get_prefix(label_point*) { return no_prefix; }
void fixed_label::set_prefix(label_point*, char const*) {}

variable_label::variable_label(int modulus_, long32 unit_samples_)
    : modulus(modulus_), unit_samples(unit_samples_) {}

bool variable_label::has_prefix() { return false; }
int variable_label::get_prefix_length() { return 0; }
int variable_label::get_count_length() { return 0; }
int variable_label::get_modulus() { return modulus; }
long32 variable_label::samples_per_unit() { return unit_samples; }

char const* variable_label::get_string(label_point* point, long32 offset) {
    return get_abs_string(point, wrap_add(point->sample, offset));
}
char const* variable_label::get_perfs_string(label_point* point, long32 offset) {
    return get_abs_perfs_string(point, wrap_add(point->sample, offset));
}
unsigned variable_label::get_smpte_string(label_point* point, long32 offset) const {
    return get_abs_smpte_string(point, wrap_add(point->sample, offset));
}

long32 variable_label::get_samples_from_SMPTETc(unsigned& word, bool& drop) {
    auto field = [word](int shift, unsigned mask) {
        return static_cast<long long>((word >> shift) & mask);
    };
    long long n = field(28, 0x3) * 10 + field(24, 0xf);  // hours
    n           = (n * 6 + field(20, 0x7)) * 10 + field(16, 0xf);
    n           = (n * 6 + field(12, 0x7)) * 10 + field(8, 0xf);  // whole seconds
    drop        = ((word >> 6) & 1u) != 0;
    // Frames are nominal: a drop-frame word is not corrected here. The
    // largest word (39:99:79:99 read digit by digit) at every rate the
    // library uses counts within 32 bits; a converter built with a larger
    // modulus or unit answers INVALID_SAMPLE where the count does not fit.
    long long const frames  = detail::saturating_add(detail::saturating_mul(n, modulus),
                                                     field(4, 0x3) * 10 + field(0, 0xf));
    long long const samples = detail::saturating_mul(frames, unit_samples);
    return detail::fits_long32(samples) ? static_cast<long32>(samples) : INVALID_SAMPLE;
}

long32 variable_label::get_sample(label_point* point, long32 n) {
    return wrap_add(point->sample, n);
}
long32 variable_label::get_sample(label_point* point, char const* s) {
    return wrap_sub(get_abs_sample(s), point->sample);
}
long32 variable_label::get_abs_sample_from_packed_string(char const*) { return INVALID_SAMPLE; }
long32 variable_label::get_sample_span_from_packed_strings(char const*, char const*) {
    return INVALID_SAMPLE;
}
char const* variable_label::get_abs_string(label_point*, long32) { return ""; }
unsigned variable_label::get_abs_smpte_string(label_point*, long32) const { return 0; }
char const* variable_label::get_abs_perfs_string(label_point*, long32) { return ""; }
long32 variable_label::get_abs_sample(double) { return INVALID_SAMPLE; }
long32 variable_label::get_abs_sample(char const*) { return 0; }
char const* variable_label::get_keep_string(label_point* point, long32 sample) {
    return get_abs_string(point, sample);
}
long32 variable_label::get_keep_sample(char const* s) { return get_abs_sample(s); }
double variable_label::get_V2tc(long32) { return invalid_position; }
void variable_label::build_template() {
    templates[0].set("");
    templates[1].set("");
}
char* variable_label::get_dummy_prefix() { return no_prefix; }
char* variable_label::get_prefix(label_point*) { return no_prefix; }
void variable_label::set_prefix(label_point*, char const*) {}

dummy_label::dummy_label() : catalogued(1, 1) {}

char const* dummy_label::get_string(label_point*, long32) { return "???"; }
char const* dummy_label::get_perfs_string(label_point*, long32) { return "??"; }
unsigned dummy_label::get_smpte_string(label_point*, long32) const { return 0; }
long32 dummy_label::get_sample(label_point*, long32) { return INVALID_SAMPLE; }
long32 dummy_label::get_sample(label_point*, char const*) { return INVALID_SAMPLE; }
char const* dummy_label::get_abs_string(label_point*, long32) { return "???"; }
unsigned dummy_label::get_abs_smpte_string(label_point*, long32) const { return 0; }
long32 dummy_label::get_abs_sample(double) { return INVALID_SAMPLE; }
long32 dummy_label::get_abs_sample(char const*) { return INVALID_SAMPLE; }
double dummy_label::get_V2tc(long32) { return invalid_position; }
void dummy_label::build_template() {}

}  // namespace marlix
