// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

// Output image names: a submitter hands over the output path in whatever form the scene holds it (a
// full path, a name with "#" marks, a printf form, a sample frame number, a movie file), and the job
// keeps it as folder, file name up to the frame number, frame digits and extension. The split is a
// member of the basics records (splitImageFileInto_DirFileExt); the algorithm behind it is here, in the
// three capacities the records use.

#include "runtime/kxexport.h"

#include "kxstring.h"

#include <QLatin1String>

namespace kxJ {

/// Extensions of outputs that hold every frame in one file, upper case with the dot. ".VRSCENE" is
/// one only when the name carried no frame marks and no extension was given.
constexpr QLatin1String movieExtensions[] = {
    QLatin1String(".AVI"), QLatin1String(".MOV"),  QLatin1String(".WMV"),  QLatin1String(".DV"),
    QLatin1String(".FLV"), QLatin1String(".MPEG"), QLatin1String(".MPG"),  QLatin1String(".MP4"),
    QLatin1String(".MPE"), QLatin1String(".OMF"),  QLatin1String(".OMFI"), QLatin1String(".MXF"),
    QLatin1String(".WMA"), QLatin1String(".WAV"),  QLatin1String(".MP3"),  QLatin1String(".VOB"),
    QLatin1String(".ASF"), QLatin1String(".SWF"),  QLatin1String(".SWFT"), QLatin1String(".SVG"),
};
constexpr QLatin1String movieExtensionSceneFile(".VRSCENE");

/// Variables that keep a folder level inside the file name part when a full path is split: the
/// folder ends at the last separator before the first of them.
constexpr QLatin1String folderPartVariables[] = {
    QLatin1String("<Layer>"),   QLatin1String("<Channel"),   QLatin1String("<Camera>"),
    QLatin1String("userpass>"), QLatin1String("<removeVar"), QLatin1String("<ValueVar"),
};

/// Splits an output image path into folder `dir`, file name up to the frame number `fileName`, frame
/// digits `padding` and extension `ext`, and tells in `singleFile` whether the job writes one file
/// (a movie). `acceptPrintfPadding` enables the printf form ("%04d"). The scene's folder (up to three
/// levels above it) and the project folder `databaseDir` at the start of the folder become
/// "<SceneFolder>" and "<Database>" variables. Results are cut to the capacities: folder D, file name F,
/// extension 25 code units; a padding above 255 is 255.
template <int D, int F>
KX_EXPORT void template_splitImageFileInto_DirFileExt(const bool& acceptPrintfPadding, _kxString<F>& fileName,
                                                      _kxString<D>& dir, _kxString<25>& ext, bool& singleFile,
                                                      unsigned char& padding, _kxString<D> databaseDir,
                                                      _kxString<D> scenePath);

extern template KX_EXPORT void
template_splitImageFileInto_DirFileExt<500, 250>(const bool&, _kxString<250>&, _kxString<500>&,
                                                 _kxString<25>&, bool&, unsigned char&, _kxString<500>,
                                                 _kxString<500>);
extern template KX_EXPORT void
template_splitImageFileInto_DirFileExt<500, 500>(const bool&, _kxString<500>&, _kxString<500>&,
                                                 _kxString<25>&, bool&, unsigned char&, _kxString<500>,
                                                 _kxString<500>);
extern template KX_EXPORT void
template_splitImageFileInto_DirFileExt<1000, 1000>(const bool&, _kxString<1000>&, _kxString<1000>&,
                                                   _kxString<25>&, bool&, unsigned char&, _kxString<1000>,
                                                   _kxString<1000>);

} // namespace kxJ
