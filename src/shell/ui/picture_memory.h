#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>

namespace velq::ui {

// A new picture of `size` in `format` for the decoders to write into. A large picture (the
// window background, the page pictures: megabytes each) gets memory the system backs with
// large pages where it offers them: written for the first time, it then costs a handful of
// page faults instead of one every 4 KB, which on some machines takes longer than decoding the
// picture. Small pictures, and systems without such pages, get an ordinary picture. A null
// image when the memory cannot be had.
QImage NewPictureImage(QSize size, QImage::Format format);

// Asks the system to give [start, start + bytes) its memory now, all pages at once, ready for
// writing: far cheaper than a fault on every page as it is first written. Only a hint: where
// the system cannot, the pages are mapped on first write as ever. The contents are unchanged.
void MapForWriting(unsigned char* start, std::size_t bytes);

}  // namespace velq::ui
