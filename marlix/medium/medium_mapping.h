#pragma once

/// @file
/// Mappings between the host's picture description (frame rate, scan mode)
/// and media: editing and playout media of a picture, the rate and scan of a
/// medium, its default label type, the project's default media and the
/// duration of one sample of a medium.

#include "marlix/export.h"
#include "marlix/host/host_services.h"
#include "marlix/medium/medium_roll.h"
#include "marlix/types/label_types.h"

namespace marlix {

/// The editing and playout media of a picture; 0 for rates without one.
MARLIX_API MediumRollMedium getMediumRollfromInputDetails(Tov::Image::ScanMode s, Tov::FrameRate r);
MARLIX_API MediumRollMedium getMediumRollfromOutputDetails(Tov::Image::ScanMode s,
                                                           Tov::FrameRate r);
MARLIX_API MediumRollMedium getMediumRollfromInputFormat(Tov::OutputFormat::Details const& d);
MARLIX_API MediumRollMedium getMediumRollfromOutputFormat(Tov::OutputFormat::Details const& d);
/// The frame rate of a video or playout medium; 0 for every other medium.
MARLIX_API Tov::FrameRate getFrameRatefromMedium(MediumRollMedium m);
/// The progressive playout medium of a rate (24p for rates without one).
MARLIX_API MediumRollMedium getOutputMediumfromFrameRate(Tov::FrameRate r);
/// The timecode type shown for a medium; 50p and 60p media follow the
/// configuration integers "use_25fps_timecode_for_50P" and
/// "use_30fps_timecode_for_60P" (default 1), read on every call.
MARLIX_API label_t getDefaultLabelTypeForMedium(MediumRollMedium m);
MARLIX_API label_t getLabelTypeForMediumFrameRate(MediumRollMedium m);
MARLIX_API MediumRollMedium getDefaultEditMediumForProject(Tov::FrameRate r);
MARLIX_API MediumRollMedium getDefaultEditMediumForProject();
MARLIX_API MediumRollMedium getDefaultEditPlayoutMediumForProject();
/// One sample is a whole frame; the medium plays 50 or 60 frames a second.
MARLIX_API bool mediumRollIsFrameProgressive(MediumRollMedium m);
MARLIX_API bool mediumIsDoubleRateProgressive(MediumRollMedium m);
/// Seconds of one sample: a frame, or a field of an interlaced medium.
MARLIX_API double getSampleDurationFromMedium(MediumRollMedium m);

}  // namespace marlix
