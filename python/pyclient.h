// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The Python side of the configuration, client and render-application bindings: the client record a
// kxfarm.Client owns, and the conversions every binding of these areas shares. Texts go into the
// records' fixed-capacity fields only whole: a text that would be cut, or a character an 8-bit field
// cannot hold, raises ValueError naming the field and its capacity unless the caller asks for the
// farm's own cutting (`truncate=True`).

#include "clients/clientrecords.h"

#include "kxstring.h"

#include <pybind11/pybind11.h>

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <climits>
#include <memory>
#include <string>

namespace kxpyc {

namespace py = pybind11;

/// The Python text of a QString. Texts from records may hold any UTF-16 units, a lone surrogate
/// included; those pass through rather than fail the conversion.
inline py::str str(const QString& s) {
    PyObject* o = PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(s.utf16()), Py_ssize_t(s.size()) * 2,
                                        "surrogatepass", nullptr);
    if (!o)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(o);
}

/// Forward declaration for repr().
inline QString text(py::handle value, const char* arg);

/// The Python repr of a text: quoted and escaped as Python writes it.
inline QString repr(const QString& s) {
    return text(py::repr(str(s)), "repr");
}

/// The type name of a Python value, for messages.
inline std::string typeName(py::handle value) {
    return Py_TYPE(value.ptr())->tp_name;
}

/// A Python str as QString; TypeError naming `arg` for any other value.
inline QString text(py::handle value, const char* arg) {
    if (!PyUnicode_Check(value.ptr()))
        throw py::type_error(std::string(arg) + ": expected str, got " + typeName(value));
    PyObject* bytes = PyUnicode_AsEncodedString(value.ptr(), "utf-16-le", "surrogatepass");
    if (!bytes)
        throw py::error_already_set();
    const py::object owner = py::reinterpret_steal<py::object>(bytes);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(PyBytes_AS_STRING(bytes)),
                              qsizetype(PyBytes_GET_SIZE(bytes) / 2));
}

/// A path given as str, bytes or os.PathLike, as the file system names it; TypeError naming `arg` for
/// any other value.
inline QString path(py::handle value, const char* arg) {
    PyObject* fs = PyOS_FSPath(value.ptr());
    if (!fs) {
        PyErr_Clear();
        throw py::type_error(std::string(arg) + ": expected str or os.PathLike, got " + typeName(value));
    }
    py::object owner = py::reinterpret_steal<py::object>(fs);
    if (PyBytes_Check(fs)) {
        PyObject* decoded = PyUnicode_DecodeFSDefaultAndSize(PyBytes_AS_STRING(fs), PyBytes_GET_SIZE(fs));
        if (!decoded)
            throw py::error_already_set();
        owner = py::reinterpret_steal<py::object>(decoded);
    }
    return text(owner, arg);
}

/// TypeError naming `arg` for a value that is no int (bool counts as no number).
inline void requireInt(py::handle value, const char* arg) {
    if (!PyLong_Check(value.ptr()) || PyBool_Check(value.ptr()))
        throw py::type_error(std::string(arg) + ": expected int, got " + typeName(value));
}

[[noreturn]] inline void outOfRange(const char* arg, const std::string& min, const std::string& max,
                                    py::handle value) {
    throw py::value_error(std::string(arg) + ": must be from " + min + " to " + max + ", got " +
                          py::repr(value).cast<std::string>());
}

/// An int as a signed 64-bit number; `overflow` is 1 or -1 (and the result meaningless) beyond it.
inline long long wideInteger(py::handle value, const char* arg, int& overflow) {
    requireInt(value, arg);
    overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (v == -1 && PyErr_Occurred())
        throw py::error_already_set();
    return v;
}

/// A whole number from `min` to `max`: TypeError for a value that is no int, ValueError naming `arg`
/// and the range for one outside it.
inline long long integer(py::handle value, const char* arg, long long min, long long max) {
    int overflow = 0;
    const long long v = wideInteger(value, arg, overflow);
    if (overflow != 0 || v < min || v > max)
        outOfRange(arg, std::to_string(min), std::to_string(max), value);
    return v;
}

/// A whole number from 0 to `max` held in 64 unsigned bits (job identifiers); errors as integer().
inline unsigned long long unsignedInteger(py::handle value, const char* arg, unsigned long long max) {
    requireInt(value, arg);
    const unsigned long long v = PyLong_AsUnsignedLongLong(value.ptr());
    if (PyErr_Occurred())
        PyErr_Clear();
    else if (v <= max)
        return v;
    outOfRange(arg, "0", std::to_string(max), value);
}

/// A whole number, or a value outside every 64-bit range taken as the nearest end: for settings that
/// clamp whatever they are given.
inline long long clampedInteger(py::handle value, const char* arg) {
    int overflow = 0;
    const long long v = wideInteger(value, arg, overflow);
    return overflow > 0 ? LLONG_MAX : overflow < 0 ? LLONG_MIN : v;
}

/// A number (int or float, not bool) as a double; TypeError naming `arg` otherwise.
inline double number(py::handle value, const char* arg) {
    if (PyBool_Check(value.ptr()) || !(PyLong_Check(value.ptr()) || PyFloat_Check(value.ptr())))
        throw py::type_error(std::string(arg) + ": expected float, got " + typeName(value));
    const double d = PyFloat_AsDouble(value.ptr());
    if (d == -1.0 && PyErr_Occurred())
        throw py::error_already_set();
    return d;
}

/// A bool; TypeError naming `arg` for any other value (0 and 1 included: a switch is said with
/// True or False).
inline bool boolean(py::handle value, const char* arg) {
    if (!PyBool_Check(value.ptr()))
        throw py::type_error(std::string(arg) + ": expected bool, got " + typeName(value));
    return value.ptr() == Py_True;
}

[[noreturn]] inline void tooLong(const char* field, int capacity, qsizetype length, const char* unit) {
    throw py::value_error(std::string(field) + ": at most " + std::to_string(capacity) + " " + unit +
                          " fit the field, got " + std::to_string(length) +
                          " (pass truncate=True to cut it as the farm does)");
}

/// `s` for a UTF-16 field of `capacity` units: whole, or cut to it with `truncate`.
inline QString fitUnits(const QString& s, const char* field, int capacity, bool truncate) {
    if (s.size() <= capacity)
        return s;
    if (!truncate)
        tooLong(field, capacity, s.size(), "characters (UTF-16 units)");
    return s.left(capacity);
}

/// `s` as Latin-1 bytes for an 8-bit field of `capacity` bytes. A character Latin-1 cannot hold, or
/// a text that would be cut, raises ValueError unless `truncate`: then the farm's conversion ('?' for
/// such a character) and its cut.
inline QByteArray fitLatin1(const QString& s, const char* field, int capacity, bool truncate) {
    if (!truncate) {
        for (const QChar c : s)
            if (c.unicode() > 0xFF)
                throw py::value_error(
                    std::string(field) + ": the field holds Latin-1 text only; U+" +
                    QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0').toStdString() +
                    " is not Latin-1 (pass truncate=True for the farm's '?')");
        if (s.size() > capacity)
            tooLong(field, capacity, s.size(), "Latin-1 characters");
    }
    return s.toLatin1().left(capacity);
}

template <int N>
void setText(_kxString<N>& target, const QString& s, const char* field, bool truncate) {
    target.set(fitUnits(s, field, N, truncate));
    target.clearUnused();
}

template <int N>
void setText(_kxString8_allSize<N>& target, const QString& s, const char* field, bool truncate) {
    target.set(fitLatin1(s, field, N, truncate));
    target.clearUnused();
}

/// Raises OSError(code, message, path): the path names the file as the caller gave it.
[[noreturn]] inline void osError(int code, const QString& message, const QString& path) {
    py::object error = py::reinterpret_borrow<py::object>(PyExc_OSError)(code, str(message), str(path));
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
    throw py::error_already_set();
}

/// Raises KeyError with `key` itself as its argument, as a dict does.
[[noreturn]] inline void keyError(py::handle key) {
    PyErr_SetObject(PyExc_KeyError, key.ptr());
    throw py::error_already_set();
}

/// A named tuple class of module kxfarm, for the small records the bindings hand back, added to `m`.
inline py::object namedTuple(py::module_& m, const char* name, const char* fields, const char* doc) {
    py::object type =
        py::module_::import("collections").attr("namedtuple")(name, fields, py::arg("module") = "kxfarm");
    type.attr("__doc__") = doc;
    m.attr(name) = type;
    return type;
}

} // namespace kxpyc

// Arguments the bindings check themselves, to name the argument in their errors: any Python value
// passes to the function, and the signature in help() shows the type the function expects.
#define KXPYC_ARGUMENT(Type, shown)                                                                          \
    namespace kxpyc {                                                                                        \
    struct Type : pybind11::object {                                                                         \
        using pybind11::object::object;                                                                      \
        static bool check_(pybind11::handle) { return true; }                                                \
    };                                                                                                       \
    }                                                                                                        \
    template <>                                                                                              \
    struct pybind11::detail::handle_type_name<kxpyc::Type> {                                                 \
        static constexpr auto name = const_name(shown);                                                      \
    };
KXPYC_ARGUMENT(IntArg, "int")
KXPYC_ARGUMENT(FloatArg, "float")
KXPYC_ARGUMENT(BoolArg, "bool")
KXPYC_ARGUMENT(TextArg, "str")
KXPYC_ARGUMENT(PathArg, "str | os.PathLike")
KXPYC_ARGUMENT(ValueArg, "bool | str | int | float")
KXPYC_ARGUMENT(TextsArg, "Sequence[str]")
KXPYC_ARGUMENT(ArgvArg, "Sequence[str | bytes]")
#undef KXPYC_ARGUMENT

/// A client record owned by its kxfarm.Client: the 1000-thread form the configuration file writer
/// takes, about 200 KB on the heap. Copies are deep.
struct PyClient {
    std::unique_ptr<kxC::_Client_ALL> record;

    /// A cleared record, as the server holds a client it has just added.
    PyClient() : record(std::make_unique<kxC::_Client_ALL>()) { record->clear(); }
    explicit PyClient(const kxC::_Client_ALL& from) : record(std::make_unique<kxC::_Client_ALL>(from)) {}
    PyClient(const PyClient& other) : record(std::make_unique<kxC::_Client_ALL>(*other.record)) {}
    PyClient& operator=(const PyClient& other) {
        *record = *other.record;
        return *this;
    }
};
