#pragma once
// The program's one picture-loading module, over libjpeg, libpng and giflib (the format is told
// by the file's content, not its name). A decoder failure never ends the process: it becomes an
// Error carrying the decoder's message.
#include <QImage>
#include <QSize>

#include <string>

namespace pictalon {

// Decodes the picture at path. With a non-empty atLeast, a JPEG is decoded at the smallest DCT
// scale whose picture is still at least atLeast in both directions (at most full size); other
// formats are decoded whole. The result is not resampled. Throws Error.
QImage LoadPicture(const std::string& path, QSize atLeast = {});

// The full pixel size, read from the header only. Throws Error.
QSize PictureSize(const std::string& path);

// The picture scaled smoothly to fit box with its proportions kept; a smaller picture is enlarged
// only when enlarge is set. Decodes no more than it shows. Throws Error.
QImage LoadPictureToFit(const std::string& path, QSize box, bool enlarge);

}  // namespace pictalon
