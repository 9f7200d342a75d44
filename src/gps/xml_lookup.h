#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace tarvola::gps {

// Element lookups of the GPX reader on a pugixml tree parsed with parse_embed_pcdata.

// The whole name, compared without regard to ASCII letter case (structural names: WPT is wpt).
bool NameIsAnyCase(const pugi::char_t* name, std::string_view lower);

// The part of a name after its prefix, and the prefix (empty for none).
std::string_view LocalName(const pugi::char_t* name);
std::string_view PrefixOf(const pugi::char_t* name);

// The namespace an element's name lies in, by the xmlns attributes on it and its ancestors;
// empty for none (an unbound prefix included).
std::string_view NamespaceOf(pugi::xml_node element);

// NamespaceOf(child) for a child of `parent`, whose namespace is known: the usual child, with
// the parent's prefix and no declarations of its own, costs no walk up the tree.
std::string_view NamespaceOfChild(pugi::xml_node child, pugi::xml_node parent,
                                  std::string_view parentNamespace);
// The same with both prefixes known already.
std::string_view NamespaceOfChild(pugi::xml_node child, std::string_view childPrefix,
                                  std::string_view parentPrefix, std::string_view parentNamespace);

// Whether `child` answers to a lookup by `localName` under `parent`: its qualified or local name
// is `localName`, and when the parent lies in a namespace the child lies in the same one.
// `parentNamespace` is NamespaceOf(parent), computed once by the caller.
bool IsValueChild(pugi::xml_node child, pugi::xml_node parent, std::string_view parentNamespace,
                  std::string_view localName);

// The first child that IsValueChild accepts, or an empty node.
pugi::xml_node FindNode(pugi::xml_node parent, std::string_view localName);

// Whether the element has any child node: text embedded in the element counts.
bool HasChildNodes(pugi::xml_node element);

// The text of a value element: its single text or CDATA child unchanged, or, for mixed content
// (a comment beside the text, markup inside a description), the text and CDATA inside it
// joined in document order.
std::string ElementText(pugi::xml_node element);

}  // namespace tarvola::gps
