// JPEG through libjpeg, with an error handler that returns instead of ending the program.
#include "image_local.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct ErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1); }
void OnMessage(j_common_ptr) {}  // warnings about damaged data are not printed

}  // namespace

// NOTE: no object with a destructor is created between setjmp and the decode's end; the pixels
// go into the caller's image, which lives outside this frame.
int DecodeJpeg(const unsigned char* data, size_t size, SysImage* image) {
    jpeg_decompress_struct info;
    ErrorJump err;
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnError;
    err.mgr.output_message = OnMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return 0;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, (unsigned long)size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width == 0 || info.image_height == 0 ||
        info.image_width > (JDIMENSION)kMaxImageSide || info.image_height > (JDIMENSION)kMaxImageSide) {
        jpeg_destroy_decompress(&info);
        return 0;
    }
    info.out_color_space = JCS_EXT_BGRA;  // ARGB words on a little-endian machine
    jpeg_start_decompress(&info);
    image->width = (int)info.output_width;
    image->height = (int)info.output_height;
    image->argb.assign((size_t)info.output_width * info.output_height, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(&image->argb[(size_t)info.output_scanline * info.output_width]);
        if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
    }
    for (uint32_t& p : image->argb) p |= 0xFF000000u;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return 1;
}
