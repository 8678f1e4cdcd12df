// JPEG reading and writing through libjpeg.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "platform/picture_codecs.h"

namespace plat {

namespace {

struct TJpegError {
  jpeg_error_mgr base;
  jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

void JpegSilence(j_common_ptr, int) {}

}  // namespace

bool ReadJpegPicture(const std::string& hostPath, TDecodedPicture& out) {
  out = TDecodedPicture{};
  FILE* file = std::fopen(hostPath.c_str(), "rb");
  if (file == nullptr) return false;
  jpeg_decompress_struct info;
  TJpegError error;
  info.err = jpeg_std_error(&error.base);
  error.base.error_exit = JpegErrorExit;
  error.base.emit_message = JpegSilence;
  std::vector<uint8_t>* pixels = &out.pixels;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    pixels->clear();
    out.width = out.height = 0;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_width == 0 || info.output_height == 0 || info.output_width > unsigned(kMaxPictureSide) ||
      info.output_height > unsigned(kMaxPictureSide) || info.output_components != 3) {
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return false;
  }
  out.width = int(info.output_width);
  out.height = int(info.output_height);
  out.sourceBits = 24;
  pixels->resize(size_t(out.width) * size_t(out.height) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels->data() + size_t(info.output_scanline) * size_t(out.width) * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
  return true;
}

bool WriteJpegPicture(const std::string& hostPath, int width, int height, const uint8_t* rgb, int quality) {
  if (width <= 0 || height <= 0 || rgb == nullptr) return false;
  FILE* file = std::fopen(hostPath.c_str(), "wb");
  if (file == nullptr) return false;
  jpeg_compress_struct info;
  TJpegError error;
  info.err = jpeg_std_error(&error.base);
  error.base.error_exit = JpegErrorExit;
  error.base.emit_message = JpegSilence;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    std::fclose(file);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality < 1 ? 1 : (quality > 100 ? 100 : quality), TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(rgb + size_t(info.next_scanline) * size_t(width) * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

}  // namespace plat
