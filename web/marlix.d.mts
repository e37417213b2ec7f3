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
export function pull(timecode: string, stock: LabelType, rate: Rate, sync: string,
                     options?: { footage?: null; ink?: null }): [keycode: string, split: boolean];
/** With footage (the counter's reading on the sync point's frame, "12+00")
 * or ink (the ink number there, "0123 0001+00"): [keycode, split, footage,
 * ink], null for the one not given. */
export function pull(timecode: string, stock: LabelType, rate: Rate, sync: string, options: PullColumns):
    [keycode: string, split: boolean, footage: string | null, ink: string | null];
export interface PullColumns {
    footage?: string | null;
    ink?: string | null;
}

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

/** Text of a list or log: a string, or its bytes (UTF-8, else ISO-8859-1,
 * which a finding reports). */
export type ListText = string | Uint8Array;

/** One line of an event: a cut, or one side of a dissolve, wipe or key. */
export interface EdlEdit {
    event: number;
    /** 1-based */
    line: number;
    reel: string;
    /** "V", "A1" .. "A99", AUD lines included */
    channels: string[];
    /** as written: "AA/V" */
    channelField: string;
    /** "C", "D", "W001", "K", "K B", "K O", with " (F)" */
    transition: string;
    transitionFrames: number;
    /** Timecodes in the SMPTE form of the event's mode; outs exclusive. */
    sourceIn: string;
    sourceOut: string;
    recordIn: string;
    recordOut: string;
    sourceFrames: number;
    recordFrames: number;
    /** The M2 speed in frames a second; null without one. */
    speed: number | null;
    clip: string | null;
    toClip: string | null;
    keyClip: string | null;
    sourceFile: string | null;
    comments: string[];
}

/** What the reading or checking of a list found. */
export interface EdlFinding {
    line: number;
    column: number | null;
    event: number | null;
    /** "bad_timecode", "record_overlap" ... */
    kind: string;
    severity: 'error' | 'warning';
    message: string;
}

/** A list read at a rate. */
export interface EdlDocument {
    title: string;
    rate: string;
    edits: EdlEdit[];
    findings: EdlFinding[];
    /** No finding is an error. */
    ok: boolean;
    /** The bytes were read as ISO-8859-1. */
    latin1: boolean;
    /** The canonical text: CMX 3600 columns, LF line ends. */
    text: string;
}

/** An edit whose record length a conversion's rounding changed. */
export interface EdlRounding {
    event: number;
    /** in the list converted */
    line: number;
    /** record frames at the old rate */
    before: number;
    /** at the new rate */
    after: number;
    /** the exact new length */
    exact: number;
    /** "37 frames become 35 (35.520 exact)" */
    message: string;
}

export interface EdlConvertOptions {
    /** frame, realtime or pulldown; none between the drop-frame and
     * non-drop modes of one rate. */
    method?: 'frame' | 'realtime' | 'pulldown' | null;
    /** pulldown: "FILMTC=VIDEOTC" for the record side */
    sync?: string | null;
    /** pulldown: each source reel's "FILMTC=VIDEOTC" */
    reelSyncs?: Record<string, string> | Array<[reel: string, sync: string]> | null;
    /** pulldown: source timecodes stay as written */
    keepSources?: boolean;
}

/** CMX 3600 edit decision lists: read, checked and written. */
export const edl: {
    /** Reads and checks a list at a rate; at 29.97 and 59.94 FCM: lines
     * choose drop-frame. strict: true stops at the first error. */
    read(list: ListText, rate: Rate, options?: { strict?: boolean }): EdlDocument;
    /** The list read at rate, converted to rate to; a refusal names its
     * line and event. */
    convert(list: ListText, rate: Rate, to: Rate, options?: EdlConvertOptions):
        { document: EdlDocument; changed: EdlRounding[] };
};

/** One cut of a cut list, in record order. */
export interface CutRow {
    event: number;
    line: number;
    reel: string;
    recordIn: string;
    recordOut: string;
    /** a clip with key numbers was found */
    matched: boolean;
    clip: string;
    tape: string;
    camroll: string;
    labroll: string;
    scene: string;
    take: string;
    /** compact key numbers; keyOut is the last frame */
    keyIn: string;
    keyOut: string;
    inkIn: string;
    inkOut: string;
    frames: number;
    feetFrames: string;
    runningFrames: number;
    runningFeet: string;
    /** -1, 0 or +1 */
    adjust: number;
    notes: string;
}

/** A piece of negative to pull, and the events that use it. */
export interface PullRow {
    labroll: string;
    camroll: string;
    clip: string;
    keyIn: string;
    keyOut: string;
    frames: number;
    events: number[];
}

/** An edit the logs do not cover. */
export interface MissingRow {
    event: number;
    line: number;
    reel: string;
    kind: 'no_clip' | 'no_key_numbers' | 'outside_clip';
    clip: string;
}

/** Negative two or more cuts use, their handles counted. */
export type DupeRow = PullRow;

/** The film one side of an effect needs. */
export interface OpticalSide {
    reel: string;
    clip: string;
    labroll: string;
    camroll: string;
    black: boolean;
    matched: boolean;
    sourceIn: string;
    keyIn: string;
    keyOut: string;
    frames: number;
}

/** A dissolve, wipe, fade or M2 speed; a transition runs from the incoming
 * record in as the list lays it. */
export interface OpticalRow {
    event: number;
    line: number;
    kind: 'dissolve' | 'wipe' | 'fade_in' | 'fade_out' | 'speed';
    wipe: number;
    /** a dissolve or fade of a length the lab prints */
    lab: boolean;
    length: number;
    filmFrames: number;
    centre: string;
    centreFeet: string;
    speedTenths: number;
    outgoing: OpticalSide | null;
    incoming: OpticalSide;
}

/** A picture cut's sound roll and sound timecode. */
export interface SoundRow {
    event: number;
    line: number;
    reel: string;
    clip: string;
    soundroll: string;
    found: boolean;
    soundIn: string;
    soundOut: string;
    recordIn: string;
    recordOut: string;
}

/** A step from the previous version, at the previous running footage. */
export interface ChangeRow {
    kind: 'add' | 'remove' | 'lengthen' | 'shorten';
    end: '' | 'head' | 'tail';
    at: number;
    atFeet: string;
    event: number;
    reel: string;
    clip: string;
    labroll: string;
    camroll: string;
    keyPrefix: string;
    keyIn: string;
    keyOut: string;
    firstSample: number;
    lastSample: number;
    frames: number;
}

export interface ListTotals {
    events: number;
    frames: number;
    feetFrames: string;
    recordFrames: number;
    runningTime: string;
}

/** A finding of a log (log is its index in logs, event -1) or of the list
 * run (log -1). */
export interface FilmFinding {
    log: number;
    event: number;
    line: number;
    kind: string;
    severity: 'error' | 'warning' | 'note';
    message: string;
}

/** A list as the tool prints it: its columns, each row's cell texts, and
 * its CSV with a header (as cutlist --csv gives it). The tool's optical
 * list is two tables here: optical, then lab (the dissolves and fades a
 * lab prints). */
export interface ListTable {
    list: 'cut' | 'pull' | 'missing' | 'dupe' | 'optical' | 'lab' | 'sound' | 'change';
    columns: string[];
    rows: string[][];
    csv: string;
}

export interface FilmLists {
    cuts: CutRow[];
    pulls: PullRow[];
    missing: MissingRow[];
    dupes: DupeRow[];
    opticals: OpticalRow[];
    sounds: SoundRow[];
    /** In record order; empty without a previous version. */
    changes: ChangeRow[];
    /** By lab roll, camera roll and key number. */
    changesByReel: ChangeRow[];
    totals: ListTotals;
    /** The logs' findings, then the list run's, each in line order. */
    findings: FilmFinding[];
    /** The sound rolls as an EDL at the sound timecode's rate. */
    audioEdl(title?: string): string;
    /** Each list that has rows, in the order above (change with a previous
     * version only). */
    tables: ListTable[];
}

export interface FilmListOptions {
    rate: Rate;
    /** a keycode stock (65 mm too), else the log's FILM_FORMAT */
    stock?: LabelType | null;
    transfer?: '24:25' | 'frame' | null;
    /** the running footage's start, FT+FR ("12+00"); 0+00 by default */
    leader?: string;
    /** EDL reel to log tape */
    reelMap?: Record<string, string> | Array<[reel: string, tape: string]> | null;
    /** film frames each side of a cut the dupe list counts; 1 by default */
    handles?: number;
    /** the dissolve and fade lengths a lab prints; 16, 24, 32, 48, 64, 96, 128 by default */
    dissolveLengths?: number[] | null;
    /** the previous version of the list, for the change list */
    previous?: ListText | null;
}

/** A video list matched back to key numbers through telecine logs (ALE
 * texts): the lists and totals of the reel. */
export function filmLists(list: ListText, logs: ListText[], options: FilmListOptions): FilmLists;

/** The library's diagnostics go to fn, one message a call (its line end
 * cut), instead of standard error; null restores standard error. A throw
 * from fn is dropped. */
export function onDiagnostic(fn: ((text: string) => void) | null): void;
