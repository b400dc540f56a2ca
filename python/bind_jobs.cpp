// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxfarm's jobs: identifiers, job records, variables, image names, frame sets, the filter and the log
// and error texts. Every answer is the data model's own; what is written here checks the arguments and
// turns the farm's silent cutting into errors unless the caller asks for it.
#include "bindings.h"
#include "kxpy.h"
#include "pyjob.h"

#include "jobs/frameset.h"
#include "jobs/jobfilter.h"
#include "jobs/jobid.h"
#include "jobs/joblogtext.h"
#include "jobs/jobrecords.h"
#include "renderapps/renderapprecords.h"

#include "kxvarvallist.h"

#include <pybind11/stl.h>

#include <QStringList>

#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace py = pybind11;
using kxJ::_JobSend;

namespace {

// ---- job identifiers ---------------------------------------------------------------------------------

/// kxfarm.JobId: the 64-bit identifier as a value.
struct PyJobId {
    quint64 id = 0;
};

quint64 idFrom(py::handle value, const char* what) {
    if (py::isinstance<PyJobId>(value))
        return value.cast<PyJobId>().id;
    if (!PyLong_Check(value.ptr()) || PyBool_Check(value.ptr()))
        kxpy::typeError(what, "JobId or int", value);
    return kxpy::unsignedInteger(value, what, ULLONG_MAX);
}

std::string idRepr(quint64 id) {
    const kxJ::_IDDecomp d = kxJ::_IDDecomp::fromID(id);
    if (d.reserved_7 != 0)
        return "kxfarm.JobId.from_int(" + std::to_string(id) + ")";
    std::string text = "kxfarm.JobId(" + std::to_string(quint32(d.idValue));
    if (d.preID != 0)
        text += ", member=" + std::to_string(d.preID);
    if (d.idByte1 != 0)
        text += ", byte1=" + std::to_string(d.idByte1);
    if (d.idByte2 != 0)
        text += ", byte2=" + std::to_string(d.idByte2);
    return text + ")";
}

void bindJobId(py::module_& m) {
    py::class_<PyJobId>(m, "JobId", R"doc(A job identifier: the 64-bit number every job carries.

JobId(number, member=0, byte1=0, byte2=0) builds it from its main number (0 to 4294967295) and the job
family member (0 the main job, 1 to 255 the added jobs); byte1 and byte2 are the two extra bytes shown
only in the full text. int(job_id) is the 64-bit value; JobId.from_int() turns it back.

>>> JobId(123456789, member=1).short_text
'{KT9a}')doc")
        .def(py::init([](kxpy::IntArg number, kxpy::IntArg member, kxpy::IntArg byte1, kxpy::IntArg byte2) {
                 kxJ::_IDDecomp d = kxJ::_IDDecomp::fromID(0);
                 d.idValue = quint32(kxpy::integer(number, "number", 0, 0xFFFFFFFFll));
                 d.preID = quint8(kxpy::integer(member, "member", 0, 255));
                 d.idByte1 = quint8(kxpy::integer(byte1, "byte1", 0, 255));
                 d.idByte2 = quint8(kxpy::integer(byte2, "byte2", 0, 255));
                 return PyJobId{d.toID()};
             }),
             py::arg("number"), py::arg("member") = 0, py::arg("byte1") = 0, py::arg("byte2") = 0)
        .def_static(
            "from_int", [](py::object value) { return PyJobId{idFrom(value, "value")}; }, py::arg("value"),
            "The identifier whose 64-bit value is `value` (as int(job_id) gives it).")
        .def_static(
            "from_short_form",
            [](kxpy::IntArg valueArg) {
                const long long value = kxpy::integer(valueArg, "value", 0, 0xFFFFFFFFll);
                const kxJ::_IDShort s = kxJ::_IDShort::fromInt32(quint32(value));
                // The short form stands for the identifier whose main number is (idTop * 65536 + idMid)
                // * 10000; beyond 32 bits no identifier has that main number.
                const quint64 main = (quint64(s.idTop) * 65536u + s.idMid) * 10000u;
                if (main > 0xFFFFFFFFull)
                    throw py::value_error("value: the short form " + std::to_string(value) +
                                          " stands for the main number " + std::to_string(main) +
                                          ", beyond 32 bits");
                kxJ::_IDDecomp d = kxJ::_IDDecomp::fromID(0);
                d.preID = s.preID;
                d.idValue = quint32(main);
                return PyJobId{d.toID()};
            },
            py::arg("value"),
            "The identifier a 32-bit short form stands for (its main number a multiple of 10000); its "
            "short text is the short form's.")
        .def_property_readonly(
            "short_text", [](const PyJobId& j) { return kxJ::ID2str(j.id); },
            "The short text in braces, as log lines and messages show it: '{KT9 }' (a blank for the main "
            "job), '{KT9a}' for a family member.")
        .def_property_readonly(
            "full_text", [](const PyJobId& j) { return kxJ::ID2strFull(j.id); },
            "The full text without braces, with the remainder and the extra bytes: 'KT9a_29AA'.")
        .def_property_readonly(
            "short_form", [](const PyJobId& j) { return kxJ::_IDShort::fromID(j.id).int32(); },
            "The 32-bit short form (kxJ::_IDShort) as an int.")
        .def_property_readonly(
            "main_number", [](const PyJobId& j) { return quint32(kxJ::_IDDecomp::fromID(j.id).idValue); },
            "The main number, 0 to 4294967295.")
        .def_property_readonly(
            "member", [](const PyJobId& j) { return kxJ::IDpre(j.id); },
            "The job family member: 0 the main job, 1 to 255 the added jobs.")
        .def_property_readonly(
            "byte1", [](const PyJobId& j) { return kxJ::_IDDecomp::fromID(j.id).idByte1; },
            "The first extra byte (shown only in the full text).")
        .def_property_readonly(
            "byte2", [](const PyJobId& j) { return kxJ::_IDDecomp::fromID(j.id).idByte2; },
            "The second extra byte (shown only in the full text).")
        .def_property_readonly(
            "main_job", [](const PyJobId& j) { return PyJobId{kxJ::IDmain(j.id)}; },
            "The identifier of the family's main job (member 0).")
        .def("__int__", [](const PyJobId& j) { return j.id; })
        .def("__index__", [](const PyJobId& j) { return j.id; })
        .def("__hash__", [](const PyJobId& j) { return py::hash(py::int_(j.id)); })
        .def("__eq__",
             [](const PyJobId& a, py::object b) -> py::object {
                 if (!py::isinstance<PyJobId>(b))
                     return py::reinterpret_borrow<py::object>(Py_NotImplemented);
                 return py::bool_(a.id == b.cast<PyJobId>().id);
             })
        .def("__repr__", [](const PyJobId& j) { return idRepr(j.id); })
        .def("__str__", [](const PyJobId& j) { return kxJ::ID2str(j.id); })
        .def(py::pickle([](const PyJobId& j) { return py::make_tuple(j.id); },
                        [](py::tuple t) { return PyJobId{idFrom(t[0], "state")}; }));
}

// ---- jobs ----------------------------------------------------------------------------------------------

/// One field a submitter sets, as a keyword of Job() and a property.
struct JobField {
    const char* name;
    std::string doc;
    std::function<py::object(const _JobSend&)> get;
    std::function<void(PyJob&, py::handle, bool)> set;
    bool framesChange = false; ///< the send level's frame counts follow this field
};

template <typename Base, int N>
JobField textField(const char* name, const char* doc, _kxString<N> Base::*member) {
    return {name, std::string(doc) + " At most " + std::to_string(N) + " characters.",
            [member](const _JobSend& j) { return py::cast((j.*member).toQString()); },
            [member, name](PyJob& job, py::handle value, bool truncate) {
                kxpy::setText(job.record().*member, kxpy::text(value, name), name, truncate);
            }};
}

template <typename Base, int N>
JobField text8Field(const char* name, const char* doc, _kxString8_allSize<N> Base::*member) {
    return {name, std::string(doc) + " At most " + std::to_string(N) + " Latin-1 characters.",
            [member](const _JobSend& j) { return py::cast((j.*member).toQString()); },
            [member, name](PyJob& job, py::handle value, bool truncate) {
                // A '?' for a character Latin-1 cannot hold would change what a frame set or a version
                // says: such a character is refused whatever truncate says.
                kxpy::setText(job.record().*member, kxpy::text(value, name), name, truncate,
                              kxpy::NonLatin1::refused);
            }};
}

// Numbers are read and written by member access on the record itself (never through member pointers):
// the records are packed, and only the record's own type tells the compiler that a double may sit on a
// 4-byte boundary.
#define KX_INT_FIELD(pyName, member, lo, hi, docText)                                                        \
    JobField {                                                                                               \
        pyName, std::string(docText) + " " #lo " to " #hi ".",                                               \
            [](const _JobSend& j) { return py::cast(qint64(j.member)); },                                    \
            [](PyJob& job, py::handle value, bool) {                                                         \
                job.record().member = decltype(_JobSend::member)(kxpy::integer(value, pyName, lo, hi));      \
            }                                                                                                \
    }
#define KX_FLOAT_FIELD(pyName, member, docText)                                                              \
    JobField {                                                                                               \
        pyName, docText, [](const _JobSend& j) { return py::cast(double(j.member)); },                       \
            [](PyJob& job, py::handle value, bool) { job.record().member = kxpy::number(value, pyName); }    \
    }
#define KX_BOOL_FIELD(pyName, member, docText)                                                               \
    JobField {                                                                                               \
        pyName, docText, [](const _JobSend& j) { return py::cast(bool(j.member)); },                         \
            [](PyJob& job, py::handle value, bool) { job.record().member = kxpy::boolean(value, pyName); }   \
    }

QString appVersionText(const _JobSend& j) {
    const QString minor = j.appVersionMinor.toQString();
    const QString major = QString::number(j.appVersionMajor);
    return minor.isEmpty() ? major : major + QLatin1Char('.') + minor;
}

const std::vector<JobField>& jobFields() {
    static const std::vector<JobField> fields = [] {
        std::vector<JobField> f;
        f.push_back({"id", "The job identifier (a JobId; an int is taken as its 64-bit value).",
                     [](const _JobSend& j) { return py::cast(PyJobId{j.ID}); },
                     [](PyJob& job, py::handle value, bool) { job.record().ID = idFrom(value, "id"); }});
        f.push_back(KX_INT_FIELD("status", status, 0, 255,
                                 "The job status code (80 preview, 120 render, 200 and above finished; see "
                                 "status_text)."));
        f.push_back(textField("user", "The user who submitted the job.", &_JobSend::userName));
        f.push_back(textField("project", "The project the job belongs to.", &_JobSend::projectName));
        f.push_back(textField("scene", "The full path of the scene file.", &_JobSend::sceneName));
        f.push_back(textField("project_folder", "The scene's project (database) folder: <Database>.",
                              &_JobSend::sceneDatabaseDir));
        f.push_back(textField("image_dir", "The output image folder.", &_JobSend::imageDir));
        f.push_back(textField("image_file",
                              "The output image file name without frame number and extension (may hold "
                              "variables).",
                              &_JobSend::imageFileName));
        f.push_back(textField("image_extension", "The output image extension, with its dot.",
                              &_JobSend::imageExtension));
        f.push_back(
            KX_INT_FIELD("image_padding", imagePadding, 0, 255, "Frame-number digits of the output."));
        f.push_back(KX_BOOL_FIELD("image_single_file", imageSingleOutputFile,
                                  "The job writes one file for all frames (a movie or container)."));
        f.push_back(KX_INT_FIELD("image_multi", imageMulti, -128, 127,
                                 "Tiles or image parts per frame; below 2 one image."));
        f.back().framesChange = true;
        f.push_back(KX_INT_FIELD("image_width", imageWidth, 0, 65535, "Output width in pixels."));
        f.push_back(KX_INT_FIELD("image_height", imageHeight, 0, 65535, "Output height in pixels."));
        f.push_back(textField("recipients",
                              "Client names, separated by ';', that receive the job's notification "
                              "messages.",
                              &_JobSend::messageClientNames));
        f.push_back(textField("app", "The render application, 'Maya'.", &_JobSend::renderApp));
        f.push_back({"app_version",
                     "The render application's version, '2024.2': set as the farm reads a version text "
                     "(the major version before the first dot, the minor text after it).",
                     [](const _JobSend& j) { return py::cast(appVersionText(j)); },
                     [](PyJob& job, py::handle value, bool) {
                         const QString text = kxpy::text(value, "app_version");
                         // The text is read, not stored: its parts land in the 8-bit minor version, so
                         // only its characters are checked (the reader takes the parts it knows).
                         static_cast<void>(kxpy::fitLatin1(text, "app_version", int(text.size())));
                         kxRA::_RenderAppBasic version;
                         version.setVersionBoth(text);
                         job.record().appVersionMajor = version.appVersionMajor;
                         job.record().appVersionMinor = version.appVersionMinor;
                     }});
        f.push_back(KX_INT_FIELD("app_version_major", appVersionMajor, -32768, 32767,
                                 "The render application's major version."));
        f.push_back(text8Field("app_version_minor", "The render application's minor version digits.",
                               &_JobSend::appVersionMinor));
        f.push_back(textField("app_type", "The application type text.", &_JobSend::appType));
        f.push_back(textField("renderer", "The renderer inside the application.", &_JobSend::renderer));
        f.push_back(textField("renderer_version", "The renderer's version (digits and dots).",
                              &_JobSend::rendererVersion));
        f.push_back(textField("layer", "The render layer (pass): <Layer>.", &_JobSend::layer));
        f.push_back(textField("camera", "The camera: <Camera>.", &_JobSend::camera));
        f.push_back(
            textField("channel", "The channel (AOV) of the main output: <Channel>.", &_JobSend::channel));
        f.push_back(textField("scene_state", "The scene state.", &_JobSend::sceneState));
        f.push_back(textField("color_space", "The output colour space.", &_JobSend::colorSpace));
        f.push_back(textField("required_licenses", "The render-application licences the job needs.",
                              &_JobSend::requiredLicenses));
        f.push_back(textField("image_format_override", "The image format that replaces the scene's.",
                              &_JobSend::imageFormatOverride));
        f.push_back(KX_FLOAT_FIELD("frame_start", seqStart, "The first frame of the sequence."));
        f.back().framesChange = true;
        f.push_back(KX_FLOAT_FIELD("frame_end", seqEnd, "The last frame of the sequence."));
        f.back().framesChange = true;
        f.push_back(KX_INT_FIELD("frame_step", seqStep, 0, 65535, "The frame step (0 counts as 1)."));
        f.back().framesChange = true;
        f.push_back(KX_FLOAT_FIELD("frame_offset", seqFileOffset,
                                   "Added to a frame number to give the number in the image file name."));
        f.push_back(
            text8Field("frame_set", "The frame set text (FrameSet.parse reads it).", &_JobSend::seqFrameSet));
        f.push_back(
            textField("custom_scene", "The scene name of the job's custom naming.", &_JobSend::customScene));
        f.push_back(textField("custom_seq", "The sequence name ('<auto>': derived from the scene name).",
                              &_JobSend::customSeq));
        f.push_back(textField("custom_shot", "The shot name ('<auto>': derived from the scene name).",
                              &_JobSend::customShot));
        f.push_back(textField("custom_version", "The version name ('<auto>': derived from the scene name).",
                              &_JobSend::customVersion));
        f.push_back(textField("custom_job_type", "The job type text.", &_JobSend::customJobType));
        f.push_back(textField("division", "The division (department) of the job.", &_JobSend::division));
        f.push_back(KX_BOOL_FIELD("disabled", disabled, "The job is disabled."));
        return f;
    }();
    return fields;
}

const JobField* findField(const std::string& name) {
    for (const JobField& field : jobFields())
        if (name == field.name)
            return &field;
    return nullptr;
}

/// Sets the keyword fields on `changed`, a job of the caller's that it drops when one is refused.
void applyFields(PyJob& changed, const py::kwargs& fields, bool truncate, const char* caller) {
    bool framesChange = false;
    for (const auto& [key, value] : fields) {
        const std::string name = py::str(key);
        const JobField* field = findField(name);
        if (!field)
            throw py::type_error(std::string(caller) + " got an unexpected keyword argument '" + name + "'");
        field->set(changed, value, truncate);
        framesChange = framesChange || field->framesChange;
    }
    if (framesChange)
        changed.recountFrames();
}

/// Sets the keyword fields on `job`; all or nothing: a refused value leaves the job as it was.
void setFields(PyJob& job, const py::kwargs& fields, bool truncate, const char* caller) {
    PyJob changed(job);
    applyFields(changed, fields, truncate, caller);
    job = changed;
}

std::string jobRepr(const _JobSend& j) {
    std::string text = "kxfarm.Job(id=" + idRepr(j.ID);
    for (const char* name : {"user", "scene", "status"}) {
        const JobField* field = findField(name);
        text += std::string(", ") + name + "=" + std::string(py::repr(field->get(j)));
    }
    return text + ")";
}

/// The record of `data`, a bytes-like object of one whole job record with this build's stamps.
PyJob jobFromBytes(const py::buffer& data) {
    const py::buffer_info info = data.request();
    const qint64 size = qint64(info.size) * qint64(info.itemsize);
    if (!PyBuffer_IsContiguous(info.view(), 'C'))
        throw py::value_error("data: the buffer is not contiguous");
    if (size != qint64(sizeof(_JobSend)))
        throw py::value_error("data: " + std::to_string(size) + " bytes, a job record is " +
                              std::to_string(sizeof(_JobSend)));
    PyJob job = PyJob::fromBlock(static_cast<const char*>(info.ptr));
    const _JobSend* record = &job.record();
    if (!record->isRightStructVersion()) {
        std::string stamps;
        for (int i = 0; i < 8; ++i)
            stamps += (i ? ", " : "") + std::to_string(record->structureIDs[i]);
        throw py::value_error("data: the structure stamps are " + stamps +
                              "; a job record of this farm has 1033, 1292, 1555 and 1804, each with a "
                              "version other than 0");
    }
    return job;
}

bool keepAppVariables(const std::string& mode) {
    if (mode == "farm")
        return false;
    if (mode == "app")
        return true;
    throw py::value_error("mode: '" + mode + "' is neither 'farm' nor 'app'");
}

void bindJob(py::module_& m) {
    std::string doc = R"doc(A job record as the farm server holds and sends it (kxJ::_JobSend).

Job(**fields) makes a cleared job, as the server clears a new record, and sets the given fields; each
field is also a property. A text longer than its field raises ValueError naming the field and its
capacity; Job(truncate=True, ...) cuts it as the farm cuts it instead. An 8-bit field refuses characters
outside Latin-1. bytes(job) is the record block (77800 bytes), Job.from_bytes() reads one back.

Fields:
)doc";
    for (const JobField& field : jobFields())
        doc += "    " + std::string(field.name) + ": " + field.doc + "\n";

    py::class_<PyJob> cls(m, "Job", doc.c_str());
    cls.def(py::init([](bool truncate, const py::kwargs& fields) {
                PyJob job;
                applyFields(job, fields, truncate, "Job()");
                return job;
            }),
            py::kw_only(), py::arg("truncate") = false)
        .def(
            "update",
            [](PyJob& job, bool truncate, const py::kwargs& fields) {
                setFields(job, fields, truncate, "update()");
            },
            py::kw_only(), py::arg("truncate") = false,
            "Sets the given fields, as Job(**fields) does; nothing changes when one is refused.")
        .def_static(
            "fields",
            [] {
                std::vector<std::string> names;
                for (const JobField& field : jobFields())
                    names.emplace_back(field.name);
                return names;
            },
            "The names of the fields Job() and update() take, in the order of the record.")
        .def_property_readonly(
            "status_text", [](const PyJob& job) { return job.record().statusAsString(nullptr).toQString(); },
            "The job's status as the farm shows it ('Render', 'Approval Wait (p)', 'Wait for 1 job'); "
            "'Disabled - ' in front for a disabled job.")
        .def_property_readonly(
            "frame_count", [](const PyJob& job) { return job.record().frameCount; },
            "Frames of one sequence pass: (frame_end - frame_start) / frame_step + 1, truncated.")
        .def_property_readonly(
            "frames_total", [](const PyJob& job) { return job.record().framesTotal; },
            "Frame slots of the job: frame_count, times image_multi when that is 1 or more.")
        .def(
            "variables",
            [](const PyJob& job) {
                const _varValList list = job.record().exportJobVarList_Basic(false);
                py::list pairs;
                for (int i = 0; i < list.count(); ++i)
                    pairs.append(py::make_tuple(list.name(i), list.value(i)));
                return pairs;
            },
            "The job's variables as the farm exports them to render commands: (name, value) pairs in the "
            "farm's order, names without the outer angle brackets ('ImageDir><../' is <ImageDir><../>).")
        .def(
            "resolve",
            [](PyJob& job, const QString& text, const std::string& mode, std::optional<QString> seq,
               std::optional<QString> shot, std::optional<QString> version) {
                const bool keep = keepAppVariables(mode);
                return job.record().replaceJobVariables(text, keep, seq ? &*seq : nullptr,
                                                        shot ? &*shot : nullptr,
                                                        version ? &*version : nullptr);
            },
            py::arg("template"), py::arg("mode") = "farm", py::kw_only(), py::arg("seq") = py::none(),
            py::arg("shot") = py::none(), py::arg("version") = py::none(),
            "`template` with the job's variables replaced. mode 'farm' replaces every variable the farm "
            "knows and drops what is left in angle brackets (frame numbers such as <FN4> stay); mode "
            "'app' keeps what the render application fills itself (layer, channel, camera). seq, shot "
            "and version replace the job's own names. Date and time variables take the time of the "
            "call.")
        .def(
            "split_image",
            [](PyJob& job, bool printf) { job.record().splitImageFileInto_DirFileExt(printf); },
            py::arg("printf") = true,
            "Splits the job's output in place as a submitted job is stored: image_file (which may hold "
            "the whole path) becomes image_dir, image_file, image_padding and image_extension, "
            "image_single_file is set for movies, and the scene and project folders become "
            "<SceneFolder> and <Database>. printf=False reads '%04d' as part of the name.")
        .def(
            "custom_data",
            [](const PyJob& job) {
                QStringList names;
                QStringList values;
                job.record().customData_All(names, values);
                py::dict data;
                for (qsizetype i = 0; i < names.size() && i < values.size(); ++i)
                    if (!data.contains(py::cast(names[i])))
                        data[py::cast(names[i])] = values[i];
                return data;
            },
            "The job's custom data entries as a dict, in stored order (names compare ignoring case in "
            "the farm: the first of two names that differ only in case is shown).")
        .def(
            "set_custom_data",
            [](PyJob& job, const QString& name, const QString& value) {
                static_cast<void>(kxpy::fitLatin1(name, "name", kxJ::customDataBudget));
                _JobSend& record = job.record();
                const PyJob before(job);
                record.customDataSet_Str(name, value);
                // The store drops an entry that passes its budget without a word: the job is kept as
                // it was and the caller told.
                QString stored = name;
                if (stored.startsWith(QLatin1String("Custom"), Qt::CaseInsensitive))
                    stored.remove(0, 6);
                if (!value.isEmpty() && record.customData_Str(stored) != value) {
                    job = before;
                    throw py::value_error(
                        "value: the custom data store holds " + std::to_string(kxJ::customDataBudget) +
                        " characters of names and values in all; '" + name.toStdString() + "' does not fit");
                }
            },
            py::arg("name"), py::arg("value"),
            "Sets, replaces or (with an empty value) deletes the custom data entry `name`; a leading "
            "'Custom' of the name is dropped, as the farm drops it. ValueError when the store is full.")
        .def(
            "copy", [](const PyJob& job) { return PyJob(job); },
            "A copy of the job with a record of its own.")
        .def("__copy__", [](const PyJob& job) { return PyJob(job); })
        .def(
            "__deepcopy__", [](const PyJob& job, py::object) { return PyJob(job); }, py::arg("memo"))
        .def(
            "__bytes__",
            [](const PyJob& job) {
                return py::bytes(reinterpret_cast<const char*>(&job.record()), sizeof(_JobSend));
            },
            "The record block as the server holds it.")
        .def_static("from_bytes", &jobFromBytes, py::arg("data"),
                    "The job of a record block (bytes(job) or a block from the server): ValueError when its "
                    "size or its structure stamps are not those of this farm's job records.")
        .def(
            "__eq__",
            [](const PyJob& a, py::object b) -> py::object {
                if (!py::isinstance<PyJob>(b))
                    return py::reinterpret_borrow<py::object>(Py_NotImplemented);
                return py::bool_(
                    std::memcmp(&a.record(), &b.cast<const PyJob&>().record(), sizeof(_JobSend)) == 0);
            },
            "True when the two record blocks are identical byte for byte (bytes(a) == bytes(b)); two jobs "
            "made apart differ at least in the times the clear functions stamp.")
        .def("__repr__", [](const PyJob& job) { return jobRepr(job.record()); })
        .def(py::pickle(
            [](const PyJob& job) {
                return py::make_tuple(
                    py::bytes(reinterpret_cast<const char*>(&job.record()), sizeof(_JobSend)));
            },
            [](py::tuple state) { return jobFromBytes(state[0]); }));
    cls.attr("__hash__") = py::none();
    for (const JobField& field : jobFields()) {
        const JobField* f = &field;
        cls.def_property(
            field.name, [f](const PyJob& job) { return f->get(job.record()); },
            [f](PyJob& job, py::object value) {
                // Each setter checks its value before it writes anything.
                f->set(job, value, false);
                if (f->framesChange)
                    job.recountFrames();
            },
            field.doc.c_str());
    }
}

// ---- image names ---------------------------------------------------------------------------------------

// The named tuple type, kept alive by the module that holds it as ImageName.
py::handle imageNameType;

void bindImageNames(py::module_& m) {
    imageNameType = kxpy::namedTuple(
        m, "ImageName", "folder name frame_digits extension single_file",
        "An output image path split as a submitted job keeps it: folder (with its separator), name up "
        "to the frame number, frame_digits (None for a single file), extension (with its dot) and "
        "single_file (one file for all frames, a movie).");
    m.def(
        "split_image_path",
        [](kxpy::PathArg pathArg, const PyJob* job, bool printf, const QString& extension, bool truncate) {
            const QString path = kxpy::path(pathArg, "path");
            // The large-path record a submitter fills (about 220 KB): its fields are the widest the farm
            // splits, so the result is that of the farm's submitter.
            auto record = std::make_unique<kxJ::_JobBasics_largePath>();
            record->initialize();
            kxpy::setText(record->imageFileName, path, "path", truncate);
            kxpy::setText(record->imageExtension, extension, "extension", truncate);
            if (job) {
                record->sceneName.set(job->record().sceneName);
                record->sceneDatabaseDir.set(job->record().sceneDatabaseDir);
            }
            record->splitImageFileInto_DirFileExt(printf);
            const bool single = record->imageSingleOutputFile;
            return imageNameType(record->imageDir.toQString(), record->imageFileName.toQString(),
                                 single ? py::none() : py::cast(int(record->imagePadding)),
                                 record->imageExtension.toQString(), single);
        },
        py::arg("path"), py::arg("job") = py::none(), py::arg("printf") = true, py::kw_only(),
        py::arg("extension") = "", py::arg("truncate") = false,
        R"doc(Splits an output image path as the farm's submitter stores it, into an ImageName.

The frame number may be written as '####', '[####]', in the printf form '%04d' (printf=False reads it
as part of the name) or as a sample number ('beauty.0001.exr'); a movie extension makes one single file.
With a job, the start of the folder that is the job's scene folder (or up to three levels above it) or
its project folder becomes <SceneFolder> or <Database>. `extension` is an extension given apart from the
name. The path may be a str or an os.PathLike. Paths longer than 1000 characters raise ValueError unless truncate=True.

>>> split_image_path('/out/shot/img.####.exr')
ImageName(folder='/out/shot/', name='img.', frame_digits=4, extension='.exr', single_file=False))doc");
}

// ---- frame sets ----------------------------------------------------------------------------------------

using kxJ::_binaryFrameSet;

std::unique_ptr<_binaryFrameSet> frameSetFromText(const QString& text, bool flags, bool truncate) {
    // A '?' in place of a character Latin-1 cannot hold would read as another set: refused always.
    static_cast<void>(
        kxpy::fitLatin1(text, "text", _binaryFrameSet::boolTextCapacity, truncate, kxpy::NonLatin1::refused));
    auto set = std::make_unique<_binaryFrameSet>();
    if (flags)
        set->fromString_Bool(_kxString8_allSize<_binaryFrameSet::boolTextCapacity>(text));
    else
        set->fromString_FrameSet(_kxString8_allSize<_binaryFrameSet::boolTextCapacity>(text));
    return set;
}

std::unique_ptr<_binaryFrameSet> frameSetFromBitA85(const py::bytes& data) {
    const std::string bytes = data;
    auto set = std::make_unique<_binaryFrameSet>();
    // The reader leaves a fresh empty set, stamps included, when it refuses the data, and keeps the
    // structure words of the set otherwise: a cleared stamp word tells the two apart.
    set->structID = 0;
    set->fromString_BitA85(QByteArray(bytes.data(), qsizetype(bytes.size())));
    if (set->structID == _binaryFrameSet::structIDFrameSet)
        throw py::value_error("data: not a frame set in the BitA85 form (it does not decompress, or its "
                              "frames do not fit a set of 8000)");
    set->structID = _binaryFrameSet::structIDFrameSet;
    return set;
}

py::list frameList(const _binaryFrameSet& set) {
    py::list frames;
    for (int i = 0; i <= set.lastIndex(); ++i)
        if (set.isSet(i))
            frames.append(qint64(set.startFrame) + i);
    return frames;
}

const int* optionalOffset(const std::optional<long long>& offset, int& value) {
    if (!offset)
        return nullptr;
    kxpy::checkRange(*offset, "offset", INT32_MIN, INT32_MAX);
    value = int(*offset);
    return &value;
}

void bindFrameSets(py::module_& m) {
    py::class_<_binaryFrameSet>(
        m, "FrameSet",
        R"doc(A set of frames of a job (kxJ::_binaryFrameSet): one flag per frame from a start frame, 8000 at most.

FrameSet() is the empty set. FrameSet.parse('1001-1010,1020,1-9+4') reads the list form,
FrameSet.from_flags('3E9:1011') the flag form, FrameSet.from_bita85(data) the compressed form. The set
iterates over its frame numbers in ascending order; len() counts them and `frame in set` tests one.
Texts longer than 1000 characters raise ValueError unless truncate=True.)doc")
        .def(py::init<>())
        .def_static(
            "parse",
            [](const QString& text, bool truncate) { return frameSetFromText(text, false, truncate); },
            py::arg("text"), py::kw_only(), py::arg("truncate") = false,
            "Reads a list of frames: parts a, a-b, a+s and a-b+s separated by ',' (blanks around them "
            "dropped). As the farm reads it: the set starts at the smallest start, a step below 1 is 1, "
            "an unreadable number counts as 0, and frames more than 7999 past the start are left out.")
        .def_static(
            "from_flags",
            [](const QString& text, bool truncate) { return frameSetFromText(text, true, truncate); },
            py::arg("text"), py::kw_only(), py::arg("truncate") = false,
            "Reads the flag form: a hexadecimal start, ':' and one '1' or '0' per frame. A start the farm "
            "cannot read gives the empty set, as the farm's reader does.")
        .def_static("from_bita85", &frameSetFromBitA85, py::arg("data"),
                    "Reads the compressed bit form (to_bita85()); ValueError when the farm's reader refuses "
                    "the data.")
        .def("to_list_text", &_binaryFrameSet::asString_FrameSet,
             "The list form as the farm writes it: the set's flag indexes (frame minus start), not frame "
             "numbers, each entry followed by ' , ': '0-9 , 19 , '.")
        .def(
            "to_flags_text",
            [](const _binaryFrameSet& set, std::optional<long long> offset) {
                int value = 0;
                return set.asString_Bool(optionalOffset(offset, value)).toQString();
            },
            py::arg("offset") = py::none(),
            "The flag form, cut at 1000 characters as the farm cuts it. With an offset, a set of frames "
            "is written with its start moved to the image file number (start + offset).")
        .def(
            "to_bita85",
            [](const _binaryFrameSet& set, std::optional<long long> offset) {
                int value = 0;
                const QByteArray data = set.asString_BitA85(optionalOffset(offset, value));
                return py::bytes(data.constData(), size_t(data.size()));
            },
            py::arg("offset") = py::none(), "The compressed bit form; the offset works as in to_flags_text.")
        .def_property(
            "start", [](const _binaryFrameSet& set) { return set.startFrame; },
            [](_binaryFrameSet& set, kxpy::IntArg start) {
                set.startFrame = qint32(kxpy::integer(start, "start", INT32_MIN, INT32_MAX));
            },
            "The frame (or image file number) of the first flag; setting it moves every frame.")
        .def_property_readonly(
            "is_file_number", [](const _binaryFrameSet& set) { return set.isFileNumber != 0; },
            "True when the frames are image file numbers (every reader sets it).")
        .def_property_readonly("last_index", &_binaryFrameSet::lastIndex,
                               "The highest flag index that may be set; -1 for an empty set.")
        .def_property_readonly("frames", &frameList, "The frame numbers in the set, ascending.")
        .def(
            "convert_to_file_numbers",
            [](_binaryFrameSet& set, kxpy::IntArg offset) {
                set.convertStartFrame2Filenumber(int(kxpy::integer(offset, "offset", INT32_MIN, INT32_MAX)));
            },
            py::arg("offset"),
            "Turns a set of frames into image file numbers by adding `offset` to the start; a set of file "
            "numbers stays as it is.")
        .def("merge", &_binaryFrameSet::mergeWith, py::arg("other"),
             "Adds the frames of `other` in place. Nothing happens when one set holds frames and the other "
             "file numbers; frames that would lie more than 7999 past the start are dropped.")
        .def(
            "copy", [](const _binaryFrameSet& set) { return _binaryFrameSet(set); }, "A copy of the set.")
        .def("__copy__", [](const _binaryFrameSet& set) { return _binaryFrameSet(set); })
        .def(
            "__deepcopy__", [](const _binaryFrameSet& set, py::object) { return _binaryFrameSet(set); },
            py::arg("memo"))
        .def("__iter__", [](const _binaryFrameSet& set) { return py::iter(frameList(set)); })
        .def("__len__",
             [](const _binaryFrameSet& set) {
                 int count = 0;
                 for (int i = 0; i <= set.lastIndex(); ++i)
                     count += set.isSet(i) ? 1 : 0;
                 return count;
             })
        .def("__contains__",
             [](const _binaryFrameSet& set, py::object frame) {
                 if (!PyLong_Check(frame.ptr()))
                     return false;
                 int overflow = 0;
                 const long long number = PyLong_AsLongLongAndOverflow(frame.ptr(), &overflow);
                 if (overflow != 0)
                     return false;
                 const long long index = number - set.startFrame;
                 return index >= 0 && index < _binaryFrameSet::flagCount && set.isSet(int(index));
             })
        .def("__eq__",
             [](const _binaryFrameSet& a, py::object b) -> py::object {
                 if (!py::isinstance<_binaryFrameSet>(b))
                     return py::reinterpret_borrow<py::object>(Py_NotImplemented);
                 return py::bool_(a == b.cast<const _binaryFrameSet&>());
             })
        .def("__repr__",
             [](const _binaryFrameSet& set) {
                 return "<kxfarm.FrameSet start=" + std::to_string(set.startFrame) +
                        (set.isFileNumber ? " file numbers" : " frames") + " '" +
                        set.asString_FrameSet().toStdString() + "'>";
             })
        .attr("__hash__") = py::none();
}

// ---- job filter ------------------------------------------------------------------------------------

using kxJ::_jobFilter_Contains;

template <typename Text>
py::list termList(const Text* terms, int count) {
    py::list list;
    for (int i = 0; i < count; ++i)
        list.append(terms[i].toQString());
    return list;
}

const PyJob& jobItem(py::handle item, const char* what, size_t index) {
    // A filter runs over thousands of jobs: an object of exactly the Job type is taken straight from
    // its instance, without the caster's type lookup; anything else goes the checked way.
    static PyTypeObject* const jobType = reinterpret_cast<PyTypeObject*>(py::type::of<PyJob>().ptr());
    if (Py_TYPE(item.ptr()) == jobType)
        return *static_cast<const PyJob*>(
            reinterpret_cast<py::detail::instance*>(item.ptr())->get_value_and_holder().value_ptr());
    if (!py::isinstance<PyJob>(item))
        throw py::type_error(std::string(what) + ": item " + std::to_string(index) + " is " +
                             std::string(Py_TYPE(item.ptr())->tp_name) + ", not Job");
    return item.cast<const PyJob&>();
}

void bindJobFilter(py::module_& m) {
    py::class_<_jobFilter_Contains>(
        m, "JobFilter", R"doc(A job filter text as the farm's job lists read it (kxJ::_jobFilter_Contains).

JobFilter('light sh01 -comp user=anna'): terms separated by blanks or ';' (by ',' when the text holds
neither), '-term' to exclude, 'key=value' pairs (SCENEFILE, CUSTOMSCENE, CUSTOMSEQ, CUSTOMSHOT,
CUSTOMVERSION, CUSTOMJOBTYPE, USER, RENDERER, DIVISION, or CUSTOM and a custom data name), 'OR ' in front
to let one match suffice. At most 10 terms of 50 characters each, as the farm reads it. invert=True
swaps plain and '-' terms; parse_terms=False takes the whole text as one term.)doc")
        .def(py::init([](const QString& text, bool invert, bool parseTerms) {
                 auto filter = std::make_unique<_jobFilter_Contains>();
                 filter->createFromString(text, invert, parseTerms);
                 return filter;
             }),
             py::arg("text"), py::arg("invert") = false, py::arg("parse_terms") = true)
        .def(
            "matches",
            [](const _jobFilter_Contains& filter, const PyJob& job) {
                return job.record().filterJobList_Fits_Contains(filter);
            },
            py::arg("job"), "True when `job` passes the filter.")
        .def(
            "filter",
            [](const _jobFilter_Contains& filter, py::iterable jobs) {
                py::list passed;
                size_t index = 0;
                for (py::handle item : jobs) {
                    if (jobItem(item, "jobs", index++).record().filterJobList_Fits_Contains(filter))
                        passed.append(item);
                }
                return passed;
            },
            py::arg("jobs"), "The jobs of `jobs` that pass the filter, in their order.")
        .def_property_readonly(
            "text", [](const _jobFilter_Contains& f) { return f.filterText; }, "The filter text as given.")
        .def_property_readonly(
            "terms",
            [](const _jobFilter_Contains& f) { return termList(f.includeTerms, f.includeCountClamped()); },
            "The terms of which a job must contain one (all of them unless the text starts with 'OR '), "
            "upper case.")
        .def_property_readonly(
            "excluded",
            [](const _jobFilter_Contains& f) { return termList(f.excludeTerms, f.excludeCountClamped()); },
            "The terms a job must not contain, upper case.")
        .def_property_readonly(
            "keywords",
            [](const _jobFilter_Contains& f) {
                py::dict pairs;
                for (const auto& [key, value] : f.keywordValues)
                    pairs[py::cast(key.toQString())] = value.toQString();
                return pairs;
            },
            "The key=value pairs, upper case, in the order the farm tests them.")
        .def_property_readonly(
            "match_all", [](const _jobFilter_Contains& f) { return f.matchAll; },
            "True when every term and pair must match; False for a text starting with 'OR '.")
        .def_property_readonly(
            "invert", [](const _jobFilter_Contains& f) { return f.invert; },
            "True when plain and '-' terms swap.")
        .def_property_readonly(
            "is_empty", [](const _jobFilter_Contains& f) { return f.isEmpty; },
            "True for an empty text, which every job passes.")
        .def("__repr__", [](const _jobFilter_Contains& f) {
            std::string text = "kxfarm.JobFilter(" + std::string(py::repr(py::cast(f.filterText)));
            if (f.invert)
                text += ", invert=True";
            return text + ")";
        });
}

// ---- log and error texts -----------------------------------------------------------------------------

/// Who2Str and Log2Username take the server's farm object and do not read it.
__KX& unusedFarm() {
    static char placeholder = 0;
    return *reinterpret_cast<__KX*>(&placeholder);
}

kxJ::_Log logEntry(py::handle message, py::handle frameStart, py::handle frameEnd, py::handle step,
                   py::handle userRef) {
    kxJ::_Log entry{};
    entry.message = quint8(kxpy::integer(message, "message", 0, 255));
    entry.frameStart = quint16(kxpy::integer(frameStart, "frame_start", 0, 65535));
    entry.frameEnd = quint16(kxpy::integer(frameEnd, "frame_end", 0, 65535));
    entry.step = quint8(kxpy::integer(step, "step", 0, 255));
    entry.userRef = quint16(kxpy::integer(userRef, "user_ref", 0, 65535));
    return entry;
}

void bindTexts(py::module_& m) {
    m.def(
        "log_text",
        [](kxpy::IntArg message, kxpy::IntArg frameStart, kxpy::IntArg frameEnd, kxpy::IntArg step,
           PyJob* job) {
            const kxJ::_Log entry = logEntry(message, frameStart, frameEnd, step, py::int_(65535));
            return kxJ::Log2Str(entry, job ? &job->record() : nullptr).toQString();
        },
        py::arg("message"), py::arg("frame_start") = 0, py::arg("frame_end") = 0, py::arg("step") = 0,
        py::arg("job") = py::none(),
        R"doc(The line of a job history entry, as the farm's job log shows it (at most 50 characters).

message is the event code (0 to 255), frame_start and frame_end the entry's frame slots or counts (0 to
65535), step the frame step (0 to 255; 0 marks an entry without frames, whose two frame values then form
a job's short identifier). With a job, frame slots show as the job's frame numbers.

>>> log_text(14, 10, 20, 2)
'Successful  10-20,2')doc");
    m.def(
        "log_name",
        [](kxpy::IntArg code) {
            return kxJ::Log2StrID(kxJ::_LogMessage(kxpy::integer(code, "code", 0, 0xFFFFFFFFll))).toQString();
        },
        py::arg("code"), "The name of a job history event code: 'Render successful'; 'Unknown command 12'.");
    m.def(
        "log_user_text",
        [](kxpy::IntArg message, kxpy::IntArg frameEnd, kxpy::IntArg userRef) {
            const kxJ::_Log entry = logEntry(message, py::int_(0), frameEnd, py::int_(1), userRef);
            return kxJ::Log2Username(entry, unusedFarm()).toQString();
        },
        py::arg("message"), py::arg("frame_end") = 0, py::arg("user_ref") = 65535,
        "Who gave a user command of a history entry: the user number the entry keeps in frame_end, or "
        "'-' when no user was recorded (user_ref 65535) or the code is no user command.");
    m.def(
        "error_text",
        [](kxpy::IntArg code) {
            kxJ::_Error error{};
            error.code = quint8(kxpy::integer(code, "code", 0, 255));
            return kxJ::Err2Str(error).toQString();
        },
        py::arg("code"),
        "The text of a job error code (0 to 255): 'Output directory not found'; 'Unknown error 21'.");
    m.def(
        "who_text", [](int who) { return kxJ::Who2Str(who, unusedFarm()).toQString(); }, py::arg("who"),
        "The name of a farm-side actor: -1 '*kxServer*' to -6 '-jobAuth-', else 'unknown #<who>'.");
}

} // namespace

void bind_jobs(py::module_& m) {
    bindJobId(m);
    bindJob(m);
    bindImageNames(m);
    bindFrameSets(m);
    bindJobFilter(m);
    bindTexts(m);
}
