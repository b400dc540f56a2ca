// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobvariables.h"

namespace kxJ {

namespace {

// How many leading characters of a path are not folder levels: a UNC prefix (two characters when
// the second is "/"), then one leading "/", then a drive prefix of letter, ":" and "/".
qsizetype rootPrefixLength(const QString& path) {
    qsizetype at = 0;
    if (path.size() >= 2 && path.at(1) == QLatin1Char('/'))
        at = 2;
    if (at < path.size() && path.at(at) == QLatin1Char('/'))
        ++at;
    if (at + 2 < path.size() && path.at(at).isLetter() && path.at(at + 1) == QLatin1Char(':') &&
        path.at(at + 2) == QLatin1Char('/'))
        at += 3;
    return at;
}

} // namespace

QString getDirectoryUntilNo(QString path, int level) {
    if (path.size() <= 4)
        return path;
    if (level < 1)
        level = 1;
    qsizetype at = rootPrefixLength(path) - 1;
    for (int i = 0; i < level; ++i) {
        at = path.indexOf(QLatin1Char('/'), at + 1);
        if (at < 0)
            return path;
    }
    return path.left(at + 1);
}

} // namespace kxJ
