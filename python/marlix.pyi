"""Edge-label arithmetic: label text and samples, SMPTE timecode, translation
between media, pulldown cadences. Every failure raises ValueError."""

from typing import Iterable, Optional, Sequence, Union

__version__: str

# A label type, named as on the command line: an EDL name ("P", "ND",
# "F35"), a class name ("pal_label"), a frame rate ("29.97df", or a number:
# 25 is pal_label) or "#N" for catalogue number N ("#25" is keycode_16_label_5).
LabelType = Union[str, int, float]
# A frame rate: a name as "25" or "29.97df", a number (25, 29.97), or "#N"
# for the host's rate number N.
Rate = Union[str, int, float]
# A medium: its name in any case ("Film", "30i", "Audio") or its number.
Medium = Union[str, int]

# Label texts and typed prefixes are read strictly (a label that exists at
# the type, in a form people write it); strict=False reads them as the
# type's converter does.
def label_text(type: LabelType, sample: int, *, prefix: Optional[str] = None, strict: bool = True) -> str: ...
def label_sample(type: LabelType, text: str, *, prefix: Optional[str] = None, strict: bool = True) -> int: ...
def label_texts(
    type: LabelType,
    samples: Union[Iterable[int], range, memoryview],
    *,
    prefix: Optional[str] = None,
    strict: bool = True,
) -> list[str]: ...
def label_samples(
    type: LabelType, texts: Iterable[str], *, prefix: Optional[str] = None, strict: bool = True
) -> list[int]: ...
def tc_text(frames: int, rate: Union[str, int, float]) -> str: ...
def tc_frames(text: str, rate: Union[str, int, float], strict: bool = True) -> int: ...
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
