#include "shell/skin_gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace velq {
namespace {

// All frames together may not hold more than this many bytes of decoded pixels.
constexpr std::size_t kMaxAnimationBytes = std::size_t{256} * 1024 * 1024;

struct MemoryReader {
    std::span<const uint8_t> bytes;
    std::size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t left = reader->bytes.size() - reader->position;
    const std::size_t count = std::min(left, static_cast<std::size_t>(std::max(wanted, 0)));
    std::memcpy(out, reader->bytes.data() + reader->position, count);
    reader->position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};

std::string GifError(const char* what, int code) {
    const char* text = GifErrorString(code);
    return std::string("GIF: ") + what + (text != nullptr ? std::string(": ") + text : "");
}

// Draws one frame's colour indices onto the screen, clipped to it.
void Paint(const GifImageDesc& desc, const std::vector<GifPixelType>& raster,
           const ColorMapObject& map, int transparent, RgbaImage& screen) {
    for (int y = 0; y < desc.Height; ++y) {
        const int sy = desc.Top + y;
        if (sy < 0 || sy >= screen.height) {
            continue;
        }
        for (int x = 0; x < desc.Width; ++x) {
            const int sx = desc.Left + x;
            if (sx < 0 || sx >= screen.width) {
                continue;
            }
            const int index =
                raster[static_cast<std::size_t>(y) * static_cast<std::size_t>(desc.Width) +
                       static_cast<std::size_t>(x)];
            // Indices beyond the colour table carry no colour; they leave the pixel as is.
            if (index == transparent || index >= map.ColorCount) {
                continue;
            }
            const GifColorType& c = map.Colors[index];
            const std::size_t at =
                (static_cast<std::size_t>(sy) * static_cast<std::size_t>(screen.width) +
                 static_cast<std::size_t>(sx)) *
                4;
            screen.pixels[at] = c.Red;
            screen.pixels[at + 1] = c.Green;
            screen.pixels[at + 2] = c.Blue;
            screen.pixels[at + 3] = 255;
        }
    }
}

void ClearArea(const GifImageDesc& desc, RgbaImage& screen) {
    const int x0 = std::clamp(desc.Left, 0, screen.width);
    const int x1 = std::clamp(desc.Left + desc.Width, 0, screen.width);
    const int y0 = std::clamp(desc.Top, 0, screen.height);
    const int y1 = std::clamp(desc.Top + desc.Height, 0, screen.height);
    for (int y = y0; y < y1; ++y) {
        const std::size_t row =
            (static_cast<std::size_t>(y) * static_cast<std::size_t>(screen.width) +
             static_cast<std::size_t>(x0)) *
            4;
        std::fill_n(screen.pixels.begin() + static_cast<std::ptrdiff_t>(row),
                    static_cast<std::size_t>(x1 - x0) * 4, uint8_t{0});
    }
}

// Reads the colour indices of the current frame, putting interlaced rows in their place.
bool ReadRaster(GifFileType* gif, const GifImageDesc& desc, std::vector<GifPixelType>& raster) {
    const auto width = static_cast<std::size_t>(desc.Width);
    raster.assign(width * static_cast<std::size_t>(desc.Height), 0);
    auto read_row = [&](int row) {
        return DGifGetLine(gif, raster.data() + static_cast<std::size_t>(row) * width,
                           desc.Width) == GIF_OK;
    };
    if (!desc.Interlace) {
        for (int row = 0; row < desc.Height; ++row) {
            if (!read_row(row)) {
                return false;
            }
        }
        return true;
    }
    constexpr int kStart[4] = {0, 4, 2, 1};
    constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = kStart[pass]; row < desc.Height; row += kStep[pass]) {
            if (!read_row(row)) {
                return false;
            }
        }
    }
    return true;
}

GifDecodeResult Failure(std::string error) {
    GifDecodeResult result;
    result.error = std::move(error);
    return result;
}

}  // namespace

GifDecodeResult DecodeGif(std::span<const uint8_t> bytes) {
    std::vector<GifFrame> frames;
    GifDecodeResult result =
        DecodeGifFrames(bytes, [&frames](GifFrame&& frame) { frames.push_back(std::move(frame)); });
    if (result) {
        result.frames = std::move(frames);
    }
    return result;
}

GifDecodeResult DecodeGifFrames(std::span<const uint8_t> bytes,
                                const std::function<void(GifFrame&&)>& take) {
    if (bytes.empty()) {
        return Failure("GIF: no data");
    }
    MemoryReader reader{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, &ReadFromMemory, &error));
    if (!gif) {
        return Failure(GifError("not a GIF file", error));
    }
    const int width = gif->SWidth;
    const int height = gif->SHeight;
    const std::size_t screen_pixels = static_cast<std::size_t>(std::max(width, 0)) *
                                      static_cast<std::size_t>(std::max(height, 0));
    if (width <= 0 || height <= 0 || screen_pixels > kMaxSkinPixels) {
        return Failure("GIF: screen size " + std::to_string(width) + " x " +
                       std::to_string(height) + " is out of range");
    }
    GifDecodeResult result;
    result.width = width;
    result.height = height;
    RgbaImage screen{width, height, std::vector<uint8_t>(screen_pixels * 4, 0)};
    // The frame control that applies to the next frame.
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    std::vector<GifPixelType> raster;
    std::size_t frame_count = 0;
    // Frames are read one by one rather than slurped, so a frame's declared size is checked
    // before anything is allocated for it.
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif.get(), &type) != GIF_OK) {
            return Failure(GifError("damaged data", gif->Error));
        }
        if (type == IMAGE_DESC_RECORD_TYPE) {
            const int number = static_cast<int>(frame_count) + 1;
            if (DGifGetImageDesc(gif.get()) != GIF_OK) {
                return Failure(GifError("damaged frame header", gif->Error));
            }
            const GifImageDesc desc = gif->Image;
            if (desc.Width <= 0 || desc.Height <= 0 ||
                static_cast<std::size_t>(desc.Width) * static_cast<std::size_t>(desc.Height) >
                    kMaxSkinPixels) {
                return Failure("GIF: frame " + std::to_string(number) + " size is out of range");
            }
            if ((frame_count + 1) * screen_pixels * 4 > kMaxAnimationBytes) {
                return Failure("GIF: too many frames for the screen size");
            }
            const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
            if (map == nullptr || map->Colors == nullptr) {
                return Failure("GIF: frame " + std::to_string(number) + " has no colour table");
            }
            if (!ReadRaster(gif.get(), desc, raster)) {
                return Failure(GifError("damaged pixels", gif->Error));
            }
            RgbaImage before;
            if (control.DisposalMode == DISPOSE_PREVIOUS) {
                before = screen;
            }
            Paint(desc, raster, *map, control.TransparentColor, screen);
            take({screen, control.DelayTime * 10});
            ++frame_count;
            if (control.DisposalMode == DISPOSE_BACKGROUND) {
                ClearArea(desc, screen);
            } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
                screen = std::move(before);
            }
            control = {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        } else if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) != GIF_OK) {
                return Failure(GifError("damaged extension", gif->Error));
            }
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
                DGifExtensionToGCB(block[0], block + 1, &control);
            }
            while (block != nullptr) {
                if (DGifGetExtensionNext(gif.get(), &block) != GIF_OK) {
                    return Failure(GifError("damaged extension", gif->Error));
                }
            }
        }
    } while (type != TERMINATE_RECORD_TYPE);
    if (frame_count == 0) {
        return Failure("GIF: no frames");
    }
    result.ok = true;
    return result;
}

}  // namespace velq
