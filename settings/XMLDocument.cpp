#include "settings/XMLDocument.h"

#include "settings/FileStorage.h"
#include "settings/SettingsErrors.h"
#include "base/Utf.h"
#include "settings/WellFormedness.h"
#include "settings/XmlName.h"

namespace tarnwick {
namespace {

constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_declaration |
                                  pugi::parse_doctype | pugi::parse_comments | pugi::parse_pi;

const char* ParseReason(pugi::xml_parse_status Status) {
  switch (Status) {
    case pugi::status_out_of_memory: return "メモリが足りません";
    case pugi::status_unrecognized_tag: return "タグを解釈できません";
    case pugi::status_bad_pi: return "処理命令または XML 宣言が正しくありません";
    case pugi::status_bad_comment: return "コメントが正しくありません";
    case pugi::status_bad_cdata: return "CDATA セクションが正しくありません";
    case pugi::status_bad_doctype: return "文書型宣言が正しくありません";
    case pugi::status_bad_pcdata: return "テキストが正しくありません";
    case pugi::status_bad_start_element: return "開始タグが正しくありません";
    case pugi::status_bad_attribute: return "属性が正しくありません";
    case pugi::status_bad_end_element: return "終了タグが正しくありません";
    case pugi::status_end_element_mismatch: return "開始タグと終了タグが対応していません";
    case pugi::status_no_document_element: return "文書要素がありません";
    default: return "XML 文書として読み込めません";
  }
}

// Line breaks as the parser sees them: CR LF, a lone CR or a lone LF.
bool IsLineBreak(char C) { return C == '\n' || C == '\r'; }

std::size_t LineNumberAt(std::string_view Text, std::size_t Offset) {
  std::size_t Line = 1;
  for (std::size_t I = 0; I < Offset; ++I) {
    if (Text[I] == '\n' || (Text[I] == '\r' && (I + 1 >= Text.size() || Text[I + 1] != '\n'))) ++Line;
  }
  return Line;
}

std::wstring LineTextAt(std::string_view Text, std::size_t Offset) {
  std::size_t Start = Offset;
  while (Start > 0 && !IsLineBreak(Text[Start - 1])) --Start;
  std::size_t End = Offset;
  while (End < Text.size() && !IsLineBreak(Text[End])) ++End;
  return FromUtf8(Text.substr(Start, End - Start));
}

// The first Count characters of Text, a surrogate pair counting as one.
std::wstring FirstCharacters(const std::wstring& Text, std::size_t Count) {
  std::size_t Pos = 0;
  for (std::size_t I = 0; I < Count && Pos < Text.size(); ++I) NextCodePoint(Text, Pos);
  return Text.substr(0, Pos);
}

std::string ParseErrorMessage(std::string_view Text, const TParseFailure& Failure) {
  const auto Offset = std::min(Failure.Offset, Text.size());
  return std::string(Failure.Reason) + "\r\n" + "行: " +
         std::to_string(LineNumberAt(Text, Offset)) + "\r\n" +
         ToUtf8(FirstCharacters(LineTextAt(Text, Offset), 40));
}

class TStringWriter : public pugi::xml_writer {
 public:
  explicit TStringWriter(std::string& Out) : FOut(Out) {}
  void write(const void* Data, std::size_t Size) override { FOut.append(static_cast<const char*>(Data), Size); }

 private:
  std::string& FOut;
};

int Level(IXMLNode Node) {
  int Ancestors = 0;
  for (IXMLNode Parent = Node.parent(); Parent; Parent = Parent.parent()) ++Ancestors;
  return Ancestors;
}

void AppendText(IXMLNode Parent, const std::string& Value) {
  Parent.append_child(pugi::node_pcdata).set_value(Value.c_str());
}

bool IsText(IXMLNode Node) { return Node.type() == pugi::node_pcdata || Node.type() == pugi::node_cdata; }

}  // namespace

// The DOM parser is lenient: it would load many files that are no XML and
// save them changed. A strict parser decides first what may be loaded.
void TXMLDocument::LoadFromBytes(std::string_view Bytes) {
  const std::string Text = XmlFileText(Bytes);
  FRemoved = {};
  FModified = false;
  std::optional<TParseFailure> Failure = WellFormednessFailure(Text);
  if (!Failure) {
    const pugi::xml_parse_result Result =
        FDocument.load_buffer(Text.data(), Text.size(), ParseOptions, pugi::encoding_utf8);
    if (!Result) Failure = TParseFailure{ParseReason(Result.status), static_cast<std::size_t>(Result.offset)};
  }
  if (Failure) {
    FDocument.reset();
    throw EXMLDocError(ParseErrorMessage(Text, *Failure));
  }
  EnsureUtf8Declaration();
}

void TXMLDocument::LoadFromFile(const std::wstring& FileName) { LoadFromBytes(ReadWholeFile(FileName)); }

// The file is always written as UTF-8, so its declaration must say so.
void TXMLDocument::EnsureUtf8Declaration() {
  pugi::xml_node Declaration = FDocument.first_child();
  if (Declaration.type() != pugi::node_declaration) {
    Declaration = FDocument.prepend_child(pugi::node_declaration);
    Declaration.append_attribute("version") = "1.0";
  }
  pugi::xml_attribute Encoding = Declaration.attribute("encoding");
  if (!Encoding) Encoding = Declaration.insert_attribute_after("encoding", Declaration.attribute("version"));
  if (!Encoding) Encoding = Declaration.append_attribute("encoding");
  Encoding = "utf-8";
}

std::string TXMLDocument::SaveToBytes() const {
  std::string Bytes;
  TStringWriter Writer(Bytes);
  for (pugi::xml_node Node : FDocument.children()) {
    if (Node == FRemoved) continue;
    Node.print(Writer, "", pugi::format_raw, pugi::encoding_utf8);
    Bytes += '\n';
  }
  return Bytes;
}

void TXMLDocument::SaveToFile(const std::wstring& FileName) {
  ReplaceFileContents(FileName, SaveToBytes());
  FModified = false;
}

void TXMLDocument::CreateNew() {
  FDocument.reset();
  FRemoved = {};
  pugi::xml_node Declaration = FDocument.append_child(pugi::node_declaration);
  Declaration.append_attribute("version") = "1.0";
  Declaration.append_attribute("encoding") = "utf-8";
  FDocument.append_child("root");
  FModified = true;
}

IXMLNode TXMLDocument::AppendElement(IXMLNode Parent, std::wstring_view Name) {
  if (!IsValidXmlName(Name)) throw EXMLDocError(InvalidNameMessage(Name));
  const bool Indented = Parent.type() == pugi::node_element;
  if (!Indented && Parent.type() != pugi::node_document)
    throw EXMLDocError(CannotHoldElementsMessage(NodeName(Parent)));
  const std::string LineBreak = std::string(1, '\n').append(Indented ? Level(Parent) - 1 : 0, '\t');
  if (Indented && !Parent.first_child()) AppendText(Parent, LineBreak);
  if (Indented) AppendText(Parent, "\t");
  IXMLNode Element = Parent.append_child(ToUtf8(Name).c_str());
  if (Indented) AppendText(Parent, LineBreak);
  FModified = true;
  return Element;
}

void TXMLDocument::RemoveChild(IXMLNode Child) {
  if (!FRemoved) FRemoved = FDocument.append_child(pugi::node_element);
  if (FRemoved.append_move(Child)) FModified = true;
}

void TXMLDocument::SetAttribute(IXMLNode Element, std::wstring_view Name, std::wstring_view Value) {
  const std::string Key = ToUtf8(Name);
  pugi::xml_attribute Attribute = Element.attribute(Key.c_str());
  if (!Attribute) Attribute = Element.append_attribute(Key.c_str());
  Attribute.set_value(ToUtf8(Value).c_str());
  FModified = true;
}

pugi::xml_node TXMLDocument::SingleTextNode(IXMLNode Element) {
  pugi::xml_node First = Element.first_child();
  if (!First) return Element.append_child(pugi::node_pcdata);
  if (First.next_sibling() || !IsText(First)) throw EXMLDocError(NoSingleTextNodeMessage(NodeName(Element)));
  return First;
}

std::wstring TXMLDocument::Text(IXMLNode Element) { return FromUtf8(SingleTextNode(Element).value()); }

void TXMLDocument::SetText(IXMLNode Element, std::wstring_view Value) {
  SingleTextNode(Element).set_value(ToUtf8(Value).c_str());
  FModified = true;
}

std::wstring NodeName(IXMLNode Node) {
  switch (Node.type()) {
    case pugi::node_pcdata: return L"#text";
    case pugi::node_cdata: return L"#cdata-section";
    case pugi::node_comment: return L"#comment";
    case pugi::node_document: return L"#document";
    case pugi::node_doctype: return L"#doctype";
    default: return FromUtf8(Node.name());
  }
}

}  // namespace tarnwick
