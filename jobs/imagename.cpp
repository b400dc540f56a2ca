// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "imagename.h"

#include "jobrecords.h"
#include "kxfilename.h"
#include "kxpath.h"

namespace kxJ {

namespace {

/// From index 2 on, every run of `sep` becomes one; a leading UNC pair stays.
void collapseDoubled(QString& text, QChar sep) {
    const QString pair(2, sep);
    qsizetype at = text.indexOf(pair, 2);
    while (at >= 0) {
        text.remove(at, 1);
        at = text.indexOf(pair, at);
    }
}

/// The digits between "%" and "d" of a printf form: 0 when they are missing or not all digits, at
/// most 255 (the padding is 8 bits wide and must not wrap).
unsigned char printfWidth(QStringView digits) {
    int width = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        width = width * 10 + (c.unicode() - u'0');
        if (width > 255)
            width = 255;
    }
    return static_cast<unsigned char>(width);
}

bool isMovieExtension(const QString& upperExtension) {
    for (const QLatin1String& movie : movieExtensions)
        if (upperExtension == movie)
            return true;
    return false;
}

/// A channel's file name that names no folder of its own: it is taken inside the job's output folder.
bool isRelativeChannelName(const QString& name) {
    if (name.size() < 2)
        return true;
    const QChar first = name.at(0);
    if (first == QLatin1Char('<') || first == QLatin1Char('\\') || first == QLatin1Char('/'))
        return false;
    return name.at(1) != QLatin1Char(':');
}

} // namespace

template <int D, int F>
void template_splitImageFileInto_DirFileExt(const bool& acceptPrintfPadding, _kxString<F>& fileName,
                                            _kxString<D>& dir, _kxString<25>& ext, bool& singleFile,
                                            unsigned char& padding, _kxString<D> databaseDir,
                                            _kxString<D> scenePath) {
    QString name = fileName.toQString();
    QString folder = dir.toQString();
    QString extension = ext.toQString();
    QString database = databaseDir.toQString();
    QString scene = scenePath.toQString();

    // 1. The separator the name is written with; the other one is turned into it.
    const qsizetype backslash = name.indexOf(QLatin1Char('\\'));
    const qsizetype slash = name.indexOf(QLatin1Char('/'));
    const bool windows = backslash >= 0 && (slash < 0 || backslash < slash);
    const QChar sep = windows ? QLatin1Char('\\') : QLatin1Char('/');
    const QChar other = windows ? QLatin1Char('/') : QLatin1Char('\\');
    if (backslash >= 0 && slash >= 0)
        name.replace(other, sep);
    folder.replace(other, sep);
    scene.replace(other, sep);
    database.replace(other, sep);

    // 2, 3. Doubled separators, then "." and ".." steps.
    name.replace(QLatin1String("\\\\\\\\"), QLatin1String("\\\\"));
    name.replace(QLatin1String("////"), QLatin1String("//"));
    collapseDoubled(name, QLatin1Char('\\'));
    collapseDoubled(name, QLatin1Char('/'));
    name = kxPathResolve(name).left(F);

    // 4. The folder of a full path; a level written with a variable stays in the name.
    if (folder.isEmpty() && name.contains(sep)) {
        qsizetype firstVariable = -1;
        for (const QLatin1String& variable : folderPartVariables) {
            const qsizetype at = name.indexOf(variable, 0, Qt::CaseInsensitive);
            if (at >= 0 && (firstVariable < 0 || at < firstVariable))
                firstVariable = at;
        }
        qsizetype end = -1;
        if (firstVariable < 0)
            end = name.lastIndexOf(sep);
        else if (firstVariable > 0)
            end = name.lastIndexOf(sep, firstVariable - 1);
        if (end >= 0) {
            folder = name.left(end + 1).left(D);
            name.remove(0, end + 1);
        }
    }

    // 5. "C:out" is "C:" + sep + "out".
    if (folder.size() > 3 && folder.at(1) == QLatin1Char(':') && folder.at(2) != sep)
        folder.insert(2, sep);

    // 6. Extension, padding and single file.
    const QString givenName = name;
    const QString givenExtension = extension;
    if (singleFile) {
        if (!extension.isEmpty()) {
            name += extension;
            extension.clear();
        }
    } else {
        bool frameMarks = false;
        if (extension.isEmpty() && !name.endsWith(QLatin1String(".file"), Qt::CaseInsensitive)) {
            const qsizetype lastPercent = name.lastIndexOf(QLatin1Char('%'));
            const qsizetype lastD = name.lastIndexOf(QLatin1Char('d'));
            if (acceptPrintfPadding && lastPercent >= 0 && lastD >= 0 && lastPercent < lastD) {
                frameMarks = true;
                const qsizetype nextD = name.indexOf(QLatin1Char('d'), lastPercent + 1);
                const unsigned char width =
                    printfWidth(QStringView(name).mid(lastPercent + 1, nextD - lastPercent - 1));
                padding = width == 0 ? 1 : width;
                extension = name.mid(nextD + 1);
                extension.remove(QLatin1Char('#'));
                name.truncate(lastPercent);
            } else if (name.contains(QLatin1Char('#'))) {
                frameMarks = true;
                name.replace(QLatin1String("[#"), QLatin1String("#"));
                name.replace(QLatin1String("#]"), QLatin1String("#"));
                const qsizetype first = name.indexOf(QLatin1Char('#'));
                qsizetype run = 0;
                while (first + run < name.size() && name.at(first + run) == QLatin1Char('#'))
                    ++run;
                padding = static_cast<unsigned char>(run > 255 ? 255 : run);
                extension = name.mid(first + run);
                name.truncate(first);
            } else if (name.contains(QLatin1Char('.'))) {
                const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
                extension = name.mid(dot);
                name.truncate(dot);
                while (name.size() > 1 && name.back() >= QLatin1Char('0') && name.back() <= QLatin1Char('9'))
                    name.chop(1);
            }
        }
        const QString upper = extension.toUpper();
        if (isMovieExtension(upper) ||
            (upper == movieExtensionSceneFile && !frameMarks && givenExtension.isEmpty())) {
            name = givenName + givenExtension;
            extension.clear();
            singleFile = true;
        } else if (!extension.isEmpty() && name.endsWith(extension, Qt::CaseInsensitive)) {
            name.chop(extension.size());
        }
    }
    name.truncate(F);
    extension.truncate(_kxString<25>::capacity);

    // 7 to 9. The scene's folder (or one up to three levels above it) and the project folder at the
    // start of the folder become variables, unless the variable would not fit where the text was.
    auto replaceStart = [&folder](qsizetype length, const QString& variable) {
        if (folder.size() - length + variable.size() > D)
            return;
        folder.replace(0, length, variable);
    };
    const QString sceneFolderVariable = QStringLiteral("<SceneFolder>");
    QString sceneFolder;
    if (!scene.isEmpty()) {
        sceneFolder = kxGetDirName(scene, sep);
        if (sceneFolder.size() > 10 && folder.startsWith(sceneFolder))
            replaceStart(sceneFolder.size(), sceneFolderVariable);
    }
    if (!database.isEmpty()) {
        const QString start = database.endsWith(sep) ? database : database + sep;
        if (folder.startsWith(start))
            replaceStart(database.size(), QStringLiteral("<Database>"));
    }
    if (!sceneFolder.isEmpty()) {
        QString candidate = sceneFolder;
        QString variable = sceneFolderVariable;
        for (int level = 1; level <= 3; ++level) {
            candidate = kxGetDirName(candidate, sep);
            variable += QLatin1String("..") + sep;
            if (candidate.size() > 10 && folder.startsWith(candidate)) {
                replaceStart(candidate.size(), variable);
                break;
            }
        }
    }

    // 10. Folder clean-up.
    folder.replace(QLatin1String("\\\\\\\\"), QLatin1String("\\\\"));
    collapseDoubled(folder, QLatin1Char('\\'));
    collapseDoubled(folder, QLatin1Char('/'));
    folder.truncate(D);
    if (!folder.isEmpty() && !folder.endsWith(sep))
        folder += sep;

    fileName.set(name);
    dir.set(folder);
    ext.set(extension);
}

template KX_EXPORT void template_splitImageFileInto_DirFileExt<500, 250>(const bool&, _kxString<250>&,
                                                                         _kxString<500>&, _kxString<25>&,
                                                                         bool&, unsigned char&,
                                                                         _kxString<500>, _kxString<500>);
template KX_EXPORT void template_splitImageFileInto_DirFileExt<500, 500>(const bool&, _kxString<500>&,
                                                                         _kxString<500>&, _kxString<25>&,
                                                                         bool&, unsigned char&,
                                                                         _kxString<500>, _kxString<500>);
template KX_EXPORT void template_splitImageFileInto_DirFileExt<1000, 1000>(const bool&, _kxString<1000>&,
                                                                           _kxString<1000>&, _kxString<25>&,
                                                                           bool&, unsigned char&,
                                                                           _kxString<1000>, _kxString<1000>);

} // namespace kxJ

using namespace kxJ;

namespace {

/// Splits one channel's file name as the main output is split, with copies of the job's single-file
/// flag and padding that are not written back; gives folder plus file name. A relative name is taken
/// inside the job's output folder.
template <int N>
QString splitChannel(const bool& acceptPrintfPadding, QString name, const QString& imageDir,
                     _kxString<25>& extension, bool singleFile, unsigned char padding,
                     const _kxString<N>& databaseDir, const _kxString<N>& scenePath) {
    if (isRelativeChannelName(name))
        name = imageDir + name;
    _kxString<N> fileName(name);
    _kxString<N> folder;
    template_splitImageFileInto_DirFileExt<N, N>(acceptPrintfPadding, fileName, folder, extension, singleFile,
                                                 padding, databaseDir, scenePath);
    return folder.toQString() + fileName.toQString();
}

} // namespace

void _JobBasics::splitImageFileInto_DirFileExt(const bool& acceptPrintfPadding) {
    splitImageFileInto_DirFileExt_Channel(acceptPrintfPadding);
    template_splitImageFileInto_DirFileExt<500, 250>(acceptPrintfPadding, imageFileName, imageDir,
                                                     imageExtension, imageSingleOutputFile, imagePadding,
                                                     sceneDatabaseDir, sceneName);
}

void _JobBasics::splitImageFileInto_DirFileExt_Channel(const bool& acceptPrintfPadding) {
    for (int i = 0; i < channelCountClamped(); ++i) {
        _kxString<25> extension = channelExtension(i);
        const _kxString<500> fileName(splitChannel(acceptPrintfPadding, channelFileName(i).toQString(),
                                                   imageDir.toQString(), extension, imageSingleOutputFile,
                                                   imagePadding, sceneDatabaseDir, sceneName));
        channelSetFileName(i, fileName);
        // A name that no longer fits the buffer stays as it was, and so does its extension: the two
        // belong together.
        if (!channelFileName(i).isEqual(fileName))
            continue;
        // A split that moved the extension into the name (a movie) leaves none; the setter ignores
        // empty texts and would keep the old one ("clip.mov" + ".mov").
        if (extension.isEmpty())
            channelReplacePart(i, true, extension.data(), 0);
        else
            channelSetExtension(i, extension);
    }
}

void _JobBasics_largePath::splitImageFileInto_DirFileExt(const bool& acceptPrintfPadding) {
    splitImageFileInto_DirFileExt_Channel(acceptPrintfPadding);
    template_splitImageFileInto_DirFileExt<1000, 1000>(acceptPrintfPadding, imageFileName, imageDir,
                                                       imageExtension, imageSingleOutputFile, imagePadding,
                                                       sceneDatabaseDir, sceneName);
}

// Slots without a file name are unused and stay empty.
void _JobBasics_largePath::splitImageFileInto_DirFileExt_Channel(const bool& acceptPrintfPadding) {
    for (_JobBasics_largePathChannel& slot : channels)
        if (!slot.fileName.isEmpty())
            slot.fileName.set(splitChannel(acceptPrintfPadding, slot.fileName.toQString(),
                                           imageDir.toQString(), slot.extension, imageSingleOutputFile,
                                           imagePadding, sceneDatabaseDir, sceneName));
}
