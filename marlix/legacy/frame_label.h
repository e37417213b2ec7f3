#pragma once

/// @file
/// Frame counts to and from fixed-width label text: 8-digit timecode
/// (hhmmssff) and feet+frames footage, with film-to-video pulldown phases
/// and, for three-perforation film, the foot phase, which the caller carries
/// from call to call. Frame numbers count from 1: the all-zero label is
/// frame 1. Output buffers hold 9 characters; nothing longer is written.

#include <cstdint>

#include "marlix/base/long32.h"
#include "marlix/export.h"
#include "marlix/types/transfer_type.h"

namespace marlix {

/// The legacy label numbering (1..43): 1, 3, 22, 25, 42 timecode at 30 fps
/// (drop-frame with the drop flag); 2, 5, 7, 21 at 25; 36, 39 at 50; 37, 40
/// at 60; 4, 6, 34 at 24; 38, 41, 43 at 48 when printing a video frame and
/// 24 otherwise; 8, 11, 27 footage of whole frames; 26 three-perforation
/// footage. Every other value is refused.
enum label_type : std::int32_t {};

/// 0: the caller counts film frames; 1: video frames.
enum edit_type : std::int32_t { edit_film_frames = 0, edit_video_frames = 1 };

/// Prints frame as "hhmmssff" at the type's rate into out (9 characters).
/// 1 on success, 0 for a type that is not a timecode type or a null out.
MARLIX_API int video_frames_to_timecode(long32 frame, char* out, label_type type, int drop);

/// Reads a timecode or footage label into a frame number; footage labels
/// have their blanks among the first 8 characters replaced by '0' in place.
/// 0 on failure (type, edit or transfer out of range, a foot phase outside
/// 1..3 for type 26, frames_per_foot of 0 for footage); otherwise 1, or the
/// result code of the film-to-video step (2 when the phase is at the end of
/// its cycle). *phase_out is set to -1 first.
MARLIX_API int label_to_frames(char* label, int foot_phase, int* foot_phase_out, int phase,
                               int* phase_out, long32* frame_out, label_type type, int drop,
                               transfer_type transfer, edit_type edit, int frames_per_foot);

/// Reads label, adds delta frames and prints the result in the same form into
/// out (9 characters). digit_flags sets where footage wraps: 10^k feet, k the
/// unbroken run of set bits from bit 2 up (at most 6). 0 on failure, otherwise 1 or 2 as
/// label_to_frames.
MARLIX_API int label_plus_frames(char* out, int* foot_phase_out, int* phase_out, char* label,
                                 int foot_phase, int phase, long32 delta, label_type type, int drop,
                                 int frames_per_foot, unsigned char digit_flags,
                                 transfer_type transfer, edit_type edit);

/// The pulldown steps the functions above use. film_to_video_frame: the
/// video frame of a film frame at pulldown phase phase (end_phase -1 when
/// there is none); 0 for a transfer it does not know, 2 when the phase is at
/// or past the last film frame of its cycle, else 1. video_to_film_frame:
/// the inverse, with the phase of the video frame's first film frame in
/// *phase_out (may be null); 0 for an unknown transfer, else 1. Transfers 0
/// and 3 map frames to themselves.
MARLIX_API int film_to_video_frame(long32 film, transfer_type transfer, int phase, int end_phase,
                                   long32* video);
MARLIX_API int video_to_film_frame(long32 video, transfer_type transfer, int phase, int* phase_out,
                                   long32* film);

}  // namespace marlix
