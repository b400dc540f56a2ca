// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// What every binding file of the kxfarm module shares: Python's str as QString, paths given as str or
// os.PathLike, and the checks that turn the farm's silent cutting and fall-backs into errors a
// pipeline developer sees (a text too long for its field, a character an 8-bit field cannot hold, a
// number outside its field), unless the caller asks for the farm's own cutting.

#include "kxstring.h"

#include <pybind11/pybind11.h>

#include <QString>

#include <string>

namespace pybind11::detail {

/// Python str <-> QString, unit for unit in UTF-16: characters beyond U+FFFF become surrogate pairs and
/// back, and a text the farm cut between the two halves of a pair comes back as it is stored (a lone
/// surrogate, as "surrogatepass" gives it), never as an error.
template <>
struct type_caster<QString> {
    PYBIND11_TYPE_CASTER(QString, const_name("str"));

    bool load(handle src, bool) {
        if (!src || !PyUnicode_Check(src.ptr()))
            return false;
        PyObject* object = src.ptr();
        const Py_ssize_t length = PyUnicode_GET_LENGTH(object);
        // Texts of one or two bytes per character (every text below U+10000, lone surrogates
        // included) are copied unit for unit; only wider ones go through an encoder.
        switch (PyUnicode_KIND(object)) {
        case PyUnicode_1BYTE_KIND:
            value = QString::fromLatin1(static_cast<const char*>(PyUnicode_DATA(object)), qsizetype(length));
            return true;
        case PyUnicode_2BYTE_KIND:
            value = QString(reinterpret_cast<const QChar*>(PyUnicode_DATA(object)), qsizetype(length));
            return true;
        default:
            break;
        }
        PyObject* utf16 = PyUnicode_AsEncodedString(object, "utf-16-le", "surrogatepass");
        if (!utf16) {
            PyErr_Clear();
            return false;
        }
        value = QString(reinterpret_cast<const QChar*>(PyBytes_AS_STRING(utf16)),
                        qsizetype(PyBytes_GET_SIZE(utf16) / 2));
        Py_DECREF(utf16);
        return true;
    }

    static handle cast(const QString& text, return_value_policy, handle) {
        const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
        const qsizetype length = text.size();
        bool surrogates = false;
        for (qsizetype i = 0; i < length && !surrogates; ++i)
            surrogates = units[i] >= 0xD800 && units[i] <= 0xDFFF;
        if (!surrogates)
            return PyUnicode_FromKindAndData(PyUnicode_2BYTE_KIND, units, Py_ssize_t(length));
        int byteOrder = -1; // little-endian, as QString holds its units on this platform
        return PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(units), Py_ssize_t(length) * 2,
                                     "surrogatepass", &byteOrder);
    }
};

} // namespace pybind11::detail

namespace kxpy {

namespace py = pybind11;

/// A file path handed in from Python: str, bytes or any os.PathLike, decoded as os.fsdecode does.
struct PathArg {
    QString path;
};

/// The path of `value` for the argument `what`; TypeError naming it for anything that is not a path.
QString pathFrom(py::handle value, const char* what);

/// ValueError "<what>: <n> characters, the field holds at most <capacity>" unless `truncate`.
void checkLength(const QString& text, const char* what, int capacity, bool truncate);
/// As checkLength, and ValueError naming the first character Latin-1 cannot hold (always: cutting does
/// not make such a text fit an 8-bit field).
void checkLatin1(const QString& text, const char* what, int capacity, bool truncate);

/// Stores `text` in a UTF-16 field of a record after checkLength.
template <int N>
void setText(_kxString<N>& field, const QString& text, const char* what, bool truncate) {
    checkLength(text, what, N, truncate);
    field.set(text);
}

/// Stores `text` in an 8-bit field of a record after checkLatin1.
template <int N>
void setText(_kxString8_allSize<N>& field, const QString& text, const char* what, bool truncate) {
    checkLatin1(text, what, N, truncate);
    field.set(text);
}

/// A whole number for the argument `what` within lo..hi; TypeError for a value that is not an int (a
/// bool included), ValueError naming the range otherwise.
long long intFrom(py::handle value, const char* what, long long lo, long long hi);
/// A number (int or float) for the argument `what`; TypeError otherwise.
double floatFrom(py::handle value, const char* what);
/// A bool for the argument `what`; TypeError for anything else.
bool boolFrom(py::handle value, const char* what);
/// A str for the argument `what`; TypeError for anything else.
QString textFrom(py::handle value, const char* what);

/// Raises ValueError for `number` outside lo..hi, naming the argument `what`.
void checkRange(long long number, const char* what, long long lo, long long hi);

} // namespace kxpy

namespace pybind11::detail {

template <>
struct type_caster<kxpy::PathArg> {
    PYBIND11_TYPE_CASTER(kxpy::PathArg, const_name("str | os.PathLike[str]"));

    bool load(handle src, bool) {
        if (!src || !(PyUnicode_Check(src.ptr()) || PyBytes_Check(src.ptr()) ||
                      PyObject_HasAttrString(src.ptr(), "__fspath__")))
            return false;
        value.path = kxpy::pathFrom(src, "path");
        return true;
    }
    static handle cast(const kxpy::PathArg& arg, return_value_policy policy, handle parent) {
        return type_caster<QString>::cast(arg.path, policy, parent);
    }
};

} // namespace pybind11::detail
