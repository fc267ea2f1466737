#include "image_writers.h"

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>

namespace velq::skin {

namespace {

// libpng reports errors by a jump back here; nothing in this function needs destroying on the
// way, so the jump is safe.
bool WritePngRows(FILE* file, png_uint_32 width, png_uint_32 height, int colour_type,
                  png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, colour_type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Rows stored unfiltered and strongly compressed: the flat artwork stays as small as with
    // adaptive filtering and decodes nearly twice as fast, and the window's start waits for
    // its largest pictures to decode.
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string WritePng(const std::filesystem::path& path, const Canvas& canvas) {
    std::vector<uint8_t> pixels = canvas.ToRgba8();
    const auto width = static_cast<std::size_t>(canvas.Width());
    const auto height = static_cast<std::size_t>(canvas.Height());
    // A picture without a see-through pixel is stored without its alpha channel: a quarter
    // less to inflate when the program starts, and the program then knows it opaque without
    // looking at every pixel.
    bool opaque = true;
    for (std::size_t i = 3; i < pixels.size() && opaque; i += 4) {
        opaque = pixels[i] == 255;
    }
    std::size_t channels = 4;
    if (opaque) {
        channels = 3;
        for (std::size_t from = 0, to = 0; from < pixels.size(); from += 4, to += 3) {
            pixels[to] = pixels[from];
            pixels[to + 1] = pixels[from + 1];
            pixels[to + 2] = pixels[from + 2];
        }
        pixels.resize(width * height * 3);
    }
    std::vector<png_bytep> rows(height);
    for (std::size_t y = 0; y < height; ++y) {
        rows[y] = pixels.data() + y * width * channels;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        return "cannot create " + path.string();
    }
    if (!WritePngRows(file.get(), static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                      opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, rows.data()) ||
        std::fflush(file.get()) != 0) {
        return "cannot write " + path.string();
    }
    return {};
}

std::string WriteGif(const std::filesystem::path& path, int width, int height,
                     const std::vector<SpinnerFrame>& frames) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr) {
        return "cannot create " + path.string() + ": " + GifErrorString(error);
    }
    auto fail = [&](const char* what) {
        const int code = gif->Error;
        EGifCloseFile(gif, nullptr);
        return "cannot write " + path.string() + " (" + what + "): " + GifErrorString(code);
    };
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i) {
        SpinnerColour(i, colours[i].Red, colours[i].Green, colours[i].Blue);
    }
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifSetGifVersion(gif, true);
    const int screen = EGifPutScreenDesc(gif, width, height, 8, 0, map);
    GifFreeMapObject(map);
    if (screen == GIF_ERROR) {
        return fail("screen");
    }
    // Loop forever.
    unsigned char netscape[] = "NETSCAPE2.0";
    unsigned char loop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 11, netscape) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 3, loop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif) == GIF_ERROR) {
        return fail("loop extension");
    }
    for (const SpinnerFrame& frame : frames) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.DelayTime = frame.delay_cs;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        const std::size_t len = EGifGCBToExtension(&gcb, ext);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) ==
                GIF_ERROR ||
            EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_ERROR) {
            return fail("frame");
        }
        for (int y = 0; y < height; ++y) {
            auto* row = const_cast<GifByteType*>(frame.intensity.data() +
                                                 static_cast<std::size_t>(y * width));
            if (EGifPutLine(gif, row, width) == GIF_ERROR) {
                return fail("pixels");
            }
        }
    }
    if (EGifCloseFile(gif, &error) == GIF_ERROR) {
        return "cannot finish " + path.string() + ": " + GifErrorString(error);
    }
    return {};
}

}  // namespace velq::skin
