// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxpy.h"

#include <pybind11/pytypes.h>

#include <climits>
#include <string>

namespace kxpy {

py::str str(const QString& text) {
    const py::handle object =
        pybind11::detail::type_caster<QString>::cast(text, py::return_value_policy::move, py::handle());
    if (!object)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(object);
}

QString repr(const QString& text) {
    return py::repr(str(text)).cast<QString>();
}

std::string typeName(py::handle value) {
    return Py_TYPE(value.ptr())->tp_name;
}

void typeError(const char* arg, const char* expected, py::handle value) {
    throw py::type_error(std::string(arg) + ": expected " + expected + ", got " + typeName(value));
}

QString text(py::handle value, const char* arg) {
    if (!PyUnicode_Check(value.ptr()))
        typeError(arg, "str", value);
    return value.cast<QString>();
}

QString path(py::handle value, const char* arg) {
    PyObject* object = value.ptr();
    // The protocol looks __fspath__ up on the type, as os.fspath does.
    if (!(PyUnicode_Check(object) || PyBytes_Check(object) ||
          PyObject_HasAttrString(reinterpret_cast<PyObject*>(Py_TYPE(object)), "__fspath__")))
        typeError(arg, "str, bytes or os.PathLike", value);
    PyObject* fs = PyOS_FSPath(object);
    if (!fs)
        throw py::error_already_set();
    py::object owner = py::reinterpret_steal<py::object>(fs);
    if (PyBytes_Check(fs)) {
        // Bytes are decoded with the file system's encoding and error handler, as os.fsdecode does.
        PyObject* decoded = PyUnicode_DecodeFSDefaultAndSize(PyBytes_AS_STRING(fs), PyBytes_GET_SIZE(fs));
        if (!decoded)
            throw py::error_already_set();
        owner = py::reinterpret_steal<py::object>(decoded);
    }
    return owner.cast<QString>();
}

void outOfRange(const char* arg, const std::string& min, const std::string& max, py::handle value) {
    throw py::value_error(std::string(arg) + ": must be from " + min + " to " + max + ", got " +
                          py::repr(value).cast<std::string>());
}

void checkRange(long long number, const char* arg, long long min, long long max) {
    if (number < min || number > max)
        outOfRange(arg, std::to_string(min), std::to_string(max), py::int_(number));
}

namespace {

/// TypeError naming `arg` for a value that is no int (bool counts as no number).
void requireInt(py::handle value, const char* arg) {
    if (!PyLong_Check(value.ptr()) || PyBool_Check(value.ptr()))
        typeError(arg, "int", value);
}

/// An int as a signed 64-bit number; `overflow` is 1 or -1 (and the result meaningless) beyond it.
long long wideInteger(py::handle value, const char* arg, int& overflow) {
    requireInt(value, arg);
    overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (v == -1 && PyErr_Occurred())
        throw py::error_already_set();
    return v;
}

} // namespace

long long integer(py::handle value, const char* arg, long long min, long long max) {
    int overflow = 0;
    const long long v = wideInteger(value, arg, overflow);
    if (overflow != 0 || v < min || v > max)
        outOfRange(arg, std::to_string(min), std::to_string(max), value);
    return v;
}

unsigned long long unsignedInteger(py::handle value, const char* arg, unsigned long long max) {
    requireInt(value, arg);
    const unsigned long long v = PyLong_AsUnsignedLongLong(value.ptr());
    if (PyErr_Occurred())
        PyErr_Clear(); // negative, or beyond 64 bits
    else if (v <= max)
        return v;
    outOfRange(arg, "0", std::to_string(max), value);
}

long long clampedInteger(py::handle value, const char* arg) {
    int overflow = 0;
    const long long v = wideInteger(value, arg, overflow);
    return overflow > 0 ? LLONG_MAX : overflow < 0 ? LLONG_MIN : v;
}

double number(py::handle value, const char* arg) {
    if (PyBool_Check(value.ptr()) || !(PyLong_Check(value.ptr()) || PyFloat_Check(value.ptr())))
        typeError(arg, "int or float", value);
    const double d = PyFloat_AsDouble(value.ptr());
    if (d == -1.0 && PyErr_Occurred())
        throw py::error_already_set(); // an int beyond the float range: OverflowError
    return d;
}

bool boolean(py::handle value, const char* arg) {
    if (!PyBool_Check(value.ptr()))
        typeError(arg, "bool", value);
    return value.ptr() == Py_True;
}

namespace {

/// How a call lets a caller have a text that does not fit cut.
enum class Cut { offered, taken, notOffered };

Cut cutOf(bool truncate) {
    return truncate ? Cut::taken : Cut::offered;
}

[[noreturn]] void tooLong(const char* field, int capacity, qsizetype length, const char* unit, Cut cut) {
    std::string message = std::string(field) + ": at most " + std::to_string(capacity) + " " + unit +
                          " fit the field, got " + std::to_string(length);
    if (cut == Cut::offered)
        message += " (pass truncate=True to cut it as the farm does)";
    throw py::value_error(message);
}

QString fitUnits(const QString& text, const char* field, int capacity, Cut cut) {
    if (text.size() <= capacity)
        return text;
    if (cut != Cut::taken)
        tooLong(field, capacity, text.size(), "characters (UTF-16 units)", cut);
    return text.left(capacity);
}

QByteArray fitLatin1(const QString& text, const char* field, int capacity, Cut cut, NonLatin1 nonLatin1) {
    const bool farmConverts = nonLatin1 == NonLatin1::farmQuestionMark;
    if (cut != Cut::taken || !farmConverts)
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].unicode() <= 0xFF)
                continue;
            // A character beyond U+FFFF is named whole, not by the first half of its pair.
            const bool pair =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            const char32_t code = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
            const QString character = text.mid(i, pair ? 2 : 1);
            std::string message =
                std::string(field) + ": character " + std::to_string(i + 1) + " " +
                repr(character).toStdString() + " (U+" +
                QString::number(uint(code), 16).toUpper().rightJustified(4, u'0').toStdString() +
                ") is not Latin-1, and the field holds 8-bit text";
            if (cut == Cut::offered && farmConverts)
                message += " (pass truncate=True for the farm's '?')";
            throw py::value_error(message);
        }
    if (text.size() > capacity && cut != Cut::taken)
        tooLong(field, capacity, text.size(), "Latin-1 characters", cut);
    return text.toLatin1().left(capacity);
}

} // namespace

QString fitUnits(const QString& text, const char* field, int capacity, bool truncate) {
    return fitUnits(text, field, capacity, cutOf(truncate));
}

QString fitUnits(const QString& text, const char* field, int capacity) {
    return fitUnits(text, field, capacity, Cut::notOffered);
}

QByteArray fitLatin1(const QString& text, const char* field, int capacity, bool truncate,
                     NonLatin1 nonLatin1) {
    return fitLatin1(text, field, capacity, cutOf(truncate), nonLatin1);
}

QByteArray fitLatin1(const QString& text, const char* field, int capacity) {
    return fitLatin1(text, field, capacity, Cut::notOffered, NonLatin1::refused);
}

bool fitsLatin1(const QString& text, int capacity) {
    if (text.size() > capacity)
        return false;
    for (const QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

void osError(int code, const QString& message, const QString& path) {
    py::object error = py::reinterpret_borrow<py::object>(PyExc_OSError)(code, str(message), str(path));
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
    throw py::error_already_set();
}

void keyError(py::handle key) {
    PyErr_SetObject(PyExc_KeyError, key.ptr());
    throw py::error_already_set();
}

py::object namedTuple(py::module_& m, const char* name, const char* fields, const char* doc) {
    py::object type =
        py::module_::import("collections").attr("namedtuple")(name, fields, py::arg("module") = "kxfarm");
    type.attr("__doc__") = doc;
    m.attr(name) = type;
    return type;
}

} // namespace kxpy
