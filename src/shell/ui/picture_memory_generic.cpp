// Pictures in ordinary memory (systems without large pages the program can ask for).
#include "shell/ui/picture_memory.h"

namespace velq::ui {

QImage NewPictureImage(QSize size, QImage::Format format) {
    return size.isEmpty() ? QImage() : QImage(size, format);
}

}  // namespace velq::ui
