#include <windows.h>

#include <gtest/gtest.h>

#include "settings/PlatformDateText.h"
#include "tests/settings/TempFolder.h"
#include "base/Utf.h"
#include "settings/XMLIniFiles.h"

using namespace tarnwick;

namespace {

bool OleAutomationLoaded() { return GetModuleHandleW(L"oleaut32.dll") != nullptr; }

TRegionalFormats German() {
  TRegionalFormats Formats;
  Formats.DecimalSeparator = L',';
  Formats.ShortDateFormat = L"dd.MM.yy";
  return Formats;
}

}  // namespace

TEST(PlatformDateText, DateReadsTryThePlatformThenTheRegionalFormsThenDays) {
  const struct {
    const wchar_t* Text;
    TRegionalFormats Formats;
    double Expected;
  } Cases[] = {
      {L"2024-02-29", {}, 45351.0},        // only the platform reads this
      {L"29.02.24", German(), 45351.0},    // only the regional short date
      {L"45351,5", German(), 45351.5},     // only a number of days
  };
  for (const auto& Case : Cases) {
    TXMLIniFile Ini(L"", Case.Formats);
    Ini.WriteString(L"When", Case.Text);
    EXPECT_EQ(Ini.ReadDate(L"When", 0), Case.Expected) << ToUtf8(Case.Text);
  }
  EXPECT_EQ(ParseDateTime(L"2024-02-29", {}), std::nullopt) << "the portable reader refuses it";

  // A text that both read, differently: the platform's reading wins.
  const auto Platform = ParsePlatformDateTime(L"01.02.03");
  const auto Portable = ParseDateTime(L"01.02.03", German());
  ASSERT_TRUE(Platform && Portable && *Platform != *Portable);
  TXMLIniFile Ini(L"", German());
  Ini.WriteString(L"When", L"01.02.03");
  EXPECT_EQ(Ini.ReadDateTime(L"When", 0), *Platform);
}

// ctest runs each test in a process of its own, so what is loaded when it
// starts is what starting the program loaded.
TEST(PlatformDateText, OleAutomationIsLoadedByTheFirstDateRead) {
  if (OleAutomationLoaded()) GTEST_SKIP() << "loaded by an earlier test in this process; run this one alone";
  TempFolder Folder;
  TXMLIniFile Ini(Folder.File(L"Tarnwick.xml"));
  Ini.OpenNode(L"/Config", true);
  Ini.WriteInteger(L"Cursor", 5);
  Ini.WriteDate(L"Day", 45351);
  EXPECT_EQ(Ini.ReadInteger(L"Cursor", 0), 5);
  EXPECT_FALSE(Ini.ReadString(L"Day", L"").empty());
  Ini.UpdateFile();
  EXPECT_FALSE(OleAutomationLoaded());
  EXPECT_EQ(Ini.ReadDate(L"Day", 0), 45351.0);
  EXPECT_TRUE(OleAutomationLoaded());
}
