// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "kxinisettings.h"

#include <QHash>
#include <QSet>
#include <QSettings>
#include <QVariant>

struct _commonDataReduction::Table {
    QSet<QString> texts;
};

_commonDataReduction::_commonDataReduction() : table(std::make_unique<Table>()) {}

_commonDataReduction::~_commonDataReduction() = default;

bool _commonDataReduction::addnReplaceData(QString& data) {
    const auto found = table->texts.constFind(data);
    if (found != table->texts.constEnd()) {
        data = *found;
        return true;
    }
    if (table->texts.size() < capacity)
        table->texts.insert(data);
    return false;
}

int _commonDataReduction::count() const {
    return int(table->texts.size());
}

void _commonDataReduction::clear() {
    table->texts.clear();
}

struct _iniSettings::Private {
    explicit Private(const QString& fileName) : settings(fileName, QSettings::IniFormat) {}

    /// The group that a write to `key` in the current group lands in at the top level, or "".
    QString topGroupOf(const QString& key) const {
        const QString group = settings.group();
        const QString path = group.isEmpty() ? key : group + QLatin1Char('/') + key;
        const qsizetype slash = path.indexOf(QLatin1Char('/'));
        return slash > 0 ? path.left(slash) : QString();
    }
    /// True when the top-level group `name` holds a key or a sub-group.
    bool topGroupExists(const QString& name) {
        settings.beginGroup(name);
        const bool exists = !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
        settings.endGroup();
        return exists;
    }
    void rebuildSpellings() {
        spellings.clear();
        const QStringList groups = settings.childGroups();
        for (const QString& g : groups)
            spellings.insert(g.toCaseFolded(), g);
        spellingsValid = true;
    }

    QSettings settings;
    _commonDataReduction commonData;
    // Listing the top-level groups walks every key of the file, so the spellings of the top-level groups
    // are kept here: filled from the file once, added to on every write, checked against the file when
    // found, and read again from the file when a found one is gone.
    QHash<QString, QString> spellings; ///< lower-case name -> spelling in the file
    bool spellingsValid = false;
};

_iniSettings::_iniSettings(const QString& fileName) : d(std::make_unique<Private>(fileName)) {}

_iniSettings::~_iniSettings() = default;

QString _iniSettings::fileName() const {
    return d->settings.fileName();
}

void _iniSettings::beginGroup(const QString& name) {
    d->settings.beginGroup(name);
}

void _iniSettings::endGroup(bool syncNow) {
    d->settings.endGroup();
    if (syncNow)
        d->settings.sync();
}

QString _iniSettings::group() const {
    return d->settings.group();
}

QString _iniSettings::value(const QString& key) const {
    const QVariant v = d->settings.value(key);
    if (!v.isValid())
        return QString();
    QString text =
        v.userType() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", ")) : v.toString();
    if (text.isNull())
        text = QStringLiteral("");
    return text;
}

void _iniSettings::setValue(const QString& key, const QString& value) {
    d->settings.setValue(key, value);
    if (d->spellingsValid) {
        const QString top = d->topGroupOf(key);
        if (!top.isEmpty())
            d->spellings.insert(top.toCaseFolded(), d->spellings.value(top.toCaseFolded(), top));
    }
}

void _iniSettings::remove(const QString& key) {
    d->settings.remove(key);
}

bool _iniSettings::contains(const QString& key) const {
    return d->settings.contains(key);
}

QStringList _iniSettings::childKeys() const {
    return d->settings.childKeys();
}

QStringList _iniSettings::childGroups() const {
    return d->settings.childGroups();
}

QStringList _iniSettings::allKeys() const {
    return d->settings.allKeys();
}

QString _iniSettings::findNameSpelling(const QString& name) {
    if (!d->settings.group().isEmpty()) {
        const QStringList groups = d->settings.childGroups();
        for (const QString& g : groups)
            if (g.compare(name, Qt::CaseInsensitive) == 0)
                return g;
        return name;
    }
    if (!d->spellingsValid)
        d->rebuildSpellings();
    const QString lower = name.toCaseFolded();
    auto found = d->spellings.constFind(lower);
    if (found != d->spellings.constEnd() && !d->topGroupExists(found.value())) {
        d->rebuildSpellings(); // removed since: the file's own list decides
        found = d->spellings.constFind(lower);
    }
    return found != d->spellings.constEnd() ? found.value() : name;
}

bool _iniSettings::sync() {
    d->settings.sync();
    return d->settings.status() == QSettings::NoError;
}

_commonDataReduction& _iniSettings::commonDataReduction() {
    return d->commonData;
}
