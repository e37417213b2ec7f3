#pragma once

/// @file
/// The parameters a position translation works under: how film was
/// transferred to video and at which pulldown phase, the project's rate, its
/// output and the camera speed, and the object named in diagnostics. The
/// initialisers sample the current project when they run.

#include "marlix/base/long32.h"
#include "marlix/export.h"
#include "marlix/host/host_services.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/types/transfer_type.h"

namespace marlix {

/// Each constructor but the copy starts every field from init(): frame for
/// frame, enabled, phase 0, no transfer rate or video medium, no object,
/// not a 24p source, and the current project's rates, cel resolution,
/// camera speed and pulldown.
struct MARLIX_API MPosn_Xlate_Params {
    transfer_type transfer;
    bool enabled;
    /// Pulldown phase of the first video frame; -1 unset (the translation
    /// stores 0 before use).
    int sequence;
    Tov::FrameRate transfer_rate;
    MediumRollMedium video_medium;  ///< stands for MediumRollVideo
    cookie id;
    Tov::FrameRate project_rate;
    double cel_resolution;
    bool output_has_1001;
    Tov::FrameRate output_rate;
    bool audio_sync_pulled_down;
    bool vidproj_24p_source;
    double camera_fps;
    bool output_pulled_down;

    /// The current project's values (init()).
    MPosn_Xlate_Params();
    /// The current project's values with the output rate and pulldown of a
    /// gearing.
    explicit MPosn_Xlate_Params(Tov::OutputGearing const& gearing);
    MPosn_Xlate_Params(MPosn_Xlate_Params const&)            = default;
    MPosn_Xlate_Params& operator=(MPosn_Xlate_Params const&) = default;

    void init();
    /// init(), then a transfer and phase for a label group, the transfer at
    /// the output rate, and the output format's editing medium as video.
    void init_for_labelgroup(transfer_type t, int seq);
    /// The project's default film-to-video transfer at rate (pulldown when
    /// the configuration integer "default_film_video_conversion_pulldown" is
    /// non-zero, frame for frame otherwise); other fields stay.
    void init_to_default_filmvid_conversion(Tov::FrameRate rate);
    void init_to_default_playout_generation();
    /// With a pulldown transfer, moves the phase by n within its cycle (25 at
    /// 25 and 50 fps, 5 otherwise); a negative sum gives a negative phase.
    void modify_sequence_to_playfile_std(long32 n);
};

/// Each constructor but the copy starts every field from init(): no
/// pulldown, standard 3, active, mode 1, phase 0, variant 0 and the current
/// project's rate.
struct MARLIX_API MPosn_Conversion_Params {
    bool pulldown;
    int standard;
    bool active;
    int mode;
    int sequence;
    Tov::FrameRate project_rate;
    int variant;

    MPosn_Conversion_Params();
    MPosn_Conversion_Params(MPosn_Conversion_Params const&)            = default;
    MPosn_Conversion_Params& operator=(MPosn_Conversion_Params const&) = default;

    void init();
    void init_to_playout_generation();
    void init_to_default_filmvid_conversion();
    /// With pulldown, moves the phase by n within its cycle (25 for standard
    /// 2, else 5); a negative sum gives a negative phase.
    void modify_sequence_to_playfile_std(long32 n);
};

}  // namespace marlix
