// Feeds arbitrary bytes to everything that reads a settings file: the XML
// loader, the walk over the loaded tree, and each typed value reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "BinaryText.h"
#include "DateText.h"
#include "NumberText.h"
#include "SettingsErrors.h"
#include "XMLDocument.h"

using namespace tarnwick;

namespace {

void ReadEveryValue(std::wstring_view Text) {
  const RegionalFormats Formats;
  ParseInt32(Text);
  ParseInt64(Text);
  ParseFloat(Text, L'.');
  ParseCurrency(Text, L',');
  ParseBool(Text, L'.');
  ParseWholeNumber(Text, L'.');
  ParseDateTime(Text, Formats);
  try {
    ParseBinary(Text);
  } catch (const EConvertError&) {
  }
}

void Walk(TXMLDocument& Document, IXMLNode Node, int Depth) {
  for (IXMLNode Child : Node.children()) {
    if (Child.type() != pugi::node_element) continue;
    try {
      ReadEveryValue(Document.Text(Child));
    } catch (const EXMLDocError&) {
    }
    if (Depth < 64) Walk(Document, Child, Depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TXMLDocument Document;
  try {
    Document.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(Data), Size));
  } catch (const EXMLDocError&) {
    return 0;
  }
  Walk(Document, Document.Document(), 0);
  Document.SaveToBytes();
  return 0;
}
