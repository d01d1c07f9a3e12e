#include "app/picture/write_png.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace kafcad {
namespace {

constexpr char kWriteError[] = "error while writing to output stream";

// What the callbacks share with the encoder; plain data, as libpng leaves by longjmp on errors.
struct PngOutput {
    std::FILE* file;
    char message[256];
};

void WriteData(png_structp png, png_bytep data, png_size_t length) {
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    if (std::fwrite(data, 1, length, output->file) != length) {
        png_error(png, kWriteError);
    }
}

void FlushData(png_structp /*png*/) {}

void OnError(png_structp png, png_const_charp message) {
    auto* output = static_cast<PngOutput*>(png_get_error_ptr(png));
    std::strncpy(output->message, message, sizeof output->message - 1);
    output->message[sizeof output->message - 1] = '\0';
    png_longjmp(png, 1);
}

void OnWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Encodes the image through libpng, row by row through row (3 bytes per pixel); false, with the
// message in output, on failure. Nothing here has a destructor: libpng's errors longjmp to the
// setjmp below.
bool Encode(PngOutput& output, const PixelImage& image, png_byte* row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &output, OnError, OnWarning);
    if (png == nullptr) {
        std::strcpy(output.message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::strcpy(output.message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &output, WriteData, FlushData);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_16 white{};
    white.red = white.green = white.blue = 0xff;
    png_set_bKGD(png, info, &white);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        const std::uint32_t* pixels = image.pixels + static_cast<std::ptrdiff_t>(y) * image.stride;
        for (int x = 0; x < image.width; ++x) {
            row[3 * x] = static_cast<png_byte>(pixels[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(pixels[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(pixels[x]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void WritePng(std::FILE* file, const PixelImage& image) {
    std::vector<png_byte> row(3 * static_cast<std::size_t>(image.width));
    PngOutput output{file, {}};
    if (!Encode(output, image, row.data())) {
        throw std::runtime_error(output.message);
    }
}

}  // namespace kafcad
