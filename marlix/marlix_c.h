/** @file
 * The C interface of libmarlix: edge-label arithmetic for hosts that are
 * not C++. Strict C99; no C++ type or exception crosses it.
 *
 * Conventions:
 * - Every function that can fail answers a marlix_status; MARLIX_OK is 0.
 *   marlix_status_text names each status in a short English phrase.
 * - Results go through pointers the caller passes; a null result pointer,
 *   or a null text where one is needed, is MARLIX_ERR_ARGUMENT.
 * - Text comes back into the caller's buffer with its size in bytes. At
 *   most size - 1 characters and a terminator are written; a text that does
 *   not fit is cut (still terminated) and the call answers
 *   MARLIX_ERR_TRUNCATED. A null buffer or a size of 0 is
 *   MARLIX_ERR_ARGUMENT. A buffer of the MARLIX_*_SIZE below holds every
 *   text of its kind uncut.
 * - No exception leaves a function: a failed allocation is
 *   MARLIX_ERR_NO_MEMORY, any other unexpected failure MARLIX_ERR_INTERNAL.
 * - Label types are catalogue numbers (0..41), media are MediumRoll numbers
 *   (0..40), frame rates are the host's numbers (1..10, 31..34); each has a
 *   find function that reads the names the command-line tool takes.
 * - Handles (marlix_label) belong to the caller: free them with their free
 *   function. Distinct handles may be used from different threads at once.
 * - marlix_type_* functions take a label type, marlix_label_* functions a
 *   label handle.
 */
#ifndef MARLIX_MARLIX_C_H
#define MARLIX_MARLIX_C_H

#include <stddef.h>
#include <stdint.h>

#include "marlix/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Buffer sizes in bytes, terminator included. */
#define MARLIX_LABEL_TEXT_SIZE 20     ///< a label text (marlix_type_text, marlix_label_text_at)
#define MARLIX_KEEP_STRING_SIZE 131   ///< a keep string: label, edit label or medium roll
#define MARLIX_REELID_SIZE 32         ///< a medium roll's reel id
#define MARLIX_IDENTITY_TEXT_SIZE 24  ///< a medium identity, either text
#define MARLIX_NAME_SIZE 32           ///< a label type's or a medium's name
#define MARLIX_TC_TEXT_SIZE 24        ///< a SMPTE timecode text
#define MARLIX_LEGACY_TEXT_SIZE 9     ///< a legacy 8-character label

typedef enum marlix_status {
    MARLIX_OK                 = 0,
    MARLIX_ERR_ARGUMENT       = 1,   ///< a null pointer, a size of 0, a value out of range
    MARLIX_ERR_LABEL_TYPE     = 2,   ///< not a label type, or one without a converter
    MARLIX_ERR_UNREADABLE     = 3,   ///< the text does not read (label, keep string, identity)
    MARLIX_ERR_TRUNCATED      = 4,   ///< the text was cut to fit the buffer
    MARLIX_ERR_MEDIUM         = 5,   ///< not a medium
    MARLIX_ERR_RATE           = 6,   ///< not a frame rate
    MARLIX_ERR_NO_TRANSLATION = 7,   ///< the translation gave the invalid position
    MARLIX_ERR_NO_MEMORY      = 8,   ///< an allocation failed
    MARLIX_ERR_REFUSED        = 9,   ///< a legacy function refused its arguments
    MARLIX_ERR_INTERNAL       = 10,  ///< an unexpected failure inside the library
    MARLIX_ERR_NOT_KEPT       = 11,  ///< a label its keep string would not carry back
    /* The SMPTE timecode layer's reasons. */
    MARLIX_ERR_TC_EMPTY          = 32,  ///< no text at all
    MARLIX_ERR_TC_SYNTAX         = 33,  ///< not [-]HH:MM:SS:FF
    MARLIX_ERR_TC_FIELD_RANGE    = 34,  ///< a field above its largest value
    MARLIX_ERR_TC_DROPPED_LABEL  = 35,  ///< a label drop-frame counting skips
    MARLIX_ERR_TC_DROP_SEPARATOR = 36,  ///< a drop-frame separator at a rate without
    MARLIX_ERR_TC_TRAILING_TEXT  = 37,  ///< more text after the frames
    MARLIX_ERR_TC_OUT_OF_RANGE   = 38,  ///< beyond 32-bit frame numbers
    MARLIX_ERR_TC_UNKNOWN_RATE   = 39,  ///< a rate the layer does not know
    MARLIX_ERR_TC_RATE_MISMATCH  = 40,  ///< two timecodes of different rates
    MARLIX_ERR_TC_NO_PULLDOWN    = 41   ///< no pulldown cadence between the rates
} marlix_status;

/** A short English text of a status ("the text does not read"), and "an
 * unknown status" for any other int; never null. */
MARLIX_API const char* marlix_status_text(int status);
/** The library's release ("0.1.0"). */
MARLIX_API const char* marlix_version(void);

/** Diagnostics. The library's messages go to a sink (standard error by
 * default); most translation messages also go to standard output unless
 * that copy is turned off (on == 0), which an embedder whose standard
 * output carries its own data should do. A null sink restores the default. */
typedef void (*marlix_diagnostic_sink)(const char* text, void* context);
MARLIX_API void marlix_set_diagnostic_sink(marlix_diagnostic_sink sink, void* context);
MARLIX_API void marlix_set_messages_to_standard_output(int on);

/* ---- Label types -------------------------------------------------------- */

/** A label type by name: an EDL name in any case ("P", "ND", "F35"), a class
 * name ("pal_label"), a frame rate ("25", "29.97df") or "#N". A type
 * without a converter of its own is MARLIX_ERR_LABEL_TYPE. */
MARLIX_API marlix_status marlix_type_find(const char* name, int32_t* type);
/** The class name of a type ("pal_label"). */
MARLIX_API marlix_status marlix_type_name(int32_t type, char* out, size_t size);

/* ---- Label text and samples ---------------------------------------------- */

/** Read label texts and prefixes as the type's converter reads them, not
 * strictly (the flags of marlix_type_text and marlix_type_sample). */
#define MARLIX_READ_LAX 1u

/** The label text of a sample, exactly as the type's converter prints it (a
 * leading blank included); prefix (may be null) is the roll prefix as a
 * person types it ("KU 22 9012"; MARLIX_ERR_UNREADABLE when it is none of
 * the type), or with MARLIX_READ_LAX the label point's prefix text as it
 * is. */
MARLIX_API marlix_status marlix_type_text(int32_t type, int32_t sample, const char* prefix,
                                          uint32_t flags, char* out, size_t size);
/** The sample of a label text: a label that exists at the type, in a form
 * people write it (MARLIX_ERR_UNREADABLE else; marlix_type_refusal says
 * why). With MARLIX_READ_LAX, read as a label point reads it (prefix
 * first, then the text). */
MARLIX_API marlix_status marlix_type_sample(int32_t type, const char* text, const char* prefix,
                                            uint32_t flags, int32_t* sample);
/** Why marlix_type_sample refuses the text with these arguments, as one line
 * ("not a label of type pal_label: frames 99 is not below 25"); "" when it
 * reads. */
MARLIX_API marlix_status marlix_type_refusal(int32_t type, const char* text, const char* prefix,
                                             uint32_t flags, char* out, size_t size);

/* ---- Medium roll identities ------------------------------------------------ */

typedef struct marlix_medium_id {
    int32_t medium;      ///< 0..40
    int32_t generation;  ///< 0 none, 1 any, 2..5 first to fourth
} marlix_medium_id;

/** A medium by number or by name in any case ("Film", "30i", "TOVClock"). */
MARLIX_API marlix_status marlix_medium_find(const char* name, int32_t* medium);
/** The medium's name ("24pM"); MARLIX_ERR_MEDIUM for a number without one. */
MARLIX_API marlix_status marlix_medium_name(int32_t medium, char* out, size_t size);
/** Reads "medium[,generation]"; label_type (-1 for none) supplies the
 * family an ink label's identity depends on. A text that is no identity
 * is MARLIX_ERR_UNREADABLE. */
MARLIX_API marlix_status marlix_medium_id_read(const char* text, int32_t label_type,
                                               marlix_medium_id* id);
/** "medium,generation", as keep strings store it. */
MARLIX_API marlix_status marlix_medium_id_text(marlix_medium_id id, char* out, size_t size);
/** "24p,1stGen", as a user reads it. */
MARLIX_API marlix_status marlix_medium_id_user_text(marlix_medium_id id, char* out, size_t size);
/** 1 when pattern accepts id (any medium or generation matches, a rate's
 * progressive and interlaced media accept each other), else 0. */
MARLIX_API int marlix_medium_id_fits(marlix_medium_id pattern, marlix_medium_id id);
/** A medium roll's keep string ("REV:1 MediumRollId:2,1 reelid:A001"), and
 * the identity and reel id (at most 31 characters) read back from one. */
MARLIX_API marlix_status marlix_medium_roll_keep_string(marlix_medium_id id, const char* reelid,
                                                        char* out, size_t size);
MARLIX_API marlix_status marlix_medium_roll_read(const char* keep, marlix_medium_id* id,
                                                 char* reelid, size_t size);

/* ---- Labels and edit labels ------------------------------------------------ */

/** A labelled span: start, length in samples, pitch (seconds a sample) and
 * whether it is bounded. An edit label also names its medium roll. */
typedef struct marlix_label marlix_label;

/** A bounded label of the type's default length (100000000 samples, cut to
 * whole frames) and natural pitch. */
MARLIX_API marlix_status marlix_label_new(int32_t type, marlix_label** label);
/** An edit label of a type on a medium roll. */
MARLIX_API marlix_status marlix_edit_label_new(int32_t type, marlix_medium_id id,
                                               marlix_label** label);
/** A label, or an edit label, read from its keep string. MARLIX_ERR_UNREADABLE
 * for text after its last field (bounded, or the medium roll's two after it)
 * and for a start that is no label of its type. */
MARLIX_API marlix_status marlix_label_read(const char* keep, marlix_label** label);
MARLIX_API marlix_status marlix_edit_label_read(const char* keep, marlix_label** label);
MARLIX_API void marlix_label_free(marlix_label* label);

/** The keep string (at most 127 characters for a label, 130 for an edit
 * label). MARLIX_ERR_NOT_KEPT, nothing written, when it would read back as
 * another label: a negative length or one of no whole number of frames (the
 * keep string stores frames), a start inside a frame whose label names the
 * frame only, a keycode or ink label without its roll's prefix. */
MARLIX_API marlix_status marlix_label_keep_string(const marlix_label* label, char* out,
                                                  size_t size);
/** The medium roll of an edit label (MARLIX_ERR_ARGUMENT for a label). */
MARLIX_API marlix_status marlix_label_medium_id(const marlix_label* label, marlix_medium_id* id);

MARLIX_API marlix_status marlix_label_type(const marlix_label* label, int32_t* type);
MARLIX_API marlix_status marlix_label_start(const marlix_label* label, int32_t* sample);
MARLIX_API marlix_status marlix_label_length(const marlix_label* label, int32_t* samples);
MARLIX_API marlix_status marlix_label_pitch(const marlix_label* label, double* seconds);
MARLIX_API marlix_status marlix_label_bounded(const marlix_label* label, int32_t* bounded);
MARLIX_API marlix_status marlix_label_set_start(marlix_label* label, int32_t sample);
/** The start from a label text as marlix_type_sample reads it (flags: 0 or
 * MARLIX_READ_LAX), with the prefix the text holds; MARLIX_ERR_UNREADABLE
 * leaves the start as it was. */
MARLIX_API marlix_status marlix_label_set_start_text(marlix_label* label, const char* text,
                                                     uint32_t flags);
MARLIX_API marlix_status marlix_label_set_length(marlix_label* label, int32_t samples);
MARLIX_API marlix_status marlix_label_set_pitch(marlix_label* label, double seconds);
MARLIX_API marlix_status marlix_label_set_bounded(marlix_label* label, int32_t bounded);
/** The roll prefix of the start as typed ("KU 22 9012"), as marlix_type_text
 * reads a prefix (MARLIX_ERR_UNREADABLE for none of the type, a prefix
 * with a blank or a colon MARLIX_ERR_NOT_KEPT); with MARLIX_READ_LAX the
 * prefix text as it is. */
MARLIX_API marlix_status marlix_label_set_prefix(marlix_label* label, const char* prefix,
                                                 uint32_t flags);
/** The text at a sample counted from the start (">>>>>>" past the end and
 * "<<<<<<" before the start of a bounded span). */
MARLIX_API marlix_status marlix_label_text_at(const marlix_label* label, int32_t relative,
                                              char* out, size_t size);
/** The position in seconds from the start of a label text within the span,
 * the text read as marlix_type_sample reads it (flags: 0 or
 * MARLIX_READ_LAX); MARLIX_ERR_UNREADABLE when it does not read or lies
 * outside. */
MARLIX_API marlix_status marlix_label_position(const marlix_label* label, const char* text,
                                               uint32_t flags, double* seconds);

/* ---- Project and translation ---------------------------------------------- */

/** A frame rate by name ("25", "29.97df", "30000/1001") or "#N", as the
 * host's number (1..10, 31..34); *drop tells a drop-frame name (may be
 * null). */
MARLIX_API marlix_status marlix_rate_find(const char* name, int32_t* rate, int32_t* drop);

typedef struct marlix_project {
    int32_t frame_rate;              ///< host rate number
    int32_t drop_frame;              ///< the project labels drop-frame timecode
    int32_t camera_speed;            ///< in-camera film speed, a host rate
    int32_t output_rate;             ///< output image rate, a host rate
    int32_t output_interlaced;       ///< 0 progressive, 1 interlaced
    int32_t output_pulled_down;      ///< the output uses pulldown
    int32_t audio_sync_pulled_down;  ///< sound sync is pulled down
    double cel_resolution;           ///< 0.0 follows the project rate
} marlix_project;

/** The process's current project, and a new one for every thread. */
MARLIX_API marlix_status marlix_project_get(marlix_project* project);
MARLIX_API marlix_status marlix_project_set(const marlix_project* project);
/** The default project: 24 fps film shot at 24, playing out 24p. */
MARLIX_API marlix_status marlix_project_default(marlix_project* project);

typedef struct marlix_xlate_params {
    int32_t transfer;        ///< 0 none, 1 pulldown 4 into 5, 2 pulldown 24 into 25,
                             ///< 3 frame for frame, 7 pulldown by cadence; 0..99
    int32_t sequence;        ///< pulldown phase of the first video frame; -1 unset
    int32_t transfer_rate;   ///< host rate of the transfer; 0 none
    int32_t video_medium;    ///< the medium standing for Video; -1 the project's
    int32_t source_24p;      ///< the video project's source is 24p
    int32_t round_to_frame;  ///< round the result to a frame
} marlix_xlate_params;

/** Frame for frame (3), phase 0, no transfer rate, the project's video medium. */
MARLIX_API marlix_status marlix_xlate_params_init(marlix_xlate_params* params);
/** A position translated from one medium's time base to another's. params
 * may be null (the defaults); project may be null (the current project),
 * or settings for this call alone (other threads are not affected).
 * MARLIX_ERR_NO_TRANSLATION, with *result the invalid position (+-1e99),
 * when there is no translation between different media. */
MARLIX_API marlix_status marlix_xlate(double position, int32_t from, int32_t to,
                                      const marlix_xlate_params* params,
                                      const marlix_project* project, double* result);

/* ---- Cadences ---------------------------------------------------------------- */

/** A cadence by "FILM:VIDEO" (24 or 48; 25p 25i 30p 30i, 50p and 60p for
 * the fields of 25 and 30), as its number 0..7. */
MARLIX_API marlix_status marlix_cadence_find(const char* text, int32_t* cadence);
/** Film frames and output units (frames or fields) of one group, whether
 * the units are fields, and the number of pulldown phases. */
MARLIX_API marlix_status marlix_cadence_shape(int32_t cadence, int32_t* film_frames,
                                              int32_t* output_units, int32_t* fields,
                                              int32_t* phases);
/** The film frame on show in an output unit at a phase (0 = A), or -1 for
 * one that started before the clip. */
MARLIX_API marlix_status marlix_cadence_frame(int32_t cadence, int32_t phase, int32_t unit,
                                              int32_t* film_frame);
/** The raw look-ups: forward from a film frame to the output unit it starts
 * in, inverse from an output unit to the film frame on show; row is the
 * phase row (twice the phase for fields), 0..255. A count below 0, or one
 * whose answer would not fit in 64 bits (beyond about 2^62), is
 * MARLIX_ERR_ARGUMENT. */
MARLIX_API marlix_status marlix_cadence_forward(int32_t cadence, int32_t row, int64_t film_frame,
                                                int64_t* unit);
MARLIX_API marlix_status marlix_cadence_inverse(int32_t cadence, int32_t row, int64_t unit,
                                                int64_t* film_frame);

/* ---- Legacy frame labels ------------------------------------------------------ */

/** The legacy functions over 8-character labels (hhmmssff timecode, feet
 * and frames). Types are the legacy numbers 1..43; a function that refuses
 * its arguments answers MARLIX_ERR_REFUSED. *code is the function's own
 * result, 1 or 2 (2: the phase reached the end of its cycle). */
MARLIX_API marlix_status marlix_legacy_timecode(int32_t frame, int32_t type, int32_t drop,
                                                char* out, size_t size);
MARLIX_API marlix_status marlix_legacy_label_to_frames(const char* label, int32_t type,
                                                       int32_t drop, int32_t transfer, int32_t edit,
                                                       int32_t frames_per_foot, int32_t foot_phase,
                                                       int32_t phase, int32_t* frame,
                                                       int32_t* foot_phase_out, int32_t* phase_out,
                                                       int32_t* code);
MARLIX_API marlix_status marlix_legacy_label_plus_frames(
    const char* label, int32_t delta, int32_t type, int32_t drop, int32_t transfer, int32_t edit,
    int32_t frames_per_foot, uint8_t digit_flags, int32_t foot_phase, int32_t phase, char* out,
    size_t size, int32_t* foot_phase_out, int32_t* phase_out, int32_t* code);
MARLIX_API marlix_status marlix_legacy_film_to_video(int32_t film, int32_t transfer, int32_t phase,
                                                     int32_t end_phase, int32_t* video,
                                                     int32_t* code);
MARLIX_API marlix_status marlix_legacy_video_to_film(int32_t video, int32_t transfer, int32_t phase,
                                                     int32_t* film, int32_t* phase_out,
                                                     int32_t* code);

/* ---- SMPTE timecode ------------------------------------------------------------- */

typedef struct marlix_tc_rate {
    int32_t num;
    int32_t den;
    int32_t drop;
} marlix_tc_rate;

/** The names of every known rate, blank-separated, slowest first
 * ("23.976 24 25 ..."); never null. */
MARLIX_API const char* marlix_tc_rate_names(void);
/** A rate by name, as marlix_tc_rate_names lists them ("29.97df"), or a
 * fraction ("30000/1001"). */
MARLIX_API marlix_status marlix_tc_rate_find(const char* name, marlix_tc_rate* rate);
/** Strict reading of [-]HH:MM:SS:FF into a frame count, blanks around it
 * ignored; any_hours allows hours above 23. */
MARLIX_API marlix_status marlix_tc_read(const char* text, marlix_tc_rate rate, int32_t any_hours,
                                        int32_t* frames);
/** HH:MM:SS:FF (';' before the frames at drop-frame rates), wrapping at 24
 * hours unless wrap_day is 0. */
MARLIX_API marlix_status marlix_tc_write(int32_t frames, marlix_tc_rate rate, int32_t wrap_day,
                                         char* out, size_t size);
/** frames moved by delta on the clock of a day (23:59:59;29 + 1 is
 * 00:00:00;00, 00:00:02:00 - 125 at 25 fps is 23:59:57:00), or with wrap_day
 * 0 the signed count (MARLIX_ERR_TC_OUT_OF_RANGE beyond 32 bits). */
MARLIX_API marlix_status marlix_tc_add(int32_t frames, marlix_tc_rate rate, int64_t delta,
                                       int32_t wrap_day, int32_t* result);
/** The frames from in to out, out exclusive; an out earlier than the in
 * runs across midnight unless signed_count is non-zero. */
MARLIX_API marlix_status marlix_tc_duration(int32_t in, int32_t out, marlix_tc_rate rate,
                                            int32_t signed_count, int32_t* result);
/** method: 0 real time, 1 frame for frame, 2 pulldown (2:3 with the sync
 * point: film frame sync_film is an A frame on video frame sync_video). */
MARLIX_API marlix_status marlix_tc_convert(int32_t frames, marlix_tc_rate from, marlix_tc_rate to,
                                           int32_t method, int32_t sync_film, int32_t sync_video,
                                           int32_t* result);
/** The film frame shown in the first field of a video frame, and whether
 * the frame's second field shows another (2:3, by frames at 59.94 and 60;
 * 24:25; or one to one). A video frame beyond +-2^61 is
 * MARLIX_ERR_ARGUMENT. */
MARLIX_API marlix_status marlix_tc_pull(int64_t video_frame, marlix_tc_rate rate,
                                        int64_t* film_frame, int32_t* split);

/* ---- Edit decision lists -------------------------------------------------------- */

/** A CMX 3600 list read and checked: an opaque document the caller frees
 * with marlix_edl_free. Distinct documents may be used from different
 * threads at once. */
typedef struct marlix_edl marlix_edl;

#define MARLIX_EDL_STRICT 1u  ///< stop at the first error (else read on and report all)

/** Reads size bytes (UTF-8, else ISO-8859-1; LF, CRLF or CR; a BOM) at
 * rate; at 29.97 and 59.94 FCM: lines choose drop-frame. A list with errors
 * still gives a document: its findings say what is wrong. An unknown rate
 * is MARLIX_ERR_TC_UNKNOWN_RATE; *doc is null on every failure. */
MARLIX_API marlix_status marlix_edl_read(const char* bytes, size_t size, marlix_tc_rate rate,
                                         uint32_t flags, marlix_edl** doc);
/** Frees a document; null is fine. */
MARLIX_API void marlix_edl_free(marlix_edl* doc);
/** The number of edits, of findings and of findings that are errors. */
MARLIX_API marlix_status marlix_edl_counts(const marlix_edl* doc, size_t* edits, size_t* findings,
                                           size_t* errors);

typedef struct marlix_edl_edit {
    int32_t event;       ///< event number
    uint32_t line;       ///< 1-based line
    int32_t transition;  ///< 0 cut, 1 dissolve, 2 wipe, 3 key, 4 key background, 5 key overlay
    int32_t wipe;        ///< the wipe code
    int32_t fade;        ///< the (F) flag
    int32_t transition_frames;  ///< the transition's length
    int32_t video;              ///< records video
    uint64_t audio_low;         ///< bit n-1: audio channel n (1..64), AUD lines included
    uint64_t audio_high;        ///< bit n-65: audio channel n (65..99)
    marlix_tc_rate rate;        ///< the rate and drop-frame mode of its timecodes
    int32_t source_in, source_out, record_in, record_out;  ///< frames; outs exclusive
    int32_t has_speed;                                     ///< an M2 line gives its motion
    int32_t speed_tenths;  ///< frames a second x 10; negative in reverse
    int32_t speed_entry;   ///< the M2 entry timecode, in frames
} marlix_edl_edit;

/** Edit index (0-based); MARLIX_ERR_ARGUMENT past the last. */
MARLIX_API marlix_status marlix_edl_edit_at(const marlix_edl* doc, size_t index,
                                            marlix_edl_edit* edit);

/** The texts of an edit, for marlix_edl_edit_text. */
#define MARLIX_EDL_REEL 0
#define MARLIX_EDL_CLIP 1         ///< * FROM CLIP NAME:
#define MARLIX_EDL_TO_CLIP 2      ///< * TO CLIP NAME:
#define MARLIX_EDL_KEY_CLIP 3     ///< * KEY CLIP NAME:
#define MARLIX_EDL_SOURCE_FILE 4  ///< * SOURCE FILE:
#define MARLIX_EDL_CHANNELS 5     ///< the channel field as written ("AA/V")
#define MARLIX_EDL_TRANSITION 6   ///< the transition field as written ("K B")
/** One text of edit index, UTF-8, "" where the list gives none. */
MARLIX_API marlix_status marlix_edl_edit_text(const marlix_edl* doc, size_t index, int32_t field,
                                              char* out, size_t size);

typedef struct marlix_edl_finding {
    uint32_t line;    ///< 1-based; 0 for the list as a whole
    uint32_t column;  ///< 1-based where known, else 0
    int32_t event;    ///< the event number, -1 outside any event
    int32_t kind;     ///< marlix_edl_finding_name names it
    int32_t error;    ///< 1 an error, 0 a warning
} marlix_edl_finding;

/** Finding index in line order, and its message (may be null with size 0). */
MARLIX_API marlix_status marlix_edl_finding_at(const marlix_edl* doc, size_t index,
                                               marlix_edl_finding* finding, char* message,
                                               size_t size);
/** The name of a finding kind ("bad_timecode"); "unknown" past them. */
MARLIX_API const char* marlix_edl_finding_name(int32_t kind);
/** The canonical text; *needed (may be null) the bytes it takes with the
 * terminator. A short buffer holds the cut text and answers
 * MARLIX_ERR_TRUNCATED. */
MARLIX_API marlix_status marlix_edl_write(const marlix_edl* doc, char* out, size_t size,
                                          size_t* needed);

/** A source reel's own pulldown sync, for marlix_edl_convert. */
typedef struct marlix_edl_reel_sync {
    const char* reel;    ///< UTF-8, NUL-terminated
    int32_t sync_film;   ///< film frame sync_film is an A frame ...
    int32_t sync_video;  ///< ... on video frame sync_video
} marlix_edl_reel_sync;

#define MARLIX_EDL_KEEP_FRAMES (-1)  ///< method: one rate, the other frame-code mode

typedef struct marlix_edl_convert_options {
    marlix_tc_rate to;  ///< the new rate and frame-code mode
    /** MARLIX_EDL_KEEP_FRAMES (only between the modes of one rate), or as
     * marlix_tc_convert: 0 real time, 1 frame for frame, 2 pulldown */
    int32_t method;
    int32_t sync_film, sync_video;           ///< pulldown: the record side's sync
    const marlix_edl_reel_sync* reel_syncs;  ///< pulldown: each source reel's; may be null
    size_t reel_sync_count;
    int32_t keep_sources;  ///< pulldown: source timecodes stay as written
} marlix_edl_convert_options;

/** Where and why a conversion was refused. */
typedef struct marlix_edl_refusal {
    int32_t reason;  ///< marlix_edl_convert_error_name names it; 0 none
    int32_t event;   ///< the edit's event, -1 for the list as a whole
    uint32_t line;   ///< the edit's line, 0 for the list
} marlix_edl_refusal;

/** The list at another rate or mode, as a new document (checked afresh;
 * free it with marlix_edl_free) whose rounding report marlix_edl_rounding_at
 * gives. A refusal is MARLIX_ERR_REFUSED with *refusal (may be null) and the
 * message (may be null with size 0) saying why; *out is null on every
 * failure. */
MARLIX_API marlix_status marlix_edl_convert(const marlix_edl* doc,
                                            const marlix_edl_convert_options* options,
                                            marlix_edl** out, marlix_edl_refusal* refusal,
                                            char* message, size_t size);
/** The name of a refusal reason ("no_reel_sync"); "unknown" past them. */
MARLIX_API const char* marlix_edl_convert_error_name(int32_t reason);

/** An edit whose record length rounding changed; the exact new length is
 * exact_num / exact_den frames. */
typedef struct marlix_edl_rounding {
    int32_t event;
    uint32_t line;   ///< the edit's line in the list converted
    int32_t before;  ///< record frames at the old rate
    int32_t after;   ///< at the new rate
    int64_t exact_num, exact_den;
} marlix_edl_rounding;
/** The number of edits a conversion reported (0 for a list read). */
MARLIX_API marlix_status marlix_edl_rounding_count(const marlix_edl* doc, size_t* count);
/** Report index in list order; MARLIX_ERR_ARGUMENT past the last. */
MARLIX_API marlix_status marlix_edl_rounding_at(const marlix_edl* doc, size_t index,
                                                marlix_edl_rounding* rounding);

/* ---- Film lists ------------------------------------------------------------ */

/** A video list matched back to the camera negative through telecine logs
 * (ALE): an opaque value the caller frees with marlix_film_lists_free. */
typedef struct marlix_film_lists marlix_film_lists;

typedef struct marlix_film_options {
    int32_t stock;         ///< a keycode label type; 0: each log's FILM_FORMAT
    int32_t pal_24_25;     ///< at 25: the 24:25 cadence, not frame for frame
    int64_t leader_perfs;  ///< the running footage's start, in perforations
} marlix_film_options;

/** The lists of the list edl (edl_size bytes, read at rate) against
 * log_count logs (logs[i] of log_sizes[i] bytes); options may be null. An
 * unknown rate is MARLIX_ERR_TC_UNKNOWN_RATE, a stock that is no keycode
 * type MARLIX_ERR_LABEL_TYPE; *lists is null on every failure. */
MARLIX_API marlix_status marlix_film_lists_make(const char* edl, size_t edl_size,
                                                marlix_tc_rate rate, const char* const* logs,
                                                const size_t* log_sizes, size_t log_count,
                                                const marlix_film_options* options,
                                                marlix_film_lists** lists);
/** Frees lists; null is fine. */
MARLIX_API void marlix_film_lists_free(marlix_film_lists* lists);
/** The rows of the cut, pull and missing lists, and the log findings that
 * are errors. */
MARLIX_API marlix_status marlix_film_lists_counts(const marlix_film_lists* lists, size_t* cuts,
                                                  size_t* pulls, size_t* missing,
                                                  size_t* log_errors);

typedef struct marlix_film_cut {
    int32_t event;
    uint32_t line;                  ///< the edit's line in the list
    int32_t record_in, record_out;  ///< frames at the list's rate; out exclusive
    int32_t matched;                ///< a clip with key numbers was found
    int32_t first_sample;           ///< key_in, in perforations
    int32_t last_sample;            ///< key_out (the last frame), in perforations
    int32_t adjust;                 ///< the frame the rounding gained or lost: -1, 0, +1
    int64_t frames;                 ///< film frames cut
    int64_t running_frames;         ///< the leader and the cuts to this one's end
} marlix_film_cut;

/** Cut index (0-based, record order); MARLIX_ERR_ARGUMENT past the last. */
MARLIX_API marlix_status marlix_film_cut_at(const marlix_film_lists* lists, size_t index,
                                            marlix_film_cut* cut);

/** The texts of a cut, for marlix_film_cut_text. */
#define MARLIX_FILM_CLIP 0
#define MARLIX_FILM_CAMROLL 1
#define MARLIX_FILM_LABROLL 2
#define MARLIX_FILM_KEY_IN 3   ///< compact key number
#define MARLIX_FILM_KEY_OUT 4  ///< the last frame's
#define MARLIX_FILM_FEET_FRAMES 5
#define MARLIX_FILM_NOTES 6
#define MARLIX_FILM_REEL 7
#define MARLIX_FILM_SCENE 8
#define MARLIX_FILM_TAKE 9
/** One text of cut index, "" where none. */
MARLIX_API marlix_status marlix_film_cut_text(const marlix_film_lists* lists, size_t index,
                                              int32_t field, char* out, size_t size);

/* The lists of pieces of negative. The pull list holds the pieces the
 * cuts use, cuts that overlap or abut joined, in lab roll, camera roll and
 * key number order; the dupe list the frames two or more cuts use, handles
 * counted, by roll and key number. */
#define MARLIX_FILM_PULLS 0  ///< the pull list
#define MARLIX_FILM_DUPES 1  ///< the dupe list

/** A piece of negative: a run of one roll's frames. */
typedef struct marlix_film_piece {
    int32_t first_sample;  ///< key_in, in perforations
    int32_t last_sample;   ///< key_out (the last frame), in perforations
    int64_t frames;        ///< film frames
    size_t event_count;    ///< the events that use the piece
} marlix_film_piece;

/** Piece index (0-based) of list, MARLIX_FILM_PULLS or MARLIX_FILM_DUPES;
 * MARLIX_ERR_ARGUMENT past the last or for another list. */
MARLIX_API marlix_status marlix_film_piece_at(const marlix_film_lists* lists, int32_t list,
                                              size_t index, marlix_film_piece* piece);
/** One text of piece index of list: MARLIX_FILM_CLIP, _CAMROLL, _LABROLL,
 * _KEY_IN or _KEY_OUT, "" where none; MARLIX_ERR_ARGUMENT for another
 * field or list or past the last piece. */
MARLIX_API marlix_status marlix_film_piece_text(const marlix_film_lists* lists, int32_t list,
                                                size_t index, int32_t field, char* out,
                                                size_t size);
/** The event number of the k-th event (0-based) that uses piece index of
 * list; MARLIX_ERR_ARGUMENT for another list or past the last piece or
 * event. */
MARLIX_API marlix_status marlix_film_piece_event(const marlix_film_lists* lists, int32_t list,
                                                 size_t index, size_t k, int32_t* event);

/** Log error index (0-based, in the logs' order, each log's in line order):
 * the log's index in the logs given, the line (0 for the log as a whole)
 * and the message, which out receives as marlix_film_cut_text's texts. */
MARLIX_API marlix_status marlix_film_log_error_at(const marlix_film_lists* lists, size_t index,
                                                  size_t* log, uint32_t* line, char* out,
                                                  size_t size);

/** Missing element index: its event, its kind (0 no clip, 1 no key
 * numbers, 2 source outside its clip) and its reel. */
MARLIX_API marlix_status marlix_film_missing_at(const marlix_film_lists* lists, size_t index,
                                                int32_t* event, int32_t* kind, char* reel,
                                                size_t size);

/** What marlix_film_lists_make_with adds to marlix_film_options. Fill it
 * with marlix_film_more_defaults first. */
typedef struct marlix_film_more_options {
    int32_t handles;             ///< frames each side a cut uses (0..10000); default 1
    const int32_t* lab_lengths;  ///< dissolve and fade lengths a lab prints;
    size_t lab_length_count;     ///< null and 0: 16, 24, 32, 48, 64, 96, 128
    const char* previous;        ///< the previous version of the list, or null
    size_t previous_size;        ///< its bytes
} marlix_film_more_options;

/** The defaults: one frame of handle, the usual lab lengths, no previous
 * version. */
MARLIX_API void marlix_film_more_defaults(marlix_film_more_options* more);

/** marlix_film_lists_make with the dupe, optical, sound and change lists'
 * options; more may be null (the defaults). A handle outside 0..10000 or a
 * lab length below 1 is MARLIX_ERR_ARGUMENT. The change list is there when
 * more gives the previous version, read at the same rate. */
MARLIX_API marlix_status marlix_film_lists_make_with(const char* edl, size_t edl_size,
                                                     marlix_tc_rate rate, const char* const* logs,
                                                     const size_t* log_sizes, size_t log_count,
                                                     const marlix_film_options* options,
                                                     const marlix_film_more_options* more,
                                                     marlix_film_lists** lists);

/** The rows of the dupe, optical, sound and change lists. */
MARLIX_API marlix_status marlix_film_lists_more_counts(const marlix_film_lists* lists,
                                                       size_t* dupes, size_t* opticals,
                                                       size_t* sounds, size_t* changes);

/** Kinds of effect. */
#define MARLIX_FILM_DISSOLVE 0
#define MARLIX_FILM_WIPE 1
#define MARLIX_FILM_FADE_IN 2
#define MARLIX_FILM_FADE_OUT 3
#define MARLIX_FILM_SPEED 4

/** An event with a dissolve, wipe, fade or M2 speed. A transition runs
 * from the incoming record in as the list lays it: the outgoing side needs
 * the film after its cut, the incoming side the first of its own. */
typedef struct marlix_film_optical {
    int32_t event;
    uint32_t line;
    int32_t kind;                   ///< MARLIX_FILM_DISSOLVE ... _SPEED
    int32_t wipe;                   ///< the wipe code
    int32_t lab;                    ///< a dissolve or fade of a length the lab prints
    int32_t length;                 ///< video frames
    int64_t film_frames;            ///< film frames, half up
    int32_t record_in, record_out;  ///< frames at the list's rate, out exclusive
    int32_t centre;                 ///< the middle frame's record timecode, in frames
    int32_t speed_tenths;           ///< frames per second x 10
    int32_t has_out;                ///< an outgoing side is known
} marlix_film_optical;

/** The film one side of an effect needs. */
typedef struct marlix_film_side {
    int32_t black;                  ///< a black reel: no film
    int32_t matched;                ///< key numbers were found
    int32_t source_in, source_out;  ///< frames at the list's rate, out exclusive
    int32_t first_sample;           ///< key_in, in perforations
    int32_t last_sample;            ///< key_out (the last frame), in perforations
    int64_t frames;                 ///< film frames
} marlix_film_side;

/** Optical index (0-based, the list's order). */
MARLIX_API marlix_status marlix_film_optical_at(const marlix_film_lists* lists, size_t index,
                                                marlix_film_optical* optical);
/** Side 0 (outgoing) or 1 (incoming) of optical index; MARLIX_ERR_ARGUMENT
 * for the outgoing side of an effect without one. */
MARLIX_API marlix_status marlix_film_optical_side(const marlix_film_lists* lists, size_t index,
                                                  int32_t side, marlix_film_side* out);
/** One text of a side: MARLIX_FILM_CLIP, _CAMROLL, _LABROLL, _KEY_IN,
 * _KEY_OUT or _REEL; MARLIX_FILM_FEET_FRAMES is the running footage of the
 * effect's middle. */
MARLIX_API marlix_status marlix_film_optical_text(const marlix_film_lists* lists, size_t index,
                                                  int32_t side, int32_t field, char* out,
                                                  size_t size);

/** The sound roll, for marlix_film_sound_text. */
#define MARLIX_FILM_SOUNDROLL 10

/** A picture cut's sound, through its clip's Soundroll and Sound TC. */
typedef struct marlix_film_sound {
    int32_t event;
    uint32_t line;
    int32_t found;                  ///< a Soundroll and a Sound TC that reads
    marlix_tc_rate rate;            ///< the sound's (the log's, in the Sound TC's mode)
    int32_t sound_in, sound_out;    ///< frames, out exclusive
    int32_t record_in, record_out;  ///< frames, out exclusive
} marlix_film_sound;

/** Sound index (0-based, record order, one a picture cut but black). */
MARLIX_API marlix_status marlix_film_sound_at(const marlix_film_lists* lists, size_t index,
                                              marlix_film_sound* sound);
/** MARLIX_FILM_REEL, _CLIP or _SOUNDROLL of sound index. */
MARLIX_API marlix_status marlix_film_sound_text(const marlix_film_lists* lists, size_t index,
                                                int32_t field, char* out, size_t size);
/** The audio EDL of the sound rolls, titled title (null: none), into out;
 * *length (may be null) receives the whole text's length, so a call with a
 * short buffer (MARLIX_ERR_TRUNCATED) tells the size to give. */
MARLIX_API marlix_status marlix_film_audio_edl(const marlix_film_lists* lists, const char* title,
                                               char* out, size_t size, size_t* length);

/** Kinds of change, and the end a trim is at. */
#define MARLIX_FILM_ADD 0
#define MARLIX_FILM_REMOVE 1
#define MARLIX_FILM_LENGTHEN 2
#define MARLIX_FILM_SHORTEN 3
#define MARLIX_FILM_WHOLE 0
#define MARLIX_FILM_HEAD 1
#define MARLIX_FILM_TAIL 2

/** A step from the previous version to this one. Applied in record order
 * to the previous cut, the steps give this cut. */
typedef struct marlix_film_change {
    int32_t kind;  ///< MARLIX_FILM_ADD ... _SHORTEN
    int32_t end;   ///< MARLIX_FILM_WHOLE, _HEAD or _TAIL
    /** The previous cut's running footage, in film frames: a piece's start,
     * a tail trim's piece end, the place an addition goes in at. */
    int64_t at;
    int32_t event;                  ///< this cut's; the previous one's for a removal or shortening
    int32_t first_sample;           ///< key_in, in perforations
    int32_t last_sample;            ///< key_out (the last frame), in perforations
    int64_t frames;                 ///< film frames added, removed or trimmed
    int32_t source_in, source_out;  ///< frames, for a piece without key numbers
} marlix_film_change;

/** Change index (0-based, record order). */
MARLIX_API marlix_status marlix_film_change_at(const marlix_film_lists* lists, size_t index,
                                               marlix_film_change* change);
/** The index of the k-th change in reel order (lab roll, camera roll, key
 * number). */
MARLIX_API marlix_status marlix_film_change_in_reel_order(const marlix_film_lists* lists, size_t k,
                                                          size_t* index);
/** One text of change index: MARLIX_FILM_CLIP, _CAMROLL, _LABROLL,
 * _KEY_IN, _KEY_OUT, _REEL; MARLIX_FILM_FEET_FRAMES is the position as
 * FT+FR. */
MARLIX_API marlix_status marlix_film_change_text(const marlix_film_lists* lists, size_t index,
                                                 int32_t field, char* out, size_t size);

#ifdef __cplusplus
}
#endif

#endif /* MARLIX_MARLIX_C_H */
