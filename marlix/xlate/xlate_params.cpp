#include "marlix/xlate/xlate_params.h"

#include "marlix/host/host_config.h"
#include "marlix/medium/medium_mapping.h"

namespace marlix {

namespace {

constexpr int pal_cycle  = 25;  // pulldown phases at 25 and 50 fps
constexpr int ntsc_cycle = 5;   // and at 30 and 60 fps

// The phase moved by n within its cycle, with the truncating remainder:
// a negative sum stays negative. Summed in 64 bits so no n overflows.
int moved_phase(int sequence, long32 n, int cycle) {
    return static_cast<int>((static_cast<long long>(sequence) + n) % cycle);
}

}  // namespace

MPosn_Xlate_Params::MPosn_Xlate_Params() { init(); }

MPosn_Xlate_Params::MPosn_Xlate_Params(Tov::OutputGearing const& gearing) {
    init();
    output_rate        = gearing.getFrameRate();
    output_has_1001    = Tov::has1001Factor(gearing.getFrameRate());
    output_pulled_down = gearing.getUsePulldown();
}

void MPosn_Xlate_Params::init() {
    transfer           = transfer_frame_for_frame;
    enabled            = true;
    sequence           = 0;
    transfer_rate      = Tov::FrameRate_None;
    video_medium       = MediumRollNone;
    id                 = invalid_cookie;
    vidproj_24p_source = false;
    // The host is asked in this order: the project rate (for the rate and
    // for its cel resolution), the output rate and its 1000/1001 factor,
    // sound-sync pulldown, the camera speed, output pulldown.
    project_rate           = Tov::CurrentProject::getFrameRate(0);
    cel_resolution         = Tov::getCelResolution(Tov::CurrentProject::getFrameRate(0));
    output_rate            = Tov::CurrentProject::getOutputImageTOVFrameRate();
    output_has_1001        = Tov::has1001Factor(output_rate);
    audio_sync_pulled_down = Tov::CurrentProject::vidprojAudSyncIsPulledDown();
    camera_fps             = Tov::getFramesPerSecond(Tov::CurrentProject::getInCameraFilmSpeed());
    output_pulled_down     = Tov::CurrentProject::outputFormatIsPulledDown();
}

void MPosn_Xlate_Params::init_for_labelgroup(transfer_type t, int seq) {
    init();
    transfer      = t;
    sequence      = seq;
    transfer_rate = output_rate;
    video_medium  = getMediumRollfromInputFormat(Tov::CurrentProject::getOutputImageFormat(0));
}

void MPosn_Xlate_Params::init_to_default_filmvid_conversion(Tov::FrameRate rate) {
    enabled        = true;
    project_rate   = Tov::CurrentProject::getFrameRate(0);
    cel_resolution = Tov::getCelResolution(Tov::CurrentProject::getFrameRate(0));
    sequence       = 0;
    transfer       = config_int("default_film_video_conversion_pulldown", 0) != 0
                         ? transfer_cadence
                         : transfer_frame_for_frame;
    transfer_rate  = rate;
    video_medium   = getDefaultEditMediumForProject(rate);
}

void MPosn_Xlate_Params::init_to_default_playout_generation() {
    sequence           = 0;
    enabled            = true;
    output_pulled_down = true;
}

void MPosn_Xlate_Params::modify_sequence_to_playfile_std(long32 n) {
    if (transfer != transfer_cadence) return;
    bool const pal = transfer_rate == Tov::FrameRate_25 || transfer_rate == Tov::FrameRate_50;
    sequence       = moved_phase(sequence, n, pal ? pal_cycle : ntsc_cycle);
}

MPosn_Conversion_Params::MPosn_Conversion_Params() { init(); }

void MPosn_Conversion_Params::init() {
    pulldown     = false;
    standard     = 3;
    active       = true;
    mode         = 1;
    sequence     = 0;
    project_rate = Tov::CurrentProject::getFrameRate(0);
    variant      = 0;
}

void MPosn_Conversion_Params::init_to_playout_generation() {
    standard = 0;
    active   = false;
}

void MPosn_Conversion_Params::init_to_default_filmvid_conversion() {
    active       = true;
    mode         = 1;
    project_rate = Tov::CurrentProject::getFrameRate(0);
    variant      = standard == 3 ? 2 : 1;
}

void MPosn_Conversion_Params::modify_sequence_to_playfile_std(long32 n) {
    if (!pulldown) return;
    sequence = moved_phase(sequence, n, standard == 2 ? pal_cycle : ntsc_cycle);
}

}  // namespace marlix
