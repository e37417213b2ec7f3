// The label values and medium identities driven by whole-domain numbers: a
// sequence of operations, each with any int, sample, position, pitch, type,
// medium or generation the input gives. No fault, no undefined behaviour,
// and keep strings that fit their buffers.

#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_draw.h"
#include "marlix/marlix.h"

namespace {

using namespace marlix;

void fits(char const* text, std::size_t capacity) {
    if (text != nullptr && std::strlen(text) >= capacity) std::abort();
}

MediumRollIdent draw_ident(FuzzedDataProvider& in) {
    return MediumRollIdent(draw_enum<MediumRollMedium>(in, -1, 42),
                           draw_enum<MediumRollGeneration>(in, -1, 7));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    label_point point(draw_int(in, -100, 3000000), draw_enum<label_t>(in, -1, 43));
    edit_label edit(draw_enum<label_t>(in, -1, 43), draw_ident(in));
    label& plain = edit;
    char keep[edit_label::keep_buffer_capacity];
    for (int step = 0; step < 24 && in.remaining_bytes() > 0; ++step) {
        long32 const n  = draw_int(in, -3000000, 3000000);
        double const d  = draw_double(in);
        label_t const t = draw_enum<label_t>(in, -1, 43);
        switch (in.ConsumeIntegralInRange<int>(0, 19)) {
            case 0: point.set_type(t); break;
            case 1: point.modify_type(t); break;
            case 2: point.modify_count_length(draw_int(in, 3, 7)); break;
            case 3: point.set_sample(n); break;
            case 4: point.set_sample(d); break;
            case 5: point += n; break;
            case 6:
                point -= n;
                point.constrain_positive();
                break;
            case 7: {
                short h, m, s, f;
                point.get_hmsf(h, m, s, f);
                fits(point.get_string(), sizeof point.text_buffer + 8);
                fits(point.get_keep_string(), sizeof point.text_buffer + 8);
                (void)(point + point);
                (void)(point - point);
                break;
            }
            case 8: edit.set_type(t); break;
            case 9: edit.set_length(n); break;
            case 10: edit.set_length(d); break;
            case 11: edit.set_pitch(d); break;
            case 12: edit.set_start(in.ConsumeBool() ? label_point(n, t).sample : n); break;
            case 13: edit.set_start(d); break;
            case 14: edit.set_MediumRoll(draw_ident(in)); break;
            case 15:
                edit.fix_audio_label_pitch(draw_enum<transfer_type>(in, -1, 9),
                                           draw_enum<MediumRollMedium>(in, -1, 42));
                break;
            case 16:
                plain.set_bounded(draw_int(in, 0, 1));
                plain.set_end(n);
                plain.cmp(n);
                plain.contains(d);
                plain.get_posn(n);
                plain.get_abs_posn(n);
                plain.get_abs_posn_extrapolate(n);
                plain.get_V2tc(n);
                fits(plain.get_string(n), 64);
                fits(plain.get_string(d), 64);
                plain.getSMPTETc(d);
                plain.get_label_point(d);
                plain.get_unbounded_label_point(n);
                plain.posn_to_sample(d);
                plain.abs_posn_to_sample(d);
                label::get_natural_pitch(t);
                break;
            case 17: {
                fits(edit.make_keep_string(keep), sizeof keep);
                edit_label const back(keep);
                label const as_label(keep);
                break;
            }
            case 18: {
                MediumRollIdent const id = draw_ident(in);
                char text[medium_id_text_capacity];
                MediumRollId_to_string(text, id);
                fits(text, sizeof text);
                fits(MediumRollId_to_UserString(id), 256);
                fits(medium_name(id.medium), 64);
                id.MediumRollId_fits_this(draw_ident(in));
                MediumRoll roll(id);
                fits(roll.make_keep_string(nullptr), 256);
                break;
            }
            default: {
                auto const m = draw_enum<MediumRollMedium>(in, -1, 42);
                auto const r = draw_enum<Tov::FrameRate>(in, -1, 36);
                auto const s = draw_enum<Tov::Image::ScanMode>(in, -1, 6);
                getMediumRollfromInputDetails(s, r);
                getMediumRollfromOutputDetails(s, r);
                getFrameRatefromMedium(m);
                getOutputMediumfromFrameRate(r);
                getDefaultLabelTypeForMedium(m);
                getLabelTypeForMediumFrameRate(m);
                getDefaultEditMediumForProject(r);
                mediumRollIsFrameProgressive(m);
                mediumIsDoubleRateProgressive(m);
                getSampleDurationFromMedium(m);
                sampleNr_to_CelPosn(n);
                celPosn_to_SampleNr(d);
                break;
            }
        }
    }
    return 0;
}
