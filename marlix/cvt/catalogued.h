#pragma once

/// @file
/// The identity of a converter class as the label type catalogue records
/// it: a converter class derives from catalogued<Base, T> and answers its
/// class name, label type and family from catalogue row T, stated once.

#include "marlix/types/label_types.h"

namespace marlix {

template <class Base, label_t T>
class catalogued : public Base {
public:
    using Base::Base;
    static constexpr label_t catalogue_type = T;

    char const* type_str() override { return label_type_class_name(T); }
    label_t type() override { return T; }
    UserLabelType UserType() override { return label_type_family(T); }
};

}  // namespace marlix
