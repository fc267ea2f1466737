// Large pictures in transparent huge pages, and memory mapped ahead of writing (Linux).
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "shell/ui/picture_memory.h"

namespace velq::ui {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a picture is not worth a huge page of its own.
constexpr std::size_t kLargePicture = std::size_t{512} << 10;

struct Mapping {
    void* start;
    std::size_t length;
};

void Unmap(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->start, mapping->length);
    delete mapping;
}

}  // namespace

QImage NewPictureImage(QSize size, QImage::Format format) {
    if (size.isEmpty()) {
        return {};
    }
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // Rows 32-bit aligned, as QImage keeps them.
    const auto row_bytes = static_cast<std::size_t>((size.width() * depth + 31) / 32 * 4);
    const std::size_t bytes = row_bytes * static_cast<std::size_t>(size.height());
    if (bytes < kLargePicture) {
        return QImage(size, format);
    }
    const std::size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    // Mapped one huge page larger, then trimmed to a huge-page boundary at both ends.
    void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        return QImage(size, format);
    }
    const auto raw_address = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t start = (raw_address + kHugePage - 1) / kHugePage * kHugePage;
    if (start > raw_address) {
        munmap(raw, start - raw_address);
    }
    const std::uintptr_t end = start + length;
    if (raw_address + length + kHugePage > end) {
        munmap(reinterpret_cast<void*>(end), raw_address + length + kHugePage - end);
    }
    void* memory = reinterpret_cast<void*>(start);
    // Only a hint: where huge pages are off, the memory is ordinary.
    static_cast<void>(madvise(memory, length, MADV_HUGEPAGE));
    auto* mapping = new Mapping{memory, length};
    QImage image(static_cast<uchar*>(memory), size.width(), size.height(),
                 static_cast<qsizetype>(row_bytes), format, &Unmap, mapping);
    if (image.isNull()) {
        Unmap(mapping);
        return QImage(size, format);
    }
    return image;
}

void MapForWriting(unsigned char* start, std::size_t bytes) {
    const long page_size = sysconf(_SC_PAGESIZE);
    if (start == nullptr || page_size <= 0) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(page_size);
    // Only the pages wholly inside the range are asked for: those at its ends are shared with
    // memory the caller did not name.
    const auto first = (reinterpret_cast<std::uintptr_t>(start) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(start) + bytes) / page * page;
    if (end > first) {
        // Kernels before 5.14 do not know the request and refuse it; nothing else changes.
        static_cast<void>(
            madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE));
    }
}

}  // namespace velq::ui
