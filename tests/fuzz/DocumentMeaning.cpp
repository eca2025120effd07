#include "tests/fuzz/DocumentMeaning.h"

#include <expat.h>

#include <memory>

namespace {

struct Reading {
  std::string Meaning;
  // The character data since the last markup.
  std::string Text;
};

Reading& Of(void* Data) { return *static_cast<Reading*>(Data); }

// Each item as its kind, its length and its bytes: no two documents spell alike.
void Append(Reading& State, char Kind, std::string_view Value) {
  State.Meaning += Kind;
  State.Meaning += std::to_string(Value.size()) + ':';
  State.Meaning += Value;
}

void EndText(Reading& State) {
  if (State.Text.find_first_not_of(" \t\r\n") != std::string::npos) Append(State, 'T', State.Text);
  State.Text.clear();
}

void XMLCALL OnStart(void* Data, const XML_Char* Name, const XML_Char** Attributes) {
  EndText(Of(Data));
  Append(Of(Data), '<', Name);
  for (; *Attributes; Attributes += 2) {
    Append(Of(Data), '=', Attributes[0]);
    Append(Of(Data), '"', Attributes[1]);
  }
}

void XMLCALL OnEnd(void* Data, const XML_Char*) {
  EndText(Of(Data));
  Of(Data).Meaning += '>';
}

void XMLCALL OnText(void* Data, const XML_Char* Text, int Length) {
  Of(Data).Text.append(Text, static_cast<std::size_t>(Length));
}

void XMLCALL OnComment(void* Data, const XML_Char* Text) {
  EndText(Of(Data));
  Append(Of(Data), '!', Text);
}

void XMLCALL OnInstruction(void* Data, const XML_Char* Target, const XML_Char* Value) {
  EndText(Of(Data));
  Append(Of(Data), '?', Target);
  Append(Of(Data), ' ', Value);
}

// A CDATA section is a text of its own, as in the store's document.
void XMLCALL OnCdataEdge(void* Data) { EndText(Of(Data)); }

}  // namespace

std::optional<std::string> DocumentMeaning(std::string_view Text) {
  const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> Parser(XML_ParserCreate("UTF-8"),
                                                                            XML_ParserFree);
  Reading State;
  XML_SetUserData(Parser.get(), &State);
  XML_SetElementHandler(Parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(Parser.get(), OnText);
  XML_SetCommentHandler(Parser.get(), OnComment);
  XML_SetProcessingInstructionHandler(Parser.get(), OnInstruction);
  XML_SetCdataSectionHandler(Parser.get(), OnCdataEdge, OnCdataEdge);
  if (XML_Parse(Parser.get(), Text.data(), static_cast<int>(Text.size()), XML_TRUE) != XML_STATUS_OK)
    return std::nullopt;
  return State.Meaning;
}
