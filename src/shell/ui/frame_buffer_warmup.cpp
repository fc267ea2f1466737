#include "shell/ui/frame_buffer_warmup.h"

#include <QBackingStore>
#include <QImage>
#include <QWidget>

#include "shell/ui/picture_memory.h"

namespace velq::ui {
namespace {

// Every 4 KiB: the smallest page size of the machines the program runs on. Where pages are
// larger, the extra writes land on pages already mapped and cost next to nothing.
constexpr std::size_t kPageStep = 4096;

}  // namespace

FrameBufferWarmUp::FrameBufferWarmUp(QWidget& window) {
    // A window on screen shows what its buffer holds: that is left alone. (A hidden window is
    // painted whole when it is shown.)
    if (!window.isWindow() || window.isVisible()) {
        return;
    }
    static_cast<void>(window.winId());  // creates the native window and its frame buffer
    QBackingStore* store = window.backingStore();
    if (store == nullptr) {
        return;
    }
    store->resize(window.size());
    // The buffer is only handed out between beginPaint() and endPaint(); an empty region paints
    // nothing. Its memory stays where it is until the window is resized or shown.
    store->beginPaint(QRegion());
    QPaintDevice* device = store->paintDevice();
    unsigned char* bits = nullptr;
    if (device != nullptr && device->devType() == QInternal::Image) {
        auto* image = static_cast<QImage*>(device);
        const uchar* shared = image->constBits();
        // bits() would copy an image that is shared or read-only: then this is not the
        // window's buffer any more and nothing is done.
        if (image->sizeInBytes() > 0 && image->bits() == shared) {
            bits = image->bits();
            bytes_ = static_cast<std::size_t>(image->sizeInBytes());
        }
    }
    store->endPaint();
    if (bits != nullptr) {
        worker_ = std::thread([this, bits] { Run(bits); });
    }
}

FrameBufferWarmUp::~FrameBufferWarmUp() {
    Finish();
}

void FrameBufferWarmUp::Finish() {
    stop_.store(true, std::memory_order_relaxed);
    if (worker_.joinable()) {
        worker_.join();
    }
}

void FrameBufferWarmUp::WaitUntilDone() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void FrameBufferWarmUp::Run(unsigned char* bits) {
    // Where the system can map the whole buffer in one request, that comes first: the writes
    // below, which make sure every page is ready, then cost far less.
    if (!stop_.load(std::memory_order_relaxed)) {
        MapForWriting(bits, bytes_);
    }
    std::size_t written = 0;
    for (std::size_t at = 0; at < bytes_; at += kPageStep) {
        if (stop_.load(std::memory_order_relaxed)) {
            break;
        }
        bits[at] = 0;
        ++written;
        pages_written_.store(written, std::memory_order_relaxed);
    }
    // The buffer need not start on a page boundary: its last byte may lie one page further.
    if (!stop_.load(std::memory_order_relaxed)) {
        bits[bytes_ - 1] = 0;
    }
}

}  // namespace velq::ui
