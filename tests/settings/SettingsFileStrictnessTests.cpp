#include <gtest/gtest.h>

#include "settings/SettingsErrors.h"
#include "tests/settings/TempFolder.h"
#include "tests/settings/WindowSettingsSave.h"
#include "settings/XMLIniFiles.h"

using namespace tarnwick;

namespace {

std::string CreateError(const std::wstring& File) {
  try {
    TXMLIniFile Ini(File, TRegionalFormats{});
  } catch (const EXMLDocError& Error) {
    return Error.what();
  }
  return "no error";
}

}  // namespace

// Each of these the DOM parser alone would load, and the next save would
// rewrite with another meaning or none.
TEST(SettingsFileStrictness, RefusesFilesThatAreNotWellFormedAndNeverRewritesThem) {
  const struct {
    const char* What;
    std::string Bytes;
    const char* Reason;
    int Line;
    const char* LineText;
  } Cases[] = {
      {"empty", "", "文書要素がありません", 1, ""},
      {"two top-level elements", "<root/>\n<other/>", "文書要素の後に余分な内容があります", 2, "<other/>"},
      {"text before", "settings\n<root/>", "構文が正しくありません", 1, "settings"},
      {"text after", "<root><Config/></root>\r\ntail", "文書要素の後に余分な内容があります", 2, "tail"},
      {"bare ampersand", "<root>\n<A Type=\"10\">a & b</A></root>", "正しくない文字があります", 2,
       "<A Type=\"10\">a & b</A></root>"},
      {"undefined entity", "<root>\r<A>&nbsp;</A></root>", "未定義のエンティティを参照しています", 2, "<A>&nbsp;</A></root>"},
      {"declared entity", "<!DOCTYPE root [\n <!ENTITY e \"x\">\n]>\n<root>&e;</root>",
       "エンティティの宣言には対応していません", 2, " <!ENTITY e \"x\">"},
      {"entity bomb", "<!DOCTYPE r [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><r>&b;</r>",
       "エンティティの宣言には対応していません", 1, "<!DOCTYPE r [<!ENTITY a \"aaaa\"><!ENTITY "},
      {"entity of an external subset", "<!DOCTYPE root SYSTEM \"root.dtd\">\n<root>&ext;</root>",
       "未定義のエンティティを参照しています", 2, "<root>&ext;</root>"},
      {"duplicate attributes", "<root>\n\t<A Type=\"9\" Type=\"10\">1</A>\n</root>", "属性が重複しています", 2,
       "\t<A Type=\"9\" Type=\"10\">1</A>"},
      {"less-than in an attribute", "<root><A Type=\"<9\">1</A></root>", "正しくない文字があります", 1,
       "<root><A Type=\"<9\">1</A></root>"},
      {"Latin-1 bytes", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root><A>caf\xE9</A></root>",
       "正しくない文字があります (UTF-8 ではありません)", 2, "<root><A>caf\xEF\xBF\xBD</A></root>"},
      {"a cut UTF-8 sequence", "<root><A>\xE6\x97</A></root>", "正しくない文字があります (UTF-8 ではありません)", 1,
       "<root><A>\xEF\xBF\xBD</A></root>"},
      {"an encoded surrogate", "<root a=\"\xED\xA0\x80\"/>", "正しくない文字があります (UTF-8 ではありません)", 1,
       "<root a=\"\xEF\xBF\xBD\"/>"},
  };
  TempFolder Folder;
  const std::wstring File = Folder.File(L"Tarnwick.xml");
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.What);
    WriteBytes(File, Case.Bytes);
    const std::string Expected =
        std::string(Case.Reason) + "\r\n行: " + std::to_string(Case.Line) + "\r\n" + Case.LineText;
    EXPECT_EQ(CreateError(File), Expected);
    EXPECT_THROW(SaveWindowSettings(File), EXMLDocError) << "a close must not save over it";
    EXPECT_EQ(ReadBytes(File), Case.Bytes);
  }
}

TEST(SettingsFileStrictness, KeepsWhatAWellFormedFileHoldsBesideTheSettings) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"Tarnwick.xml");
  const std::string Prolog =
      "<!-- made by hand -->\n"
      "<?editor mode=\"tabs\"?>\n"
      "<!DOCTYPE root [\n  <!ELEMENT root ANY>\n  <!ATTLIST root edited CDATA #IMPLIED>\n]>\n";
  WriteBytes(File, "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + Prolog +
                       "<root edited=\"yes\" xmlns:x=\"urn:x\"><x:Note x:by=\"me\">keep &amp; &#26085;</x:Note>"
                       "<Config><!-- the window's --><Cursor Type=\"9\">3</Cursor><![CDATA[<raw>]]></Config>"
                       "</root>\n<!-- after -->\n");
  SaveWindowSettings(File);
  EXPECT_EQ(ReadBytes(File),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + Prolog +
                "<root edited=\"yes\" xmlns:x=\"urn:x\"><x:Note x:by=\"me\">keep &amp; 日</x:Note>"
                "<Config><!-- the window's --><Cursor Type=\"9\">5</Cursor><![CDATA[<raw>]]>"
                "\t<Splash Type=\"9\">2</Splash>\n\t\t<Picture Type=\"10\"></Picture>\n\t\t<Size Type=\"9\">1</Size>\n"
                "\t\t<First Type=\"2\">0</First>\n\t\t<WavFile Type=\"10\"></WavFile>\n\t\t<Wav Type=\"9\">0</Wav>\n"
                "\t</Config></root>\n<!-- after -->\n");
}
