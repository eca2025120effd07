// Feeds arbitrary bytes to the settings store the way the program meets a
// settings file: loaded from disk, every section opened and enumerated,
// every key read as every type and written back, then its document saved
// to bytes and loaded again (the file replacement itself is tested apart).
// The store may refuse a text with the errors it documents; anything else
// is a fault, and so is a file that it loads and would save saying
// something else.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/fuzz/DocumentMeaning.h"
#include "settings/SettingsErrors.h"
#include "tests/settings/TempFolder.h"
#include "base/Utf.h"
#include "settings/XMLIniFiles.h"

using namespace tarnwick;

namespace {

// Enough for any real settings file; keeps deep or wide inputs quick.
constexpr int MaxDepth = 32;
constexpr int MaxKeysPerSection = 64;

[[noreturn]] void Fail(const char* What) {
  std::fprintf(stderr, "settings fuzzer: %s\n", What);
  std::abort();
}

// A second set of formats, so that the reloaded file is read with another
// decimal separator and other date and time forms.
TRegionalFormats OtherFormats() {
  TRegionalFormats Formats;
  Formats.DecimalSeparator = L',';
  Formats.ShortDateFormat = L"dd.MM.yy";
  Formats.LongTimeFormat = L"tt h:mm:ss";
  Formats.TimeAMString = L"午前";
  Formats.TimePMString = L"午後";
  return Formats;
}

// Runs Run; the store's own errors are the documented answer to a key of
// the wrong kind.
template <typename Operation>
void Tolerating(Operation Run) {
  try {
    Run();
  } catch (const EConvertError&) {
  } catch (const EVariantTypeCastError&) {
  } catch (const EXMLDocError&) {
  }
}

// The reads that have no write to check them against.
void ReadTypeMarkAndExpansion(TXMLIniFile& Ini, const std::wstring& Key) {
  Tolerating([&] { Ini.GetNodeType(Key); });
  Tolerating([&] { Ini.ReadExpandString(Key, L"%PATH%"); });
}

template <typename Value>
bool Same(const Value& A, const Value& B) {
  if constexpr (std::is_floating_point_v<Value>) return A == B || (A != A && B != B);
  else return A == B;
}

// Reads Key as one type, writes the value back and reads it again: the
// value must survive. Floats and dates are written with fewer digits than
// they hold, so for them it must survive from the second writing on.
template <typename ReadOperation, typename WriteOperation>
void CheckWrittenBack(ReadOperation Read, WriteOperation Write, int Writings = 1) {
  std::optional<decltype(Read())> Value;
  Tolerating([&] { Value = Read(); });
  for (int I = 1; Value && I <= Writings; ++I) {
    bool Written = false;
    // A date outside the years 1 to 9999 is refused; nothing is written.
    Tolerating([&] {
      Write(*Value);
      Written = true;
    });
    if (!Written) return;
    const auto Again = Read();
    if (I == Writings && !Same(Again, *Value)) Fail("a value written does not read back");
    Value = Again;
  }
}

void WriteEveryTypeBack(TXMLIniFile& Ini, const std::wstring& Key) {
  CheckWrittenBack([&] { return Ini.ReadString(Key, L"d"); }, [&](const auto& V) { Ini.WriteString(Key, V); });
  CheckWrittenBack([&] { return Ini.ReadInteger(Key, 1); }, [&](auto V) { Ini.WriteInteger(Key, V); });
  CheckWrittenBack([&] { return Ini.ReadInt64(Key, 1); }, [&](auto V) { Ini.WriteInt64(Key, V); });
  CheckWrittenBack([&] { return Ini.ReadCurrency(Key, Currency{}); }, [&](auto V) { Ini.WriteCurrency(Key, V); });
  CheckWrittenBack([&] { return Ini.ReadBool(Key, true); }, [&](auto V) { Ini.WriteBool(Key, V); });
  CheckWrittenBack(
      [&] {
        std::vector<std::uint8_t> Buffer{1, 2, 3};
        Ini.ReadBinaryData(Key, Buffer);
        return Buffer;
      },
      [&](const auto& V) { Ini.WriteBinaryData(Key, V); });
  CheckWrittenBack([&] { return Ini.ReadFloat(Key, 1.5); }, [&](auto V) { Ini.WriteFloat(Key, V); }, 2);
  CheckWrittenBack([&] { return Ini.ReadDate(Key, TDateTime{}); }, [&](auto V) { Ini.WriteDate(Key, V); }, 2);
  CheckWrittenBack([&] { return Ini.ReadTime(Key, TDateTime{}); }, [&](auto V) { Ini.WriteTime(Key, V); }, 2);
  CheckWrittenBack([&] { return Ini.ReadDateTime(Key, TDateTime{}); }, [&](auto V) { Ini.WriteDateTime(Key, V); }, 2);
}

// Opens the section at Path, enumerates it, reads and writes back each of
// its keys, and goes down into each child section that a path can name.
void WalkSection(TXMLIniFile& Ini, const std::wstring& Path, int Depth) {
  if (!Ini.OpenNode(Path, false) || !Ini.NodeExists(Path)) Fail("a walked section cannot be opened");
  const IXMLNode Section = Ini.CurrentNode();
  std::vector<std::wstring> Names;
  Ini.GetNodeNames(Names);
  if (static_cast<std::size_t>(Ini.ChildNodesCount()) != Names.size() || Ini.HasChildNodes() == Names.empty())
    Fail("the section's enumerations disagree");

  std::vector<std::wstring> SubSections;
  for (int I = 0; I < static_cast<int>(Names.size()) && I < MaxKeysPerSection; ++I) {
    const IXMLNode Child = Ini.ChildNodes(I);
    const bool FirstOfItsName = Ini.ChildNodeByName(Names[I]) == Child;
    if (Child.type() != pugi::node_element) continue;
    ReadTypeMarkAndExpansion(Ini, Names[I]);
    WriteEveryTypeBack(Ini, Names[I]);
    if (Ini.CurrentNode() != Section) Fail("a read moved the current section");
    // A path names an element by its UTF-8 bytes; a name that is no valid
    // UTF-8 cannot be spelled in one.
    if (FirstOfItsName && ToUtf8(Names[I]) == Child.name() && Depth < MaxDepth) SubSections.push_back(Names[I]);
  }
  try {
    Ini.ChildNodes(static_cast<std::int32_t>(Names.size()));
    Fail("an index past the end gave a node");
  } catch (const EListError&) {
  }
  for (const std::wstring& Name : SubSections) WalkSection(Ini, Path + Name + L"/", Depth + 1);
}

// Loads the settings file; false when the store refuses it as no XML.
bool Load(std::unique_ptr<TXMLIniFile>& Ini, const std::wstring& File, const TRegionalFormats& Formats) {
  try {
    Ini = std::make_unique<TXMLIniFile>(File, Formats);
    return true;
  } catch (const EXMLDocError&) {
    return false;
  }
}

const TempFolder& Folder() {
  static const TempFolder Instance;
  return Instance;
}

// A new file each time: rewriting one in place makes some file systems
// flush it to disk at every input.
void WriteNewFile(const std::wstring& File, const std::string& Bytes) {
  std::filesystem::remove(File);
  WriteBytes(File, Bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::wstring File = Folder().File(L"Tarnwick.xml");
  WriteNewFile(File, std::string(reinterpret_cast<const char*>(Data), Size));
  std::unique_ptr<TXMLIniFile> Ini;
  if (!Load(Ini, File, TRegionalFormats{})) return 0;
  // Before anything is written: only the layout may change.
  const auto Meaning = DocumentMeaning(XmlFileText({reinterpret_cast<const char*>(Data), Size}));
  if (!Meaning) Fail("a file that expat refuses was loaded");
  if (DocumentMeaning(Ini->XMLDocument().SaveToBytes()) != Meaning) Fail("saving a loaded file changed what it says");
  WalkSection(*Ini, L"/", 0);

  // What the store saves must load again, be read the same way, and save
  // as the same bytes once it is the store's own output.
  const std::string Saved = Ini->XMLDocument().SaveToBytes();
  WriteNewFile(File, Saved);
  if (!Load(Ini, File, OtherFormats())) Fail("the saved file does not load");
  const std::string SavedAgain = Ini->XMLDocument().SaveToBytes();
  WalkSection(*Ini, L"/", 0);
  WriteNewFile(File, SavedAgain);
  if (!Load(Ini, File, OtherFormats())) Fail("the saved file does not load the second time");
  if (Ini->XMLDocument().SaveToBytes() != SavedAgain) Fail("saving the store's own file changed it");
  return 0;
}
