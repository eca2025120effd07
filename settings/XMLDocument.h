#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace tarnwick {

// A node of a settings document. An empty handle is safe to pass around and
// stands for "none"; a handle stays valid while its document lives, also
// after its node has been removed.
using IXMLNode = pugi::xml_node;

// The XML document under the settings store: parses and writes the file in
// the store's layout, indents appended elements with tabs, and keeps the
// changed flag.
//
// Written bytes: UTF-8 without a byte-order mark; the declaration
// <?xml version="1.0" encoding="utf-8"?>; a line feed after each top-level
// node; line feeds as single LF; an element with no children in the short
// form (<root/>), one holding an empty text node with start and end tag.
class TXMLDocument {
 public:
  // An empty document with no nodes; Modified is false.
  TXMLDocument() = default;
  TXMLDocument(const TXMLDocument&) = delete;
  TXMLDocument& operator=(const TXMLDocument&) = delete;

  // Replaces the document with the parsed Bytes (UTF-8 with or without a
  // byte-order mark, or UTF-16 with one). Text nodes of white space only are
  // dropped. Raises EXMLDocError with the reason, the line number and the
  // start of the offending line; the document is then left empty.
  void LoadFromBytes(std::string_view Bytes);
  void LoadFromFile(const std::wstring& FileName);

  // The document as the bytes of its file.
  std::string SaveToBytes() const;
  // Writes the file crash-safely and clears Modified; on failure raises
  // EXMLDocError and keeps Modified as it was.
  void SaveToFile(const std::wstring& FileName);

  // Replaces the document with the declaration and an empty element "root".
  void CreateNew();

  // The document element; empty when the document has none.
  IXMLNode DocumentElement() const { return FDocument.document_element(); }
  pugi::xml_document& Document() { return FDocument; }
  // True when the document changed through this object since it was loaded,
  // created or saved.
  bool Modified() const { return FModified; }

  // Appends a new element as Parent's last child, indented with line feeds
  // and tabs when Parent is the document element or below it. Raises
  // EXMLDocError when Name is no XML name or Parent cannot hold elements.
  IXMLNode AppendElement(IXMLNode Parent, std::wstring_view Name);
  // Takes Child out of the document; its indentation stays behind. Child and
  // everything below it are no longer found or written, but stay alive, so
  // handles to them stay usable until the document goes.
  void RemoveChild(IXMLNode Child);
  void SetAttribute(IXMLNode Element, std::wstring_view Name, std::wstring_view Value);

  // The value of Element's single text (or CDATA) node. An element without
  // children is first given an empty text node, which does not count as a
  // change. Raises EXMLDocError when there is no single text node.
  std::wstring Text(IXMLNode Element);
  // Replaces the value of Element's single text node; raises as Text does,
  // before changing anything.
  void SetText(IXMLNode Element, std::wstring_view Value);

 private:
  pugi::xml_node SingleTextNode(IXMLNode Element);
  void EnsureUtf8Declaration();

  pugi::xml_document FDocument;
  // Where removed nodes live on: a top-level element after the document
  // element, made at the first removal and never written. Moving them in
  // the same document keeps every handle's identity.
  pugi::xml_node FRemoved;
  bool FModified = false;
};

// The DOM's name of a node: an element's tag, "#text" for text, and so on.
std::wstring NodeName(IXMLNode Node);

}  // namespace tarnwick
