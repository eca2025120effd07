// Loading a camera-sized JPEG for display against decoding it at full size,
// both from the file as the program reads it: the median CPU time of five
// repetitions, and the peak memory of one load in a child process. Prints
// one table row per figure: | figure | value | baseline | ratio | target |
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "PeakMemory.h"
#include "PhotoJpeg.h"
#include "PictureDecoder.h"

using namespace tarnwick;
using namespace tarnwick::bench;

namespace {

constexpr int PhotoWidth = 6000;
constexpr int PhotoHeight = 4000;
constexpr int PhotoQuality = 90;

// The photo as a file, for as long as the benchmarks run.
class PhotoFile {
 public:
  PhotoFile() : Path_(std::filesystem::temp_directory_path() / "tarnwick-bench-photo.jpg") {
    const picture_tests::Bytes Bytes = MakePhotoJpeg(PhotoWidth, PhotoHeight, PhotoQuality);
    std::ofstream(Path_, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()),
                                                  static_cast<std::streamsize>(Bytes.size()));
  }
  ~PhotoFile() { std::filesystem::remove(Path_); }
  PhotoFile(const PhotoFile&) = delete;
  PhotoFile& operator=(const PhotoFile&) = delete;

  std::wstring Name() const { return Path_.wstring(); }
  double Megabytes() const { return static_cast<double>(std::filesystem::file_size(Path_)) / 1e6; }

 private:
  std::filesystem::path Path_;
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

void Register(const char* Name, const std::wstring& File, int MaxLongSide) {
  benchmark::RegisterBenchmark(Name,
                               [File, MaxLongSide](benchmark::State& State) {
                                 for (auto _ : State) benchmark::DoNotOptimize(DecodePictureFile(File, MaxLongSide));
                               })
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}

double PeakMegabytes(const std::wstring& File, int MaxLongSide) {
  return static_cast<double>(PeakMemoryGrowth([&] { DecodePictureFile(File, MaxLongSide); })) / 1e6;
}

// One table row: Value against Baseline, the ratio and its target.
void PrintFigure(const std::string& Figure, double Value, double Baseline, const char* Unit, const char* Better,
                 double Target) {
  std::printf("| %s | %.1f %s | %.1f %s (full-size decode) | %.1f× %s | ≥ %.0f× %s |\n", Figure.c_str(), Value,
              Unit, Baseline, Unit, Baseline / Value, Better, Target, Better);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const PhotoFile Photo;
  const std::wstring File = Photo.Name();
  Register("LoadForDisplay", File, DefaultMaxLongSide);
  Register("DecodeFullSize", File, PhotoWidth);
  MedianReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  benchmark::Shutdown();

  char Subject[96];
  std::snprintf(Subject, sizeof Subject, "JPEG %d×%d q%d (%.1f MB) loaded for display", PhotoWidth, PhotoHeight,
                PhotoQuality, Photo.Megabytes());
  // A --benchmark_filter may have left one out.
  if (Reporter.MedianMs.contains("LoadForDisplay") && Reporter.MedianMs.contains("DecodeFullSize"))
    PrintFigure(std::string(Subject) + ": CPU time",
                Reporter.MedianMs["LoadForDisplay"], Reporter.MedianMs["DecodeFullSize"], "ms", "faster", 5);
  PrintFigure(std::string(Subject) + ": peak memory",
              PeakMegabytes(File, DefaultMaxLongSide), PeakMegabytes(File, PhotoWidth), "MB", "less", 8);
  return 0;
}
