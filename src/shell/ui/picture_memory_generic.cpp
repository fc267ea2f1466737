// Pictures in ordinary memory, mapped as written (systems without large pages the program can
// ask for, nor a way to map memory ahead).
#include "shell/ui/picture_memory.h"

namespace velq::ui {

QImage NewPictureImage(QSize size, QImage::Format format) {
    return size.isEmpty() ? QImage() : QImage(size, format);
}

void MapForWriting(unsigned char* /*start*/, std::size_t /*bytes*/) {}

}  // namespace velq::ui
