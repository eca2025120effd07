#include "settings/XMLIniFiles.h"

#include "settings/FileStorage.h"
#include "settings/SettingsErrors.h"
#include "base/Utf.h"
#include "settings/XmlName.h"

// The file's life, path navigation and the plain node operations. The typed
// values are in XMLIniValues.cpp.
namespace tarnwick {
namespace {

// The element names of an absolute path: the items between the first and
// the last "/"-separated item. "/" names none, "/Config/" names Config, and
// "//" names one empty name, which matches nothing.
std::vector<std::wstring> PathNames(const std::wstring& AbsolutePath) {
  std::vector<std::wstring> Items;
  std::size_t Start = 0;
  for (;;) {
    const std::size_t Slash = AbsolutePath.find(L'/', Start);
    Items.push_back(AbsolutePath.substr(Start, Slash == std::wstring::npos ? std::wstring::npos : Slash - Start));
    if (Slash == std::wstring::npos) break;
    Start = Slash + 1;
  }
  if (Items.size() < 2) return {};
  return {Items.begin() + 1, Items.end() - 1};
}

IXMLNode FirstChildElement(IXMLNode Parent, const std::string& Name) {
  for (IXMLNode Child : Parent.children())
    if (Child.type() == pugi::node_element && Name == Child.name()) return Child;
  return {};
}

// Follows the path's names from Root; for a name not found, OnMissing(node
// reached, name) gives the element to go on from, or none to stop there.
template <typename MissingHandler>
IXMLNode WalkPath(IXMLNode Root, const std::wstring& AbsolutePath, MissingHandler OnMissing) {
  IXMLNode Node = Root;
  for (const std::wstring& Name : PathNames(AbsolutePath)) {
    IXMLNode Child = FirstChildElement(Node, ToUtf8(Name));
    if (!Child) Child = OnMissing(Node, Name);
    if (!Child) return {};
    Node = Child;
  }
  return Node;
}

}  // namespace

TXMLIniFile::TXMLIniFile(const std::wstring& FileName, TRegionalFormats Formats)
    : FFileName(FileName), FFormats(std::move(Formats)) {
  if (!FileName.empty() && IsExistingFile(FileName)) {
    FXML.LoadFromFile(FileName);
  } else {
    FXML.CreateNew();
    if (!FileName.empty()) FXML.SaveToFile(FileName);
  }
  FRootNode = FXML.DocumentElement();
  FCurrentNode = FRootNode;
}

std::wstring TXMLIniFile::RootNodeName() const { return FromUtf8(FRootNode.name()); }

std::wstring TXMLIniFile::AbsolutePath(const std::wstring& LocationPath) const {
  std::wstring Path = LocationPath;
  if (Path.empty() || Path.front() != L'/') {
    std::wstring Base = FCurrentLocationPath;
    if (Base.empty() || Base.back() != L'/') Base += L'/';
    Path = Base + Path;
  }
  if (Path.back() != L'/') Path += L'/';
  return Path;
}

bool TXMLIniFile::OpenNode(const std::wstring& LocationPath, bool CanCreate) {
  const std::wstring Path = AbsolutePath(LocationPath);
  const IXMLNode Node = WalkPath(FRootNode, Path, [&](IXMLNode Reached, const std::wstring& Name) {
    return CanCreate ? FXML.AppendElement(Reached, Name) : IXMLNode();
  });
  if (!Node) return false;
  FCurrentNode = Node;
  FCurrentLocationPath = Path;
  return true;
}

bool TXMLIniFile::NodeExists(const std::wstring& LocationPath) const {
  return WalkPath(FRootNode, AbsolutePath(LocationPath), [](IXMLNode, const std::wstring&) { return IXMLNode(); });
}

IXMLNode TXMLIniFile::FindChild(const std::wstring& TagName, IXMLNode ParentNode) const {
  for (IXMLNode Child : Parent(ParentNode).children())
    if (NodeName(Child) == TagName) return Child;
  return {};
}

bool TXMLIniFile::CreateNode(const std::wstring& TagName, IXMLNode ParentNode) {
  try {
    FXML.AppendElement(Parent(ParentNode), TagName);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TXMLIniFile::DeleteNode(const std::wstring& TagName, IXMLNode ParentNode) {
  try {
    if (const IXMLNode Child = FindChild(TagName, ParentNode)) FXML.RemoveChild(Child);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TXMLIniFile::GetNodeNames(std::vector<std::wstring>& Strings, IXMLNode ParentNode) const {
  for (IXMLNode Child : Parent(ParentNode).children()) Strings.push_back(NodeName(Child));
}

bool TXMLIniFile::HasChildNodes(IXMLNode ParentNode) const { return Parent(ParentNode).first_child(); }

IXMLNode TXMLIniFile::ChildNodeByName(const std::wstring& TagName, IXMLNode ParentNode) const {
  const IXMLNode Child = FindChild(TagName, ParentNode);
  if (!Child) throw EXMLDocError(NodeNotFoundMessage(TagName));
  return Child;
}

IXMLNode TXMLIniFile::ChildNodes(std::int32_t Index, IXMLNode ParentNode) const {
  std::int32_t Position = 0;
  if (Index >= 0) {
    for (IXMLNode Child : Parent(ParentNode).children())
      if (Position++ == Index) return Child;
  }
  throw EListError(ListIndexMessage(Index));
}

std::int32_t TXMLIniFile::ChildNodesCount(IXMLNode ParentNode) const {
  std::int32_t Count = 0;
  for ([[maybe_unused]] IXMLNode Child : Parent(ParentNode).children()) ++Count;
  return Count;
}

void TXMLIniFile::UpdateFile() {
  if (FXML.Modified() && !FFileName.empty()) FXML.SaveToFile(FFileName);
}

}  // namespace tarnwick
