// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobfilter.h"

#include "jobrecords.h"

#include "kxpath.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace kxJ {

bool _jobFilterKeyOrder::operator()(const _kxString8_allSize<25>& a, const _kxString8_allSize<25>& b) const {
    const int n = std::min(a.len(), b.len());
    const int c = std::memcmp(a.data(), b.data(), size_t(n));
    return c != 0 ? c < 0 : a.len() < b.len();
}

_jobFilter_Contains::_jobFilter_Contains()
    : excludeCount(0), excludeKeepCase(true), excludeCount8(0), includeCount(0), includeKeepCase(true),
      includeCount8(0), invert(false), isEmpty(true), matchAll(true) {}

namespace {

int clampedCount(qint32 count) {
    constexpr qint32 most = _jobFilter_Contains::termsMax;
    return count < 0 ? 0 : (count > most ? most : count);
}

/// Appends `term` to one list and its 8-bit twin; an empty term or a full list takes nothing.
void addTerm(const QString& term, bool keepCase, _kxString<50>* terms, qint32& count,
             _kxString8_allSize<50>* terms8, qint32& count8) {
    const int n = clampedCount(count);
    if (term.isEmpty() || n >= _jobFilter_Contains::termsMax)
        return;
    terms[n].set(keepCase ? term : term.toLower());
    count = n + 1;
    const int n8 = clampedCount(count8);
    if (n8 < _jobFilter_Contains::termsMax) {
        terms8[n8].set(term.toUpper());
        count8 = n8 + 1;
    }
}

} // namespace

int _jobFilter_Contains::excludeCountClamped() const {
    return clampedCount(excludeCount);
}

int _jobFilter_Contains::includeCountClamped() const {
    return clampedCount(includeCount);
}

void _jobFilter_Contains::createFromString(const QString& text, const bool& invertTerms,
                                           const bool& parseTerms) {
    filterText = text;
    invert = invertTerms;
    isEmpty = text.isEmpty();
    matchAll = true;
    for (int i = 0; i < termsMax; ++i) {
        excludeTerms[i].clear();
        excludeTerms8[i].clear();
        includeTerms[i].clear();
        includeTerms8[i].clear();
    }
    excludeCount = excludeCount8 = includeCount = includeCount8 = 0;
    keywordValues.clear();
    if (isEmpty)
        return;

    QString upper = text;
    if (upper.startsWith(QLatin1String("OR "), Qt::CaseInsensitive)) {
        matchAll = false;
        upper.remove(0, 3);
    }
    upper = upper.toUpper();

    auto include = [this](const QString& term) {
        addTerm(term, includeKeepCase, includeTerms, includeCount, includeTerms8, includeCount8);
    };
    auto exclude = [this](const QString& term) {
        addTerm(term, excludeKeepCase, excludeTerms, excludeCount, excludeTerms8, excludeCount8);
    };
    // A plain term, and a term written with "-" in front.
    auto plain = [&](const QString& term) { invert ? exclude(term) : include(term); };
    auto minus = [&](const QString& term) { invert ? include(term) : exclude(term); };

    if (!parseTerms) {
        plain(upper.left(termLengthMax));
        return;
    }
    upper.replace(QLatin1Char(' '), QLatin1Char(';'));
    const QChar separator = upper.contains(QLatin1Char(';')) ? QLatin1Char(';') : QLatin1Char(',');
    const QStringList parts = upper.split(separator, Qt::SkipEmptyParts);
    for (qsizetype p = 0; p < parts.size() && p < termsMax; ++p) {
        const QString part = parts.at(p).trimmed().left(termLengthMax);
        if (part.startsWith(QLatin1Char('-'))) {
            minus(part.mid(1));
            continue;
        }
        const qsizetype equals = part.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            plain(part);
            continue;
        }
        const QString key = part.left(equals).trimmed();
        const QString value = part.mid(equals + 1).trimmed();
        if (key.size() > keyLengthMax) {
            // Cut, the key would name another field; dropped, the filter would pass every job.
            plain(part);
        } else if (!key.isEmpty() && !value.isEmpty()) {
            keywordValues[_kxString8_allSize<keyLengthMax>(key)] = _kxString<termLengthMax>(value);
        }
    }
}

namespace {

/// True when `field`, upper-cased, equals `value`.
template <int N>
bool equalsUpperCased(const _kxString<N>& field, const _kxString<50>& value) {
    const int n = field.len();
    if (n != value.len())
        return false;
    for (int i = 0; i < n; ++i)
        if (kxTextDetail::upperUnit(field.text[i]) != value.text[i])
            return false;
    return true;
}

/// True when the scene path, upper-cased, ends with `value` in this system's path form.
bool sceneEndsWith(const _kxString<500>& scene, const _kxString<50>& value) {
    const QString tail = kxConvertPDToOS(value.toQString());
    const int n = scene.len(), m = int(tail.size());
    if (m > n)
        return false;
    for (int i = 0; i < m; ++i)
        if (kxTextDetail::upperUnit(scene.text[n - m + i]) != tail.at(i).unicode())
            return false;
    return true;
}

bool pairMatches(const _JobSubmitter& job, const _kxString8_allSize<25>& key, const _kxString<50>& value) {
    if (key.isEqual("SCENEFILE"))
        return sceneEndsWith(job.sceneName, value);
    if (key.isEqual("CUSTOMSCENE"))
        return equalsUpperCased(job.customScene, value);
    if (key.isEqual("CUSTOMSEQ"))
        return equalsUpperCased(job.customSeq, value);
    if (key.isEqual("CUSTOMSHOT"))
        return equalsUpperCased(job.customShot, value);
    if (key.isEqual("CUSTOMVERSION"))
        return equalsUpperCased(job.customVersion, value);
    if (key.isEqual("CUSTOMJOBTYPE"))
        return equalsUpperCased(job.customJobType, value);
    if (key.isEqual("USER"))
        return equalsUpperCased(job.userName, value);
    if (key.isEqual("RENDERER"))
        return equalsUpperCased(job.renderer, value);
    if (key.isEqual("DIVISION"))
        return equalsUpperCased(job.division, value);
    constexpr int customLength = 6;
    if (key.len() > customLength && std::memcmp(key.data(), "CUSTOM", customLength) == 0) {
        const QString name = QString::fromLatin1(key.data() + customLength, key.len() - customLength);
        const QString entry = job.customData_Str(name);
        return !entry.isEmpty() && entry.compare(value.toQString(), Qt::CaseInsensitive) == 0;
    }
    return false;
}

/// The texts of one job that terms are searched in. The identifier text and the custom data block are
/// built once per job, on first use.
class JobTexts {
public:
    explicit JobTexts(const _JobSubmitter& job) : job(job) {}

    bool contains(const _kxString<50>& term, const _kxString8_allSize<50>* term8) {
        if (!idRead) {
            id.set(job.IDstr());
            idRead = true;
        }
        if (id.containsUpperCaseInput(term) || job.renderer.containsUpperCaseInput(term) ||
            job.customVersion.containsUpperCaseInput(term) || job.customSeq.containsUpperCaseInput(term) ||
            job.customShot.containsUpperCaseInput(term) || job.customScene.containsUpperCaseInput(term) ||
            job.customJobType.containsUpperCaseInput(term) || job.division.containsUpperCaseInput(term) ||
            job.camera.containsUpperCaseInput(term) || job.layer.containsUpperCaseInput(term) ||
            job.channel.containsUpperCaseInput(term) || job.userName.containsUpperCaseInput(term) ||
            job.sceneName.containsUpperCaseInput(term) || job.imageDir.containsUpperCaseInput(term) ||
            job.imageFileName.containsUpperCaseInput(term) || job.imageExtension.containsUpperCaseInput(term))
            return true;
        if (!term8)
            return false;
        if (!customRead) {
            // Only the used part is copied: the block's capacity is 5000 bytes, its values are few.
            const _kxString8_allSize<5000> block = job.customData_allValuesAsBlock_Uppercase();
            custom.set(block.data(), block.len());
            customRead = true;
        }
        const std::string_view block(custom.data(), size_t(custom.len()));
        return block.find(std::string_view(term8->data(), size_t(term8->len()))) != std::string_view::npos;
    }

private:
    const _JobSubmitter& job;
    bool idRead = false;
    bool customRead = false;
    _kxString<25> id;
    _kxString8_allSize<5000> custom;
};

} // namespace

bool _JobSubmitter::filterJobList_Fits_Contains(const _jobFilter_Contains& filter) const {
    if (filter.isEmpty)
        return true;
    JobTexts texts(*this);
    const int includes = filter.includeCountClamped();
    const int includes8 = clampedCount(filter.includeCount8);
    if (includes > 0 || !filter.keywordValues.empty()) {
        bool matched = false;
        for (const auto& [key, value] : filter.keywordValues) {
            const bool fits = pairMatches(*this, key, value);
            if (filter.matchAll && !fits)
                return false;
            matched = matched || fits;
            if (fits && !filter.matchAll)
                break;
        }
        // Without matchAll, one matching pair is enough and the terms are not looked at.
        for (int i = 0; i < includes && (filter.matchAll || !matched); ++i) {
            const bool fits =
                texts.contains(filter.includeTerms[i], i < includes8 ? &filter.includeTerms8[i] : nullptr);
            if (filter.matchAll && !fits)
                return false;
            matched = matched || fits;
        }
        if (!matched)
            return false;
    }
    const int excludes = filter.excludeCountClamped();
    const int excludes8 = clampedCount(filter.excludeCount8);
    for (int i = 0; i < excludes; ++i)
        if (texts.contains(filter.excludeTerms[i], i < excludes8 ? &filter.excludeTerms8[i] : nullptr))
            return false;
    return true;
}

} // namespace kxJ
