// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxpy.h"

#include <pybind11/pytypes.h>

#include <string>

namespace kxpy {

namespace {

std::string pyTypeName(py::handle value) {
    return std::string(Py_TYPE(value.ptr())->tp_name);
}

} // namespace

QString pathFrom(py::handle value, const char* what) {
    if (!(PyUnicode_Check(value.ptr()) || PyBytes_Check(value.ptr()) ||
          PyObject_HasAttrString(value.ptr(), "__fspath__")))
        throw py::type_error(std::string(what) + ": expected str, bytes or os.PathLike, not " +
                             pyTypeName(value));
    // os.fsdecode applies __fspath__ and decodes bytes with the file system's encoding, as open() does.
    const py::object decoded = py::module_::import("os").attr("fsdecode")(value);
    return decoded.cast<QString>();
}

void checkLength(const QString& text, const char* what, int capacity, bool truncate) {
    if (truncate || text.size() <= capacity)
        return;
    throw py::value_error(std::string(what) + ": " + std::to_string(text.size()) +
                          " characters, the field holds at most " + std::to_string(capacity) +
                          " (truncate=True cuts it as the farm does)");
}

void checkLatin1(const QString& text, const char* what, int capacity, bool truncate) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].unicode() > 0xFF) {
            const py::str character = py::cast(text.mid(i, text[i].isHighSurrogate() ? 2 : 1));
            throw py::value_error(std::string(what) + ": character " + std::to_string(i + 1) + " " +
                                  std::string(py::repr(character)) +
                                  " is not Latin-1, and the field holds 8-bit text");
        }
    checkLength(text, what, capacity, truncate);
}

void checkRange(long long number, const char* what, long long lo, long long hi) {
    if (number < lo || number > hi)
        throw py::value_error(std::string(what) + ": " + std::to_string(number) + " is outside " +
                              std::to_string(lo) + ".." + std::to_string(hi));
}

long long intFrom(py::handle value, const char* what, long long lo, long long hi) {
    if (!PyLong_Check(value.ptr()) || PyBool_Check(value.ptr()))
        throw py::type_error(std::string(what) + ": expected int, not " + pyTypeName(value));
    int overflow = 0;
    const long long number = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (overflow != 0)
        throw py::value_error(std::string(what) + ": " + std::string(py::str(value)) + " is outside " +
                              std::to_string(lo) + ".." + std::to_string(hi));
    checkRange(number, what, lo, hi);
    return number;
}

double floatFrom(py::handle value, const char* what) {
    if (PyBool_Check(value.ptr()) || !(PyLong_Check(value.ptr()) || PyFloat_Check(value.ptr())))
        throw py::type_error(std::string(what) + ": expected int or float, not " + pyTypeName(value));
    const double number = PyFloat_AsDouble(value.ptr());
    if (number == -1.0 && PyErr_Occurred())
        throw py::error_already_set();
    return number;
}

bool boolFrom(py::handle value, const char* what) {
    if (!PyBool_Check(value.ptr()))
        throw py::type_error(std::string(what) + ": expected bool, not " + pyTypeName(value));
    return value.ptr() == Py_True;
}

QString textFrom(py::handle value, const char* what) {
    if (!PyUnicode_Check(value.ptr()))
        throw py::type_error(std::string(what) + ": expected str, not " + pyTypeName(value));
    return value.cast<QString>();
}

} // namespace kxpy
