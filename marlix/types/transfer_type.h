#pragma once

#include <cstdint>

namespace marlix {

/// How film was transferred to video.
enum transfer_type : std::int32_t {
    transfer_none            = 0,  ///< none given
    transfer_pulldown_4_5    = 1,  ///< pulldown of 4 film frames into 5 video frames
    transfer_pulldown_24_25  = 2,  ///< pulldown of 24 film frames into 25 video frames
    transfer_frame_for_frame = 3,
    transfer_cadence         = 7,  ///< pulldown by cadence
};

}  // namespace marlix
