#pragma once

/// @file
/// Splits a text into tokens at any of a set of separator characters. A run
/// of separators, and separators at either end, give no empty token. The
/// tokeniser keeps its own copy of the text: tokens stay valid for its life.
/// Texts up to inline_text characters with up to inline_tokens tokens are
/// split without allocating; longer ones use the heap.

#include <memory>

#include "marlix/export.h"

namespace marlix {

class MARLIX_API tokeniser {
public:
    static constexpr int inline_text   = 256;
    static constexpr int inline_tokens = 32;

    /// A null text gives no tokens; null separators split nowhere.
    tokeniser(char const* text, char const* separators);
    ~tokeniser();
    tokeniser(tokeniser const&)            = delete;
    tokeniser& operator=(tokeniser const&) = delete;

    /// The first token (making it the current one), or null when there is none.
    char const* first();
    /// The token after the current one, or null after the last. Before any
    /// first() or token() call, next() gives the first token.
    char const* next();
    int count() const { return count_; }
    /// Token i, or null when i is not in [0, count()); token i becomes the
    /// current position, so next() then gives token i + 1.
    char const* token(int i);

private:
    char inline_copy_[inline_text + 1];
    char const* inline_list_[inline_tokens];
    std::unique_ptr<char[]> heap_copy_;
    std::unique_ptr<char const*[]> heap_list_;
    char const** tokens_ = inline_list_;
    int count_           = 0;
    int current_         = -1;
};

}  // namespace marlix
