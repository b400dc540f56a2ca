// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxvarvallist.h"

void _varValList::add(const QString& name, const QString& value) {
    names.append(name);
    values.append(value);
}

void _varValList::clear() {
    names.clear();
    values.clear();
    flag = false;
}

QString _varValList::name(int i) const {
    return (i >= 0 && i < count()) ? names.at(i) : QString();
}

QString _varValList::value(int i) const {
    return (i >= 0 && i < count()) ? values.at(i) : QString();
}

int _varValList::indexOf(const QString& name) const {
    for (int i = 0; i < count(); ++i)
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString _varValList::valueOf(const QString& name) const {
    return value(indexOf(name));
}
