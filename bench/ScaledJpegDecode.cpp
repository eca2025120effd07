#include "bench/ScaledJpegDecode.h"

#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace tarnwick::bench {

void DecodeScaledDiscarding(std::span<const std::uint8_t> Bytes, int ScaleEighths) {
  jpeg_decompress_struct Info{};
  jpeg_error_mgr Errors{};
  Info.err = jpeg_std_error(&Errors);
  jpeg_create_decompress(&Info);
  jpeg_mem_src(&Info, Bytes.data(), static_cast<unsigned long>(Bytes.size()));
  jpeg_read_header(&Info, TRUE);
  Info.scale_num = static_cast<unsigned>(ScaleEighths);
  Info.scale_denom = 8;
  // Four bytes a pixel, as the program asks for.
  Info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&Info);
  std::vector<unsigned char> Row(static_cast<std::size_t>(Info.output_width) * 4);
  JSAMPROW Rows[1] = {Row.data()};
  while (Info.output_scanline < Info.output_height) jpeg_read_scanlines(&Info, Rows, 1);
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
}

}  // namespace tarnwick::bench
