// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// The job filter: a short text typed by a user (words, "-" words to leave out, key=value pairs) in the
// parsed form that _JobSubmitter::filterJobList_Fits_Contains tests jobs against.

#include "runtime/kxexport.h"

#include "kxstring.h"

#include <QString>

#include <map>

namespace kxJ {

/// The order of the filter's keys: byte order, the shorter key first when one begins the other.
struct KX_EXPORT _jobFilterKeyOrder {
    bool operator()(const _kxString8_allSize<25>& a, const _kxString8_allSize<25>& b) const;
};

/// A parsed job filter text. Terms and keyword values are held in upper case (16-bit terms in lower
/// case when their list's keep-case flag is false); a job passes when it contains one term or pair
/// (every one with `matchAll`) and none of the exclude terms.
struct KX_EXPORT _jobFilter_Contains {
    static constexpr int termsMax = 10;
    static constexpr int termLengthMax = 50;
    static constexpr int keyLengthMax = 25;

    _kxString<termLengthMax> excludeTerms[termsMax]; ///< terms the job must not contain
    qint32 excludeCount;                             ///< terms in use, 0 to 10
    bool excludeKeepCase;                            ///< false: 16-bit terms are stored in lower case
    _kxString8_allSize<termLengthMax> excludeTerms8[termsMax]; ///< the same terms, 8-bit, upper case
    qint32 excludeCount8;
    _kxString<termLengthMax> includeTerms[termsMax]; ///< terms of which the job must contain one (or all)
    qint32 includeCount;
    bool includeKeepCase;
    _kxString8_allSize<termLengthMax> includeTerms8[termsMax];
    qint32 includeCount8;
    /// Keyword pairs: "SCENEFILE", "CUSTOMSCENE", "CUSTOMSEQ", "CUSTOMSHOT", "CUSTOMVERSION",
    /// "CUSTOMJOBTYPE", "USER", "RENDERER", "DIVISION", or "CUSTOM" and a custom data entry's name.
    std::map<_kxString8_allSize<keyLengthMax>, _kxString<termLengthMax>, _jobFilterKeyOrder> keywordValues;
    QString filterText; ///< the text handed to createFromString
    bool invert;        ///< plain and "-" terms swap their roles
    bool isEmpty;       ///< the text was empty: every job passes
    bool matchAll;      ///< every term and pair must match; false ("OR " in front): one is enough

    /// An empty filter that passes every job. Both keep-case flags are set, so terms match the
    /// upper-cased job texts letter for letter.
    _jobFilter_Contains();

    /// Rebuilds the filter from `text`. With `parseTerms` false the whole text (cut to 50 characters)
    /// is one term. Otherwise a leading "OR " (any case) lets one match suffice; the text is split at
    /// blanks and ";" (at "," when it holds neither) into at most 10 parts of at most 50 characters:
    /// "-word" excludes, "key=value" is a pair (a key longer than 25 characters makes the part a
    /// plain term), anything else is a term. `invertTerms` swaps plain and "-" terms.
    void createFromString(const QString& text, const bool& invertTerms, const bool& parseTerms);

    /// Terms in use as the test reads them: the stored counts held within 0..10.
    int excludeCountClamped() const;
    int includeCountClamped() const;
};

} // namespace kxJ
