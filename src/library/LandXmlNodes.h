#pragma once
// What every LandXML reader of the program shares: element and attribute names
// with or without a namespace prefix, and the linear unit of the file.

#include <pugixml.hpp>

#include <cctype>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trazmark::landxml {

/// A name without its namespace prefix ("lx:Line" is "Line").
inline std::string_view localName(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon ? std::string_view(colon + 1) : std::string_view(name);
}

inline std::string_view localName(const pugi::xml_node& node) { return localName(node.name()); }

/// The first child element of that local name, or none.
inline pugi::xml_node childNamed(const pugi::xml_node& node, std::string_view name) {
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && localName(c) == name) return c;
  return {};
}

/// Every child element of that local name, in file order.
inline std::vector<pugi::xml_node> childrenNamed(const pugi::xml_node& node, std::string_view name) {
  std::vector<pugi::xml_node> out;
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && localName(c) == name) out.push_back(c);
  return out;
}

/// The attribute of that local name (attributes may carry a prefix too), or none.
inline pugi::xml_attribute attributeNamed(const pugi::xml_node& node, std::string_view name) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
    if (localName(a.name()) == name) return a;
  return {};
}

/// A unit's name as exporters write it, compared ignoring case and runs of
/// white space ("Decimal  dd.mm.ss" is "decimal dd.mm.ss").
inline std::string unitName(std::string_view text) {
  std::string out;
  bool space = false;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

constexpr double kUsSurveyFoot = 1200.0 / 3937.0;  // metres, by its definition
constexpr double kInternationalFoot = 0.3048;

/// Metres per length unit of a `Metric` or `Imperial` element: its
/// `linearUnit`, or without one metres (Metric) or feet (Imperial); none for
/// a unit the program does not know.
inline std::optional<double> linearUnitOf(const pugi::xml_node& system) {
  const std::string unit = unitName(attributeNamed(system, "linearUnit").value());
  if (unit.empty()) return localName(system) == "Metric" ? 1.0 : kInternationalFoot;
  static const std::map<std::string, double> kLinear = {
      {"meter", 1.0}, {"metre", 1.0}, {"meters", 1.0}, {"metres", 1.0},
      {"kilometer", 1000.0}, {"kilometre", 1000.0}, {"millimeter", 0.001},
      {"centimeter", 0.01}, {"foot", kInternationalFoot}, {"feet", kInternationalFoot},
      {"ussurveyfoot", kUsSurveyFoot}, {"us survey foot", kUsSurveyFoot},
      {"inch", kInternationalFoot / 12}, {"mile", kInternationalFoot * 5280}};
  const auto it = kLinear.find(unit);
  if (it == kLinear.end()) return std::nullopt;
  return it->second;
}

}  // namespace trazmark::landxml
