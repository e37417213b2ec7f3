#include "marlix/values/label_point.h"

#include "marlix/cvt/label_cvt_factory.h"

namespace marlix {

namespace {
// The converter of label type 0. Should the host heap have refused the
// shared one, a dummy of the library's own stands in, so that a point's
// converter is never null.
label_cvt* no_type_converter() {
    if (label_cvt* shared = get_static_label_cvt(LABEL_NONE)) return shared;
    static dummy_label fallback;
    return &fallback;
}
}  // namespace

label_point::label_point()
    : sample(0),
      converter(no_type_converter()),
      prefix_text{},
      prefix_edittable(true),
      current_template(&converter->templates[0]),
      text_buffer{} {}

label_point::label_point(long32 s, label_cvt* c) : label_point() {
    converter        = c;
    current_template = &c->templates[0];
    sample           = c->normalise_sample_unit(s);
}

void label_point::set_sample(long32 s) { sample = converter->normalise_sample_unit(s); }

void label_point::set_sample(char const* text) {
    converter->set_prefix(this, text);
    sample = converter->get_abs_sample(text);
}

void label_point::set_prefix(char const* text) { converter->set_prefix(this, text); }

char const* label_point::get_prefix() {
    char const* shown = converter->get_prefix(this);
    int const n       = converter->get_prefix_length();
    int i             = 0;
    for (; i < n && i < text_capacity - 1 && shown[i] != '\0'; ++i) text_buffer[i] = shown[i];
    text_buffer[i] = '\0';
    return text_buffer;
}

char const* label_point::get_string() { return converter->get_abs_string(this, sample); }

}  // namespace marlix
