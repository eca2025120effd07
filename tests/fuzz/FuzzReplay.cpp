// Runs a fuzz target once over each file named on the command line, so that
// the saved corpus and past findings are checked by every ordinary build.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

int main(int Count, char** Arguments) {
  for (int I = 1; I < Count; ++I) {
    std::ifstream In(Arguments[I], std::ios::binary);
    if (!In) {
      std::fprintf(stderr, "cannot read %s\n", Arguments[I]);
      return 1;
    }
    const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size());
  }
  std::printf("replayed %d inputs\n", Count - 1);
  return 0;
}
