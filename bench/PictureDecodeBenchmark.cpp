// Loading a camera-sized JPEG for display, from the file as the program
// reads it, against its floor: libjpeg-turbo's own decode of the same bytes
// at the same DCT scale, rows dropped as they come (the median CPU time of
// five repetitions each); and its peak memory in a child process against a
// full-size decode. A photo-like picture and a smoother one. Prints one
// table row per figure: | figure | value | baseline | ratio | target |
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "pictures/JpegDecoder.h"
#include "bench/PeakMemory.h"
#include "bench/PhotoJpeg.h"
#include "pictures/PictureDecoder.h"
#include "pictures/PictureFile.h"
#include "bench/ScaledJpegDecode.h"

using namespace tarnwick;
using namespace tarnwick::bench;

namespace {

constexpr int PhotoWidth = 6000;
constexpr int PhotoHeight = 4000;
constexpr int PhotoQuality = 90;
// The popup's largest long side, which the program decodes pictures to cover.
constexpr int ShownLongSide = 600;

// A photo as a file, for as long as the benchmarks run.
class PhotoFile {
 public:
  PhotoFile(const std::string& Name, bool Grain)
      : FPath(std::filesystem::temp_directory_path() / ("tarnwick-bench-" + Name + ".jpg")) {
    const picture_tests::Bytes Bytes = MakePhotoJpeg(PhotoWidth, PhotoHeight, PhotoQuality, Grain);
    std::ofstream(FPath, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()),
                                                  static_cast<std::streamsize>(Bytes.size()));
  }
  ~PhotoFile() { std::filesystem::remove(FPath); }
  PhotoFile(const PhotoFile&) = delete;
  PhotoFile& operator=(const PhotoFile&) = delete;

  std::wstring Name() const { return FPath.wstring(); }
  double Megabytes() const { return static_cast<double>(std::filesystem::file_size(FPath)) / 1e6; }

 private:
  std::filesystem::path FPath;
};

// The console output, plus the median CPU time of each benchmark: CPU time,
// because the wall clock of a busy machine counts other processes' work.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& Runs) override {
    ConsoleReporter::ReportRuns(Runs);
    for (const Run& Each : Runs)
      if (Each.run_type == Run::RT_Aggregate && Each.aggregate_name == "median")
        MedianMs[Each.run_name.function_name] = Each.GetAdjustedCPUTime();
  }
  std::map<std::string, double> MedianMs;
};

template <typename Work>
void Register(const std::string& Name, Work Run) {
  benchmark::RegisterBenchmark(Name.c_str(),
                               [Run](benchmark::State& State) {
                                 for (auto _ : State) Run();
                               })
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}

double PeakMegabytes(const std::wstring& File, int MaxLongSide) {
  return static_cast<double>(PeakMemoryGrowth([&] { DecodePictureFile(File, MaxLongSide); })) / 1e6;
}

struct Subject {
  std::string Label;
  bool Grain;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const Subject Subjects[] = {{"photo-like", true}, {"smoother", false}};
  std::map<std::string, std::unique_ptr<PhotoFile>> Files;
  std::map<std::string, std::vector<std::uint8_t>> Bytes;
  for (const Subject& Each : Subjects) {
    Files[Each.Label] = std::make_unique<PhotoFile>(Each.Label, Each.Grain);
    const std::wstring File = Files[Each.Label]->Name();
    Bytes[Each.Label] = ReadPictureFile(File);
    const std::uint8_t* Data = Bytes[Each.Label].data();
    const std::size_t Size = Bytes[Each.Label].size();
    Register(Each.Label + "/LoadForDisplay", [File] { benchmark::DoNotOptimize(DecodePictureFile(File, ShownLongSide)); });
    Register(Each.Label + "/LibjpegScaledDecode", [Data, Size] {
      DecodeScaledDiscarding({Data, Size}, JpegScaleEighths(PhotoWidth, PhotoHeight, ShownLongSide));
    });
  }
  MedianReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  benchmark::Shutdown();

  for (const Subject& Each : Subjects) {
    const PhotoFile& Photo = *Files[Each.Label];
    char Name[128];
    std::snprintf(Name, sizeof Name, "JPEG %d×%d q%d %s (%.1f MB) loaded for display", PhotoWidth, PhotoHeight,
                  PhotoQuality, Each.Label.c_str(), Photo.Megabytes());
    const std::string Load = Each.Label + "/LoadForDisplay", Floor = Each.Label + "/LibjpegScaledDecode";
    // A --benchmark_filter may have left one out.
    if (Reporter.MedianMs.contains(Load) && Reporter.MedianMs.contains(Floor))
      std::printf("| %s: CPU time | %.1f ms | %.1f ms (libjpeg-turbo's own decode at the same scale) | %.2f | ≤ 1.25 |\n",
                  Name, Reporter.MedianMs[Load], Reporter.MedianMs[Floor],
                  Reporter.MedianMs[Load] / Reporter.MedianMs[Floor]);
    const double Shown = PeakMegabytes(Photo.Name(), ShownLongSide);
    const double Full = PeakMegabytes(Photo.Name(), PhotoWidth);
    std::printf("| %s: peak memory | %.1f MB | %.1f MB (full-size decode) | %.1f× less | ≥ 8× less |\n", Name, Shown,
                Full, Full / Shown);
  }
  return 0;
}
