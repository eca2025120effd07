#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/DateText.h"
#include "settings/NumberText.h"
#include "settings/RegionalFormats.h"
#include "settings/XMLDocument.h"

namespace tarnwick {

// The type mark stored with each value, as the decimal attribute "Type".
enum class TXMLNodeType : std::uint8_t {
  xdtUnknown = 0,
  xdtBinary = 1,
  xdtBool = 2,
  xdtCurrency = 3,
  xdtDate = 4,
  xdtDateTime = 5,
  xdtExpandString = 6,
  xdtFloat = 7,
  xdtInt64 = 8,
  xdtInteger = 9,
  xdtString = 10,
  xdtTime = 11,
};

// Settings kept in one XML file and used the way an INI file is: open a
// section by a path of element names ("/Config"), then read and write typed
// values by key name. Every operation that takes a ParentNode works on the
// current section when it is left empty.
//
// Nothing reaches the file but through the constructor (a new file) and
// UpdateFile; freeing the object discards unsaved changes.
class TXMLIniFile {
 public:
  // Loads FileName when it names an existing file; otherwise makes a new
  // document (declaration and element "root") and, unless FileName is empty,
  // saves it at once. Raises EXMLDocError when the file cannot be parsed,
  // read or written. Values are written and read in Formats.
  explicit TXMLIniFile(const std::wstring& FileName, TRegionalFormats Formats = UserRegionalFormats());
  TXMLIniFile(const TXMLIniFile&) = delete;
  TXMLIniFile& operator=(const TXMLIniFile&) = delete;

  IXMLNode CurrentNode() const { return FCurrentNode; }
  // Always begins and ends with "/".
  const std::wstring& CurrentLocationPath() const { return FCurrentLocationPath; }
  IXMLNode RootNode() const { return FRootNode; }
  std::wstring RootNodeName() const;
  TXMLDocument& XMLDocument() { return FXML; }

  // Makes LocationPath (absolute, or relative to the current section) the
  // current section; with CanCreate, missing elements are appended and the
  // result is true. False, and nothing moved, when the path does not exist.
  // Raises EXMLDocError for a name that cannot be created, after creating
  // the elements before it.
  bool OpenNode(const std::wstring& LocationPath, bool CanCreate);
  // The current section stays as it is.
  void CloseNode() {}
  bool NodeExists(const std::wstring& LocationPath) const;

  // Appends an element named TagName, also when one exists. False on any error.
  bool CreateNode(const std::wstring& TagName, IXMLNode ParentNode = {});
  // Removes the first child named TagName; true also when there is none,
  // false only when the removal failed.
  bool DeleteNode(const std::wstring& TagName, IXMLNode ParentNode = {});
  // Appends the names of all child nodes, text nodes as "#text".
  void GetNodeNames(std::vector<std::wstring>& Strings, IXMLNode ParentNode = {}) const;
  bool HasChildNodes(IXMLNode ParentNode = {}) const;
  // Raises EXMLDocError when there is no child of that name.
  IXMLNode ChildNodeByName(const std::wstring& TagName, IXMLNode ParentNode = {}) const;
  // Raises EListError for an index outside 0 .. count - 1.
  IXMLNode ChildNodes(std::int32_t Index, IXMLNode ParentNode = {}) const;
  std::int32_t ChildNodesCount(IXMLNode ParentNode = {}) const;

  // Saves when the document changed and a file name was given. Raises
  // EXMLDocError on failure and stays changed, so a later call tries again.
  void UpdateFile();

  // Reads return Default for a missing key, raise EConvertError (dates:
  // EVariantTypeCastError) for a text of the wrong kind and EXMLDocError for
  // a key without a single text node (a section). Writes create the
  // key when missing and raise EXMLDocError for an invalid name or a key
  // without a single text node.
  std::int32_t ReadInteger(const std::wstring& TagName, std::int32_t Default, IXMLNode ParentNode = {});
  std::int64_t ReadInt64(const std::wstring& TagName, std::int64_t Default, IXMLNode ParentNode = {});
  double ReadFloat(const std::wstring& TagName, double Default, IXMLNode ParentNode = {});
  Currency ReadCurrency(const std::wstring& TagName, Currency Default, IXMLNode ParentNode = {});
  bool ReadBool(const std::wstring& TagName, bool Default, IXMLNode ParentNode = {});
  TDateTime ReadDate(const std::wstring& TagName, TDateTime Default, IXMLNode ParentNode = {});
  TDateTime ReadDateTime(const std::wstring& TagName, TDateTime Default, IXMLNode ParentNode = {});
  TDateTime ReadTime(const std::wstring& TagName, TDateTime Default, IXMLNode ParentNode = {});
  std::wstring ReadString(const std::wstring& TagName, const std::wstring& Default, IXMLNode ParentNode = {});
  // ReadString, then %NAME% environment references expanded (in Default too).
  std::wstring ReadExpandString(const std::wstring& TagName, const std::wstring& Default, IXMLNode ParentNode = {});
  // Buffer is emptied for a missing key; on a conversion error it is left as it was.
  void ReadBinaryData(const std::wstring& TagName, std::vector<std::uint8_t>& Buffer, IXMLNode ParentNode = {});

  void WriteInteger(const std::wstring& TagName, std::int32_t Value, IXMLNode ParentNode = {});
  void WriteInt64(const std::wstring& TagName, std::int64_t Value, IXMLNode ParentNode = {});
  void WriteFloat(const std::wstring& TagName, double Value, IXMLNode ParentNode = {});
  void WriteCurrency(const std::wstring& TagName, Currency Value, IXMLNode ParentNode = {});
  void WriteBool(const std::wstring& TagName, bool Value, IXMLNode ParentNode = {});
  // Date writes raise EConvertError for a value outside the years 1 to 9999.
  void WriteDate(const std::wstring& TagName, TDateTime Value, IXMLNode ParentNode = {});
  void WriteDateTime(const std::wstring& TagName, TDateTime Value, IXMLNode ParentNode = {});
  void WriteTime(const std::wstring& TagName, TDateTime Value, IXMLNode ParentNode = {});
  void WriteString(const std::wstring& TagName, const std::wstring& Value, IXMLNode ParentNode = {});
  void WriteExpandString(const std::wstring& TagName, const std::wstring& Value, IXMLNode ParentNode = {});
  void WriteBinaryData(const std::wstring& TagName, const std::vector<std::uint8_t>& Buffer, IXMLNode ParentNode = {});

  // The key's type mark. xdtUnknown for a missing key; raises
  // EVariantTypeCastError when the mark is missing or no number.
  TXMLNodeType GetNodeType(const std::wstring& TagName, IXMLNode ParentNode = {});

 private:
  IXMLNode Parent(IXMLNode ParentNode) const { return ParentNode ? ParentNode : FCurrentNode; }
  IXMLNode FindChild(const std::wstring& TagName, IXMLNode ParentNode) const;
  std::wstring AbsolutePath(const std::wstring& LocationPath) const;
  // The key's text, or nothing when the key is missing or its name is invalid.
  std::optional<std::wstring> KeyText(const std::wstring& TagName, IXMLNode ParentNode);
  void WriteValue(const std::wstring& TagName, const std::wstring& Text, TXMLNodeType Type, IXMLNode ParentNode);
  std::optional<TDateTime> ReadAnyDateTime(const std::wstring& TagName, IXMLNode ParentNode);

  IXMLNode FCurrentNode;
  std::wstring FCurrentLocationPath = L"/";
  IXMLNode FRootNode;
  TXMLDocument FXML;
  std::wstring FFileName;
  TRegionalFormats FFormats;
};

}  // namespace tarnwick
