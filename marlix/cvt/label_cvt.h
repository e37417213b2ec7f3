#pragma once

/// @file
/// The converter interface: one converter class per numbering system turns
/// sample numbers into printed labels and back. Label values hold a pointer
/// to a shared converter and reach it only through this interface.
///
/// Printing operations write into the label point's text_buffer (or answer a
/// constant string); the text is valid until the next call that writes into
/// the same point. Special samples print as the template's '?', '>' or '<'
/// text. A parse that fails answers INVALID_SAMPLE.
///
/// Every operation takes any sample and any text; a null text answers as an
/// unreadable one. The label point passed to an operation must not
/// be null. Converters built with arguments the library never uses (a
/// modulus or samples per unit below 1, counts too long for 32 bits) give
/// defined answers: such a divisor counts as 1, and a sample that does not
/// fit 32 bits is INVALID_SAMPLE.

#include <cstddef>

#include "marlix/base/long32.h"
#include "marlix/base/special_samples.h"
#include "marlix/cvt/catalogued.h"
#include "marlix/cvt/label_template.h"
#include "marlix/export.h"
#include "marlix/types/label_types.h"

namespace marlix {

class label_point;

class MARLIX_API label_cvt {
public:
    label_cvt();
    label_cvt(label_cvt const& other);
    label_cvt& operator=(label_cvt const& other);
    /// Virtual so that a converter handed out by make_any_label_cvt can be
    /// deleted through label_cvt*.
    virtual ~label_cvt();

    /// Live converters made by the default constructor, less those destroyed.
    static int howmany;

    /// Converters live on the host's heap: each allocation asks the host for
    /// its heap record and calls its allocator; a null answer makes the
    /// new-expression give a null pointer without constructing.
    static void* operator new(std::size_t bytes) noexcept;
    static void operator delete(void* memory) noexcept;

    /// Template 0's invalid text for sample; the point is not used.
    char const* get_invalid_string(label_point* point, long32 sample) const;

    virtual char const* type_str()    = 0;
    virtual label_t type()            = 0;
    virtual UserLabelType UserType()  = 0;
    virtual bool has_prefix()         = 0;
    virtual int get_prefix_length()   = 0;
    virtual int get_count_length()    = 0;
    virtual int get_modulus()         = 0;
    virtual long32 samples_per_unit() = 0;
    virtual long32 normalise_sample_unit(long32 s);
    virtual int perfs_per_keyKode();
    virtual char const* get_string(label_point* point, long32 offset)          = 0;
    virtual char const* get_perfs_string(label_point* point, long32 offset)    = 0;
    virtual unsigned get_smpte_string(label_point* point, long32 offset) const = 0;
    virtual long32 get_samples_from_SMPTETc(unsigned& word, bool& drop);
    virtual long32 get_sample(label_point* point, long32 n)                                   = 0;
    virtual long32 get_sample(label_point* point, char const* s)                              = 0;
    virtual long32 get_abs_sample_from_packed_string(char const* s)                           = 0;
    virtual long32 get_sample_span_from_packed_strings(char const* first, char const* second) = 0;
    virtual char const* get_abs_string(label_point* point, long32 sample)                     = 0;
    virtual unsigned get_abs_smpte_string(label_point* point, long32 sample) const            = 0;
    virtual char const* get_abs_perfs_string(label_point* point, long32 sample);
    virtual long32 get_abs_sample(double t)                                = 0;
    virtual long32 get_abs_sample(char const* s)                           = 0;
    virtual char const* get_keep_string(label_point* point, long32 sample) = 0;
    virtual long32 get_keep_sample(char const* s)                          = 0;
    virtual double get_V2tc(long32 sample)                                 = 0;
    virtual void build_template();
    virtual char* get_dummy_prefix()                              = 0;
    virtual char* get_prefix(label_point* point)                  = 0;
    virtual void set_prefix(label_point* point, char const* text) = 0;

    /// Template 0: prefix editable ('?'); template 1: prefix read-only ('~').
    label_template templates[2];
};

/// A label of fixed shape. Abstract; no converter of the library derives
/// from it.
class MARLIX_API fixed_label : public catalogued<label_cvt, LABEL_FIXED> {
public:
    using label_cvt::get_abs_sample;
    using label_cvt::get_sample;

    bool has_prefix() override;
    int get_prefix_length() override;
    int get_count_length() override;
    long32 samples_per_unit() override;
    char const* get_string(label_point* point, long32 offset) override;
    char const* get_perfs_string(label_point* point, long32 offset) override;
    unsigned get_smpte_string(label_point* point, long32 offset) const override;
    long32 get_sample(label_point* point, long32 n) override;
    long32 get_sample(label_point* point, char const* s) override;
    long32 get_abs_sample_from_packed_string(char const* s) override;
    long32 get_sample_span_from_packed_strings(char const* first, char const* second) override;
    char const* get_abs_string(label_point* point, long32 sample) override;
    unsigned get_abs_smpte_string(label_point* point, long32 sample) const override;
    long32 get_abs_sample(double t) override;
    long32 get_abs_sample(char const* s) override;
    char const* get_keep_string(label_point* point, long32 sample) override;
    long32 get_keep_sample(char const* s) override;
    double get_V2tc(long32 sample) override;
    void build_template() override = 0;
    char* get_dummy_prefix() override;
    char* get_prefix(label_point* point) override;
    void set_prefix(label_point* point, char const* text) override;
};

/// A label whose last printed field counts modulus units of unit_samples
/// samples each. The base of every concrete converter.
class MARLIX_API variable_label : public catalogued<label_cvt, LABEL_VARIABLE> {
public:
    using label_cvt::get_abs_sample;
    using label_cvt::get_sample;

    variable_label(int modulus, long32 unit_samples);
    variable_label(variable_label const&)            = default;
    variable_label& operator=(variable_label const&) = default;

    bool has_prefix() override;
    int get_prefix_length() override;
    int get_count_length() override;
    int get_modulus() override;
    long32 samples_per_unit() override;
    char const* get_string(label_point* point, long32 offset) override;
    char const* get_perfs_string(label_point* point, long32 offset) override;
    unsigned get_smpte_string(label_point* point, long32 offset) const override;
    long32 get_samples_from_SMPTETc(unsigned& word, bool& drop) override;
    long32 get_sample(label_point* point, long32 n) override;
    long32 get_sample(label_point* point, char const* s) override;
    long32 get_abs_sample_from_packed_string(char const* s) override;
    long32 get_sample_span_from_packed_strings(char const* first, char const* second) override;
    char const* get_abs_string(label_point* point, long32 sample) override;
    unsigned get_abs_smpte_string(label_point* point, long32 sample) const override;
    char const* get_abs_perfs_string(label_point* point, long32 sample) override;
    long32 get_abs_sample(double t) override;
    long32 get_abs_sample(char const* s) override;
    char const* get_keep_string(label_point* point, long32 sample) override;
    long32 get_keep_sample(char const* s) override;
    double get_V2tc(long32 sample) override;
    void build_template() override;
    char* get_dummy_prefix() override;
    char* get_prefix(label_point* point) override;
    void set_prefix(label_point* point, char const* text) override;

    int modulus;          ///< units of the last field per unit of the field before it
    char separator = 0;   ///< printed before the last field; 0 where none is printed
    long32 unit_samples;  ///< samples per unit of the last field
};

/// Stands for the absence of a usable label type: prints "???", parses
/// nothing.
class MARLIX_API dummy_label : public catalogued<variable_label, LABEL_DUMMY> {
public:
    using variable_label::get_abs_sample;
    using variable_label::get_sample;

    dummy_label();
    char const* get_string(label_point* point, long32 offset) override;
    char const* get_perfs_string(label_point* point, long32 offset) override;
    unsigned get_smpte_string(label_point* point, long32 offset) const override;
    long32 get_sample(label_point* point, long32 n) override;
    long32 get_sample(label_point* point, char const* s) override;
    char const* get_abs_string(label_point* point, long32 sample) override;
    unsigned get_abs_smpte_string(label_point* point, long32 sample) const override;
    long32 get_abs_sample(double t) override;
    long32 get_abs_sample(char const* s) override;
    double get_V2tc(long32 sample) override;
    void build_template() override;
};

}  // namespace marlix
