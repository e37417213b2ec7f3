#include "marlix/medium/medium_mapping.h"

#include <iterator>

#include "marlix/host/host_config.h"
#include "marlix/medium/detail/medium_table.h"

namespace marlix {

namespace {

// By host frame rate: the editing medium progressive and interlaced, the
// playout medium progressive and interlaced. 50 and 60 fps pictures are
// progressive media whatever their scan.
struct rate_media {
    Tov::FrameRate rate;
    MediumRollMedium input_p, input_i, output_p, output_i;
};
constexpr rate_media rate_media_rows[] = {
    {Tov::FrameRate_24, MediumRoll24p, MediumRoll24i, MediumRollPlayout24p, MediumRollPlayout24i},
    {Tov::FrameRate_23_976, MediumRoll24pM, MediumRoll24iM, MediumRollPlayout24pM,
     MediumRollPlayout24iM},
    {Tov::FrameRate_25, MediumRoll25p, MediumRoll25i, MediumRollPlayout25p, MediumRollPlayout25i},
    {Tov::FrameRate_30, MediumRoll30p, MediumRoll30i, MediumRollPlayout30p, MediumRollPlayout30i},
    {Tov::FrameRate_29_97, MediumRoll30pM, MediumRoll30iM, MediumRollPlayout30pM,
     MediumRollPlayout30iM},
    {Tov::FrameRate_50, MediumRoll50p, MediumRoll50p, MediumRollPlayout50p, MediumRollPlayout50p},
    {Tov::FrameRate_60, MediumRoll60p, MediumRoll60p, MediumRollPlayout60p, MediumRollPlayout60p},
    {Tov::FrameRate_59_94, MediumRoll60pM, MediumRoll60pM, MediumRollPlayout60pM,
     MediumRollPlayout60pM},
};

rate_media const* media_of_rate(Tov::FrameRate r) {
    for (auto const& row : rate_media_rows)
        if (row.rate == r) return &row;
    return nullptr;
}

using detail::facts_of;
using detail::medium_facts;

}  // namespace

MediumRollMedium getMediumRollfromInputDetails(Tov::Image::ScanMode s, Tov::FrameRate r) {
    rate_media const* row = media_of_rate(r);
    if (row == nullptr) return MediumRollNone;
    return Tov::Image::isProgressive(s) ? row->input_p : row->input_i;
}

MediumRollMedium getMediumRollfromOutputDetails(Tov::Image::ScanMode s, Tov::FrameRate r) {
    rate_media const* row = media_of_rate(r);
    if (row == nullptr) return MediumRollNone;
    return Tov::Image::isProgressive(s) ? row->output_p : row->output_i;
}

MediumRollMedium getMediumRollfromInputFormat(Tov::OutputFormat::Details const& d) {
    return getMediumRollfromInputDetails(d.getScanMode(), d.getFrameRate());
}

MediumRollMedium getMediumRollfromOutputFormat(Tov::OutputFormat::Details const& d) {
    return getMediumRollfromOutputDetails(d.getScanMode(), d.getFrameRate());
}

Tov::FrameRate getFrameRatefromMedium(MediumRollMedium m) {
    medium_facts const* f = facts_of(m);
    return f == nullptr ? Tov::FrameRate_None : f->rate;
}

MediumRollMedium getOutputMediumfromFrameRate(Tov::FrameRate r) {
    rate_media const* row = media_of_rate(r);
    return row == nullptr ? MediumRollPlayout24p : row->output_p;
}

label_t getDefaultLabelTypeForMedium(MediumRollMedium m) {
    medium_facts const* f = facts_of(m);
    if (f == nullptr) return LABEL_NONE;
    if (f->label_for_rate == LABEL_TC_50)
        return config_int("use_25fps_timecode_for_50P", 1) != 0 ? LABEL_PAL : LABEL_TC_50;
    if (f->label_for_rate == LABEL_TC_60)
        return config_int("use_30fps_timecode_for_60P", 1) != 0 ? LABEL_NTSC : LABEL_TC_60;
    return f->label_for_rate;
}

label_t getLabelTypeForMediumFrameRate(MediumRollMedium m) {
    medium_facts const* f = facts_of(m);
    return f == nullptr ? LABEL_NONE : f->label_for_rate;
}

MediumRollMedium getDefaultEditMediumForProject(Tov::FrameRate r) {
    switch (r) {
        case Tov::FrameRate_25: return MediumRoll25i;
        case Tov::FrameRate_30:
        case Tov::FrameRate_29_97: return MediumRoll30i;
        case Tov::FrameRate_50: return MediumRoll50p;
        case Tov::FrameRate_60:
        case Tov::FrameRate_59_94: return MediumRoll60p;
        default: return MediumRoll24i;
    }
}

MediumRollMedium getDefaultEditMediumForProject() {
    return getDefaultEditMediumForProject(Tov::CurrentProject::getFrameRate(0));
}

MediumRollMedium getDefaultEditPlayoutMediumForProject() {
    switch (Tov::CurrentProject::getFrameRate(0)) {
        case Tov::FrameRate_25:
        case Tov::FrameRate_50: return MediumRollPlayout25i;
        case Tov::FrameRate_30:
        case Tov::FrameRate_29_97:
        case Tov::FrameRate_60:
        case Tov::FrameRate_59_94: return MediumRollPlayout30iM;
        default: return MediumRollPlayout24i;
    }
}

bool mediumRollIsFrameProgressive(MediumRollMedium m) {
    medium_facts const* f = facts_of(m);
    return f != nullptr && f->frame_progressive;
}

bool mediumIsDoubleRateProgressive(MediumRollMedium m) {
    medium_facts const* f = facts_of(m);
    return f != nullptr && f->double_rate;
}

double getSampleDurationFromMedium(MediumRollMedium m) {
    double const d = Tov::getFrameDuration(getFrameRatefromMedium(m));
    return mediumRollIsFrameProgressive(m) ? d : d * 0.5;
}

}  // namespace marlix
