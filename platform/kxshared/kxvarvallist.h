// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QList>
#include <QString>

/// An ordered list of (name, value) text pairs: job variables and custom data travel in it. Pairs keep
/// the order they were added in; a name may appear more than once, and lookups take the first match.
class KXSHARED_EXPORT _varValList {
public:
    _varValList() = default;

    /// Appends one pair.
    void add(const QString& name, const QString& value);
    void clear();

    int count() const { return int(names.size()); }
    bool isEmpty() const { return names.isEmpty(); }
    /// Name or value of pair `i`; empty for an index outside 0..count()-1.
    QString name(int i) const;
    QString value(int i) const;

    /// Index of the first pair whose name equals `name` ignoring letter case, or -1.
    int indexOf(const QString& name) const;
    bool contains(const QString& name) const { return indexOf(name) >= 0; }
    /// Value of the first pair whose name equals `name` ignoring letter case; empty when none does.
    QString valueOf(const QString& name) const;

    const QList<QString>& allNames() const { return names; }
    const QList<QString>& allValues() const { return values; }

    /// A mark for the list's user; cleared by the constructor and by clear().
    bool flag = false;

private:
    QList<QString> names;
    QList<QString> values;
};
