// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobid.h"

#include "jobconstants.h"

#include <cstring>

namespace kxJ {

namespace {

// Digits are taken modulo the table's current length; a table not yet built (a call during another
// library's static initialisation) gives no letter rather than a division by zero.
QChar letterOf(const QString& table, quint32 n) {
    const auto size = quint32(table.size());
    return size == 0 ? QChar() : table.at(qsizetype(n % size));
}

// The three main letters show T = idValue / 10000 in base 36, the highest digit wrapping.
void appendMainLetters(QString& out, quint32 t) {
    out += letterOf(ID_letters, t / 1296);
    out += letterOf(ID_letters, t / 36);
    out += letterOf(ID_letters, t);
}

void appendFamilyLetters(QString& out, quint8 preID) {
    if (preID == 0)
        return;
    const quint32 i = quint32(preID) - 1;
    const quint32 q = i / 24;
    if (q != 0)
        out += letterOf(ID_letters_small, q);
    out += letterOf(ID_letters_small, i % 24);
}

QString shortText(quint32 t, quint8 preID) {
    QString out;
    out.reserve(7);
    out += QLatin1Char('{');
    appendMainLetters(out, t);
    if (preID == 0)
        out += QLatin1Char(' ');
    else
        appendFamilyLetters(out, preID);
    out += QLatin1Char('}');
    return out;
}

} // namespace

_IDDecomp _IDDecomp::fromID(quint64 id) {
    _IDDecomp d;
    static_assert(sizeof d == sizeof id);
    std::memcpy(&d, &id, sizeof d);
    return d;
}

quint64 _IDDecomp::toID() const {
    quint64 id;
    std::memcpy(&id, this, sizeof id);
    return id;
}

QString _IDDecomp::str() const {
    return shortText(idValue / 10000, preID);
}

QString _IDDecomp::strFull() const {
    QString out;
    out.reserve(10);
    appendMainLetters(out, idValue / 10000);
    appendFamilyLetters(out, preID);
    out += QLatin1Char('_');
    const quint32 f = (idValue % 10000) / 7;
    out += letterOf(ID_letters, f / 36);
    out += letterOf(ID_letters, f);
    out += letterOf(ID_letters, idByte2);
    out += letterOf(ID_letters, idByte1);
    return out;
}

_IDShort _IDShort::fromIDDecomp(const _IDDecomp& d) {
    _IDShort s;
    s.preID = d.preID;
    const quint32 x = d.idValue / 10000;
    s.idMid = quint16(x % 65536);
    s.idTop = quint8(x / 65536);
    return s;
}

_IDShort _IDShort::fromID(quint64 id) {
    return fromIDDecomp(_IDDecomp::fromID(id));
}

_IDShort _IDShort::fromInt32(quint32 v) {
    _IDShort s;
    s.preID = quint8(v & 0xFF);
    s.idMid = quint16((v >> 8) & 0xFFFF);
    s.idTop = quint8(v >> 24);
    return s;
}

quint32 _IDShort::int32() const {
    return (quint32(idTop) << 24) + (quint32(idMid) << 8) + preID;
}

// The short form stands for the identifier whose main number is X * 10000; that number is rebuilt in
// 32 bits, as the identifier holds it, so a short form made from a real identifier shows that
// identifier's text and any other 32-bit value shows the text of the identifier it names.
QString _IDShort::str() const {
    _IDDecomp d = _IDDecomp::fromID(0);
    d.preID = preID;
    d.idValue = (quint32(idTop) * 65536u + idMid) * 10000u;
    return d.str();
}

QString ID2str(quint64 id) {
    return _IDDecomp::fromID(id).str();
}

QString ID2strFull(quint64 id) {
    return _IDDecomp::fromID(id).strFull();
}

quint64 IDmain(quint64 id) {
    _IDDecomp d = _IDDecomp::fromID(id);
    d.preID = 0;
    return d.toID();
}

quint8 IDpre(quint64 id) {
    return _IDDecomp::fromID(id).preID;
}

} // namespace kxJ
