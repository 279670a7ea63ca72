#pragma once
// The small XML document through which every configuration, language and road
// file of the program is read and written. The whole document is one text in
// the ANSI code page, with a flat index of its elements built by one pass over
// the text. A current position (parent, main and child element) drives the
// navigation and tells the add operations where a new element goes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trazmark {

/// One entry of the result log of the last load or parse: a name such as
/// "bom", "converted_to" or "lone_end_tag", and attributes as key/value pairs.
struct MarkupResultEntry {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
};

class MarkupDocument {
 public:
  /// An empty document with all positions cleared.
  MarkupDocument();

  /// Replaces the document text (ANSI code page), rebuilds the element index,
  /// clears the positions. Returns whether the text is well-formed: nothing
  /// recorded by the parse, a root element, and no sibling of the root. An
  /// ill-formed text stays loaded all the same.
  bool setText(std::string text = {});

  /// Reads `path`, detects its encoding (byte-order mark, XML declaration,
  /// HTML meta charset, UTF-8 detection), converts it to the ANSI code page and
  /// parses it. False when the file cannot be read (the document is then
  /// empty) or is not well-formed (the text stays loaded).
  bool loadFile(const std::string& path);

  /// Writes the text converted to the encoding of its XML declaration (UTF-8
  /// when none is declared), without byte-order mark. The bytes go to a
  /// temporary file in the same folder that replaces `path` only once all of
  /// them are written; on false the previous file is untouched.
  bool saveFile(const std::string& path);

  /// The document text (ANSI code page) as it would be saved.
  const std::string& text() const { return m_text; }

  /// Whether the last setText/loadFile found the text well-formed.
  bool isWellFormed() const { return m_wellFormed; }

  /// The log of the last loadFile or setText.
  const std::vector<MarkupResultEntry>& result() const { return m_result; }
  /// The same log as text, one "<name key=\"value\"/>" per entry.
  std::string resultText() const;

  // --- navigation --------------------------------------------------------

  /// Clears the parent, main and child positions: the next findElement
  /// searches the top level from its start.
  void resetPositions();

  /// Finds the next element called `name` (exact, case-sensitive; empty means
  /// any element) among the siblings after the main position under the current
  /// parent, or from the parent's first child when there is no main position.
  /// The found element becomes the main position; the child position clears.
  bool findElement(std::string_view name = {});

  /// Finds the next child called `name` (empty: any) of the main position
  /// after the child position and makes it the child position. Without a main
  /// position, the next element of any name becomes the main position first.
  /// On false no position changes.
  bool findChildElement(std::string_view name = {});

  /// Goes into the main element: it becomes the parent, the child position
  /// becomes the main position (none when there was no child position).
  bool enterElement();

  /// Comes out of the parent: the main position becomes the child position,
  /// the parent the main position. False at the top level.
  bool leaveElement();

  /// Text content of the main position element: its text pieces with
  /// references decoded and its CDATA sections verbatim; comments, processing
  /// instructions and child elements give nothing. Empty without a position.
  std::string elementData() const;
  /// The same for the child position element.
  std::string childData() const;

  /// Tag names of the main and child position elements (empty when none).
  std::string elementName() const;
  std::string childName() const;

  // --- creation ----------------------------------------------------------

  /// Adds an element after the main position under the current parent (at
  /// the end of the parent's children when there is no main position) and
  /// makes it the main position. Written as "<name>data</name>" with `&`, `<`
  /// and `>` escaped, or "<name/>" for empty data, on a line of its own ending
  /// in CR LF. False (document unchanged) for an empty name or one that holds
  /// white space or any of < > / & " ' =.
  bool addElement(std::string_view name, std::string_view data = {});

  /// Adds an element as a child of the main position, after the child
  /// position (last child when there is none), and makes it the child
  /// position. A parent written as "<parent/>" is opened into start and end
  /// tag lines. False without a main position.
  bool addChildElement(std::string_view name, std::string_view data = {});

  /// Number of elements in the index (the document itself not counted).
  std::size_t elementCount() const { return m_elements.size() - 1; }

 private:
  struct Element {
    std::uint32_t start = 0;           // offset of '<' in the text
    std::uint32_t length = 0;          // whole element, end tag included
    std::uint32_t startTagLength = 0;  // "<name ...>" or the whole "<name/>"
    std::uint32_t endTagLength = 0;    // "</name>"; 0 for empty and unended elements
    std::uint32_t nameLength = 0;
    std::int32_t parent = 0;
    std::int32_t firstChild = 0;
    std::int32_t lastChild = 0;
    std::int32_t next = 0;
    std::int32_t prev = 0;
    std::uint32_t flags = 0;
  };
  static constexpr std::uint32_t kEmptyForm = 1;  // written as <name/>
  static constexpr std::uint32_t kUnended = 2;    // closed without its end tag

  void parse();
  void updateWellFormed(bool recordFaults);
  void record(std::string_view name, std::size_t offset = SIZE_MAX, std::string_view detail = {});
  bool nameMatches(int index, std::string_view name) const;
  int findSibling(int parent, int after, std::string_view name) const;
  std::string dataOf(int index) const;
  bool insertElement(int parent, int after, std::string_view name, std::string_view data);
  void shiftSubtree(int index, std::int64_t delta);
  void growFrom(int index, std::int64_t delta);

  std::string m_text;
  std::vector<Element> m_elements;  // entry 0 is the document itself
  int m_parentPos = 0;
  int m_mainPos = 0;
  int m_childPos = 0;
  bool m_wellFormed = false;
  bool m_syntaxError = false;  // the parse recorded a fault
  std::vector<MarkupResultEntry> m_result;
  std::size_t m_droppedResults = 0;
};

}  // namespace trazmark
