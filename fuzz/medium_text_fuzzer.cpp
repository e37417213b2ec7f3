// Identity texts, medium-roll keep strings and edit-label keep strings as
// they come back from stored records: read without fault, and the written
// forms read back to themselves.

#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "marlix/marlix.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using namespace marlix;
    if (size < 1) return 0;
    static bool const quiet = [] {  // revision-2 warnings are expected here
        set_diagnostic_sink([](char const*, void*) {}, nullptr);
        return true;
    }();
    (void)quiet;
    fuzz_text text(data + 1, size - 1);
    MediumRollIdent id;
    MediumRollId_from_string(text.get(), id, static_cast<UserLabelType>(data[0] % 8));
    if (id.medium != 0) {
        if (id.medium < 1 || id.medium > 40 || id.generation < 1 || id.generation > 5) std::abort();
        char written[medium_id_text_capacity];
        MediumRollId_to_string(written, id);
        MediumRollIdent back;
        MediumRollId_from_string(written, back, UserLabelNone);
        if (!(back == id)) std::abort();
    }
    MediumRollId_to_UserString(id);

    MediumRoll const roll(text.get());
    if (std::strlen(roll.get_reelid()) >= MediumRoll::reelid_capacity) std::abort();
    char keep[MediumRoll::keep_capacity];
    roll.make_keep_string(keep);
    if (roll.is_valid() && std::strchr(roll.get_reelid(), ' ') == nullptr &&
        std::strchr(roll.get_reelid(), ':') == nullptr) {
        MediumRoll const again(keep);
        if (!(again.type() == roll.type()) ||
            std::strcmp(again.get_reelid(), roll.get_reelid()) != 0)
            std::abort();
    }

    edit_label first(text.get());
    char written[edit_label::keep_buffer_capacity];
    first.make_keep_string(written);
    edit_label second(written);
    char again[edit_label::keep_buffer_capacity];
    second.make_keep_string(again);
    edit_label third(again);
    char stable[edit_label::keep_buffer_capacity];
    if (std::strcmp(third.make_keep_string(stable), again) != 0) std::abort();
    return 0;
}
