#include "marlix/host/tokeniser.h"

#include <cstring>

namespace marlix {

tokeniser::tokeniser(char const* text, char const* separators) {
    inline_copy_[0] = '\0';
    if (text == nullptr) return;
    if (separators == nullptr) separators = "";
    std::size_t const length = std::strlen(text);
    char* copy               = inline_copy_;
    if (length > static_cast<std::size_t>(inline_text)) {
        heap_copy_.reset(new char[length + 1]);
        copy = heap_copy_.get();
    }
    std::memcpy(copy, text, length + 1);

    // Cut the copy at every separator; a token starts after each cut.
    for (std::size_t i = 0; i < length; ++i)
        if (copy[i] != '\0' && std::strchr(separators, copy[i]) != nullptr) copy[i] = '\0';
    auto const starts = [copy](std::size_t i) {
        return copy[i] != '\0' && (i == 0 || copy[i - 1] == '\0');
    };
    std::size_t tokens = 0;
    for (std::size_t i = 0; i < length; ++i)
        if (starts(i)) ++tokens;
    if (tokens > static_cast<std::size_t>(inline_tokens)) {
        heap_list_.reset(new char const*[tokens]);
        tokens_ = heap_list_.get();
    }
    // The list holds exactly the tokens counted: the listing never writes past it.
    std::size_t listed = 0;
    for (std::size_t i = 0; i < length && listed < tokens; ++i)
        if (starts(i)) tokens_[listed++] = copy + i;
    count_ = static_cast<int>(listed);
}

tokeniser::~tokeniser() = default;

char const* tokeniser::first() { return token(0); }

char const* tokeniser::next() { return token(current_ + 1); }

char const* tokeniser::token(int i) {
    if (i < 0 || i >= count_) {
        if (i >= count_) current_ = count_;
        return nullptr;
    }
    current_ = i;
    return tokens_[i];
}

}  // namespace marlix
