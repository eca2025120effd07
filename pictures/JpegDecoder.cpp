#include "pictures/JpegDecoder.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

#include <utility>

#include "pictures/AreaReduction.h"
#include "pictures/PictureErrors.h"
#include "pictures/PremultipliedPixel.h"

namespace tarnwick {
namespace {

// Real progressive files have about ten scans; thousands of tiny ones only
// make the decoder spin over the whole picture again and again.
constexpr int MaxScans = 100;
// What libjpeg may allocate for itself (coefficient buffers of progressive
// files), beyond the output raster.
constexpr long MaxLibraryMemory = 512L << 20;

// Everything libjpeg touches, in plain C types: an error longjmps out of the
// library, and the frames it skips must own nothing.
struct TJpegSession {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Errors;
  jpeg_progress_mgr Progress;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
  bool TooManyScans;
  bool Created;
  const unsigned char* Input;
  unsigned long InputSize;
  unsigned char* Output;
  std::size_t OutputStride;
};

TJpegSession& SessionOf(j_common_ptr Info) { return *static_cast<TJpegSession*>(Info->client_data); }

[[noreturn]] void FailStep(j_common_ptr Info) {
  TJpegSession& Session = SessionOf(Info);
  Info->err->format_message(Info, Session.Message);
  std::longjmp(Session.Jump, 1);
}

// Warnings after which part of the picture would be made up.
bool LosesPixels(int Code) {
  return Code == JWRN_JPEG_EOF || Code == JWRN_HIT_MARKER || Code == JWRN_HUFF_BAD_CODE ||
         Code == JWRN_ARITH_BAD_CODE || Code == JWRN_MUST_RESYNC;
}

void OnMessage(j_common_ptr Info, int Level) {
  if (Level < 0 && LosesPixels(Info->err->msg_code)) FailStep(Info);
}

void OnProgress(j_common_ptr Info) {
  TJpegSession& Session = SessionOf(Info);
  if (Session.Info.input_scan_number > MaxScans) {
    Session.TooManyScans = true;
    std::longjmp(Session.Jump, 1);
  }
}

using Step = void (*)(TJpegSession&);

// The one place that recovers from libjpeg's errors: a longjmp lands here,
// skipping only Run's frame and the library's, none of which owns anything.
bool RunStep(TJpegSession& Session, Step Run) {
  if (setjmp(Session.Jump)) return false;
  Run(Session);
  return true;
}

void CreateAndReadHeader(TJpegSession& Session) {
  jpeg_create_decompress(&Session.Info);
  Session.Created = true;
  Session.Info.mem->max_memory_to_use = MaxLibraryMemory;
  Session.Info.progress = &Session.Progress;
  jpeg_mem_src(&Session.Info, Session.Input, Session.InputSize);
  jpeg_read_header(&Session.Info, TRUE);
}

void CalculateOutputSize(TJpegSession& Session) { jpeg_calc_output_dimensions(&Session.Info); }

void DecompressAll(TJpegSession& Session) {
  jpeg_start_decompress(&Session.Info);
  while (Session.Info.output_scanline < Session.Info.output_height) {
    JSAMPROW Row = Session.Output + Session.Info.output_scanline * Session.OutputStride;
    jpeg_read_scanlines(&Session.Info, &Row, 1);
  }
  jpeg_finish_decompress(&Session.Info);
}

class TJpegDecompressor {
 public:
  explicit TJpegDecompressor(std::span<const std::uint8_t> Bytes) : FSession(std::make_unique<TJpegSession>()) {
    TJpegSession& S = *FSession;
    S.Info.err = jpeg_std_error(&S.Errors);
    S.Errors.error_exit = FailStep;
    S.Errors.emit_message = OnMessage;
    S.Info.client_data = &S;
    S.Progress.progress_monitor = OnProgress;
    S.Input = Bytes.data();
    S.InputSize = static_cast<unsigned long>(Bytes.size());
  }
  ~TJpegDecompressor() {
    if (FSession->Created) jpeg_destroy_decompress(&FSession->Info);
  }
  TJpegDecompressor(const TJpegDecompressor&) = delete;
  TJpegDecompressor& operator=(const TJpegDecompressor&) = delete;

  jpeg_decompress_struct& Info() { return FSession->Info; }

  void Run(Step Step) {
    if (RunStep(*FSession, Step)) return;
    if (FSession->TooManyScans) throw EPictureError(DamagedReason("スキャンが多すぎます"));
    throw EPictureError(FSession->Message);
  }

  void SetOutput(TPictureFrame& Frame) {
    FSession->Output = reinterpret_cast<unsigned char*>(Frame.Pixels.data());
    FSession->OutputStride = static_cast<std::size_t>(Frame.Width) * 4;
  }

 private:
  // On the heap: the jump buffer and libjpeg's structs are large.
  std::unique_ptr<TJpegSession> FSession;
};

bool IsCmyk(const jpeg_decompress_struct& Info) {
  return Info.jpeg_color_space == JCS_CMYK || Info.jpeg_color_space == JCS_YCCK;
}

// CMYK samples, as libjpeg leaves them in each pixel's four bytes, to opaque
// RGB. Adobe's files store the inks inverted, which is what almost every CMYK
// JPEG is.
void ConvertCmyk(TPictureFrame& Frame, bool Inverted) {
  auto* Bytes = reinterpret_cast<const std::uint8_t*>(Frame.Pixels.data());
  for (std::uint32_t& Pixel : Frame.Pixels) {
    std::uint32_t Ink[4];
    for (int I = 0; I < 4; ++I) Ink[I] = Inverted ? Bytes[I] : 255u - Bytes[I];
    Bytes += 4;
    const auto Rgb = [&](std::uint32_t C) { return (C * Ink[3] + 127) / 255; };
    Pixel = OpaquePixel(Rgb(Ink[0]), Rgb(Ink[1]), Rgb(Ink[2]));
  }
}

}  // namespace

int JpegScaleEighths(int Width, int Height, int MaxLongSide) {
  const long long Long = std::max(Width, Height);
  for (int Eighths = 1; Eighths < 8; ++Eighths)
    if ((Long * Eighths + 7) / 8 >= MaxLongSide) return Eighths;
  return 8;
}

TPicture DecodeJpeg(std::span<const std::uint8_t> Bytes, int MaxLongSide, const TPictureLimits& Limits) {
  if (Bytes.size() > ULONG_MAX) throw EPictureError(TooLargeReason(0, 0));
  TJpegDecompressor Decompressor(Bytes);
  Decompressor.Run(CreateAndReadHeader);
  jpeg_decompress_struct& Info = Decompressor.Info();
  CheckRasterSize(Info.image_width, Info.image_height, Limits);
  const int Width = static_cast<int>(Info.image_width);
  const int Height = static_cast<int>(Info.image_height);

  Info.scale_num = static_cast<unsigned>(JpegScaleEighths(Width, Height, MaxLongSide));
  Info.scale_denom = 8;
  Info.out_color_space = IsCmyk(Info) ? JCS_CMYK : JCS_EXT_BGRA;
  Decompressor.Run(CalculateOutputSize);

  TPictureFrame Frame{static_cast<int>(Info.output_width), static_cast<int>(Info.output_height), {}, 0};
  Frame.Pixels.resize(static_cast<std::size_t>(Frame.Width) * Frame.Height);
  Decompressor.SetOutput(Frame);
  Decompressor.Run(DecompressAll);
  if (Info.out_color_space == JCS_CMYK) ConvertCmyk(Frame, Info.saw_Adobe_marker);

  TPicture Result{Width, Height, {}, nullptr, 0};
  Result.Frames.push_back(FittedFrame(std::move(Frame), Width, Height, MaxLongSide));
  return Result;
}

}  // namespace tarnwick
