// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// What every binding file of the kxfarm module shares: Python's str as QString, paths given as str,
// bytes or os.PathLike, the argument checks that name the argument in their errors, and the checks
// that turn the farm's silent cutting and fall-backs into errors a pipeline developer sees (a text too
// long for its field, a character an 8-bit field cannot hold, a number outside its field), unless the
// caller asks for the farm's own cutting. Each fault has one message form, whichever binding raises it.

#include "kxstring.h"

#include <pybind11/pybind11.h>

#include <QByteArray>
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

// ---- texts --------------------------------------------------------------------------------------------

/// The Python text of a QString, every UTF-16 unit kept (a lone surrogate included).
py::str str(const QString& text);
/// The Python repr of a text: quoted and escaped as Python writes it.
QString repr(const QString& text);
/// The type name of a Python value, for messages.
std::string typeName(py::handle value);

/// Raises TypeError "<arg>: expected <expected>, got <type of value>".
[[noreturn]] void typeError(const char* arg, const char* expected, py::handle value);

/// A str as QString; TypeError naming `arg` for any other value.
QString text(py::handle value, const char* arg);
/// A path given as str, bytes or os.PathLike, decoded as os.fsdecode decodes it; TypeError naming
/// `arg` for any other value. An error raised by the object's own __fspath__ passes through.
QString path(py::handle value, const char* arg);

// ---- numbers ------------------------------------------------------------------------------------------

/// Raises ValueError "<arg>: must be from <min> to <max>, got <repr of value>".
[[noreturn]] void outOfRange(const char* arg, const std::string& min, const std::string& max,
                             py::handle value);
/// outOfRange for a number already converted (an optional offset).
void checkRange(long long number, const char* arg, long long min, long long max);

/// A whole number from `min` to `max`: TypeError naming `arg` for a value that is no int (bool counts as
/// no number), ValueError naming it and the range for one outside it, however large.
long long integer(py::handle value, const char* arg, long long min, long long max);
/// A whole number from 0 to `max` held in 64 unsigned bits (job identifiers); errors as integer().
unsigned long long unsignedInteger(py::handle value, const char* arg, unsigned long long max);
/// A whole number, a value beyond the 64-bit range taken as the nearest end: for settings that clamp
/// whatever they are given. TypeError as integer().
long long clampedInteger(py::handle value, const char* arg);
/// A number (int or float, not bool) as a double; TypeError naming `arg` otherwise.
double number(py::handle value, const char* arg);
/// A bool; TypeError naming `arg` for any other value (0 and 1 included: a switch is said with True or
/// False).
bool boolean(py::handle value, const char* arg);

// ---- texts for fixed-capacity fields ------------------------------------------------------------------
//
// A text goes into a record's field only whole. One that would be cut raises ValueError
// "<field>: at most <N> characters (UTF-16 units) fit the field, got <n>" (or "Latin-1 characters" for
// an 8-bit field), followed by "(pass truncate=True to cut it as the farm does)" where the call takes
// truncate. With truncate=True the farm's own cut is made. The overloads without `truncate` are for
// calls that offer no cutting.

/// What truncate=True does to a character Latin-1 cannot hold: the farm's conversion to '?', or a
/// refusal whatever truncate says (where a '?' would change what the text means, as in a frame set).
enum class NonLatin1 { farmQuestionMark, refused };

/// `text` for a UTF-16 field of `capacity` units: whole, or cut to it with `truncate`.
QString fitUnits(const QString& text, const char* field, int capacity, bool truncate);
QString fitUnits(const QString& text, const char* field, int capacity);

/// `text` as Latin-1 bytes for an 8-bit field of `capacity` bytes. A character Latin-1 cannot hold
/// raises ValueError "<field>: character <i> '<c>' (U+XXXX) is not Latin-1, and the field holds 8-bit
/// text" unless `truncate` and NonLatin1::farmQuestionMark; a text that would be cut, as fitUnits.
QByteArray fitLatin1(const QString& text, const char* field, int capacity, bool truncate,
                     NonLatin1 nonLatin1 = NonLatin1::farmQuestionMark);
QByteArray fitLatin1(const QString& text, const char* field, int capacity);

/// Whether `text` goes into an 8-bit field of `capacity` whole and unchanged: for lookups, where a text
/// no such field can hold names nothing rather than raising.
bool fitsLatin1(const QString& text, int capacity);

/// Stores `text` in a UTF-16 field of a record through fitUnits; the units behind it are cleared.
template <int N>
void setText(_kxString<N>& target, const QString& text, const char* field, bool truncate,
             NonLatin1 = NonLatin1::farmQuestionMark) {
    target.set(fitUnits(text, field, N, truncate));
    target.clearUnused();
}
template <int N>
void setText(_kxString<N>& target, const QString& text, const char* field) {
    target.set(fitUnits(text, field, N));
    target.clearUnused();
}

/// Stores `text` in an 8-bit field of a record through fitLatin1; the bytes behind it are cleared.
template <int N>
void setText(_kxString8_allSize<N>& target, const QString& text, const char* field, bool truncate,
             NonLatin1 nonLatin1 = NonLatin1::farmQuestionMark) {
    target.set(fitLatin1(text, field, N, truncate, nonLatin1));
    target.clearUnused();
}
template <int N>
void setText(_kxString8_allSize<N>& target, const QString& text, const char* field) {
    target.set(fitLatin1(text, field, N));
    target.clearUnused();
}

// ---- errors and records -------------------------------------------------------------------------------

/// Raises OSError(code, message, path): the path names the file as the caller gave it, and the code
/// picks the subclass (FileNotFoundError for ENOENT), as open() raises it.
[[noreturn]] void osError(int code, const QString& message, const QString& path);
/// Raises KeyError with `key` itself as its argument, as a dict does.
[[noreturn]] void keyError(py::handle key);
/// A named tuple class of module kxfarm, for the small records the bindings hand back, added to `m`.
py::object namedTuple(py::module_& m, const char* name, const char* fields, const char* doc);

} // namespace kxpy

// Arguments the bindings check themselves, to name the argument in their errors: any Python value
// passes to the function, and the signature in help() shows the type the function expects.
#define KXPY_ARGUMENT(Type, shown)                                                                           \
    namespace kxpy {                                                                                         \
    struct Type : pybind11::object {                                                                         \
        using pybind11::object::object;                                                                      \
        static bool check_(pybind11::handle) { return true; }                                                \
    };                                                                                                       \
    }                                                                                                        \
    template <>                                                                                              \
    struct pybind11::detail::handle_type_name<kxpy::Type> {                                                  \
        static constexpr auto name = const_name(shown);                                                      \
    };
KXPY_ARGUMENT(IntArg, "int")
KXPY_ARGUMENT(FloatArg, "float")
KXPY_ARGUMENT(BoolArg, "bool")
KXPY_ARGUMENT(TextArg, "str")
KXPY_ARGUMENT(PathArg, "str | bytes | os.PathLike")
KXPY_ARGUMENT(ValueArg, "bool | str | int | float")
KXPY_ARGUMENT(TextsArg, "Sequence[str]")
KXPY_ARGUMENT(ArgvArg, "Sequence[str | bytes]")
#undef KXPY_ARGUMENT
