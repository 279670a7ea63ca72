// The floor of `trazmark-cli info`: parses an XML file with pugixml and walks
// every element, reading its text, then prints the counts.
// usage: bench_pugixml_walk FILE

#include <pugixml.hpp>

#include <cstdio>
#include <cstring>

namespace {

void walk(const pugi::xml_node& node, unsigned long& elements, unsigned long& bytes) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    ++elements;
    bytes += std::strlen(child.child_value());
    walk(child, elements, bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: bench_pugixml_walk FILE\n", stderr);
    return 2;
  }
  pugi::xml_document doc;
  const pugi::xml_parse_result result = doc.load_file(argv[1]);
  if (!result) {
    std::fprintf(stderr, "bench_pugixml_walk: %s\n", result.description());
    return 1;
  }
  unsigned long elements = 0;
  unsigned long bytes = 0;
  walk(doc, elements, bytes);
  std::printf("elements %lu\ntext bytes %lu\n", elements, bytes);
  return 0;
}
