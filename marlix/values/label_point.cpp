#include "marlix/values/label_point.h"

namespace marlix {

namespace {
// The converter of a point that has none of its own type.
label_cvt* no_type_converter() {
    static dummy_label converter;
    return &converter;
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

char const* label_point::get_string() { return converter->get_abs_string(this, sample); }

}  // namespace marlix
