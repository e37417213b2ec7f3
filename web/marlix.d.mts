// marlix for JavaScript and TypeScript: the Python module's functions under
// camelCase names. Every function throws an Error saying what was wrong.

/** The library's release ("0.1.0"). */
export const version: string;

/** A label type as on the command line: an EDL name ("P", "ND", "F35"), a
 * class name ("pal_label"), a frame rate ("29.97df", or a number: 25 is
 * pal_label) or "#N" for catalogue number N. */
export type LabelType = string | number;
/** A frame rate: a name ("25", "29.97df", "30000/1001") or a number (25, 29.97). */
export type Rate = string | number;
/** A medium: its name in any case ("Film", "30i", "Audio") or its number. */
export type Medium = string | number;

/** Label texts and typed prefixes are read strictly (a label that exists at
 * the type, in a form people write it); strict: false reads them as the
 * type's converter does. */
export interface LabelOptions {
    prefix?: string | null;
    strict?: boolean;
}

/** The label text of a sample (a whole 32-bit number), as the type's converter prints it. */
export function labelText(type: LabelType, sample: number, options?: LabelOptions): string;
/** The sample of a label text. */
export function labelSample(type: LabelType, label: string, options?: LabelOptions): number;

/** SMPTE timecode HH:MM:SS:FF of a frame count (';' before the frames at
 * drop-frame rates); a negative count is '-' and the label of its
 * magnitude. The label wraps at 24 hours unless wrap: false. */
export function tcText(frames: number, rate: Rate, options?: { wrap?: boolean }): string;
/** The frame count of a timecode: strict (blanks around it ignored), or with
 * strict: false as the label converters read it. */
export function tcFrames(timecode: string, rate: Rate, options?: { strict?: boolean }): number;
/** A timecode moved by a signed whole number of frames (any size, as a
 * BigInt too), or by the frames of a second timecode. The answer wraps
 * within the 24-hour day unless wrap: false, which answers the signed
 * count ("-00:00:00:01"). */
export function tcAdd(timecode: string, framesOrTc: number | bigint | string, rate: Rate,
                      options?: { wrap?: boolean }): string;
/** The frames from in to out, out exclusive as EDLs count. An out earlier
 * than the in runs across midnight unless signed: true, which answers a
 * negative count. */
export function tcDuration(inTimecode: string, outTimecode: string, rate: Rate,
                           options?: { signed?: boolean }): number;

export interface ConvertOptions {
    /** realtime (default): the frame on show at the same instant; frame:
     * the same count (a speed change); pulldown: 2:3 between 23.976 and
     * 29.97, or 24 and 30. */
    method?: 'realtime' | 'frame' | 'pulldown';
    /** With pulldown, "FILMTC=VIDEOTC": an A frame on the first field of
     * that video frame (both 00:00:00:00 by default). */
    sync?: string | null;
}
/** A timecode at another rate. */
export function tcConvert(timecode: string, fromRate: Rate, toRate: Rate,
                          options?: ConvertOptions): string;

/** [keycode, split]: the keycode of the film frame shown in the first field
 * of a video timecode, as the stock's converter prints it with the sync
 * point's roll, and whether the frame's second field shows the next film
 * frame. sync is "KEYCODE=TC": an A frame starting on the first field of
 * video frame TC. stock is a keycode type (F35, F16 ...); rate the video
 * rate (29.97 and 30 pull 2:3, 25 the 24:25 cadence, 23.976 and 24 one film
 * frame a video frame). A film frame outside the sync point's roll is
 * refused. */
export function pull(timecode: string, stock: LabelType, rate: Rate, sync: string):
    [keycode: string, split: boolean];

/** Settings of one translation; the project settings hold for this call only. */
export interface XlateOptions {
    transfer?: 'none' | 'frame' | 'pulldown' | string | number;
    sequence?: number;
    transferRate?: Rate;
    videoMedium?: Medium;
    source24p?: boolean;
    roundToFrame?: boolean;
    projectRate?: Rate;
    dropFrame?: boolean;
    cameraSpeed?: Rate;
    outputRate?: Rate;
    outputScan?: 'p' | 'i';
    outputPulledDown?: boolean;
    audioSyncPulledDown?: boolean;
}
/** A position translated from one medium's time base to another's. */
export function xlate(position: number, fromMedium: Medium, toMedium: Medium,
                      options?: XlateOptions): number;

/** The film frame on show in each field (or frame) of one cadence cycle ("24:30i"). */
export function cadence(pair: string, phase?: number): string[];
