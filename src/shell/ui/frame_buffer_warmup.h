#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

class QWidget;

namespace velq::ui {

// Maps a top-level window's frame buffer into memory on a worker thread while the window is
// still being built. The first paint writes every pixel of the buffer; the memory behind it is
// only mapped page by page as it is first written, and on a frame buffer of a few megabytes that
// costs the painting thread more than the painting itself. Done here, the mapping runs beside
// the rest of the start-up instead, and the first paint finds the memory in place. Where the
// system can map the whole buffer with one request, the worker asks for that first.
//
// The window must not be shown, painted, resized or given other window flags until Finish() has
// returned (or the object is gone): until then the worker writes into the buffer. What it
// writes is of no account, since the first paint covers the whole window.
class FrameBufferWarmUp {
public:
    // Creates the window's native window and frame buffer at the window's current size and
    // starts the worker. Nothing is started for a window that is already shown, nor when the
    // frame buffer is not plain memory of this process (the first paint then maps it as ever).
    explicit FrameBufferWarmUp(QWidget& window);
    ~FrameBufferWarmUp();

    FrameBufferWarmUp(const FrameBufferWarmUp&) = delete;
    FrameBufferWarmUp& operator=(const FrameBufferWarmUp&) = delete;

    // Stops the worker where it is and waits for it; the pages it did not reach are mapped by
    // the first paint as usual.
    void Finish();
    // Waits for the worker to go through the whole buffer (for tests).
    void WaitUntilDone();

    bool started() const { return bytes_ > 0; }
    std::size_t bytes() const { return bytes_; }
    // Pages written so far; safe to read after Finish() or WaitUntilDone().
    std::size_t pages_written() const { return pages_written_.load(std::memory_order_relaxed); }

private:
    void Run(unsigned char* bits);

    std::size_t bytes_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> pages_written_{0};
    std::thread worker_;
};

}  // namespace velq::ui
