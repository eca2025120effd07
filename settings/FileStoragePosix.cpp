#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "settings/FileStorage.h"
#include "settings/SettingsErrors.h"
#include "base/Utf.h"

namespace tarnwick {
namespace {

class TFileDescriptor {
 public:
  explicit TFileDescriptor(int Fd) : FFd(Fd) {}
  ~TFileDescriptor() {
    if (FFd >= 0) ::close(FFd);
  }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int Get() const { return FFd; }
  // Closes now so that a failing close is seen; the destructor then does nothing.
  bool Close() {
    const int Fd = FFd;
    FFd = -1;
    return ::close(Fd) == 0;
  }

 private:
  int FFd;
};

std::string ErrnoText() { return std::strerror(errno); }

bool WriteAll(int Fd, std::string_view Bytes) {
  while (!Bytes.empty()) {
    const ssize_t Written = ::write(Fd, Bytes.data(), Bytes.size());
    if (Written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    Bytes.remove_prefix(static_cast<std::size_t>(Written));
  }
  return true;
}

// The new files of saves that ended by force (the program killed) beside
// Name: nobody else writes them while this instance saves.
void RemoveLeftTemporaries(const std::string& Name) {
  const std::size_t Slash = Name.find_last_of('/');
  const std::string Folder = Slash == std::string::npos ? "./" : Name.substr(0, Slash + 1);
  const std::wstring Leaf = FromUtf8(Name.substr(Slash + 1));
  DIR* Listing = ::opendir(Folder.c_str());
  if (!Listing) return;
  while (const dirent* Entry = ::readdir(Listing)) {
    const std::string Path = Folder + Entry->d_name;
    struct stat Status;
    if (IsTemporaryFileOf(Leaf, FromUtf8(Entry->d_name)) && ::lstat(Path.c_str(), &Status) == 0 &&
        S_ISREG(Status.st_mode))
      ::unlink(Path.c_str());
  }
  ::closedir(Listing);
}

}  // namespace

bool IsExistingFile(const std::wstring& Name) {
  struct stat Info {};
  return ::stat(ToUtf8(Name).c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

std::string ReadWholeFile(const std::wstring& Name) {
  TFileDescriptor File(::open(ToUtf8(Name).c_str(), O_RDONLY | O_CLOEXEC));
  if (File.Get() < 0) throw EXMLDocError(CannotReadMessage(Name, ErrnoText()));
  std::string Bytes;
  char Chunk[65536];
  for (;;) {
    const ssize_t Got = ::read(File.Get(), Chunk, sizeof Chunk);
    if (Got < 0) {
      if (errno == EINTR) continue;
      throw EXMLDocError(CannotReadMessage(Name, ErrnoText()));
    }
    if (Got == 0) return Bytes;
    if (Bytes.size() + static_cast<std::size_t>(Got) > MaxSettingsFileBytes)
      throw EXMLDocError(TooLargeMessage(Name));
    Bytes.append(Chunk, static_cast<std::size_t>(Got));
  }
}

std::wstring TemporaryFileName(const std::wstring& Name) {
  return Name + std::wstring(TemporaryMark) + std::to_wstring(::getpid());
}

void ReplaceFileContents(const std::wstring& Name, std::string_view Bytes) {
  const std::string Target = ToUtf8(Name);
  RemoveLeftTemporaries(Target);
  const std::string Temporary = ToUtf8(TemporaryFileName(Name));
  TFileDescriptor File(::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (File.Get() < 0) throw EXMLDocError(CannotWriteMessage(Name, ErrnoText()));
  if (!WriteAll(File.Get(), Bytes) || ::fsync(File.Get()) != 0 || !File.Close() ||
      ::rename(Temporary.c_str(), Target.c_str()) != 0) {
    const std::string Reason = ErrnoText();
    ::unlink(Temporary.c_str());
    throw EXMLDocError(CannotWriteMessage(Name, Reason));
  }
}

}  // namespace tarnwick
