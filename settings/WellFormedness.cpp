#include "settings/WellFormedness.h"

#include <expat.h>

#include <memory>
#include <new>

#include "base/Utf.h"

namespace tarnwick {
namespace {

constexpr const char* NotUtf8Reason = "正しくない文字があります (UTF-8 ではありません)";

const char* ExpatReason(XML_Error Code) {
  switch (Code) {
    case XML_ERROR_NO_MEMORY: return "メモリが足りません";
    case XML_ERROR_SYNTAX: return "構文が正しくありません";
    case XML_ERROR_NO_ELEMENTS: return "文書要素がありません";
    case XML_ERROR_INVALID_TOKEN: return "正しくない文字があります";
    case XML_ERROR_UNCLOSED_TOKEN: return "マークアップが閉じられていません";
    case XML_ERROR_PARTIAL_CHAR: return NotUtf8Reason;
    case XML_ERROR_TAG_MISMATCH: return "開始タグと終了タグが対応していません";
    case XML_ERROR_DUPLICATE_ATTRIBUTE: return "属性が重複しています";
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT: return "文書要素の後に余分な内容があります";
    case XML_ERROR_PARAM_ENTITY_REF: return "パラメーター エンティティを参照しています";
    case XML_ERROR_UNDEFINED_ENTITY: return "未定義のエンティティを参照しています";
    case XML_ERROR_RECURSIVE_ENTITY_REF: return "エンティティが自身を参照しています";
    case XML_ERROR_BAD_CHAR_REF: return "文字参照が正しくありません";
    case XML_ERROR_BINARY_ENTITY_REF: return "解析対象外のエンティティを参照しています";
    case XML_ERROR_ATTRIBUTE_EXTERNAL_ENTITY_REF: return "属性値で外部エンティティを参照しています";
    case XML_ERROR_MISPLACED_XML_PI: return "XML 宣言が文書の先頭にありません";
    case XML_ERROR_UNCLOSED_CDATA_SECTION: return "CDATA セクションが閉じられていません";
    case XML_ERROR_XML_DECL: return "XML 宣言が正しくありません";
    case XML_ERROR_PUBLICID: return "公開識別子が正しくありません";
    case XML_ERROR_AMPLIFICATION_LIMIT_BREACH: return "エンティティの展開が大きすぎます";
    default: return "XML 文書として読み込めません";
  }
}

constexpr const char* EntityDeclarationReason = "エンティティの宣言には対応していません";
constexpr const char* SkippedEntityReason = "未定義のエンティティを参照しています";

// A refusal of what expat itself accepts, made from inside its handlers.
struct TRefusal {
  XML_Parser Parser;
  std::optional<TParseFailure> Failure;
};

void Refuse(void* Data, const char* Reason) {
  auto& State = *static_cast<TRefusal*>(Data);
  State.Failure = TParseFailure{Reason, static_cast<std::size_t>(XML_GetCurrentByteIndex(State.Parser))};
  XML_StopParser(State.Parser, XML_FALSE);
}

// The DOM keeps no declared entity and expands none: a reference to one
// would be saved as literal text. Refusing the declarations also keeps
// entity-expansion bombs out.
void XMLCALL OnEntityDeclaration(void* Data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                 const XML_Char*, const XML_Char*, const XML_Char*) {
  Refuse(Data, EntityDeclarationReason);
}

// A reference that expat leaves alone because an external subset might
// declare it; the DOM would keep it as literal text.
void XMLCALL OnSkippedEntity(void* Data, const XML_Char*, int) { Refuse(Data, SkippedEntityReason); }

TParseFailure ExpatFailure(XML_Parser Parser, std::string_view Text) {
  const XML_Error Code = XML_GetErrorCode(Parser);
  const auto Offset = static_cast<std::size_t>(XML_GetCurrentByteIndex(Parser));
  // Expat says "invalid token" for bytes that are no UTF-8 as well.
  if (Code == XML_ERROR_INVALID_TOKEN && !IsUtf8SequenceAt(Text, Offset)) return {NotUtf8Reason, Offset};
  return {ExpatReason(Code), Offset};
}

}  // namespace

std::optional<TParseFailure> WellFormednessFailure(std::string_view Text) {
  // The text is UTF-8 by now; a declaration naming another encoding would
  // make expat read its bytes otherwise than the DOM does.
  const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> Parser(XML_ParserCreate("UTF-8"),
                                                                            XML_ParserFree);
  if (!Parser) throw std::bad_alloc();
  TRefusal State{Parser.get(), std::nullopt};
  XML_SetUserData(Parser.get(), &State);
  XML_SetEntityDeclHandler(Parser.get(), OnEntityDeclaration);
  XML_SetSkippedEntityHandler(Parser.get(), OnSkippedEntity);
  // Settings files are far smaller than the int that expat takes a length in.
  if (XML_Parse(Parser.get(), Text.data(), static_cast<int>(Text.size()), XML_TRUE) == XML_STATUS_OK)
    return std::nullopt;
  return State.Failure ? State.Failure : ExpatFailure(Parser.get(), Text);
}

}  // namespace tarnwick
