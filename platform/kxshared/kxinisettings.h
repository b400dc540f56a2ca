// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QString>
#include <QStringList>

#include <memory>

/// Keeps texts that many entries of a settings file share (the same executable on every client) once
/// in memory: `addnReplaceData` hands back the text it already holds for an equal value, so every
/// copy the settings object caches shares one buffer. The text itself never changes, so the file stays
/// readable by every reader and a value read back is always the full text.
class KXSHARED_EXPORT _commonDataReduction {
public:
    /// Texts kept at most; further new texts pass through unshared.
    static constexpr int capacity = 4096;

    _commonDataReduction();
    ~_commonDataReduction();
    _commonDataReduction(const _commonDataReduction&) = delete;
    _commonDataReduction& operator=(const _commonDataReduction&) = delete;

    /// Adds `data` to the common texts, or replaces it by the equal text already held. Returns true
    /// when `data` now shares the buffer of an earlier equal text.
    bool addnReplaceData(QString& data);
    /// Distinct texts held.
    int count() const;
    /// Forgets every text.
    void clear();

private:
    struct Table;
    std::unique_ptr<Table> table;
};

/// An ini-style settings file: groups of keys with text values. Group and key names may hold any
/// character: what the ini form cannot hold as it is (line feeds, ";", "=", "[") is escaped, so no
/// value can start a key or group of its own. Group names are compared with letter case; use
/// `findNameSpelling` to find the spelling a group already has. "/" in a group or key name opens a
/// sub-group. Changes are kept in memory and written to the file, atomically, by `sync`, by
/// `endGroup(true)` and when the object is destroyed.
class KXSHARED_EXPORT _iniSettings {
public:
    /// Opens `fileName`; a missing file is created on the first write.
    explicit _iniSettings(const QString& fileName);
    /// Writes pending changes.
    ~_iniSettings();
    _iniSettings(const _iniSettings&) = delete;
    _iniSettings& operator=(const _iniSettings&) = delete;

    QString fileName() const;

    /// Enters group `name` below the current one. The empty name enters no group.
    void beginGroup(const QString& name);
    /// Leaves the innermost group; with `syncNow` the pending changes are written to the file too.
    void endGroup(bool syncNow);
    /// The current group path, "" at the top.
    QString group() const;

    /// The value of `key` in the current group as text; a null text when the key is missing. A
    /// hand-edited value holding unquoted "," reads as a list; it is joined back with ", ".
    QString value(const QString& key) const;
    void setValue(const QString& key, const QString& value);
    /// Removes `key` and, when it names a sub-group, the whole sub-group. The empty key removes every
    /// key of the current group.
    void remove(const QString& key);
    bool contains(const QString& key) const;

    /// Keys and sub-groups directly in the current group, and every key below it.
    QStringList childKeys() const;
    QStringList childGroups() const;
    QStringList allKeys() const;

    /// The spelling of the sub-group of the current group whose name equals `name` ignoring letter
    /// case, as it already is in the file; `name` itself when there is none.
    QString findNameSpelling(const QString& name);

    /// Writes pending changes to the file. False when the file could not be written or read.
    bool sync();

    /// The common texts of this settings object (see `_commonDataReduction`).
    _commonDataReduction& commonDataReduction();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
