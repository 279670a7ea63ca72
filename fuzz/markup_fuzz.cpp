// Feeds arbitrary bytes to MarkupDocument::setText, walks and reads every
// element, and checks that elements added to a well-formed document land
// exactly where a fresh parse of the new text finds them.

#include "markup/MarkupDocument.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using trazmark::MarkupDocument;

namespace {

// Name and data of every element, in document order, as navigation sees them.
void walk(MarkupDocument& doc, std::string& out, int depth) {
  while (doc.findElement()) {
    out += doc.elementName();
    out += '=';
    out += doc.elementData();
    out += '{';
    if (depth < 200) {  // keep the recursion of deeply nested input bounded
      doc.findChildElement();
      doc.childData();
      doc.enterElement();
      walk(doc, out, depth + 1);
      doc.leaveElement();
    }
    out += '}';
  }
}

std::string describe(MarkupDocument& doc) {
  std::string out;
  doc.resetPositions();
  walk(doc, out, 0);
  doc.resetPositions();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  MarkupDocument doc;
  bool wellFormed = doc.setText(text);
  if (doc.text() != text) std::abort();
  describe(doc);
  doc.resultText();

  // Add under the root, after its first child and at the top level, with data
  // taken from the input.
  std::string value = text.substr(0, 16);
  doc.resetPositions();
  if (doc.findElement()) {
    doc.addChildElement("Fz", value);
    doc.findChildElement();
    doc.addChildElement("Gz");
    doc.addChildElement("Hz", value);
    doc.enterElement();
    doc.addElement("Iz", "x");
    doc.leaveElement();
  }
  doc.resetPositions();
  doc.addElement("Top", value);

  MarkupDocument reparsed;
  reparsed.setText(doc.text());
  if (wellFormed) {
    // The new top-level element makes a sibling of the root; all else must agree.
    if (reparsed.elementCount() != doc.elementCount()) std::abort();
    if (describe(reparsed) != describe(doc)) std::abort();
  }
  return 0;
}
