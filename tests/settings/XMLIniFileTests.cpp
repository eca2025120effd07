#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/FileStorage.h"
#include "tests/settings/FirstRunSettingsFile.h"
#include "settings/SettingsErrors.h"
#include "tests/settings/TempFolder.h"
#include "base/Utf.h"
#include "tests/settings/WindowSettingsSave.h"
#include "settings/XMLIniFiles.h"

using namespace tarnwick;
using ::testing::ElementsAre;

namespace {

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string ParseErrorOf(const std::string& Bytes) {
  TXMLDocument Document;
  try {
    Document.LoadFromBytes(Bytes);
  } catch (const EXMLDocError& Error) {
    return Error.what();
  }
  return "no error";
}

}  // namespace

TEST(XMLIniFile, CreatesANewFileAtOnce) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"Tarnwick.xml");
  TXMLIniFile Ini(File, TRegionalFormats{});
  EXPECT_EQ(ReadBytes(File), Declaration + "<root/>\n");
  EXPECT_EQ(Ini.RootNodeName(), L"root");
  EXPECT_EQ(Ini.CurrentLocationPath(), L"/");
  EXPECT_EQ(Ini.CurrentNode(), Ini.RootNode());
  EXPECT_FALSE(Ini.XMLDocument().Modified());
}

TEST(XMLIniFile, WritesTheSettingsWindowsFileByteForByte) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"Tarnwick.xml");
  TXMLIniFile{File, TRegionalFormats{}};
  SaveWindowSettings(File);
  EXPECT_EQ(ReadBytes(File), FirstRunSettingsFile);
  // Loading drops the indentation and rewriting existing keys adds none.
  SaveWindowSettings(File);
  EXPECT_EQ(ReadBytes(File), Declaration +
                                 "<root><Config><Cursor Type=\"9\">5</Cursor><Splash Type=\"9\">2</Splash>"
                                 "<Picture Type=\"10\"></Picture><Size Type=\"9\">1</Size><First Type=\"2\">0</First>"
                                 "<WavFile Type=\"10\"></WavFile><Wav Type=\"9\">0</Wav></Config></root>\n");
}

TEST(XMLIniFile, KeepsAnEmptyNameInMemory) {
  TempFolder Folder;
  TXMLIniFile Ini(L"", TRegionalFormats{});
  Ini.OpenNode(L"/Config", true);
  Ini.WriteInteger(L"Cursor", 7);
  Ini.UpdateFile();
  EXPECT_EQ(Ini.ReadInteger(L"Cursor", 0), 7);
  EXPECT_TRUE(Ini.XMLDocument().Modified());
}

TEST(XMLIniFile, UsesALoadedDocumentElementWhateverItsName) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"other.xml");
  WriteBytes(File, "\xEF\xBB\xBF<settings>\r\n  <Config><A Type=\"9\">7</A></Config>\r\n</settings>");
  TXMLIniFile Ini(File, TRegionalFormats{});
  EXPECT_EQ(Ini.RootNodeName(), L"settings");
  ASSERT_TRUE(Ini.OpenNode(L"/Config", false));
  EXPECT_EQ(Ini.ReadInteger(L"A", 0), 7);
  EXPECT_EQ(Ini.ChildNodesCount(Ini.RootNode()), 1) << "white space between elements is dropped";
}

TEST(XMLIniFile, ReadsUtf16Files) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"utf16.xml");
  const std::string Ascii = "<root><Config><Name Type=\"10\">caf\xE9</Name></Config></root>";
  std::string Bytes = "\xFF\xFE";
  for (char C : Ascii) Bytes += {C, '\0'};
  WriteBytes(File, Bytes);
  TXMLIniFile Ini(File, TRegionalFormats{});
  Ini.OpenNode(L"/Config", false);
  EXPECT_EQ(Ini.ReadString(L"Name", L""), L"caf\u00E9");
}

TEST(XMLIniFile, ResolvesAndWalksPaths) {
  TXMLIniFile Ini(L"", TRegionalFormats{});
  ASSERT_TRUE(Ini.OpenNode(L"/Config", true));
  EXPECT_EQ(Ini.CurrentLocationPath(), L"/Config/");
  const IXMLNode Config = Ini.CurrentNode();
  EXPECT_EQ(NodeName(Config), L"Config");

  EXPECT_FALSE(Ini.OpenNode(L"Sub", false));
  EXPECT_EQ(Ini.CurrentNode(), Config) << "a failed open moves nothing";
  EXPECT_EQ(Ini.CurrentLocationPath(), L"/Config/");
  EXPECT_TRUE(Ini.NodeExists(L""));
  EXPECT_FALSE(Ini.NodeExists(L"Sub"));

  ASSERT_TRUE(Ini.OpenNode(L"Sub/Deeper", true));
  EXPECT_EQ(Ini.CurrentLocationPath(), L"/Config/Sub/Deeper/");
  EXPECT_TRUE(Ini.NodeExists(L"/Config/Sub"));
  EXPECT_TRUE(Ini.OpenNode(L"", false));
  EXPECT_EQ(Ini.CurrentLocationPath(), L"/Config/Sub/Deeper/");
  EXPECT_TRUE(Ini.OpenNode(L"/", false));
  EXPECT_EQ(Ini.CurrentNode(), Ini.RootNode());
  EXPECT_EQ(Ini.CurrentLocationPath(), L"/");

  EXPECT_TRUE(Ini.NodeExists(L"/"));
  EXPECT_FALSE(Ini.NodeExists(L"//"));
  EXPECT_FALSE(Ini.NodeExists(L"/Config//Sub"));
  EXPECT_FALSE(Ini.NodeExists(L"/config")) << "names are case-sensitive";
}

TEST(XMLIniFile, CreatesPathElementsUpToAnInvalidName) {
  TXMLIniFile Ini(L"", TRegionalFormats{});
  for (const wchar_t* Path : {L"/A/1st", L"/A/has blank", L"/A//B"}) {
    EXPECT_THROW(Ini.OpenNode(Path, true), EXMLDocError) << Path;
  }
  EXPECT_TRUE(Ini.NodeExists(L"/A"));
  EXPECT_EQ(Ini.CurrentLocationPath(), L"/");
  EXPECT_FALSE(Ini.CreateNode(L"1st"));
  EXPECT_FALSE(Ini.CreateNode(L""));
}

TEST(XMLIniFile, UsesTheFirstOfTwoChildrenWithOneName) {
  TXMLIniFile Ini(L"", TRegionalFormats{});
  Ini.OpenNode(L"/Config", true);
  ASSERT_TRUE(Ini.CreateNode(L"Key"));
  ASSERT_TRUE(Ini.CreateNode(L"Key"));
  Ini.WriteInteger(L"Key", 1);
  EXPECT_EQ(Ini.ChildNodeByName(L"Key"), Ini.ChildNodes(2)) << "the first Key, after its indentation";
  EXPECT_EQ(Ini.ReadInteger(L"Key", 0), 1);

  ASSERT_TRUE(Ini.DeleteNode(L"Key"));
  EXPECT_EQ(Ini.ReadString(L"Key", L"gone"), L"") << "the second Key, never written, remains";
  EXPECT_TRUE(Ini.DeleteNode(L"Key"));
  EXPECT_TRUE(Ini.DeleteNode(L"Key")) << "deleting what is not there succeeds";
  EXPECT_EQ(Ini.ReadString(L"Key", L"gone"), L"gone");
}

TEST(XMLIniFile, CountsIndentationUntilTheFileIsLoadedAgain) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"t.xml");
  {
    TXMLIniFile Ini(File, TRegionalFormats{});
    Ini.OpenNode(L"/Config", true);
    Ini.WriteInteger(L"A", 1);
    Ini.WriteInteger(L"B", 2);
    std::vector<std::wstring> Names{L"kept"};
    Ini.GetNodeNames(Names);
    EXPECT_THAT(Names, ElementsAre(L"kept", L"#text", L"#text", L"A", L"#text", L"#text", L"B", L"#text"));
    EXPECT_EQ(Ini.ChildNodesCount(), 7);
    EXPECT_TRUE(Ini.HasChildNodes());
    EXPECT_FALSE(Ini.HasChildNodes(Ini.ChildNodeByName(L"A").first_child())) << "a text node has no children";
    Ini.UpdateFile();
  }
  TXMLIniFile Ini(File, TRegionalFormats{});
  Ini.OpenNode(L"/Config", false);
  std::vector<std::wstring> Names;
  Ini.GetNodeNames(Names);
  EXPECT_THAT(Names, ElementsAre(L"A", L"B"));
  EXPECT_EQ(Ini.ChildNodesCount(), 2);
}

TEST(XMLIniFile, IndentsKeysAppendedToALoadedSection) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"t.xml");
  WriteBytes(File, "<root><Config><A Type=\"9\">1</A></Config></root>");
  TXMLIniFile Ini(File, TRegionalFormats{});
  Ini.OpenNode(L"/Config", false);
  Ini.WriteInteger(L"B", 2);
  Ini.UpdateFile();
  EXPECT_EQ(ReadBytes(File), Declaration + "<root><Config><A Type=\"9\">1</A>\t<B Type=\"9\">2</B>\n\t</Config></root>\n");
}

TEST(XMLIniFile, LeavesIndentationBehindADeletedKey) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"t.xml");
  TXMLIniFile Ini(File, TRegionalFormats{});
  Ini.OpenNode(L"/Config", true);
  Ini.WriteInteger(L"A", 1);
  Ini.WriteInteger(L"B", 2);
  Ini.DeleteNode(L"A");
  Ini.UpdateFile();
  EXPECT_EQ(ReadBytes(File), Declaration + "<root>\n\t<Config>\n\t\t\n\t\t<B Type=\"9\">2</B>\n\t</Config>\n</root>\n");
}

TEST(XMLIniFile, KeepsDeletedNodesUsableUntilTheStoreGoes) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"t.xml");
  TXMLIniFile Ini(File, TRegionalFormats{});
  ASSERT_TRUE(Ini.OpenNode(L"/Config", true));
  // Enough keys to fill whole blocks of the document's memory: a deletion
  // that freed them would hand those blocks back, where ASan sees any use.
  for (int I = 0; I < 400; ++I) Ini.WriteInteger(L"Key" + std::to_wstring(I), I);
  const IXMLNode Section = Ini.CurrentNode();
  const IXMLNode Key = Ini.ChildNodeByName(L"Key200");
  ASSERT_TRUE(Ini.OpenNode(L"/After", true));
  Ini.WriteInteger(L"Kept", 1);
  ASSERT_TRUE(Ini.OpenNode(L"/Config", false));
  ASSERT_TRUE(Ini.DeleteNode(L"Config", Ini.RootNode()));

  EXPECT_FALSE(Ini.NodeExists(L"/Config"));
  EXPECT_EQ(Ini.CurrentNode(), Section) << "the deleted section stays current";
  EXPECT_EQ(NodeName(Key), L"Key200");
  EXPECT_EQ(Ini.ReadInteger(L"Key399", -1), 399);
  EXPECT_EQ(Ini.ReadInteger(L"Key200", -1, Section), 200);
  Ini.WriteInteger(L"Key200", 7);
  EXPECT_EQ(Ini.XMLDocument().Text(Key), L"7");
  Ini.WriteString(L"Added", L"x");
  std::vector<std::wstring> Names;
  Ini.GetNodeNames(Names);
  EXPECT_EQ(Names.back(), L"#text");
  EXPECT_EQ(Names[Names.size() - 2], L"Added");

  Ini.UpdateFile();
  EXPECT_EQ(ReadBytes(File), Declaration + "<root>\n\t\n\t<After>\n\t\t<Kept Type=\"9\">1</Kept>\n\t</After>\n</root>\n")
      << "deleted nodes are not saved";
}

TEST(XMLIniFile, TouchesTheFileOnlyWhenSavingAChange) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"t.xml");
  const std::string Original = "<root><Config><A>x</A></Config></root>";
  WriteBytes(File, Original);
  {
    TXMLIniFile Ini(File, TRegionalFormats{});
    Ini.OpenNode(L"/Config", false);
    Ini.ReadString(L"A", L"");
    Ini.ReadString(L"Missing", L"");
    EXPECT_FALSE(Ini.XMLDocument().Modified()) << "reads never change the document";
    Ini.UpdateFile();
  }
  EXPECT_EQ(ReadBytes(File), Original);
  {
    TXMLIniFile Ini(File, TRegionalFormats{});
    Ini.OpenNode(L"/New/Section", true);
    Ini.WriteInteger(L"B", 1);
  }
  EXPECT_EQ(ReadBytes(File), Original) << "freeing the store discards unsaved changes";
}

TEST(XMLIniFile, KeepsThePreviousFileAndTheChangedFlagWhenSavingFails) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"t.xml");
  TXMLIniFile Ini(File, TRegionalFormats{});
  const std::string Before = ReadBytes(File);
  Ini.OpenNode(L"/Config", true);
  Ini.WriteInteger(L"A", 1);

  // Something in the way of the new file makes the save fail.
  std::filesystem::create_directory(TemporaryFileName(File));
  EXPECT_THROW(Ini.UpdateFile(), EXMLDocError);
  EXPECT_EQ(ReadBytes(File), Before);
  EXPECT_TRUE(Ini.XMLDocument().Modified());

  std::filesystem::remove(TemporaryFileName(File));
  Ini.UpdateFile();
  EXPECT_FALSE(Ini.XMLDocument().Modified());
  EXPECT_NE(ReadBytes(File), Before);
  EXPECT_FALSE(std::filesystem::exists(TemporaryFileName(File)));
}

TEST(XMLIniFile, SavingRemovesTheNewFilesOfSavesEndedByForce) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"t.xml");
  TXMLIniFile Ini(File, TRegionalFormats{});
  const std::wstring Left[] = {File + L".~123", File + L".~4567"};
  const std::wstring Kept[] = {File + L".~", File + L".~12a", File + L".~x", Folder.File(L"u.xml.~123"),
                               Folder.File(L"t.xml~1")};
  for (const std::wstring& Name : Left) WriteBytes(Name, "<root><Con");
  for (const std::wstring& Name : Kept) WriteBytes(Name, "other");
  std::filesystem::create_directory(File + L".~89");
  Ini.OpenNode(L"/Config", true);
  Ini.WriteInteger(L"A", 1);
  Ini.UpdateFile();
  for (const std::wstring& Name : Left) EXPECT_FALSE(std::filesystem::exists(Name)) << ToUtf8(Name);
  for (const std::wstring& Name : Kept) EXPECT_TRUE(std::filesystem::exists(Name)) << ToUtf8(Name);
  EXPECT_TRUE(std::filesystem::is_directory(File + L".~89"));
  EXPECT_THAT(ReadBytes(File), ::testing::HasSubstr("<A Type=\"9\">1</A>"));
}

TEST(XMLIniFile, FailsToCreateAFileInAMissingFolder) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"missing") + L"/t.xml";
  try {
    TXMLIniFile Ini(File, TRegionalFormats{});
    ADD_FAILURE() << "no error";
  } catch (const EXMLDocError& Error) {
    EXPECT_THAT(Error.what(), ::testing::HasSubstr("t.xml"));
  }
}

TEST(XMLIniFile, ReportsParseErrorsWithLineAndText) {
  const struct {
    std::string Bytes;
    const char* Message;
  } Cases[] = {
      {"", "文書要素がありません\r\n行: 1\r\n"},
      {"<root>\n<a>\n</root>", "開始タグと終了タグが対応していません\r\n行: 3\r\n</root>"},
      {"<root>\r\n\r\n  <b attr=oops>0123456789012345678901234567890123456789</b></root>",
       "正しくない文字があります\r\n行: 3\r\n  <b attr=oops>0123456789012345678901234"},
      {"<root>\r<あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろ", 
       "マークアップが閉じられていません\r\n行: 2\r\n<あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよら"},
  };
  for (const auto& Case : Cases) EXPECT_EQ(ParseErrorOf(Case.Bytes), Case.Message);
}

TEST(XMLIniFile, RefusesADamagedFileWithoutTouchingIt) {
  TempFolder Folder;
  const std::wstring File = Folder.File(L"t.xml");
  WriteBytes(File, "<root><Config>");
  EXPECT_THROW(TXMLIniFile(File, TRegionalFormats{}), EXMLDocError);
  EXPECT_EQ(ReadBytes(File), "<root><Config>");
}

TEST(XMLIniFile, RaisesForMissingChildrenAndIndexesOutOfRange) {
  TXMLIniFile Ini(L"", TRegionalFormats{});
  Ini.OpenNode(L"/Config", true);
  Ini.WriteInteger(L"A", 1);
  try {
    Ini.ChildNodeByName(L"Missing");
    ADD_FAILURE() << "no error";
  } catch (const EXMLDocError& Error) {
    EXPECT_STREQ(Error.what(), "ノード \"Missing\" が見つかりません");
  }
  EXPECT_EQ(NodeName(Ini.ChildNodes(2)), L"A");
  for (std::int32_t Index : {-1, 4}) EXPECT_THROW(Ini.ChildNodes(Index), EListError) << Index;
}
