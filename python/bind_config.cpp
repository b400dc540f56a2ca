// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
// kxfarm's configuration: the farm configuration store with every key of the key table, scrambled
// configuration texts, virtual-machine identifier texts, automatic mount points and command-line
// flags.
#include "bindings.h"
#include "kxpy.h"

#include "config/kxgapplication.h"
#include "config/kxgconfig.h"
#include "config/kxguncmap.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace py = pybind11;
using kxpy::str;

namespace {

/// A configuration store holding the farm's key table, as the server starts it (about 340 KB).
struct ConfigStore {
    std::unique_ptr<_kxgConfig> store = std::make_unique<_kxgConfig>();
    ConfigStore() { store->initialize(nullptr); }
    ConfigStore(const ConfigStore& other) : store(std::make_unique<_kxgConfig>(*other.store)) {}
};

/// The key table as registered, never changed: the defaults that info() reports.
const _kxgConfig& keyTable() {
    static const ConfigStore table;
    return *table.store;
}

/// The float as Python shows it: the shortest decimal that reads back as the same 32-bit value, so
/// 0.05 reads 0.05 and not 0.0500000007.
double shortFloat(float f) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text - 1, f).ptr;
    *end = 0;
    return std::strtod(text, nullptr);
}

/// The key as the store's 8-bit name, or false when no registered name can equal it (not Latin-1,
/// longer than a name holds).
bool keyName(py::handle key, QByteArray& name) {
    if (!PyUnicode_Check(key.ptr()))
        return false;
    const QString k = kxpy::text(key, "key");
    if (!kxpy::fitsLatin1(k, 100))
        return false;
    name = k.toLatin1();
    return true;
}

/// The slot the store's lookup finds for `key` (the first registration of the name), or null.
const _kxgCfg_param* slotOf(const _kxgConfig& store, py::handle key) {
    QByteArray name;
    if (!keyName(key, name) || !store.exists(name.constData()))
        return nullptr;
    for (int i = 0; i < store.count; ++i)
        if (store.params[i].name.isEqual(name.constData()))
            return &store.params[i];
    return nullptr;
}

const _kxgCfg_param& slotOrKeyError(const _kxgConfig& store, py::handle key) {
    const _kxgCfg_param* p = slotOf(store, key);
    if (!p) {
        if (!PyUnicode_Check(key.ptr()))
            kxpy::typeError("key", "str", key);
        kxpy::keyError(key);
    }
    return *p;
}

/// The value the store's getter of the key's type answers.
py::object value(const _kxgConfig& store, const _kxgCfg_param& p) {
    const char* name = p.name.data();
    switch (p.type) {
    case _kxgCfg_param::typeBool:
        return py::bool_(store.getB(_kxString8_allSize<100>(name)));
    case _kxgCfg_param::typeString:
        return str(store.getS(name).toQString());
    case _kxgCfg_param::typeInt:
        return py::int_(store.getI(name));
    default:
        return py::float_(shortFloat(store.getF(name)));
    }
}

/// Stores `v` through the store's setter of the key's type: numbers clamped into the key's range
/// (ints beyond 32 bits are taken as the nearest 32-bit value first), texts whole or refused.
void setValue(_kxgConfig& store, const _kxgCfg_param& p, py::handle v, bool truncate) {
    const _kxString8_allSize<100> name = p.name;
    const std::string field = p.name.toQString().toStdString();
    switch (p.type) {
    case _kxgCfg_param::typeBool:
        store.setB(name, kxpy::boolean(v, field.c_str()));
        break;
    case _kxgCfg_param::typeString: {
        _kxString<200> text;
        kxpy::setText(text, kxpy::text(v, field.c_str()), field.c_str(), truncate);
        store.setS(name, text);
        break;
    }
    case _kxgCfg_param::typeInt: {
        const long long n = kxpy::clampedInteger(v, field.c_str());
        store.setI(name, int(n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : n));
        break;
    }
    default:
        store.setF(name, float(kxpy::number(v, field.c_str())));
        break;
    }
}

py::object bound(const _kxgCfg_param& p, qint64 b) {
    if (p.type == _kxgCfg_param::typeInt)
        return py::int_(b);
    if (p.type == _kxgCfg_param::typeFloat)
        return py::float_(double(b) / 1e6);
    return py::none();
}

/// A command line as the process gets it: the arguments as bytes (str encoded as the file system
/// encodes names), kept alive with the pointer array the record points at.
struct CommandLine {
    std::vector<QByteArray> texts;
    std::vector<char*> pointers;
    _kxgApplication application;

    explicit CommandLine(py::handle argv) {
        if (PyUnicode_Check(argv.ptr()) || !PySequence_Check(argv.ptr()))
            kxpy::typeError("argv", "a sequence of str", argv);
        for (const py::handle item : py::reinterpret_borrow<py::sequence>(argv)) {
            if (PyBytes_Check(item.ptr())) {
                texts.emplace_back(PyBytes_AS_STRING(item.ptr()), qsizetype(PyBytes_GET_SIZE(item.ptr())));
                continue;
            }
            if (!PyUnicode_Check(item.ptr()))
                kxpy::typeError("argv", "str or bytes items", item);
            PyObject* encoded = PyUnicode_EncodeFSDefault(item.ptr());
            if (!encoded)
                throw py::error_already_set();
            const py::object owner = py::reinterpret_steal<py::object>(encoded);
            texts.emplace_back(PyBytes_AS_STRING(encoded), qsizetype(PyBytes_GET_SIZE(encoded)));
        }
        for (QByteArray& t : texts)
            pointers.push_back(t.data());
        pointers.push_back(nullptr);
        application.argc = int(texts.size());
        application.argv = pointers.data();
    }
};

/// The store the identifier texts are joined and split by: those members read nothing of it.
_kxgConfig& vmStore() {
    static const auto store = std::make_unique<_kxgConfig>();
    return *store;
}

_kxString8_allSize<100> flagText(py::handle flag) {
    _kxString8_allSize<100> f;
    kxpy::setText(f, kxpy::text(flag, "flag"), "flag");
    return f;
}

} // namespace

void bind_config(py::module_& m) {
    const py::object keyType = kxpy::namedTuple(
        m, "ConfigKey", "name group type default min max",
        "One key of the farm configuration: its name, group, type ('bool', 'string', 'int' or 'float'),\n"
        "default, and for numbers the range the store clamps to (None for the other types).");

    py::class_<ConfigStore>(
        m, "Config",
        "The farm configuration store holding every key of the farm's key table with its default.\n"
        "cfg['nKXServerPort'] reads a value of the key's type (bool, str, int or float); assigning\n"
        "stores it as the farm does: numbers clamped into the key's range (read the value back to see\n"
        "it), texts of at most 200 characters. Unknown keys raise KeyError; keys are exact, letter case\n"
        "included. Iterating gives the keys in table order.")
        .def(py::init<>())
        .def("__getitem__", [](const ConfigStore& c,
                               kxpy::TextArg key) { return value(*c.store, slotOrKeyError(*c.store, key)); })
        .def("__setitem__",
             [](ConfigStore& c, kxpy::TextArg key, kxpy::ValueArg v) {
                 setValue(*c.store, slotOrKeyError(*c.store, key), v, false);
             })
        .def(
            "set",
            [](ConfigStore& c, kxpy::TextArg key, kxpy::ValueArg v, bool truncate) {
                const _kxgCfg_param& p = slotOrKeyError(*c.store, key);
                setValue(*c.store, p, v, truncate);
                return value(*c.store, p);
            },
            py::arg("key"), py::arg("value"), py::kw_only(), py::arg("truncate") = false,
            "Stores a value as cfg[key] = value does and returns the value as stored (clamped). With\n"
            "truncate=True a text longer than 200 characters is cut as the farm cuts it.")
        .def(
            "get",
            [](const ConfigStore& c, kxpy::TextArg key, py::object fallback) {
                const _kxgCfg_param* p = slotOf(*c.store, key);
                return p ? value(*c.store, *p) : fallback;
            },
            py::arg("key"), py::arg("default") = py::none(), "cfg[key], or `default` for an unknown key.")
        .def("__contains__",
             [](const ConfigStore& c, py::object key) { return slotOf(*c.store, key) != nullptr; })
        .def("__len__", [](const ConfigStore& c) { return int(c.store->count); })
        .def(
            "keys",
            [](const ConfigStore& c) {
                py::list out;
                for (int i = 0; i < c.store->count; ++i)
                    out.append(str(c.store->params[i].name.toQString()));
                return out;
            },
            "The keys in table order.")
        .def(
            "items",
            [](const ConfigStore& c) {
                py::list out;
                for (int i = 0; i < c.store->count; ++i) {
                    const _kxgCfg_param& p = c.store->params[i];
                    out.append(py::make_tuple(str(p.name.toQString()), value(*c.store, p)));
                }
                return out;
            },
            "(key, value) pairs in table order.")
        .def("__iter__", [](py::object self) { return py::iter(self.attr("keys")()); })
        .def(
            "info",
            [keyType](const ConfigStore& c, kxpy::TextArg key) {
                const _kxgCfg_param& p = slotOrKeyError(*c.store, key);
                // The default is the key table's, whatever this store holds now.
                const _kxgCfg_param* registered = slotOf(keyTable(), key);
                return keyType(str(p.name.toQString()), str(p.group.toQString()),
                               _kxgCfg_param::typeName(p.type),
                               registered ? value(keyTable(), *registered) : py::none(), bound(p, p.valueMin),
                               bound(p, p.valueMax));
            },
            py::arg("key"), "The key's group, type, default and range, as a ConfigKey.")
        .def(
            "scrambled",
            [](const ConfigStore& c, kxpy::TextArg key) {
                const _kxgCfg_param& p = slotOrKeyError(*c.store, key);
                return str(c.store->getS_decoded(p.name.data()).toQString());
            },
            py::arg("key"),
            "The text a scrambled setting holds (a password stored as 'kxCA...'); a text that is not a\n"
            "well-formed scrambled text comes back as stored.")
        .def(
            "set_scrambled",
            [](ConfigStore& c, kxpy::TextArg key, kxpy::TextArg text) {
                const _kxgCfg_param& p = slotOrKeyError(*c.store, key);
                if (p.type != _kxgCfg_param::typeString)
                    throw py::type_error("key: " + p.name.toQString().toStdString() + " holds no text");
                _kxString8_allSize<200> plain;
                kxpy::setText(plain, kxpy::text(text, "text"), "text");
                if (plain.len() > 124)
                    throw py::value_error(
                        "text: at most 124 Latin-1 characters can be scrambled; the farm would "
                        "store a longer text in clear");
                c.store->setS_coded(p.name, plain);
            },
            py::arg("key"), py::arg("text"),
            "Stores `text` scrambled, as the farm stores passwords (at most 124 Latin-1 characters; a text\n"
            "that begins with 'kxCA' is taken as scrambled already and stored as it is).")
        .def("__copy__", [](const ConfigStore& c) { return ConfigStore(c); })
        .def(
            "__deepcopy__", [](const ConfigStore& c, py::object) { return ConfigStore(c); }, py::arg("memo"))
        .def("__eq__",
             [](const ConfigStore& a, const ConfigStore& b) {
                 if (a.store->count != b.store->count)
                     return false;
                 for (int i = 0; i < a.store->count; ++i)
                     if (std::memcmp(&a.store->params[i], &b.store->params[i], sizeof(_kxgCfg_param)) != 0)
                         return false;
                 return true;
             })
        .def("__eq__", [](const ConfigStore&, py::object) { return false; })
        .def("__repr__", [](const ConfigStore& c) {
            return str(QStringLiteral("<Config of %1 keys>").arg(c.store->count));
        });
    m.attr("Config").attr("__hash__") = py::none();

    // The scrambled form works on a setting's stored text: a store of one text setting does it.
    m.def(
        "scramble",
        [](kxpy::TextArg text) {
            _kxString8_allSize<200> plain;
            kxpy::setText(plain, kxpy::text(text, "text"), "text");
            if (plain.len() > 124)
                throw py::value_error("text: at most 124 Latin-1 characters can be scrambled; the farm would "
                                      "store a longer text in clear");
            if (plain.toQString().startsWith(QLatin1String("kxCA")))
                throw py::value_error("text: begins with 'kxCA', so the farm takes it as scrambled already");
            auto store = std::make_unique<_kxgConfig>();
            store->addInit("", "Scrambled", "text");
            store->setS_coded("text", plain);
            return str(store->getS("text").toQString());
        },
        py::arg("text"),
        "The farm's scrambled form of a configuration text ('kxCA' and letters, 49 to 199 characters):\n"
        "at most 124 Latin-1 characters, not beginning with 'kxCA'.");
    m.def(
        "unscramble",
        [](kxpy::TextArg text, bool truncate) {
            // Scrambled texts are Latin-1 letters: the store reads the low byte of each character.
            const _kxString<200> stored(
                QString::fromLatin1(kxpy::fitLatin1(kxpy::text(text, "text"), "text", 200, truncate)));
            auto store = std::make_unique<_kxgConfig>();
            store->addInit("", "Scrambled", "text");
            store->setS("text", stored);
            return str(store->getS_decoded("text").toQString());
        },
        py::arg("text"), py::kw_only(), py::arg("truncate") = false,
        "The text a scrambled configuration text ('kxCA...') holds; a text that is not a well-formed\n"
        "scrambled text, or whose checksum does not match, comes back as it is.");

    const py::object vmIdType = kxpy::namedTuple(
        m, "VmId", "number id name", "The parts of a virtual-machine identifier text: number, id and name.");
    m.def(
        "join_vm_id",
        [](kxpy::IntArg number, kxpy::TextArg name, kxpy::IntArg id, bool truncate) {
            const auto n = static_cast<signed char>(kxpy::integer(number, "number", -128, 127));
            const unsigned long long i = kxpy::unsignedInteger(id, "id", ULLONG_MAX);
            _kxString8_allSize<75> vmName;
            kxpy::setText(vmName, kxpy::text(name, "name"), "name", truncate);
            return str(vmStore().joinVM_ID(i, n, vmName).toQString());
        },
        py::arg("number"), py::arg("name"), py::arg("id") = 0, py::kw_only(), py::arg("truncate") = false,
        "The text form of a virtual machine: '03_vm', or with an id '03_00000000000000ff_vm' (number\n"
        "-128 to 127 as its byte in two hexadecimal digits, id in 16; name at most 75 Latin-1 characters).");
    m.def(
        "split_vm_id",
        [vmIdType](kxpy::TextArg text, bool truncate) {
            _kxString8_allSize<200> t;
            kxpy::setText(t, kxpy::text(text, "text"), "text", truncate);
            unsigned long long id = 0;
            signed char number = 0;
            _kxString8_allSize<75> name;
            vmStore().splitVM_ID(t, &id, &number, &name);
            return vmIdType(int(number), id, str(name.toQString()));
        },
        py::arg("text"), py::kw_only(), py::arg("truncate") = false,
        "The parts of a virtual-machine identifier text as join_vm_id writes it (numbers hexadecimal):\n"
        "VmId(number, id, name); a text without that form gives VmId(0, 0, '').");

    const py::object mountType = kxpy::namedTuple(
        m, "MountPoints", "share nfs",
        "The automatic mount points of a path: read as a Windows share (\\\\server\\share) and as an NFS\n"
        "export (server:/export); None where the rule gives none (it would cover the root or a system\n"
        "folder).");
    m.def(
        "unc_mount_points",
        [mountType](kxpy::PathArg path, bool truncate) {
            _kxString8_allSize<100> p;
            kxpy::setText(p, kxpy::path(path, "path"), "path", truncate);
            _kxgUNC_map map;
            const QString share = map.calcAutoMountPointUNC(p).toQString();
            const QString nfs = map.calcAutoMountPointNFS(p).toQString();
            return mountType(share.isEmpty() ? py::object(py::none()) : py::object(str(share)),
                             nfs.isEmpty() ? py::object(py::none()) : py::object(str(nfs)));
        },
        py::arg("path"), py::kw_only(), py::arg("truncate") = false,
        "The farm's automatic mount points of `path` (at most 100 Latin-1 characters), one folder per\n"
        "server and share under the root: "
        "unc_mount_points('\\\\\\\\server.local\\\\projects\\\\2019\\\\share')\n"
        ".share == '/server/share'; unc_mount_points('server:/export/data/share').nfs == '/server/share'.");

    m.def(
        "has_flag",
        [](kxpy::ArgvArg argv, kxpy::TextArg flag) {
            const _kxString8_allSize<100> f = flagText(flag);
            CommandLine line(argv);
            return line.application.hasCommandlineFlag(f);
        },
        py::arg("argv"), py::arg("flag"),
        "Whether the command line `argv` (as sys.argv: the program first, never compared) holds `flag`,\n"
        "compared whole without regard to letter case, after XML character references are decoded.");
    m.def(
        "flag_value",
        [](kxpy::ArgvArg argv, kxpy::TextArg flag) -> py::object {
            const _kxString8_allSize<100> f = flagText(flag);
            CommandLine line(argv);
            _kxString8_allSize<100> value;
            if (!line.application.hasCommandlineFlagValue(f, value))
                return py::none();
            return str(value.toQString());
        },
        py::arg("argv"), py::arg("flag"),
        "The argument after `flag` in `argv`, as given (cut to 100 bytes, read as Latin-1); None when\n"
        "the flag is missing or the last argument.");
}
