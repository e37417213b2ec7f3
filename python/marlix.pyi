"""Edge-label arithmetic: label text and samples, SMPTE timecode, translation
between media, pulldown cadences. Every failure raises ValueError."""

from decimal import Decimal
from fractions import Fraction
from typing import Iterable, Literal, Optional, Union, overload

__version__: str

# A frame rate: a name as "25", "29.97df" or "24000/1001", or a number (25,
# 29.97, 24000 / 1001, Fraction(24000, 1001), Decimal("23.976")); where the
# host's rates are taken, "#N" for the host's rate number N too.
Rate = Union[str, int, float, Fraction, Decimal]
# A label type, named as on the command line: an EDL name ("P", "ND",
# "F35"), a class name ("pal_label"), a frame rate (a Rate: 25 is
# pal_label) or "#N" for catalogue number N ("#25" is keycode_16_label_5).
LabelType = Rate
# A medium: its name in any case ("Film", "30i", "Audio") or its number.
Medium = Union[str, int]
# Whole numbers in bulk: a list, a range, or a buffer (array, numpy).
Numbers = Union[Iterable[int], range, memoryview]
# How a batch answers an item that fails: ValueError naming it, or None in
# its place.
Errors = Literal["raise", "none"]

# Label texts and typed prefixes are read strictly (a label that exists at
# the type, in a form people write it); strict=False reads them as the
# type's converter does.
def label_text(type: LabelType, sample: int, *, prefix: Optional[str] = None, strict: bool = True) -> str: ...
def label_sample(type: LabelType, text: str, *, prefix: Optional[str] = None, strict: bool = True) -> int: ...
def label_texts(
    type: LabelType,
    samples: Numbers,
    *,
    prefix: Optional[str] = None,
    strict: bool = True,
    errors: Errors = "raise",
) -> list[Optional[str]]: ...
def label_samples(
    type: LabelType,
    texts: Iterable[str],
    *,
    prefix: Optional[str] = None,
    strict: bool = True,
    errors: Errors = "raise",
) -> list[Optional[int]]: ...

# SMPTE timecode HH:MM:SS:FF (';' before the frames at drop-frame rates),
# read strictly with the blanks around it ignored.
def tc_text(frames: int, rate: Rate, *, wrap: bool = True) -> str: ...
def tc_texts(frames: Numbers, rate: Rate, *, wrap: bool = True, errors: Errors = "raise") -> list[Optional[str]]: ...
def tc_frames(text: str, rate: Rate, strict: bool = True) -> int: ...
def tc_frames_batch(
    texts: Iterable[str], rate: Rate, strict: bool = True, *, errors: Errors = "raise"
) -> list[Optional[int]]: ...
# On the clock of a day: an addition wraps both ways and an out before the
# in runs across midnight, unless wrap=False or signed=True.
def tc_add(tc: str, frames_or_tc: Union[int, str], rate: Rate, *, wrap: bool = True) -> str: ...
def tc_duration(in_: str, out: str, rate: Rate, *, signed: bool = False) -> int: ...
def tc_convert(
    tc: str,
    from_rate: Rate,
    to_rate: Rate,
    *,
    method: Literal["realtime", "frame", "pulldown"] = "realtime",
    sync: Optional[str] = None,
) -> str: ...
# (keycode, split) of the film frame a video frame shows, from sync
# "KEYCODE=TC"; a film frame outside the sync point's roll is refused.
# With footage (the counter on the sync point's frame, "12+00") or ink (the
# ink number there, "0123 0001+00"): (keycode, split, footage, ink), None for
# the one not given.
@overload
def pull(tc: str, stock: LabelType, rate: Rate, sync: str) -> tuple[str, bool]: ...
@overload
def pull(
    tc: str, stock: LabelType, rate: Rate, sync: str, *, footage: Optional[str] = None, ink: Optional[str] = None
) -> tuple[str, bool, Optional[str], Optional[str]]: ...

def xlate(
    position: float,
    from_medium: Medium,
    to_medium: Medium,
    *,
    transfer: Union[str, int, None] = None,
    sequence: int = -1,
    transfer_rate: Optional[Rate] = None,
    video_medium: Optional[Medium] = None,
    source_24p: bool = False,
    round_to_frame: bool = False,
    project_rate: Optional[Rate] = None,
    drop_frame: Optional[bool] = None,
    camera_speed: Optional[Rate] = None,
    output_rate: Optional[Rate] = None,
    output_scan: Optional[str] = None,
    output_pulled_down: Optional[bool] = None,
    audio_sync_pulled_down: Optional[bool] = None,
) -> float: ...
def cadence(pair: str, phase: int = 0) -> list[str]: ...

class _EdlModule:
    """CMX 3600 edit decision lists (marlix.edl): read, checked and written."""

    class Edit:
        event: int
        line: int
        reel: str
        channels: list[str]  # "V", "A1" .. "A99", AUD lines included
        channel_field: str  # as written: "AA/V"
        transition: str  # "C", "D", "W001", "K", "K B", "K O", with " (F)"
        transition_frames: int
        source_in: str
        source_out: str
        record_in: str
        record_out: str
        source_frames: int
        record_frames: int
        speed: Optional[float]  # the M2 speed, frames a second; None without
        clip: Optional[str]
        to_clip: Optional[str]
        key_clip: Optional[str]
        source_file: Optional[str]
        comments: list[str]

    class Finding:
        line: int
        column: Optional[int]
        event: Optional[int]
        kind: str  # "bad_timecode", "record_overlap" ...
        severity: Literal["error", "warning"]
        message: str

    class Document:
        title: str
        rate: str
        edits: list["_EdlModule.Edit"]
        findings: list["_EdlModule.Finding"]
        ok: bool  # no finding is an error
        latin1: bool  # the bytes were read as ISO-8859-1
        def write(self) -> str: ...

    class Rounding:
        event: int
        line: int  # in the list converted
        before: int  # record frames at the old rate
        after: int  # at the new rate
        exact: float  # the exact new length
        message: str  # "37 frames become 35 (35.520 exact)"

    class Conversion:
        document: "_EdlModule.Document"
        changed: list["_EdlModule.Rounding"]

    @staticmethod
    def convert(
        document: "_EdlModule.Document",
        to: Rate,
        *,
        method: Optional[Literal["frame", "realtime", "pulldown"]] = None,
        sync: Optional[str] = None,
        reel_syncs: Optional[dict[str, str]] = None,
        keep_sources: bool = False,
    ) -> "_EdlModule.Conversion": ...
    @staticmethod
    def read(text: Union[str, bytes], rate: Rate, *, strict: bool = False) -> "_EdlModule.Document": ...
    @staticmethod
    def read_file(path: str, rate: Rate, *, strict: bool = False) -> "_EdlModule.Document": ...
    @staticmethod
    def write(document: "_EdlModule.Document") -> str: ...

edl: _EdlModule

class CutRow:
    """One cut of a cut list, in record order."""
    event: int
    line: int
    reel: str
    record_in: str
    record_out: str
    matched: bool
    clip: str
    tape: str
    camroll: str
    labroll: str
    scene: str
    take: str
    key_in: str
    key_out: str
    ink_in: str
    ink_out: str
    frames: int
    feet_frames: str
    running_frames: int
    running_feet: str
    adjust: int
    notes: str

class PullRow:
    labroll: str
    camroll: str
    clip: str
    key_in: str
    key_out: str
    frames: int
    events: list[int]

class MissingRow:
    event: int
    line: int
    reel: str
    kind: Literal["no_clip", "no_key_numbers", "outside_clip"]
    clip: str

class ListTotals:
    events: int
    frames: int
    feet_frames: str
    record_frames: int
    running_time: str

class FilmFinding:
    """A finding of a log (log is its index in logs) or of the list run (log -1)."""
    log: int
    event: int
    line: int
    kind: str
    severity: Literal["error", "warning", "note"]
    message: str

class DupeRow:
    """Negative two or more cuts use, their handles counted."""
    labroll: str
    camroll: str
    clip: str
    key_in: str
    key_out: str
    frames: int
    events: list[int]

class OpticalSide:
    reel: str
    clip: str
    labroll: str
    camroll: str
    black: bool
    matched: bool
    source_in: str
    key_in: str
    key_out: str
    frames: int

class OpticalRow:
    """A transition runs from the incoming record in as the list lays it."""
    event: int
    line: int
    kind: Literal["dissolve", "wipe", "fade_in", "fade_out", "speed"]
    wipe: int
    lab: bool
    length: int
    film_frames: int
    centre: str
    centre_feet: str
    speed_tenths: int
    outgoing: Optional[OpticalSide]
    incoming: OpticalSide

class SoundRow:
    event: int
    line: int
    reel: str
    clip: str
    soundroll: str
    found: bool
    sound_in: str
    sound_out: str
    record_in: str
    record_out: str

class ChangeRow:
    kind: Literal["add", "remove", "lengthen", "shorten"]
    end: Literal["", "head", "tail"]
    at: int
    at_feet: str
    event: int
    reel: str
    clip: str
    labroll: str
    camroll: str
    key_prefix: str
    key_in: str
    key_out: str
    first_sample: int
    last_sample: int
    frames: int

class FilmLists:
    cuts: list[CutRow]
    pulls: list[PullRow]
    missing: list[MissingRow]
    dupes: list[DupeRow]
    opticals: list[OpticalRow]
    sounds: list[SoundRow]
    changes: list[ChangeRow]
    changes_by_reel: list[ChangeRow]
    totals: ListTotals
    findings: list[FilmFinding]
    def audio_edl(self, title: str = "") -> str: ...

# A video list matched back to key numbers through telecine logs (ALE texts).
def film_lists(
    edl: Union[str, bytes],
    logs: list[Union[str, bytes]],
    *,
    rate: str,
    stock: Optional[str] = None,
    transfer: Optional[Literal["24:25", "frame"]] = None,
    leader: str = "0+00",
    reel_map: Optional[list[tuple[str, str]]] = None,
    handles: int = 1,
    dissolve_lengths: Optional[list[int]] = None,
    previous: Union[str, bytes, None] = None,
) -> FilmLists: ...
