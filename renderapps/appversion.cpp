// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "renderapps/appversion.h"

#include "renderapps/renderapprecords.h"

#include "kxpath.h"

#include <QStringList>

#include <climits>

namespace kxRA {

namespace {

constexpr Qt::CaseSensitivity anyCase = Qt::CaseInsensitive;
constexpr Qt::CaseSensitivity exactCase = Qt::CaseSensitive;

// A placeholder for each word that holds digits without being a version, in the order they are taken
// out. They go back in the same order but for "64 Bit" before "64 bit"; the order is kept as it is.
struct Protected {
    const char* word;
    const char* placeholder;
};
constexpr Protected protectedWords[] = {
    {"x86", "?ttb?"},    {"x64", "?sf?"},   {"64bit", "?xb?"},     {"64Bit", "?xB?"},     {"64 bit", "?xbf?"},
    {"64 Bit", "?xBf?"}, {"_64", "?xbu?"},  {"32bit", "?xa?"},     {"x32", "?tt?"},       {"3dsmax", "?mx?"},
    {" 4D", "?cin?"},    {"a4D", "?cinb?"}, {"/3ds Max", "?max?"}, {"/win64", "?winsf?"},
};
constexpr int restoreOrder[] = {0, 1, 2, 3, 5, 4, 6, 7, 8, 9, 10, 11, 12, 13};
static_assert(sizeof(restoreOrder) / sizeof(int) == sizeof(protectedWords) / sizeof(Protected));

struct Replacement {
    const char* from;
    const char* to;
};

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

template <size_t N>
void replaceAll(QString& text, const Replacement (&list)[N], Qt::CaseSensitivity cs) {
    for (const Replacement& r : list)
        text.replace(latin1(r.from), latin1(r.to), cs);
}

template <size_t N>
void removeAll(QString& text, const char* const (&list)[N], Qt::CaseSensitivity cs) {
    for (const char* word : list)
        text.remove(latin1(word), cs);
}

template <size_t N>
bool containsAny(const QString& text, const char* const (&list)[N], Qt::CaseSensitivity cs) {
    for (const char* word : list)
        if (text.contains(latin1(word), cs))
            return true;
    return false;
}

// Softimage names its releases " R1" to " R7"; they are no part of the version.
void removeSoftimageReleases(QString& text) {
    static const char* const releases[] = {" R1", " R2", " R3", " R4", " R5", " R6", " R7",
                                           "R1",  "R2",  "R3",  "R4",  "R5",  "R6",  "R7"};
    removeAll(text, releases, anyCase);
}

// Any Unicode number character counts as a digit of a version.
bool isDigit(QChar c) {
    return c.isNumber();
}

qsizetype leadingDigits(const QString& text) {
    qsizetype n = 0;
    while (n < text.size() && isDigit(text.at(n)))
        ++n;
    return n;
}

} // namespace

QString replaceVersionWithAsterisk(QString path) {
    for (const Protected& p : protectedWords)
        path.replace(latin1(p.word), latin1(p.placeholder), exactCase);

    static const Replacement servicePacks[] = {{"_beta", "*"}, {"_qfe", "*"}, {".qfe", "*"}, {"_sp", "*"},
                                               {"-sp", "*"},   {" sp", "*"},  {"/sp", "/*"}};
    replaceAll(path, servicePacks, anyCase);

    if (path.contains(QLatin1String("Luxology"), anyCase) && path.contains(QLatin1String("modo"), anyCase))
        path.replace(QLatin1String("sp"), QLatin1String("."), anyCase);

    if (path.contains(QLatin1String("/Softimage"), exactCase))
        removeSoftimageReleases(path);

    static const Replacement subscriptions[] = {
        {" Subscription Advantage Pack", "*"},
        {"_Subscription_Advantage_Pack", "*"},
        {".SAP", "*"},
        {"_SAP", "*"},
        {" SAP", "*"},
        {" CC", "*"},
        {" CS", "*"},
    };
    replaceAll(path, subscriptions, anyCase);

    for (QChar& c : path)
        if (c.isDigit())
            c = QLatin1Char('*');

    path.replace(QLatin1String("*v*"), QLatin1String("*"), exactCase);
    for (int pass = 0; pass < 2; ++pass)
        path.replace(QLatin1String("*.*"), QLatin1String("*"), exactCase);
    static const Replacement runs[] = {
        {"******", "*"}, {"*****", "*"}, {"****", "*"}, {"***", "*"}, {"**", "*"}};
    replaceAll(path, runs, exactCase);

    for (int i : restoreOrder)
        path.replace(latin1(protectedWords[i].placeholder), latin1(protectedWords[i].word), exactCase);
    return path;
}

bool kxGetAppVersionFromPath_sub(QString text, int& major, QString& minor, QString& minorFull,
                                 const bool& addFive, const bool& packedDigits, const bool& dropFirstDot) {
    major = 0;
    minor = QStringLiteral("0");
    minorFull = QStringLiteral("0");

    // The last digit, not looking at the first two characters (a drive letter's neighbourhood).
    qsizetype last = -1;
    for (qsizetype i = text.size() - 1; i >= 2; --i) {
        if (isDigit(text.at(i))) {
            last = i;
            break;
        }
    }
    if (last < 0)
        return false;
    text.truncate(last + 1);
    text = text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);

    if (packedDigits) {
        // Versions written as digits without dots ("36001" for 3.60.01).
        qsizetype first = 0;
        while (!isDigit(text.at(first)))
            ++first;
        text = text.mid(first);
        const qsizetype firstUnderscore = text.indexOf(QLatin1Char('_'));
        const qsizetype lastUnderscore = text.lastIndexOf(QLatin1Char('_'));
        if (firstUnderscore >= 0 && lastUnderscore > firstUnderscore)
            text.remove(firstUnderscore, lastUnderscore - firstUnderscore);
        text.replace(QLatin1Char('_'), QLatin1Char('.'));
        const qsizetype dot = text.indexOf(QLatin1Char('.'));
        const qsizetype width = dot >= 0 ? dot : text.size();
        if (width >= 6)
            text.insert(2, QLatin1Char('.'));
        else if (width >= 4)
            text.insert(1, QLatin1Char('.'));
    }

    // The trailing run of digits, single non-digits between them allowed; the text ends in a digit.
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (isDigit(text.at(i)))
            continue;
        if (i > 0 && isDigit(text.at(i - 1)))
            continue; // a separator
        text = text.mid(i + 1);
        break;
    }
    text.remove(QLatin1Char('v'));

    const qsizetype majorDigits = leadingDigits(text);
    bool ok = false;
    const int value = text.left(majorDigits).toInt(&ok, 10);
    if (!ok || (addFive && value > INT_MAX - 5)) {
        major = 1;
        return false;
    }
    major = addFive ? value + 5 : value;

    if (text.size() - majorDigits >= 2) {
        QString rest = text.mid(majorDigits + 1);
        qsizetype end = 0;
        while (end < rest.size() && (isDigit(rest.at(end)) || rest.at(end) == QLatin1Char('.') ||
                                     rest.at(end) == QLatin1Char('_')))
            ++end;
        minorFull = rest.left(end);
        if (dropFirstDot) {
            const qsizetype dot = rest.indexOf(QLatin1Char('.'));
            if (dot >= 0)
                rest.remove(dot, 1);
        }
        minor = rest.left(leadingDigits(rest));
    }
    return true;
}

bool kxGetAppVersionFromPath(QString path, int& major, QString& minor, QString& minorFull) {
    static const char* const houdiniWords[] = {"Houdini", "hython", "/mantra", "/hfs/", "opt/hfs"};
    static const char* const arnoldWords[] = {"Arnold", "/kick"};

    const bool softimage = path.contains(QLatin1String("/Softimage"), exactCase);
    const bool afterEffects = path.contains(QLatin1String("After Effects"), anyCase);
    const bool addFive = afterEffects && path.contains(QLatin1String("CS"), anyCase);
    const bool afterEffectsCC = afterEffects && path.contains(QLatin1String("CC"), exactCase) &&
                                !path.contains(QLatin1String("CC 20"), exactCase);
    const bool nuke =
        path.contains(QLatin1String("/Nuke"), exactCase) && path.contains(QLatin1Char('v'), exactCase);
    const bool houdini = containsAny(path, houdiniWords, anyCase);
    const bool arnold = containsAny(path, arnoldWords, anyCase);
    const bool redshift = path.contains(QLatin1String("Redshift"), anyCase);
    const bool vray = path.contains(QLatin1String("vray.exe"), anyCase);
    const bool packedDigits = vray;
    const bool dropFirstDot = arnold || houdini || redshift || vray;

    // After Effects CC before the yearly names is version 12 whatever its path says.
    if (afterEffectsCC) {
        major = 12;
        return true;
    }

    static const char* const platformWords[] = {"win64", "64bit", "64 bit", "32bit", "32 bit",
                                                " 4D",   "a4D",   "x64",    "x32",   "_64",
                                                "_32",   "x86",   "(x86)",  "3dsmax"};
    removeAll(path, platformWords, anyCase);

    static const Replacement betas[] = {
        {"Rhino4.exe", "Rhino.exe"}, {"_beta", ".00"}, {" beta", ".00"}, {"/sp", "."}};
    replaceAll(path, betas, anyCase);
    static const Replacement fixes[] = {{"_qfe", "."}, {".qfe", "."}};
    replaceAll(path, fixes, exactCase);

    static const Replacement subscriptions[] = {
        {" Subscription Advantage Pack SP1", ".6"},
        {" Subscription Advantage Pack SP2", ".7"},
        {" Subscription Advantage Pack", ".5"},
        {".SAP", ".5"},
        {"_SAP", ".5"},
        {" SAP", ".5"},
        {"_Subscription_Advantage_Pack_SP1", ".6"},
        {"_Subscription_Advantage_Pack_SP2", ".7"},
        {"_Subscription_Advantage_Pack", ".5"},
    };
    replaceAll(path, subscriptions, anyCase);

    if (softimage)
        removeSoftimageReleases(path);

    static const Replacement servicePacks[] = {{"_SP", "."}, {"-SP", "."}, {" SP", "."}, {"SP", "."}};
    replaceAll(path, servicePacks, anyCase);

    // Nuke names its releases "v<n>" in the folder; the file name only repeats the major version.
    if (nuke)
        return kxGetAppVersionFromPath_sub(kxGetDirName(path, QLatin1Char('/')), major, minor, minorFull,
                                           addFive, packedDigits, dropFirstDot);

    const bool found =
        kxGetAppVersionFromPath_sub(path, major, minor, minorFull, addFive, packedDigits, dropFirstDot);

    // The folder often names the version more fully than the executable.
    int folderMajor = 0;
    QString folderMinor;
    QString folderMinorFull;
    if (kxGetAppVersionFromPath_sub(kxGetDirName(path, QLatin1Char('/')), folderMajor, folderMinor,
                                    folderMinorFull, addFive, packedDigits, dropFirstDot) &&
        folderMajor == major) {
        const bool longer = folderMinorFull.size() > minorFull.size();
        const bool fileHasNone = minorFull == QLatin1String("0") && folderMinorFull != QLatin1String("0") &&
                                 !folderMinorFull.isEmpty();
        if (longer || fileHasNone) {
            minor = folderMinor;
            minorFull = folderMinorFull;
        }
    }
    return found;
}

bool kxGetAppVersionFromPath(QString path, int& major, QString& minor) {
    QString minorFull;
    return kxGetAppVersionFromPath(std::move(path), major, minor, minorFull);
}

void _RenderAppBasic::setVersionBoth(QString version) {
    // A major version that is no number, or does not fit 16 bits, reads as 0.
    const auto toMajor = [](const QString& text) -> qint16 {
        bool ok = false;
        const short value = text.toShort(&ok, 10);
        return ok ? value : 0;
    };
    version.remove(QLatin1Char('v'));
    const qsizetype dot = version.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        appVersionMajor = toMajor(version);
        return;
    }
    appVersionMajor = toMajor(version.left(dot));
    QString rest = version.mid(dot + 1);
    if (rest.contains(QLatin1Char('.')))
        rest = rest.split(QLatin1Char('.')).mid(0, 3).join(QLatin1Char('.'));
    rest.truncate(5);
    while (rest.size() < 5)
        rest += QLatin1Char('0');
    appVersionMinor.set(rest);
}

_kxString8_allSize<15> _RenderAppBasic::getVersionMinor(const bool& withoutDots) const {
    if (!withoutDots)
        return appVersionMinor;
    QByteArray digits = appVersionMinor.toByteArray();
    digits.replace('.', QByteArray());
    while (digits.size() < 5)
        digits += '0';
    _kxString8_allSize<15> minor;
    minor.set(digits);
    return minor;
}

int _RenderAppBasic::getVersionMinorAsNumber() const {
    QByteArray digits = appVersionMinor.toByteArray();
    digits.replace('.', QByteArray());
    qsizetype n = 0;
    while (n < digits.size() && digits.at(n) >= '0' && digits.at(n) <= '9')
        ++n;
    bool ok = false;
    const int value = digits.left(n).toInt(&ok, 10);
    return ok ? value : 0;
}

bool _ClientRenderApp::appAlreadyExists(const int& ownIndex, const short& count, const _ClientRenderApp* list,
                                        QString* pattern) const {
    const QString own = replaceVersionWithAsterisk(executable.toQString());
    if (pattern != nullptr)
        *pattern = own;
    if (list == nullptr || count < 1 || executable.isEmpty())
        return false;
    for (int i = 0; i < count; ++i) {
        if (i == ownIndex)
            continue;
        const _ClientRenderApp& other = list[i];
        if (!other.name.isEqual(name))
            continue;
        if (other.executable.isEqual(executable) ||
            replaceVersionWithAsterisk(other.executable.toQString()) == own)
            return true;
    }
    return false;
}

} // namespace kxRA
