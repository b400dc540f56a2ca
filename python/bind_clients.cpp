// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxfarm's clients: client records with their configuration, hardware, status and render
// applications, the client list with its sorts and filter, the client configuration file and the
// statistics file, and the status texts.
#include "bindings.h"
#include "kxpy.h"
#include "pyclient.h"

#include "farmserver.h"
#include "hostcontext.h"
#include "samplefarm.h"

#include "clients/clientlist.h"
#include "clients/clientstats.h"
#include "renderapps/appversion.h"
#include "renderapps/renderapprecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <tuple>
#include <vector>

namespace py = pybind11;
using kxpy::str;

namespace {

using Record = kxC::_Client_ALL;

// ---- render applications of a client ----------------------------------------------------------------

/// One installed render application, owned by its kxfarm.RenderApp.
struct PyRenderApp {
    kxRA::_ClientRenderApp entry;
};

bool sameEntry(const kxRA::_ClientRenderApp& a, const kxRA::_ClientRenderApp& b) {
    return a.name.isEqual(b.name) && a.executable.isEqual(b.executable) && a.parameter.isEqual(b.parameter) &&
           a.versionMinor.isEqual(b.versionMinor) && a.versionMajor == b.versionMajor;
}

PyRenderApp makeRenderApp(py::handle name, py::handle major, py::handle minor, py::handle executable,
                          py::handle parameter, bool truncate) {
    PyRenderApp app;
    kxRA::_ClientRenderApp& e = app.entry;
    kxpy::setText(e.name, kxpy::text(name, "name"), "name", truncate);
    e.versionMajor = qint16(kxpy::integer(major, "major", 0, 32767));
    kxpy::setText(e.versionMinor, kxpy::text(minor, "minor"), "minor", truncate);
    kxpy::setText(e.executable, kxpy::path(executable, "executable"), "executable", truncate);
    kxpy::setText(e.parameter, kxpy::text(parameter, "parameter"), "parameter", truncate);
    return app;
}

QString renderAppRepr(const kxRA::_ClientRenderApp& e) {
    QString r = QStringLiteral("RenderApp(%1, %2, %3, %4")
                    .arg(kxpy::repr(e.name.toQString()), QString::number(e.versionMajor),
                         kxpy::repr(e.versionMinor.toQString()), kxpy::repr(e.executable.toQString()));
    if (!e.parameter.isEmpty())
        r += QStringLiteral(", ") + kxpy::repr(e.parameter.toQString());
    return r + QLatin1Char(')');
}

// ---- the fields of a client, as properties and as keyword arguments of Client() -----------------

/// One settable field of a client: the property of that name, and the keyword of Client().
struct Field {
    const char* name;
    std::function<py::object(const Record&)> get;
    std::function<void(Record&, py::handle value, bool truncate)> set;
    const char* doc;
};

/// A whole-number field read and written through `access`, refused outside min..max (the field's
/// type).
template <typename Access>
Field intField(const char* name, long long min, long long max, Access access, const char* doc) {
    return {name,
            [access](const Record& c) -> py::object { return py::int_(access(const_cast<Record&>(c))); },
            [access, name, min, max](Record& c, py::handle v, bool) {
                using T = std::remove_reference_t<decltype(access(c))>;
                access(c) = T(kxpy::integer(v, name, min, max));
            },
            doc};
}

/// A 0/1 flag shown as bool.
template <typename Access>
Field flagField(const char* name, Access access, const char* doc) {
    return {
        name,
        [access](const Record& c) -> py::object { return py::bool_(access(const_cast<Record&>(c)) != 0); },
        [access, name](Record& c, py::handle v, bool) { access(c) = kxpy::boolean(v, name) ? 1 : 0; }, doc};
}

/// A fixed-capacity text field.
template <typename Access>
Field textField(const char* name, Access access, const char* doc) {
    return {
        name,
        [access](const Record& c) -> py::object { return str(access(const_cast<Record&>(c)).toQString()); },
        [access, name](Record& c, py::handle v, bool truncate) {
            kxpy::setText(access(c), kxpy::text(v, name), name, truncate);
        },
        doc};
}

template <int N>
py::list nameList(const _kxString<50> (&names)[N], qint32 count) {
    py::list out;
    for (int i = 0; i < kxC::usedCount(count, N); ++i)
        out.append(str(names[i].toQString()));
    return out;
}

/// Replaces a name list whole: every name is checked before any is stored.
template <int N>
void setNameList(_kxString<50> (&names)[N], qint32& count, py::handle value, const char* field,
                 bool truncate) {
    if (PyUnicode_Check(value.ptr()) || !PySequence_Check(value.ptr()))
        kxpy::typeError(field, "a sequence of str", value);
    const py::sequence items = py::reinterpret_borrow<py::sequence>(value);
    if (items.size() > size_t(N))
        throw py::value_error(std::string(field) + ": at most " + std::to_string(N) + " names fit, got " +
                              std::to_string(items.size()));
    _kxString<50> staged[N];
    for (size_t i = 0; i < items.size(); ++i)
        kxpy::setText(staged[i], kxpy::text(items[i], field), field, truncate);
    for (int i = 0; i < N; ++i) {
        names[i] = staged[i];
        names[i].clearUnused();
    }
    count = qint32(items.size());
}

template <typename Access>
Field nameListField(const char* name, Access access, const char* doc) {
    return {name,
            [access](const Record& c) -> py::object {
                auto [names, count] = access(const_cast<Record&>(c));
                return nameList(names, count);
            },
            [access, name](Record& c, py::handle v, bool truncate) {
                auto [names, count] = access(c);
                setNameList(names, count, v, name, truncate);
            },
            doc};
}

/// A schedule: four cfgV values from `first`, day from, day to, hour from, hour to.
Field scheduleField(const char* name, int first, const char* doc) {
    return {name,
            [first](const Record& c) -> py::object {
                const qint16* v = c.config.cfgV + first;
                return py::make_tuple(v[0], v[1], v[2], v[3]);
            },
            [first, name](Record& c, py::handle value, bool) {
                if (!PySequence_Check(value.ptr()) || py::len(value) != 4)
                    kxpy::typeError(name, "(day_from, day_to, hour_from, hour_to)", value);
                const py::sequence t = py::reinterpret_borrow<py::sequence>(value);
                qint16 v[4];
                for (size_t i = 0; i < 4; ++i)
                    v[i] = qint16(kxpy::integer(t[i], name, -32768, 32767));
                std::copy(v, v + 4, c.config.cfgV + first);
            },
            doc};
}

/// Numbered switches (cfgB) or values (cfgV) with their count: a sequence of at most the capacity,
/// whose length becomes the count.
template <typename T, int N, typename Convert>
void setNumbered(T (&entries)[N], qint32& count, py::handle value, const char* field, Convert convert) {
    if (PyUnicode_Check(value.ptr()) || !PySequence_Check(value.ptr()))
        kxpy::typeError(field, "a sequence", value);
    const py::sequence items = py::reinterpret_borrow<py::sequence>(value);
    if (items.size() > size_t(N))
        throw py::value_error(std::string(field) + ": at most " + std::to_string(N) + " entries fit, got " +
                              std::to_string(items.size()));
    T staged[N];
    for (size_t i = 0; i < items.size(); ++i)
        staged[i] = convert(items[i]);
    std::copy(staged, staged + items.size(), entries);
    count = qint32(items.size());
}

py::list renderApps(const Record& c) {
    py::list out;
    for (int i = 0; i < c.usedRenderAppCount(); ++i)
        out.append(py::cast(PyRenderApp{c.renderApps[i]}));
    return out;
}

void setRenderApps(Record& c, py::handle value) {
    if (PyUnicode_Check(value.ptr()) || !PySequence_Check(value.ptr()))
        kxpy::typeError("apps", "a sequence of RenderApp", value);
    const py::sequence items = py::reinterpret_borrow<py::sequence>(value);
    if (items.size() > size_t(kxC::_Client_configPart::renderAppCapacity))
        throw py::value_error("apps: at most 100 render applications fit, got " +
                              std::to_string(items.size()));
    std::vector<kxRA::_ClientRenderApp> staged;
    for (const py::handle item : items) {
        if (!py::isinstance<PyRenderApp>(item))
            kxpy::typeError("apps", "RenderApp items", item);
        staged.push_back(item.cast<const PyRenderApp&>().entry);
    }
    for (int i = 0; i < kxC::_Client_configPart::renderAppCapacity; ++i)
        c.renderApps[i].clear();
    std::copy(staged.begin(), staged.end(), c.renderApps);
    c.renderAppCount = qint16(staged.size());
}

const std::vector<Field>& clientFields() {
    static const std::vector<Field> table = {
        textField(
            "name", [](Record & c) -> auto& { return c.status.name; },
            "The client's machine name, at most 50 Latin-1 characters."),
        intField(
            "list_no", INT_MIN, INT_MAX, [](Record & c) -> auto& { return c.listNo; },
            "The client's place in the farm's client list; -1 before it has one."),
        intField(
            "cloud_connector_index", -128, 127,
            [](Record & c) -> auto& { return c.status.cloudConnectorIndex; },
            "-1 for an ordinary client; 0 or more makes the record a cloud connector."),
        intField(
            "preset", 0, 255, [](Record & c) -> auto& { return c.config.configPreset; },
            "The configuration preset the client follows; 0: settings of its own."),
        intField(
            "unc_preset", -128, 127, [](Record & c) -> auto& { return c.config.uncPreset; },
            "The UNC mapping preset (repaired to 0 to 5 by repair())."),
        intField(
            "thread_count", 0, 255, [](Record & c) -> auto& { return c.config.configThreadCount; },
            "Render threads, 1 to 8 (repair() brings other values into that range)."),
        intField(
            "memory", INT_MIN, INT_MAX, [](Record & c) -> auto& { return c.hardware.memory; },
            "Installed memory in MB (at least 1 after repair())."),
        intField(
            "cores", 0, 65535, [](Record & c) -> auto& { return c.hardware.cores; }, "CPU cores."),
        {"ghz", [](const Record& c) -> py::object { return py::float_(double(c.hardware.cpuGhz)); },
         [](Record& c, py::handle v, bool) { c.hardware.cpuGhz = float(kxpy::number(v, "ghz")); },
         "CPU clock in GHz (a 32-bit float)."},
        intField(
            "performance_score", 0, 65535, [](Record & c) -> auto& { return c.hardware.performanceScore; },
            "The machine's render performance score."),
        intField(
            "os_type", 0, 255, [](Record & c) -> auto& { return c.hardware.osType; },
            "Operating system: 1 Windows, 2 Linux, 3 macOS, 0 not reported."),
        {"os_version", [](const Record& c) -> py::object { return py::float_(c.hardware.osVersion / 10.0); },
         [](Record& c, py::handle v, bool) {
             const double tenths = std::round(kxpy::number(v, "os_version") * 10);
             if (!(tenths >= 0 && tenths <= 255))
                 kxpy::outOfRange("os_version", "0", "25.5", v); // held in tenths
             c.hardware.osVersion = quint8(tenths);
         },
         "Operating-system version with one decimal, 0 to 25.5 (6.1 is held as 61)."},
        flagField(
            "is_64bit", [](Record & c) -> auto& { return c.hardware.is64bit; }, "A 64-bit system."),
        intField(
            "gpu_count", -128, 127, [](Record & c) -> auto& { return c.hardware.gpuCount; },
            "Number of GPUs; -1 when none was reported."),
        flagField(
            "is_cloud_vm", [](Record & c) -> auto& { return c.hardware.isCloudVM; },
            "The machine is a cloud virtual machine."),
        textField(
            "custom_info", [](Record & c) -> auto& { return c.hardware.customClientInfo; },
            "Free text about the client, at most 100 characters."),
        {"location",
         [](const Record& c) -> py::object {
             return py::make_tuple(str(c.hardware.location[0].toQString()),
                                   str(c.hardware.location[1].toQString()));
         },
         [](Record& c, py::handle v, bool truncate) {
             if (PyUnicode_Check(v.ptr()) || !PySequence_Check(v.ptr()) || py::len(v) != 2)
                 kxpy::typeError("location", "two texts", v);
             const py::sequence t = py::reinterpret_borrow<py::sequence>(v);
             _kxString<10> staged[2];
             for (size_t i = 0; i < 2; ++i)
                 kxpy::setText(staged[i], kxpy::text(t[i], "location"), "location", truncate);
             c.hardware.location[0] = staged[0];
             c.hardware.location[1] = staged[1];
         },
         "The two location texts, at most 10 characters each."},
        textField(
            "gpu_user", [](Record & c) -> auto& { return c.config.gpuUser; },
            "User bound to the client's GPUs, at most 50 Latin-1 characters."),
        textField(
            "no_artist_login", [](Record & c) -> auto& { return c.config.noArtistLogin; },
            "The no-artist-login text, at most 25 Latin-1 characters."),
        nameListField(
            "reserved_for",
            [](Record& c) { return std::tie(c.config.reservedFor, c.config.reservedForCount); },
            "Users the client is reserved for: at most 10 names of at most 50 characters."),
        nameListField(
            "accept_in_working_hours",
            [](Record& c) {
                return std::tie(c.config.acceptInWorkingHours, c.config.acceptInWorkingHoursCount);
            },
            "Users whose jobs the client takes during working hours: at most 10 names."),
        nameListField(
            "abort_processes",
            [](Record& c) { return std::tie(c.config.abortProcesses, c.config.abortProcessCount); },
            "Processes whose presence aborts rendering: at most 10 names."),
        scheduleField(
            "working_hours", 15,
            "Working hours as (day_from, day_to, hour_from, hour_to); days 0 to 6, hours 0 to 23, both "
            "ends included, wrapping when from is above to."),
        scheduleField("wol_schedule", 19,
                      "The wake-on-LAN window, as working_hours; hour_from = hour_to + 1 is off."),
        scheduleField("shutdown_schedule", 11, "The shutdown window, as working_hours."),
        textField(
            "user", [](Record & c) -> auto& { return c.status.user; },
            "The user logged in on the machine (status), at most 25 characters."),
        textField(
            "version", [](Record & c) -> auto& { return c.status.version; },
            "Version text of the client application (status), at most 10 Latin-1 characters."),
        intField(
            "cpu_usage", 0, 255, [](Record & c) -> auto& { return c.status.cpuUsage; },
            "Total CPU usage of the machine (status)."),
        intField(
            "temperature", -128, 127, [](Record & c) -> auto& { return c.status.temperature; },
            "Machine temperature as the client reports it (status)."),
        {"available_memory", [](const Record& c) -> py::object { return py::int_(c.status.availMemory()); },
         [](Record& c, py::handle v, bool) {
             c.status.setAvailMemory(int(kxpy::integer(v, "available_memory", INT_MIN, INT_MAX)));
         },
         "Memory available on the machine (status; stored in every thread record)."},
        intField(
            "status_thread_count", 0, kxC::_ClientStatus_ALL::threadCapacity,
            [](Record & c) -> auto& { return c.status.threadCount; },
            "Thread records the status holds (an ordinary client in a ClientList keeps 8)."),
        textField(
            "pending_message", [](Record & c) -> auto& { return c.userMessage.text; },
            "The user messages waiting for the client machine, at most 2500 characters."),
        flagField(
            "reserved_for_keep_case", [](Record & c) -> auto& { return c.config.reservedForKeepCase; },
            "Whether reserved_for keeps its letter case; otherwise the names are compared and written in "
            "lower case."),
        flagField(
            "accept_in_working_hours_keep_case",
            [](Record & c) -> auto& { return c.config.acceptInWorkingHoursKeepCase; },
            "Whether accept_in_working_hours keeps its letter case."),
        {"wol_texts",
         [](const Record& c) -> py::object {
             return py::make_tuple(str(c.hardware.wolText1.toQString()),
                                   str(c.hardware.wolText2.toQString()));
         },
         [](Record& c, py::handle v, bool truncate) {
             if (PyUnicode_Check(v.ptr()) || !PySequence_Check(v.ptr()) || py::len(v) != 2)
                 kxpy::typeError("wol_texts", "two texts", v);
             const py::sequence t = py::reinterpret_borrow<py::sequence>(v);
             _kxString<25> first;
             _kxString<50> second;
             kxpy::setText(first, kxpy::text(t[0], "wol_texts"), "wol_texts", truncate);
             kxpy::setText(second, kxpy::text(t[1], "wol_texts"), "wol_texts", truncate);
             c.hardware.wolText1 = first;
             c.hardware.wolText2 = second;
         },
         "The two wake-on-LAN texts (at most 25 and 50 characters) that open the WOL key, such as the "
         "machine's MAC address and its broadcast address."},
        {"cfg_switches",
         [](const Record& c) -> py::object {
             py::list out;
             for (int i = 0; i < kxC::usedCount(c.config.cfgBCount, kxC::_ClientConfig::cfgBCapacity); ++i)
                 out.append(py::bool_(c.config.cfgB[i] != 0));
             return py::tuple(out);
         },
         [](Record& c, py::handle v, bool) {
             setNumbered(c.config.cfgB, c.config.cfgBCount, v, "cfg_switches",
                         [](py::handle b) { return quint8(kxpy::boolean(b, "cfg_switches") ? 1 : 0); });
         },
         "The numbered on/off options (cfgB), 29 by default, at most 40."},
        {"cfg_values",
         [](const Record& c) -> py::object {
             py::list out;
             for (int i = 0; i < kxC::usedCount(c.config.cfgVCount, kxC::_ClientConfig::cfgVCapacity); ++i)
                 out.append(py::int_(c.config.cfgV[i]));
             return py::tuple(out);
         },
         [](Record& c, py::handle v, bool) {
             setNumbered(c.config.cfgV, c.config.cfgVCount, v, "cfg_values",
                         [](py::handle n) { return qint16(kxpy::integer(n, "cfg_values", -32768, 32767)); });
         },
         "The numbered values (cfgV), 34 by default, at most 40; 11 to 22 are the three schedules."},
        {"apps", [](const Record& c) -> py::object { return renderApps(c); },
         [](Record& c, py::handle v, bool) { setRenderApps(c, v); },
         "The installed render applications (copies; assign a list to change them), at most 100."},
    };
    return table;
}

// ---- status texts ---------------------------------------------------------------------------------

QString statusText(py::handle status, py::handle jobId, py::handle detail) {
    return kxC::_ClientStatusThread::clientStatusAsStringSingle_static(
        static_cast<signed char>(kxpy::integer(status, "status", -128, 127)),
        kxpy::unsignedInteger(jobId, "job_id", ULLONG_MAX),
        short(kxpy::integer(detail, "detail", -32768, 32767)), nullptr);
}

int threadArg(py::handle thread, int capacity) {
    return int(kxpy::integer(thread, "thread", 0, capacity - 1));
}

QString clientRepr(const Record& c) {
    QString r = QStringLiteral("Client(") + kxpy::repr(c.status.name.toQString());
    const kxC::_ClientHardware& hw = c.hardware;
    if (hw.memory)
        r += QStringLiteral(", memory=%1").arg(hw.memory);
    if (hw.cores)
        r += QStringLiteral(", cores=%1").arg(hw.cores);
    if (hw.cpuGhz != 0)
        r += QStringLiteral(", ghz=%1").arg(double(hw.cpuGhz));
    const QString os = hw.OSasString();
    if (!os.isEmpty())
        r += QStringLiteral(", os=") + kxpy::repr(os);
    r += QStringLiteral(", threads=%1, preset=%2").arg(c.config.configThreadCount).arg(c.config.configPreset);
    if (c.usedRenderAppCount())
        r += QStringLiteral(", apps=%1").arg(c.usedRenderAppCount());
    return r + QLatin1Char(')');
}

// ---- the client list --------------------------------------------------------------------------------

/// A client list of its own: about 170 MB, built on the heap, with the farm object it refers to.
struct PyClientList {
    std::unique_ptr<__KX> farm = std::make_unique<__KX>();
    std::unique_ptr<kxC::_ClientList> list = std::make_unique<kxC::_ClientList>(*farm);
};

/// The view columns by name; the index is the list's sortID (3 is no column of this list).
const char* const sortColumns[] = {
    "name", "list_no", "status",      "",       "cpu_usage", "available_memory",  "os",
    "user", "version", "temperature", "memory", "cores",     "performance_score", "info"};

int sortColumn(const QString& by) {
    for (int i = 0; i < int(std::size(sortColumns)); ++i)
        if (*sortColumns[i] && by == QLatin1String(sortColumns[i]))
            return i;
    QStringList names;
    for (const char* name : sortColumns)
        if (*name)
            names << QLatin1String(name);
    throw py::value_error(
        ("by: unknown column '" + by + "' (columns: " + names.join(QStringLiteral(", ")) + ")")
            .toStdString());
}

/// The list position of the first client named exactly `name`, or -1; a name no client record can
/// hold (not Latin-1, or longer than 50) names no client.
int listPosition(const kxC::_ClientList& list, py::handle name) {
    const QString n = kxpy::text(name, "name");
    if (!kxpy::fitsLatin1(n, 50))
        return -1;
    return list.findClient(_kxString8_allSize<50>(n), -1);
}

/// A copy of the entry an entry number names, as a whole client record.
PyClient entryCopy(kxC::_ClientList& list, qint16 entryNumber) {
    PyClient out;
    const int slot = kxC::_ClientList::slotOfEntry(entryNumber);
    if (slot >= kxC::_ClientList::clientCapacity) {
        *out.record = list.clouds[slot - kxC::_ClientList::clientCapacity];
    } else if (slot >= 0) {
        const kxC::_Client& from = list.clients[slot];
        static_cast<kxC::_Client_WithoutStatus&>(*out.record) = from;
        static_cast<kxC::_ClientStatusBasic_ALL_base&>(out.record->status) = from.status;
        std::copy(std::begin(from.status.threads), std::end(from.status.threads), out.record->status.threads);
    }
    return out;
}

/// Adds a copy of the client: its configuration (as the list adds clients), and its status and
/// pending messages, so the view sorts by what the record says. Returns the new list number.
int addToList(kxC::_ClientList& list, const Record& c) {
    const bool cloud = c.status.cloudConnectorIndex >= 0;
    const int listNo = list.addClient(c.status.name, c.status.cloudConnectorIndex, c, true);
    if (listNo < 0)
        throw py::value_error(cloud ? "client: the list holds 30 cloud connectors (or 1530 entries) already"
                                    : "client: the list holds 1500 clients (or 1530 entries) already");
    if (cloud) {
        kxC::_Client_CloudConnector& slot = list.clouds[list.usedCloudCount() - 1];
        static_cast<kxC::_ClientStatusBasic_ALL_base&>(slot.status) = c.status;
        std::copy(std::begin(c.status.threads), std::end(c.status.threads), slot.status.threads);
        slot.userMessage = c.userMessage;
    } else {
        kxC::_Client& slot = list.clients[list.usedClientCount() - 1];
        static_cast<kxC::_ClientStatusBasic_ALL_base&>(slot.status) = c.status;
        std::copy(c.status.threads, c.status.threads + kxC::_ClientStatus::threadCapacity,
                  slot.status.threads);
        slot.userMessage = c.userMessage;
    }
    list.sort_ID_Load(false);
    list.sort(nullptr);
    list.filter();
    return listNo;
}

// ---- files ----------------------------------------------------------------------------------------

QString writeClientConfig(const QString& path, const PyClient& client, bool forceListNo, bool compactApps) {
    // The writer repairs and changes the record it writes: it writes a copy, so the caller's client
    // stays as it is and no other thread can see it change while the lock is let go.
    PyClient copy(client);
    QString group;
    kxClientCfgWrite outcome;
    {
        py::gil_scoped_release released;
        outcome = kxWriteClientCfgFile(path, *copy.record, forceListNo, compactApps, group);
    }
    switch (outcome) {
    case kxClientCfgWrite::written:
        break;
    case kxClientCfgWrite::noFolder:
        kxpy::osError(ENOENT, QStringLiteral("cannot write the file: its folder does not exist"), path);
    case kxClientCfgWrite::notAFile:
        kxpy::osError(QFileInfo(path).isDir() ? EISDIR : EINVAL,
                      QStringLiteral("cannot write the file: it is not a regular file"), path);
    case kxClientCfgWrite::notSettings:
        kxpy::osError(
            EINVAL,
            QStringLiteral("the file holds lines that are no ini-style settings; it is left as it is"), path);
    case kxClientCfgWrite::noGroup:
        throw py::value_error(("client: the name " + kxpy::repr(client.record->status.name.toQString()) +
                               " gives no group of its own (it is empty or holds '/' or '\\')")
                                  .toStdString());
    case kxClientCfgWrite::notWritten: {
        const QFileInfo info(path);
        const bool denied = info.exists() ? !info.isWritable() : !QFileInfo(info.absolutePath()).isWritable();
        kxpy::osError(denied ? EACCES : EIO, QStringLiteral("cannot write the file"), path);
    }
    }
    return group;
}

py::object readClientStatistics(const QString& path, int hours, const py::object& statisticsType,
                                const py::object& countsType) {
    auto stats = std::make_unique<kxC::_server_clientInfo>();
    bool loaded;
    {
        py::gil_scoped_release released;
        loaded = stats->loadFromFile(path);
    }
    if (!loaded) {
        const QFileInfo info(path);
        if (!info.exists())
            kxpy::osError(ENOENT, stats->errorText(), path);
        QFile file(path);
        if (info.isDir() || !file.open(QIODevice::ReadOnly))
            kxpy::osError(info.isDir() ? EISDIR : EACCES, stats->errorText(), path);
        throw py::value_error(stats->errorText().toStdString());
    }
    py::list records;
    auto info = std::make_unique<kxC::_Client_Info>();
    for (int i = 0; i < stats->count(); ++i) {
        *info = stats->info(i);
        kxC::_Client_jobEfficiencyRate& rate = info->jobEfficiencyRate;
        const py::object rateValue =
            rate.successRateValid ? py::object(py::int_(rate.successRate)) : py::none();
        records.append(countsType(rate.getLastHoursSuccessJobs(hours), rate.getLastHoursCleanAbortJobs(hours),
                                  rate.getLastHoursFailJobs(hours), rateValue));
    }
    return statisticsType(str(path), stats->clientInfos_v1() ? 1 : 2, hours, py::tuple(records));
}

} // namespace

py::object kxfarmClientsFromSample(const QList<kxSampleClient>& clients) {
    py::list out;
    for (int i = 0; i < clients.size(); ++i) {
        PyClient client;
        // Each sample client takes its place in the farm as its list number, as kxinspect gives it.
        kxFillSampleClient(*client.record, clients[i], i);
        out.append(py::cast(std::move(client)));
    }
    return out;
}

void bind_clients(py::module_& m) {
    m.def(
        "client_status_text",
        [](kxpy::IntArg status, kxpy::IntArg jobId, kxpy::IntArg detail) {
            return str(statusText(status, jobId, detail));
        },
        py::arg("status"), py::arg("job_id") = 0, py::arg("detail") = 0,
        "The farm's text of one render thread's status: `status` is the thread status code (-128 to 127;\n"
        "0 off, 1 idle, 2 disabled, 3 rendering, ...), `job_id` above 1000 the job it works on and 1 to\n"
        "1000 the reason it is off, `detail` the status detail (seconds or minutes by status).\n"
        "client_status_text(5, 1000) == '|1000| Render Aborted'.");
    m.def(
        "off_reason_text",
        [](kxpy::IntArg reason, kxpy::IntArg detail) {
            return str(kxC::_ClientStatusThread::clientOffStatusAsString(
                kxC::_ClientStatusJobs(kxpy::integer(reason, "reason", INT_MIN, INT_MAX)),
                short(kxpy::integer(detail, "detail", -32768, 32767))));
        },
        py::arg("reason"), py::arg("detail") = 0,
        "The farm's text of the reason a render thread is off or disabled (1 'High CPU Usage', 6 'Wake On\n"
        "Lan', ...); `detail` is the seconds of the reasons that count down.");

    py::class_<PyRenderApp>(m, "RenderApp",
                            "One render application installed on a client: name, major and minor version,\n"
                            "executable and its parameter. Texts must fit their fields (name 25, minor 15,\n"
                            "executable 150, parameter 50 Latin-1 characters) unless truncate=True.")
        .def(py::init([](kxpy::TextArg name, kxpy::IntArg major, kxpy::TextArg minor,
                         kxpy::PathArg executable, kxpy::TextArg parameter, bool truncate) {
                 return makeRenderApp(name, major, minor, executable, parameter, truncate);
             }),
             py::arg("name"), py::arg("major"), py::arg("minor"), py::arg("executable"),
             py::arg("parameter") = "", py::kw_only(), py::arg("truncate") = false)
        .def_property_readonly(
            "name", [](const PyRenderApp& a) { return str(a.entry.name.toQString()); },
            "The application's name.")
        .def_property_readonly(
            "major", [](const PyRenderApp& a) { return int(a.entry.versionMajor); }, "The major version.")
        .def_property_readonly(
            "minor", [](const PyRenderApp& a) { return str(a.entry.versionMinor.toQString()); },
            "The minor version text (digits and dots).")
        .def_property_readonly(
            "executable", [](const PyRenderApp& a) { return str(a.entry.executable.toQString()); },
            "The executable's path.")
        .def_property_readonly(
            "parameter", [](const PyRenderApp& a) { return str(a.entry.parameter.toQString()); },
            "The executable's parameter; empty for none.")
        .def_property_readonly(
            "pattern",
            [](const PyRenderApp& a) {
                return str(kxRA::replaceVersionWithAsterisk(a.entry.executable.toQString()));
            },
            "The executable's version-free pattern (its version digits replaced by '*').")
        .def("__eq__", [](const PyRenderApp& a, const PyRenderApp& b) { return sameEntry(a.entry, b.entry); })
        .def("__eq__", [](const PyRenderApp&, py::object) { return false; })
        .def("__repr__", [](const PyRenderApp& a) { return str(renderAppRepr(a.entry)); });

    py::class_<PyClient> client(
        m, "Client",
        "A render client record as the server holds it: configuration, hardware, status, render\n"
        "applications and pending user messages. Client(name, **fields) starts from a cleared record (a\n"
        "64-bit machine) and sets the named fields, which are also its properties: memory, cores, ghz,\n"
        "os_type, os_version, thread_count, preset, apps, ... Texts must fit their fields unless\n"
        "truncate=True. The object owns its record; copies (copy.copy) are independent.");
    client.def(py::init([](kxpy::TextArg name, bool truncate, py::kwargs fieldValues) {
                   PyClient c;
                   c.record->hardware.is64bit = 1;
                   const auto& table = clientFields();
                   table.front().set(*c.record, name, truncate);
                   for (const auto& item : fieldValues) {
                       const QString key = kxpy::text(item.first, "keyword");
                       const auto field = std::find_if(table.begin(), table.end(), [&key](const Field& f) {
                           return key == QLatin1String(f.name);
                       });
                       if (field == table.end() || field == table.begin())
                           throw py::type_error(
                               ("Client() got an unexpected keyword argument '" + key + "'").toStdString());
                       field->set(*c.record, item.second, truncate);
                   }
                   return c;
               }),
               py::arg("name"), py::kw_only(), py::arg("truncate") = false);
    for (const Field& f : clientFields()) {
        const Field* field = &f;
        client.def_property(
            f.name, [field](const PyClient& c) { return field->get(*c.record); },
            [field](PyClient& c, py::object v) { field->set(*c.record, v, false); }, f.doc);
    }
    client
        .def_property_readonly(
            "os_text", [](const PyClient& c) { return str(c.record->hardware.OSasString()); },
            "The operating system in short, as the farm shows it: 'l6.1', 'w11', 'wXP.1-32', ...")
        .def_property_readonly(
            "status_text",
            [](const PyClient& c) { return str(c.record->status.clientStatusAsStringAll(nullptr)); },
            "The farm's status text of the whole client (every thread, or the cloud machine count).")
        .def(
            "in_working_hours",
            [](const PyClient& c, int day, int hour) { return c.record->config.isTimeWorkhours(day, hour); },
            py::arg("day"), py::arg("hour"),
            "Whether weekday `day` (0 to 6) at `hour` (0 to 23) lies in the client's working hours.")
        .def(
            "in_wol_window",
            [](const PyClient& c, int day, int hour) { return c.record->config.isTimeWOL(day, hour); },
            py::arg("day"), py::arg("hour"), "Whether the time lies in the client's wake-on-LAN window.")
        .def(
            "in_shutdown_window",
            [](const PyClient& c, int day, int hour) { return c.record->config.isTimeShutdown(day, hour); },
            py::arg("day"), py::arg("hour"), "Whether the time lies in the client's shutdown window.")
        .def(
            "thread_jobs",
            [](const PyClient& c, int thread) {
                py::list out;
                for (const QString& t : c.record->config.threadJobs(thread))
                    out.append(str(t));
                return out;
            },
            py::arg("thread"),
            "The job types render thread `thread` accepts (a number outside 0 to 7 reads thread 0, as the\n"
            "farm does).")
        .def(
            "set_thread_jobs",
            [](PyClient& c, kxpy::IntArg thread, kxpy::TextsArg types, bool keepCase, bool truncate) {
                kxC::_ClientConfig_threadSettings& t =
                    c.record->config.threads[threadArg(thread, kxC::_ClientConfig::threadCapacity)];
                qint32 count = 0;
                setNameList(t.jobTypes, count, types, "types", truncate);
                if (!keepCase)
                    for (int i = 0; i < count; ++i)
                        t.jobTypes[i].set(t.jobTypes[i].toQString().toLower());
                t.jobTypeCount = count;
                t.jobTypesKeepCase = keepCase ? 1 : 0;
            },
            py::arg("thread"), py::arg("types"), py::kw_only(), py::arg("keep_case") = false,
            py::arg("truncate") = false,
            "Sets the job types thread 0 to 7 accepts (at most 10), lower-cased unless keep_case.")
        .def(
            "thread_wh_disabled",
            [](const PyClient& c, int thread) { return c.record->config.threadWHDisable(thread); },
            py::arg("thread"), "Whether render thread `thread` is disabled during working hours.")
        .def(
            "set_thread_wh_disabled",
            [](PyClient& c, kxpy::IntArg thread, kxpy::BoolArg on) {
                c.record->config.threads[threadArg(thread, kxC::_ClientConfig::threadCapacity)].whDisable =
                    kxpy::boolean(on, "disabled") ? 1 : 0;
            },
            py::arg("thread"), py::arg("disabled"), "Disables thread 0 to 7 during working hours, or not.")
        .def(
            "gpu_mask",
            [](const PyClient& c, kxpy::IntArg thread) {
                return int(
                    c.record->config.threads[threadArg(thread, kxC::_ClientConfig::threadCapacity)].gpuMask);
            },
            py::arg("thread"), "The GPU mask of thread 0 to 7 (bit g: the thread may use GPU g; -1 all).")
        .def(
            "set_gpu_mask",
            [](PyClient& c, kxpy::IntArg thread, kxpy::IntArg mask) {
                c.record->config.threads[threadArg(thread, kxC::_ClientConfig::threadCapacity)].gpuMask =
                    qint16(kxpy::integer(mask, "mask", -32768, 32767));
            },
            py::arg("thread"), py::arg("mask"), "Sets the GPU mask of thread 0 to 7 (a signed 16-bit value).")
        .def(
            "is_gpu_assigned",
            [](const PyClient& c, int thread, int gpu) {
                return c.record->config.isGPUAssigned(thread, gpu);
            },
            py::arg("thread"), py::arg("gpu"), "Whether render thread `thread` may use GPU `gpu` (0 to 11).")
        .def(
            "has_gpu", [](const PyClient& c, int thread) { return c.record->hasGPU(thread); },
            py::arg("thread"), "Whether thread 0 to 7 may use one of the client's gpu_count GPUs.")
        .def(
            "set_thread_status",
            [](PyClient& c, kxpy::IntArg thread, kxpy::IntArg status, kxpy::IntArg jobId,
               kxpy::IntArg detail) {
                kxC::_ClientStatusThread& t =
                    c.record->status.threads[threadArg(thread, kxC::_ClientStatus_ALL::threadCapacity)];
                const auto code = static_cast<qint8>(kxpy::integer(status, "status", -128, 127));
                const auto id = kxpy::unsignedInteger(jobId, "job_id", ULLONG_MAX);
                t.jobStatus = qint16(kxpy::integer(detail, "detail", -32768, 32767));
                t.clientStatus = code;
                t.jobID = id;
            },
            py::arg("thread"), py::arg("status"), py::arg("job_id") = 0, py::arg("detail") = 0,
            "Sets a render thread's status code, job ID (or off reason) and detail, as the client reports\n"
            "them; status_thread_count says how many threads the status holds.")
        .def(
            "thread_status_text",
            [](const PyClient& c, kxpy::IntArg thread) {
                return str(c.record->status.threads[threadArg(thread, kxC::_ClientStatus_ALL::threadCapacity)]
                               .clientStatusAsStringSingle(nullptr));
            },
            py::arg("thread"), "The farm's status text of one render thread.")
        .def(
            "thread_share",
            [](const PyClient& c, int thread, float extra) {
                return double(c.record->currentThreadPS_percentage(thread, extra));
            },
            py::arg("thread"), py::arg("extra") = 0.0f,
            "The share of the machine render thread `thread` gets when the rendering threads share it\n"
            "equally, raised by `extra`, 0 to 1.")
        .def(
            "thread_performance_score",
            [](const PyClient& c, int thread, float extra) {
                return c.record->currentThreadPS(thread, extra);
            },
            py::arg("thread"), py::arg("extra") = 0.0f,
            "The performance score times thread_share, rounded half away from zero.")
        .def(
            "thread_ghz",
            [](const PyClient& c, int thread, float extra) {
                return double(c.record->currentThreadGhz(thread, extra));
            },
            py::arg("thread"), py::arg("extra") = 0.0f, "The CPU clock times thread_share.")
        .def(
            "app_already_exists",
            [](const PyClient& c, kxpy::IntArg index) {
                const Record& r = *c.record;
                const int i = int(kxpy::integer(index, "index", 0, r.usedRenderAppCount() - 1));
                return r.renderApps[i].appAlreadyExists(i, short(r.usedRenderAppCount()), r.renderApps,
                                                        nullptr);
            },
            py::arg("index"),
            "Whether another of the client's render applications has the name of application `index` and\n"
            "its executable, or one that differs only in its version digits.")
        .def(
            "add_message",
            [](PyClient& c, kxpy::TextArg message, bool truncate) {
                _kxString<kxC::_ClientUserMessage::capacity> text;
                kxpy::setText(text, kxpy::text(message, "message"), "message", truncate);
                c.record->userMessage.add(text);
            },
            py::arg("message"), py::kw_only(), py::arg("truncate") = false,
            "Queues a user message for the client machine as the server does: long lines wrapped, a blank\n"
            "line before it, the oldest text dropped when the 2500 characters are full.")
        .def(
            "repair", [](PyClient& c) { c.record->checkInvalidValues(); },
            "Brings every value into its range as the farm does before it writes the client (hardware\n"
            "minima, numbered values, thread count, UNC preset), makes sure a thread accepts 'Execute' jobs\n"
            "and drops render applications without executable or name.")
        .def(
            "copy", [](const PyClient& c) { return PyClient(c); }, "An independent copy of the client.")
        .def("__copy__", [](const PyClient& c) { return PyClient(c); })
        .def(
            "__deepcopy__", [](const PyClient& c, py::object) { return PyClient(c); }, py::arg("memo"))
        .def("__eq__",
             [](const PyClient& a, const PyClient& b) {
                 return std::memcmp(a.record.get(), b.record.get(), sizeof(Record)) == 0;
             })
        .def("__eq__", [](const PyClient&, py::object) { return false; })
        .def("__repr__", [](const PyClient& c) { return str(clientRepr(*c.record)); });
    client.attr("__hash__") = py::none();

    py::class_<PyClientList>(
        m, "ClientList",
        "The farm's client list: up to 1500 clients and 30 cloud connectors in list-number order, with a\n"
        "view sorted by any column and filtered by operating system, bitness and memory. The list is one\n"
        "block of about 170 MB, as the server's. Items are copies of the clients in the list.")
        .def(py::init<>())
        .def(
            "add", [](PyClientList& l, const PyClient& c) { return addToList(*l.list, *c.record); },
            py::arg("client"),
            "Adds a copy of `client` (its configuration, status and pending messages) and returns its new\n"
            "list number. ValueError when the list is full.")
        .def(
            "find",
            [](PyClientList& l, kxpy::TextArg name) -> py::object {
                const int position = listPosition(*l.list, name);
                if (position < 0)
                    return py::none();
                return py::cast(entryCopy(*l.list, l.list->byListNo.entryNumbers[position]));
            },
            py::arg("name"), "A copy of the first client named exactly `name`, or None.")
        .def(
            "remove",
            [](PyClientList& l, kxpy::TextArg name) {
                const int position = listPosition(*l.list, name);
                if (position < 0)
                    kxpy::keyError(name);
                l.list->removeClient(position, true);
            },
            py::arg("name"), "Removes the first client named `name`; KeyError when there is none.")
        .def("__len__", [](const PyClientList& l) { return l.list->usedCount(); })
        .def(
            "__getitem__",
            [](PyClientList& l, long long index) {
                const int n = l.list->usedCount();
                if (index < 0)
                    index += n;
                if (index < 0 || index >= n)
                    throw py::index_error("ClientList index out of range");
                return entryCopy(*l.list, l.list->byListNo.entryNumbers[index]);
            },
            py::arg("index"), "A copy of the client at list-number position `index`.")
        .def("__iter__",
             [](py::object self) {
                 return py::iter(
                     py::module_::import("builtins")
                         .attr("map")(self.attr("__getitem__"),
                                      py::module_::import("builtins").attr("range")(py::len(self))));
             })
        .def("__contains__",
             [](PyClientList& l, py::object name) {
                 return PyUnicode_Check(name.ptr()) && listPosition(*l.list, name) >= 0;
             })
        .def(
            "sort",
            [](PyClientList& l, kxpy::TextArg by, bool descending) {
                l.list->sortID = sortColumn(kxpy::text(by, "by"));
                l.list->sortOrder = descending ? Qt::DescendingOrder : Qt::AscendingOrder;
                l.list->sort(nullptr);
                l.list->filter();
            },
            py::arg("by") = "list_no", py::arg("descending") = false,
            "Sorts the view by a column: name, list_no, status, cpu_usage, available_memory, os, user,\n"
            "version, temperature, memory, cores, performance_score or info. Equal keys keep list-number\n"
            "order ascending and the reverse descending.")
        .def(
            "set_filter",
            [](PyClientList& l, bool windows, bool mac, bool linux, bool bit64, bool bit32,
               kxpy::IntArg minMemory) {
                l.list->setFilter(windows, mac, linux, bit64, bit32,
                                  int(kxpy::integer(minMemory, "min_memory", INT_MIN, INT_MAX)), 0, nullptr,
                                  nullptr, 0);
            },
            py::kw_only(), py::arg("windows") = true, py::arg("mac") = true, py::arg("linux") = true,
            py::arg("bit64") = true, py::arg("bit32") = true, py::arg("min_memory") = 0,
            "Hides from the view the clients of the switched-off operating systems and bitness, and those\n"
            "with less memory than min_memory.")
        .def(
            "view",
            [](PyClientList& l) {
                py::list out;
                const int visible = kxC::usedCount(l.list->visibleCount, l.list->usedCount());
                for (int i = 0; i < visible; ++i)
                    out.append(py::cast(entryCopy(*l.list, l.list->sorted.entryNumbers[i])));
                return out;
            },
            "Copies of the clients of the view, in its sort order, those the filter hides left out.")
        .def_property_readonly(
            "sort_column",
            [](const PyClientList& l) { return sortColumns[kxC::usedCount(l.list->sortID, 13)]; },
            "The column the view is sorted by.")
        .def_property_readonly(
            "descending", [](const PyClientList& l) { return l.list->sortOrder != Qt::AscendingOrder; },
            "Whether the view is sorted in descending order.")
        .def_property_readonly(
            "thread_count", [](const PyClientList& l) { return l.list->countClientThreads(); },
            "Render threads (status thread records) of all clients and cloud connectors.")
        .def("__repr__", [](const PyClientList& l) {
            return str(QStringLiteral("<ClientList of %1 clients>").arg(l.list->usedCount()));
        });

    m.def(
        "write_client_config",
        [](kxpy::PathArg path, const PyClient& c, bool forceListNo, bool compactApps) {
            return str(writeClientConfig(kxpy::path(path, "path"), c, forceListNo, compactApps));
        },
        py::arg("path"), py::arg("client"), py::kw_only(), py::arg("force_list_no") = false,
        py::arg("compact_apps") = false,
        "Writes `client` into its group of the client configuration file `path` as the server writes it\n"
        "(from a copy: the farm repairs and changes the record it writes, the client object stays). An\n"
        "existing file keeps its other groups; a group already spelled in another letter case keeps that\n"
        "spelling, which is returned. The file is replaced whole or not at all. OSError with the path\n"
        "when the folder is missing, the path is no regular file, the file holds lines that are no\n"
        "ini-style settings, or it cannot be written; ValueError when the name gives no group.");

    const py::object countsType = kxpy::namedTuple(
        m, "ClientJobCounts", "success aborted failed rate",
        "One client's statistics record: successful, cleanly aborted and failed jobs of the last hours,\n"
        "and the stored success rate (0 to 255; None when no job was counted).");
    const py::object statisticsType = kxpy::namedTuple(
        m, "ClientStatistics", "path layout hours records",
        "A client statistics file: its record layout (1 or 2), the hours counted and one ClientJobCounts\n"
        "per record.");
    m.def(
        "read_client_statistics",
        [statisticsType, countsType](kxpy::PathArg path, kxpy::IntArg hours) {
            return readClientStatistics(kxpy::path(path, "path"), int(kxpy::integer(hours, "hours", 0, 72)),
                                        statisticsType, countsType);
        },
        py::arg("path"), py::arg("hours") = 72,
        "Loads the server's compressed client statistics file with the farm's loader and size checks.\n"
        "OSError (with the loader's message) when the file is missing or unreadable, ValueError when it\n"
        "does not decompress or holds no whole records.");
}
