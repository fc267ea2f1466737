#include "image_writers.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <memory>

namespace velq::skin {

std::string WritePng(const std::filesystem::path& path, const Canvas& canvas) {
    const std::vector<uint8_t> rgba = canvas.ToRgba8();
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(canvas.Width());
    image.height = static_cast<png_uint_32>(canvas.Height());
    image.format = PNG_FORMAT_RGBA;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        return "cannot create " + path.string();
    }
    if (png_image_write_to_stdio(&image, file.get(), 0, rgba.data(), 0, nullptr) == 0) {
        std::string error = "cannot write " + path.string() + ": " + image.message;
        png_image_free(&image);
        return error;
    }
    if (std::fflush(file.get()) != 0) {
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
