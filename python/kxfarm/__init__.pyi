# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Types of every name of the kxfarm module, for editors and type checkers.
import os
from typing import Any, Dict, Iterable, Iterator, List, Literal, NamedTuple, Optional, Sequence, Tuple, Union

PathLike = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]

# ---- jobs: identifiers, records, variables, image names, frame sets, filter, log texts ----

class JobId:
    """A job identifier: the 64-bit number every job carries."""
    def __init__(self, number: int, member: int = 0, byte1: int = 0, byte2: int = 0) -> None: ...
    @staticmethod
    def from_int(value: int) -> JobId: ...
    @staticmethod
    def from_short_form(value: int) -> JobId: ...
    @property
    def short_text(self) -> str: ...
    @property
    def full_text(self) -> str: ...
    @property
    def short_form(self) -> int: ...
    @property
    def main_number(self) -> int: ...
    @property
    def member(self) -> int: ...
    @property
    def byte1(self) -> int: ...
    @property
    def byte2(self) -> int: ...
    @property
    def main_job(self) -> JobId: ...
    def __int__(self) -> int: ...
    def __index__(self) -> int: ...
    def __hash__(self) -> int: ...
    def __eq__(self, other: object) -> bool: ...

class Job:
    """A job record as the farm server holds and sends it."""
    def __init__(
        self,
        *,
        truncate: bool = False,
        id: Union[JobId, int] = ...,
        status: int = ...,
        user: str = ...,
        project: str = ...,
        scene: str = ...,
        project_folder: str = ...,
        image_dir: str = ...,
        image_file: str = ...,
        image_extension: str = ...,
        image_padding: int = ...,
        image_single_file: bool = ...,
        image_multi: int = ...,
        image_width: int = ...,
        image_height: int = ...,
        recipients: str = ...,
        app: str = ...,
        app_version: str = ...,
        app_version_major: int = ...,
        app_version_minor: str = ...,
        app_type: str = ...,
        renderer: str = ...,
        renderer_version: str = ...,
        layer: str = ...,
        camera: str = ...,
        channel: str = ...,
        scene_state: str = ...,
        color_space: str = ...,
        required_licenses: str = ...,
        image_format_override: str = ...,
        frame_start: float = ...,
        frame_end: float = ...,
        frame_step: int = ...,
        frame_offset: float = ...,
        frame_set: str = ...,
        custom_scene: str = ...,
        custom_seq: str = ...,
        custom_shot: str = ...,
        custom_version: str = ...,
        custom_job_type: str = ...,
        division: str = ...,
        disabled: bool = ...,
    ) -> None: ...
    def update(self, *, truncate: bool = False, **fields: Any) -> None: ...
    @staticmethod
    def fields() -> List[str]: ...
    @staticmethod
    def from_bytes(data: Union[bytes, bytearray, memoryview]) -> Job: ...
    def __bytes__(self) -> bytes: ...
    def __eq__(self, other: object) -> bool: ...
    def copy(self) -> Job: ...
    def __copy__(self) -> Job: ...
    def __deepcopy__(self, memo: Any) -> Job: ...
    @property
    def status_text(self) -> str: ...
    @property
    def frame_count(self) -> int: ...
    @property
    def frames_total(self) -> int: ...
    def variables(self) -> List[Tuple[str, str]]: ...
    def resolve(
        self,
        template: str,
        mode: Literal["farm", "app"] = "farm",
        *,
        seq: Optional[str] = None,
        shot: Optional[str] = None,
        version: Optional[str] = None,
    ) -> str: ...
    def split_image(self, printf: bool = True) -> None: ...
    def custom_data(self) -> Dict[str, str]: ...
    def set_custom_data(self, name: str, value: str) -> None: ...
    id: JobId
    status: int
    user: str
    project: str
    scene: str
    project_folder: str
    image_dir: str
    image_file: str
    image_extension: str
    image_padding: int
    image_single_file: bool
    image_multi: int
    image_width: int
    image_height: int
    recipients: str
    app: str
    app_version: str
    app_version_major: int
    app_version_minor: str
    app_type: str
    renderer: str
    renderer_version: str
    layer: str
    camera: str
    channel: str
    scene_state: str
    color_space: str
    required_licenses: str
    image_format_override: str
    frame_start: float
    frame_end: float
    frame_step: int
    frame_offset: float
    frame_set: str
    custom_scene: str
    custom_seq: str
    custom_shot: str
    custom_version: str
    custom_job_type: str
    division: str
    disabled: bool

class ImageName(NamedTuple):
    """An output image path split as a submitted job keeps it."""
    folder: str
    name: str
    frame_digits: Optional[int]
    extension: str
    single_file: bool

def split_image_path(
    path: PathLike, job: Optional[Job] = None, printf: bool = True, *, extension: str = "", truncate: bool = False
) -> ImageName: ...

class FrameSet:
    """A set of frames of a job: one flag per frame from a start frame, 8000 at most."""
    def __init__(self) -> None: ...
    @staticmethod
    def parse(text: str, *, truncate: bool = False) -> FrameSet: ...
    @staticmethod
    def from_flags(text: str, *, truncate: bool = False) -> FrameSet: ...
    @staticmethod
    def from_bita85(data: bytes) -> FrameSet: ...
    def to_list_text(self) -> str: ...
    def to_flags_text(self, offset: Optional[int] = None) -> str: ...
    def to_bita85(self, offset: Optional[int] = None) -> bytes: ...
    start: int
    @property
    def is_file_number(self) -> bool: ...
    @property
    def last_index(self) -> int: ...
    @property
    def frames(self) -> List[int]: ...
    def convert_to_file_numbers(self, offset: int) -> None: ...
    def merge(self, other: FrameSet) -> None: ...
    def copy(self) -> FrameSet: ...
    def __copy__(self) -> FrameSet: ...
    def __deepcopy__(self, memo: Any) -> FrameSet: ...
    def __iter__(self) -> Iterator[int]: ...
    def __len__(self) -> int: ...
    def __contains__(self, frame: object) -> bool: ...
    def __eq__(self, other: object) -> bool: ...

class JobFilter:
    """A job filter text as the farm's job lists read it."""
    def __init__(self, text: str, invert: bool = False, parse_terms: bool = True) -> None: ...
    def matches(self, job: Job) -> bool: ...
    def filter(self, jobs: Iterable[Job]) -> List[Job]: ...
    @property
    def text(self) -> str: ...
    @property
    def terms(self) -> List[str]: ...
    @property
    def excluded(self) -> List[str]: ...
    @property
    def keywords(self) -> Dict[str, str]: ...
    @property
    def match_all(self) -> bool: ...
    @property
    def invert(self) -> bool: ...
    @property
    def is_empty(self) -> bool: ...

def log_text(message: int, frame_start: int = 0, frame_end: int = 0, step: int = 0, job: Optional[Job] = None) -> str: ...
def log_name(code: int) -> str: ...
def log_user_text(message: int, frame_end: int = 0, user_ref: int = 65535) -> str: ...
def error_text(code: int) -> str: ...
def who_text(who: int) -> str: ...

# ---- end of jobs ----


# ---- configuration, clients and render applications ----



# ---- end of configuration, clients and render applications ----


# ---- sample farms ----

class SampleFarm:
    """The clients and job events of a sample farm file, as the stand-in farm server reads them."""
    @property
    def path(self) -> str: ...
    @property
    def jobs(self) -> List[Job]: ...
    @property
    def labels(self) -> List[str]: ...
    @property
    def clients(self) -> List[Any]: ...
    def job(self, label: str) -> Job: ...

def load_sample_farm(path: PathLike) -> SampleFarm: ...

# ---- end of sample farms ----
