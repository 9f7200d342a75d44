#include "gps/xml_lookup.h"

#include <cstring>

namespace tarvola::gps {

namespace {

// The URI that `element` itself binds to `prefix`, when it declares it.
bool DeclaredHere(pugi::xml_node element, std::string_view prefix, std::string_view& uri) {
  for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
       attribute = attribute.next_attribute()) {
    const char* name = attribute.name();
    if (std::strncmp(name, "xmlns", 5) != 0) continue;
    bool match = prefix.empty() ? name[5] == 0 : name[5] == ':' && prefix == name + 6;
    if (match) {
      uri = attribute.value();
      return true;
    }
  }
  return false;
}

bool DeclaresAnyNamespace(pugi::xml_node element) {
  for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
       attribute = attribute.next_attribute())
    if (attribute.name()[0] == 'x' && std::strncmp(attribute.name(), "xmlns", 5) == 0) return true;
  return false;
}

}  // namespace

bool NameIsAnyCase(const char* name, std::string_view lower) {
  std::size_t i = 0;
  for (; name[i] != 0; ++i) {
    if (i == lower.size()) return false;
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return i == lower.size();
}

std::string_view PrefixOf(const char* name) {
  const char* colon = std::strchr(name, ':');
  return colon ? std::string_view(name, static_cast<std::size_t>(colon - name))
               : std::string_view();
}

std::string_view LocalName(const char* name) {
  const char* colon = std::strchr(name, ':');
  return colon ? std::string_view(colon + 1) : std::string_view(name);
}

std::string_view NamespaceOf(pugi::xml_node element) {
  std::string_view prefix = PrefixOf(element.name());
  std::string_view uri;
  for (pugi::xml_node node = element; node.type() == pugi::node_element; node = node.parent())
    if (DeclaredHere(node, prefix, uri)) return uri;
  return {};
}

std::string_view NamespaceOfChild(pugi::xml_node child, std::string_view childPrefix,
                                  std::string_view parentPrefix, std::string_view parentNamespace) {
  if (childPrefix == parentPrefix && !DeclaresAnyNamespace(child)) return parentNamespace;
  return NamespaceOf(child);
}

std::string_view NamespaceOfChild(pugi::xml_node child, pugi::xml_node parent,
                                  std::string_view parentNamespace) {
  return NamespaceOfChild(child, PrefixOf(child.name()), PrefixOf(parent.name()), parentNamespace);
}

bool IsValueChild(pugi::xml_node child, pugi::xml_node parent, std::string_view parentNamespace,
                  std::string_view localName) {
  if (child.type() != pugi::node_element || LocalName(child.name()) != localName) return false;
  return parentNamespace.empty() ||
         NamespaceOfChild(child, parent, parentNamespace) == parentNamespace;
}

pugi::xml_node FindNode(pugi::xml_node parent, std::string_view localName) {
  std::string_view parentNamespace = NamespaceOf(parent);
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
    if (IsValueChild(child, parent, parentNamespace, localName)) return child;
  return {};
}

bool HasChildNodes(pugi::xml_node element) {
  return element.first_child() || *element.value() != 0;
}

std::string ElementText(pugi::xml_node element) {
  std::string text = element.value();
  pugi::xml_node node = element.first_child();
  // A loop, not recursion: the markup inside a value may be nested arbitrarily deep.
  while (node) {
    pugi::xml_node_type type = node.type();
    if (type == pugi::node_pcdata || type == pugi::node_cdata || type == pugi::node_element)
      text += node.value();
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node != element && !node.next_sibling()) node = node.parent();
    if (node == element) break;
    node = node.next_sibling();
  }
  return text;
}

}  // namespace tarvola::gps
