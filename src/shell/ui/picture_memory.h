#pragma once

#include <QImage>
#include <QSize>

namespace velq::ui {

// A new picture of `size` in `format` for the decoders to write into. A large picture (the
// window background, the page pictures: megabytes each) gets memory the system backs with
// large pages where it offers them: written for the first time, it then costs a handful of
// page faults instead of one every 4 KB, which on some machines takes longer than decoding the
// picture. Small pictures, and systems without such pages, get an ordinary picture. A null
// image when the memory cannot be had.
QImage NewPictureImage(QSize size, QImage::Format format);

}  // namespace velq::ui
