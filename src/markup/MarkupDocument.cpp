#include "markup/MarkupDocument.h"

#include "markup/MarkupEntities.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <array>
#include <cstring>

namespace trazmark {
namespace {

// Offsets are kept in 32 bits; a document must stay below this size.
constexpr std::size_t kMaxTextSize = 0xFFFFFF00u;
// The log keeps this many entries of one load or parse; a text full of faults
// must not make it grow without end.
constexpr std::size_t kMaxResultEntries = 1000;
// Encoding detection looks at the start of a file only.
constexpr std::size_t kDetectionWindow = 1024;

struct CharClasses {
  std::array<bool, 256> nameEnd{};   // ends a tag name
  std::array<bool, 256> tagStop{};   // stops the scan for the end of a start tag
  std::array<bool, 256> nameStart{}; // may follow '<' in a start tag
  constexpr CharClasses() {
    for (unsigned char c : {' ', '\t', '\r', '\n', '/', '>', '<'}) nameEnd[c] = true;
    for (unsigned char c : {'>', '"', '\'', '<'}) tagStop[c] = true;
    for (int c = 0; c < 256; ++c)
      nameStart[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
  }
};
constexpr CharClasses kClasses;

inline unsigned char byteAt(const char* s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

bool startsWith(std::string_view text, std::size_t pos, std::string_view prefix) {
  return pos <= text.size() && text.size() - pos >= prefix.size() && text.compare(pos, prefix.size(), prefix) == 0;
}

bool startsWithNoCase(std::string_view text, std::size_t pos, std::string_view prefix) {
  if (pos > text.size() || text.size() - pos < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char a = text[pos + i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
    if (a != prefix[i]) return false;
  }
  return true;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// End of a document type declaration that starts at `pos` ("<!DOCTYPE"),
// past its internal subset; npos when it does not end.
std::size_t doctypeEnd(std::string_view text, std::size_t pos) {
  int depth = 0;
  std::size_t i = pos + 9;
  while (i < text.size()) {
    char c = text[i];
    if (c == '"' || c == '\'') {
      std::size_t q = text.find(c, i + 1);
      if (q == std::string_view::npos) return q;
      i = q + 1;
      continue;
    }
    if (c == '<' && startsWith(text, i, "<!--")) {
      std::size_t e = text.find("-->", i + 4);
      if (e == std::string_view::npos) return e;
      i = e + 3;
      continue;
    }
    if (c == '[') ++depth;
    else if (c == ']' && depth > 0) --depth;
    else if (c == '>' && depth == 0) return i + 1;
    ++i;
  }
  return std::string_view::npos;
}

// The value of the `encoding` pseudo-attribute of an XML declaration at the
// very start of `text`, or empty.
std::string declaredEncoding(std::string_view text) {
  if (!startsWith(text, 0, "<?xml") || text.size() < 6 || !isSpace(text[5])) return {};
  std::size_t end = text.find("?>");
  std::string_view decl = text.substr(0, end);
  std::size_t at = decl.find("encoding");
  if (at == std::string_view::npos) return {};
  std::size_t i = at + 8;
  while (i < decl.size() && isSpace(decl[i])) ++i;
  if (i >= decl.size() || decl[i] != '=') return {};
  ++i;
  while (i < decl.size() && isSpace(decl[i])) ++i;
  if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\'')) return {};
  std::size_t close = decl.find(decl[i], i + 1);
  if (close == std::string_view::npos) return {};
  return std::string(decl.substr(i + 1, close - i - 1));
}

// The charset named by an HTML meta tag in `text`, or empty.
std::string metaCharset(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  std::size_t pos = 0;
  while ((pos = lower.find("<meta", pos)) != std::string::npos) {
    std::size_t end = lower.find('>', pos);
    std::string_view tag = std::string_view(lower).substr(pos, end == std::string::npos ? end : end - pos);
    std::size_t at = tag.find("charset=");
    if (at != std::string_view::npos) {
      std::size_t i = at + 8;
      if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) ++i;
      std::size_t from = i;
      while (i < tag.size() && !isSpace(tag[i]) && tag[i] != '"' && tag[i] != '\'' && tag[i] != ';' &&
             tag[i] != '/')
        ++i;
      if (i > from) return std::string(text.substr(pos + from, i - from));
    }
    if (end == std::string::npos) break;
    pos = end;
  }
  return {};
}

bool isValidName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (isSpace(c) || c == '<' || c == '>' || c == '/' || c == '&' || c == '"' || c == '\'' ||
        c == '=' || c == '\0')
      return false;
  }
  return true;
}

// `&`, `<` and `>` escaped; a multi-byte character of the ANSI page is copied
// whole so that its trail byte is never taken for one of them.
void appendEscaped(std::string& out, std::string_view data, int codePage) {
  bool multiByte = codePage != kCodePageUtf8;
  std::size_t i = 0;
  while (i < data.size()) {
    char c = data[i];
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (multiByte && static_cast<unsigned char>(c) >= 0x80) {
      std::size_t len = charLengthAt(data, i, codePage);
      out.append(data.substr(i, len));
      i += len;
      continue;
    } else out.push_back(c);
    ++i;
  }
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes the reference at `pos` (an '&') into `out` and returns the offset
// after it, or returns `pos` when it is no reference that can be decoded.
std::size_t decodeReference(std::string_view text, std::size_t pos, std::string& out, int codePage) {
  // A reference ends in ';' within 9 characters after the '&'.
  constexpr std::size_t kMaxReference = 9;
  std::size_t limit = std::min(text.size(), pos + 2 + kMaxReference);
  std::size_t semi = std::string_view::npos;
  for (std::size_t i = pos + 1; i < limit; ++i) {
    if (text[i] == ';') {
      semi = i;
      break;
    }
  }
  if (semi == std::string_view::npos || semi == pos + 1) return pos;
  std::string_view body = text.substr(pos + 1, semi - pos - 1);
  char32_t code = 0;
  if (body[0] == '#') {
    bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
    std::size_t from = hex ? 2 : 1;
    if (from >= body.size()) return pos;
    std::uint32_t value = 0;
    for (std::size_t i = from; i < body.size(); ++i) {
      int digit = hex ? hexValue(body[i]) : (body[i] >= '0' && body[i] <= '9' ? body[i] - '0' : -1);
      if (digit < 0) return pos;
      value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
      if (value > 0x10FFFF) return pos;
    }
    code = value;
    if (code == 0) return pos;
  } else {
    code = namedEntityCodePoint(body);
    if (code == 0) return pos;
  }
  appendCodePoint(out, code, codePage);
  return semi + 1;
}

}  // namespace

MarkupDocument::MarkupDocument() { parse(); }

void MarkupDocument::record(std::string_view name, std::size_t offset, std::string_view detail) {
  if (m_result.size() >= kMaxResultEntries) {
    ++m_droppedResults;
    return;
  }
  MarkupResultEntry entry;
  entry.name.assign(name);
  if (offset != SIZE_MAX) entry.attributes.emplace_back("offset", std::to_string(offset));
  if (!detail.empty()) entry.attributes.emplace_back("detail", std::string(detail));
  m_result.push_back(std::move(entry));
}

std::string MarkupDocument::resultText() const {
  std::string out;
  for (const auto& entry : m_result) {
    out += '<';
    out += entry.name;
    for (const auto& [key, value] : entry.attributes) {
      out += ' ';
      out += key;
      out += "=\"";
      appendEscaped(out, value, kCodePageUtf8);
      out += '"';
    }
    out += "/>";
  }
  if (m_droppedResults > 0) out += "<more count=\"" + std::to_string(m_droppedResults) + "\"/>";
  return out;
}

bool MarkupDocument::setText(std::string text) {
  m_result.clear();
  m_droppedResults = 0;
  if (text.size() > kMaxTextSize) {
    record("truncation_error", SIZE_MAX, "text too large");
    text.clear();
  }
  m_text = std::move(text);
  parse();
  return m_wellFormed;
}

// One pass over the text. Elements go into the flat index in document order;
// `open` holds the elements whose end tag has not been seen yet.
void MarkupDocument::parse() {
  m_parentPos = m_mainPos = m_childPos = 0;
  m_elements.clear();
  // Room for an element every 16 bytes: a road file holds one every 30 or so,
  // so its index never moves while it grows (pages reserved but never used
  // cost nothing).
  m_elements.reserve(m_text.size() / 16 + 1);
  m_elements.emplace_back();
  const char* s = m_text.data();
  const std::size_t n = m_text.size();
  std::string_view text(m_text);
  m_elements[0].length = static_cast<std::uint32_t>(n);
  m_syntaxError = false;
  std::vector<int> open;
  open.reserve(32);
  open.push_back(0);

  auto fault = [&](std::string_view name, std::size_t offset, std::string_view detail = {}) {
    m_syntaxError = true;
    record(name, offset, detail);
  };
  auto closeUnended = [&](int index, std::size_t end) {
    Element& e = m_elements[static_cast<std::size_t>(index)];
    e.length = static_cast<std::uint32_t>(end - e.start);
    e.flags |= kUnended;
    fault("unended_start_tag", e.start, text.substr(e.start + 1, e.nameLength));
  };

  std::size_t pos = 0;
  while (pos < n) {
    const void* lt = std::memchr(s + pos, '<', n - pos);
    if (!lt) break;
    pos = static_cast<std::size_t>(static_cast<const char*>(lt) - s);
    if (pos + 1 >= n) {
      fault("unterminated_tag_syntax", pos);
      break;
    }
    const unsigned char c = byteAt(s, pos + 1);

    if (kClasses.nameStart[c]) {
      // Start tag or empty-element tag.
      std::size_t nameStart = pos + 1;
      std::size_t i = nameStart;
      while (i < n && !kClasses.nameEnd[byteAt(s, i)]) ++i;
      std::size_t nameLength = i - nameStart;
      std::size_t j = i;
      bool closed = false;
      while (j < n) {
        unsigned char d = byteAt(s, j);
        if (!kClasses.tagStop[d]) {
          ++j;
          continue;
        }
        if (d == '>') {
          closed = true;
          break;
        }
        if (d == '<') break;
        const void* q = std::memchr(s + j + 1, d, n - j - 1);  // quoted attribute value
        if (!q) {
          j = n;
          break;
        }
        j = static_cast<std::size_t>(static_cast<const char*>(q) - s) + 1;
      }
      if (!closed) {
        fault("unterminated_tag_syntax", pos, text.substr(nameStart, nameLength));
        if (j >= n) break;
        pos = j;
        continue;
      }
      const std::size_t end = j + 1;
      const bool emptyForm = j > i && s[j - 1] == '/';
      const int index = static_cast<int>(m_elements.size());
      const int parent = open.back();
      Element e;
      e.start = static_cast<std::uint32_t>(pos);
      e.startTagLength = static_cast<std::uint32_t>(end - pos);
      e.nameLength = static_cast<std::uint32_t>(nameLength);
      e.parent = parent;
      Element& p = m_elements[static_cast<std::size_t>(parent)];
      if (p.lastChild) {
        m_elements[static_cast<std::size_t>(p.lastChild)].next = index;
        e.prev = p.lastChild;
      } else {
        p.firstChild = index;
      }
      p.lastChild = index;
      if (emptyForm) {
        e.length = e.startTagLength;
        e.flags = kEmptyForm;
      } else {
        open.push_back(index);
      }
      m_elements.push_back(e);
      pos = end;
      continue;
    }

    if (c == '/') {
      // End tag: white space and junk before '>' are allowed.
      std::size_t nameStart = pos + 2;
      std::size_t i = nameStart;
      while (i < n && !kClasses.nameEnd[byteAt(s, i)]) ++i;
      std::string_view name = text.substr(nameStart, i - nameStart);
      while (i < n && s[i] != '>' && s[i] != '<') ++i;
      if (i >= n || s[i] == '<') {
        fault("unterminated_tag_syntax", pos, name);
        if (i >= n) break;
        pos = i;
        continue;
      }
      const std::size_t end = i + 1;
      std::size_t k = open.size() - 1;
      while (k > 0 && !nameMatches(open[k], name)) --k;
      if (k == 0) {
        fault("lone_end_tag", pos, name);
      } else {
        for (std::size_t inner = open.size() - 1; inner > k; --inner) closeUnended(open[inner], pos);
        Element& e = m_elements[static_cast<std::size_t>(open[k])];
        e.length = static_cast<std::uint32_t>(end - e.start);
        e.endTagLength = static_cast<std::uint32_t>(end - pos);
        open.resize(k);
      }
      pos = end;
      continue;
    }

    if (c == '!') {
      std::size_t end;
      if (startsWith(text, pos, "<!--")) {
        end = text.find("-->", pos + 4);
        if (end == std::string_view::npos) {
          fault("comment_tag_syntax", pos);
          break;
        }
        pos = end + 3;
      } else if (startsWith(text, pos, "<![CDATA[")) {
        end = text.find("]]>", pos + 9);
        if (end == std::string_view::npos) {
          fault("cdata_section_syntax", pos);
          break;
        }
        pos = end + 3;
      } else if (startsWithNoCase(text, pos, "<!DOCTYPE")) {
        end = doctypeEnd(text, pos);
        if (end == std::string_view::npos) {
          fault("doctype_tag_syntax", pos);
          break;
        }
        pos = end;
      } else {
        fault("exclamation_tag_syntax", pos);
        end = text.find('>', pos + 2);
        if (end == std::string_view::npos) break;
        pos = end + 1;
      }
      continue;
    }

    if (c == '?') {
      // Processing instruction or the XML declaration.
      std::size_t end = text.find("?>", pos + 2);
      if (end == std::string_view::npos) {
        fault("unterminated_tag_syntax", pos);
        break;
      }
      pos = end + 2;
      continue;
    }

    // A digit, white space, '-', '.' and the like cannot start a tag.
    fault("first_tag_syntax", pos);
    pos += 1;
  }
  for (std::size_t k = open.size() - 1; k > 0; --k) closeUnended(open[k], n);
  updateWellFormed(true);
}

void MarkupDocument::updateWellFormed(bool recordFaults) {
  int root = m_elements[0].firstChild;
  bool hasSibling = root != 0 && m_elements[static_cast<std::size_t>(root)].next != 0;
  if (recordFaults) {
    if (root == 0) record("no_root_element");
    else if (hasSibling) record("root_has_sibling", m_elements[static_cast<std::size_t>(root)].next);
  }
  m_wellFormed = !m_syntaxError && root != 0 && !hasSibling;
}

bool MarkupDocument::nameMatches(int index, std::string_view name) const {
  const Element& e = m_elements[static_cast<std::size_t>(index)];
  return e.nameLength == name.size() &&
         std::memcmp(m_text.data() + e.start + 1, name.data(), name.size()) == 0;
}

// ---------------------------------------------------------------------------
// Loading and saving.

bool MarkupDocument::loadFile(const std::string& path) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) {
    setText();
    m_result.clear();
    record("file_error", SIZE_MAX, path);
    return false;
  }
  std::vector<MarkupResultEntry> log;
  auto note = [&](std::string name, std::string key = {}, std::string value = {}) {
    MarkupResultEntry entry;
    entry.name = std::move(name);
    if (!key.empty()) entry.attributes.emplace_back(std::move(key), std::move(value));
    log.push_back(std::move(entry));
  };
  note("read", "length", std::to_string(bytes.size()));

  std::string_view content(bytes);
  std::string encoding;
  bool wide = false;  // UTF-16, known from a byte-order mark or the bytes themselves
  if (startsWith(content, 0, "\xEF\xBB\xBF")) {
    encoding = "UTF-8";
    content.remove_prefix(3);
    note("bom", "encoding", encoding);
  } else if (startsWith(content, 0, "\xFF\xFE")) {
    encoding = "UTF-16LE";
    content.remove_prefix(2);
    wide = true;
    note("bom", "encoding", encoding);
  } else if (startsWith(content, 0, "\xFE\xFF")) {
    encoding = "UTF-16BE";
    content.remove_prefix(2);
    wide = true;
    note("bom", "encoding", encoding);
  } else if (content.size() >= 2 && content[0] == '<' && content[1] == '\0') {
    // UTF-16 without a mark, as a save in a declared UTF-16 writes it.
    encoding = "UTF-16LE";
    wide = true;
  } else if (content.size() >= 2 && content[0] == '\0' && content[1] == '<') {
    encoding = "UTF-16BE";
    wide = true;
  } else {
    std::string_view head = content.substr(0, kDetectionWindow);
    encoding = declaredEncoding(head);
    if (encoding.empty() && !startsWith(head, 0, "<?xml")) encoding = metaCharset(head);
    // Nothing declared: the text is taken as UTF-8 when it is valid UTF-8
    // (always so when it starts with '<'), see the detection below.
  }

  const int ansi = ansiCodePage();
  int page = encoding.empty() ? 0 : codePageFromEncodingName(encoding);
  // A declaration of UTF-16 or UTF-32 in a text that reads as 8-bit bytes is
  // wrong about its own bytes: fall back to detection.
  if (!wide && isWideCodePage(page)) {
    encoding.clear();
    page = 0;
  }
  std::string text;
  bool lossy = false;
  // The bytes read become the text where they need no conversion: a road
  // file of megabytes is not copied once more.
  auto takeContent = [&] {
    const auto skip = static_cast<std::size_t>(content.data() - bytes.data());
    const std::size_t length = content.size();
    text = std::move(bytes);
    text.resize(skip + length);
    text.erase(0, skip);
  };
  if (wide) {
    if (content.size() % 2 != 0) {
      note("truncation_error", "length", std::to_string(content.size()));
      content.remove_suffix(1);
    }
    if (page == kCodePageUtf16Be) note("endian_swap");
    convertCodePage(content, page, ansi, text, &lossy);
    note("converted_to", "codepage", std::to_string(ansi));
  } else if (encoding.empty()) {
    // Nothing declared: valid UTF-8 is UTF-8, anything else is taken as the
    // GBK of older systems, as every plain-text file of the program is.
    bool utf8 = isValidUtf8(content);
    note("utf8_detection", "valid", utf8 ? "1" : "0");
    int from = utf8 ? kCodePageUtf8 : kCodePageGbk;
    if (from == ansi || !convertCodePage(content, from, ansi, text, &lossy)) takeContent();
    else if (from != ansi) note("converted_to", "codepage", std::to_string(ansi));
  } else if (page <= 0 || page == ansi || !isCodePageSupported(page)) {
    takeContent();  // unknown names are taken as ANSI
  } else {
    convertCodePage(content, page, ansi, text, &lossy);
    note("converted_to", "codepage", std::to_string(ansi));
  }
  if (lossy) note("conversion_loss");
  if (text.find('\0') != std::string::npos) {
    std::size_t before = text.size();
    std::erase(text, '\0');
    note("nulls_removed", "count", std::to_string(before - text.size()));
  }
  bool ok = setText(std::move(text));
  log.insert(log.end(), std::make_move_iterator(m_result.begin()), std::make_move_iterator(m_result.end()));
  m_result = std::move(log);
  return ok;
}

bool MarkupDocument::saveFile(const std::string& path) {
  std::string encoding = declaredEncoding(m_text);
  int page = encoding.empty() ? kCodePageUtf8 : codePageFromEncodingName(encoding);
  int ansi = ansiCodePage();
  if (page <= 0 || page == ansi || !isCodePageSupported(page)) {
    return writeTextFileAtomically(path, m_text);  // unknown names are taken as ANSI
  }
  std::string bytes;
  if (!convertCodePage(m_text, ansi, page, bytes)) return writeTextFileAtomically(path, m_text);
  return writeTextFileAtomically(path, bytes);
}

// ---------------------------------------------------------------------------
// Navigation.

void MarkupDocument::resetPositions() { m_parentPos = m_mainPos = m_childPos = 0; }

int MarkupDocument::findSibling(int parent, int after, std::string_view name) const {
  int i = after ? m_elements[static_cast<std::size_t>(after)].next
                : m_elements[static_cast<std::size_t>(parent)].firstChild;
  while (i != 0) {
    if (name.empty() || nameMatches(i, name)) return i;
    i = m_elements[static_cast<std::size_t>(i)].next;
  }
  return 0;
}

bool MarkupDocument::findElement(std::string_view name) {
  int found = findSibling(m_parentPos, m_mainPos, name);
  if (!found) return false;
  m_mainPos = found;
  m_childPos = 0;
  return true;
}

bool MarkupDocument::findChildElement(std::string_view name) {
  int main = m_mainPos;
  int after = m_childPos;
  if (!main) {
    main = findSibling(m_parentPos, 0, {});
    after = 0;
    if (!main) return false;
  }
  int found = findSibling(main, after, name);
  if (!found) return false;
  m_mainPos = main;
  m_childPos = found;
  return true;
}

bool MarkupDocument::enterElement() {
  if (!m_mainPos) return false;
  m_parentPos = m_mainPos;
  m_mainPos = m_childPos;
  m_childPos = 0;
  return true;
}

bool MarkupDocument::leaveElement() {
  if (!m_parentPos) return false;
  m_childPos = m_mainPos;
  m_mainPos = m_parentPos;
  m_parentPos = m_elements[static_cast<std::size_t>(m_parentPos)].parent;
  return true;
}

std::string MarkupDocument::elementData() const { return dataOf(m_mainPos); }
std::string MarkupDocument::childData() const { return dataOf(m_childPos); }

std::string MarkupDocument::elementName() const {
  if (!m_mainPos) return {};
  const Element& e = m_elements[static_cast<std::size_t>(m_mainPos)];
  return m_text.substr(e.start + 1, e.nameLength);
}

std::string MarkupDocument::childName() const {
  if (!m_childPos) return {};
  const Element& e = m_elements[static_cast<std::size_t>(m_childPos)];
  return m_text.substr(e.start + 1, e.nameLength);
}

std::string MarkupDocument::dataOf(int index) const {
  if (index <= 0) return {};
  const Element& e = m_elements[static_cast<std::size_t>(index)];
  if (e.flags & kEmptyForm) return {};
  const std::size_t from = e.start + e.startTagLength;
  const std::size_t to = e.start + e.length - e.endTagLength;
  if (to <= from) return {};
  std::string_view text(m_text.data(), to);  // the content ends at `to`
  std::string_view content = text.substr(from);
  if (e.firstChild == 0 && content.find_first_of("<&") == std::string_view::npos)
    return std::string(content);

  const int codePage = ansiCodePage();
  std::string out;
  out.reserve(content.size());
  int child = e.firstChild;
  std::size_t pos = from;
  while (pos < to) {
    std::size_t special = text.find_first_of("<&", pos);
    if (special == std::string_view::npos) special = to;
    out.append(text.substr(pos, special - pos));
    pos = special;
    if (pos >= to) break;
    if (text[pos] == '&') {
      std::size_t after = decodeReference(text, pos, out, codePage);
      if (after == pos) {
        out.push_back('&');  // kept as written
        ++pos;
      } else {
        pos = after;
      }
      continue;
    }
    // '<': a child element, comment, CDATA section, instruction or stray tag.
    while (child != 0 && m_elements[static_cast<std::size_t>(child)].start < pos)
      child = m_elements[static_cast<std::size_t>(child)].next;
    if (child != 0 && m_elements[static_cast<std::size_t>(child)].start == pos) {
      pos += m_elements[static_cast<std::size_t>(child)].length;
      child = m_elements[static_cast<std::size_t>(child)].next;
      continue;
    }
    std::size_t end;
    if (startsWith(text, pos, "<![CDATA[")) {
      end = text.find("]]>", pos + 9);
      std::size_t stop = end == std::string_view::npos ? to : end;
      out.append(text.substr(pos + 9, stop - pos - 9));
      pos = end == std::string_view::npos ? to : end + 3;
    } else if (startsWith(text, pos, "<!--")) {
      end = text.find("-->", pos + 4);
      pos = end == std::string_view::npos ? to : end + 3;
    } else if (startsWith(text, pos, "<?")) {
      end = text.find("?>", pos + 2);
      pos = end == std::string_view::npos ? to : end + 2;
    } else if (startsWith(text, pos, "</") || startsWith(text, pos, "<!")) {
      end = text.find('>', pos + 2);
      pos = end == std::string_view::npos ? to : end + 1;
    } else {
      out.push_back('<');  // no tag at all
      ++pos;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Creation.

bool MarkupDocument::addElement(std::string_view name, std::string_view data) {
  if (!insertElement(m_parentPos, m_mainPos, name, data)) return false;
  m_mainPos = static_cast<int>(m_elements.size()) - 1;
  m_childPos = 0;
  return true;
}

bool MarkupDocument::addChildElement(std::string_view name, std::string_view data) {
  if (!m_mainPos) return false;
  if (!insertElement(m_mainPos, m_childPos, name, data)) return false;
  m_childPos = static_cast<int>(m_elements.size()) - 1;
  return true;
}

bool MarkupDocument::insertElement(int parent, int after, std::string_view name, std::string_view data) {
  if (!isValidName(name)) return false;
  std::string element;
  element.reserve(name.size() * 2 + data.size() + 8);
  element += '<';
  element += name;
  if (data.empty()) {
    element += "/>";
  } else {
    element += '>';
    appendEscaped(element, data, ansiCodePage());
    element += "</";
    element += name;
    element += '>';
  }
  if (m_text.size() + element.size() + name.size() + 16 > kMaxTextSize) return false;

  const int index = static_cast<int>(m_elements.size());
  Element added;
  added.length = static_cast<std::uint32_t>(element.size());
  added.startTagLength = data.empty() ? added.length : static_cast<std::uint32_t>(name.size() + 2);
  added.endTagLength = data.empty() ? 0 : static_cast<std::uint32_t>(name.size() + 3);
  added.nameLength = static_cast<std::uint32_t>(name.size());
  added.flags = data.empty() ? kEmptyForm : 0;
  added.parent = parent;

  Element& p = m_elements[static_cast<std::size_t>(parent)];
  if (parent != 0 && (p.flags & kEmptyForm)) {
    // "<parent/>" opens into "<parent>", the child line and "</parent>".
    std::string opened(m_text, p.start, p.length - 1);  // without '>'
    while (opened.back() == '/') opened.pop_back();     // also a stray "<a//>"
    opened += '>';
    const std::uint32_t startTagLength = static_cast<std::uint32_t>(opened.size());
    opened += "\r\n";
    const std::size_t childOffset = opened.size();
    opened += element;
    opened += "\r\n</";
    opened.append(m_text, p.start + 1, p.nameLength);
    opened += '>';
    const std::int64_t delta = static_cast<std::int64_t>(opened.size()) - p.length;
    m_text.replace(p.start, p.length, opened);
    added.start = static_cast<std::uint32_t>(p.start + childOffset);
    p.startTagLength = startTagLength;
    p.endTagLength = p.nameLength + 3;
    p.length = static_cast<std::uint32_t>(opened.size());
    p.flags &= ~kEmptyForm;
    p.firstChild = p.lastChild = index;
    m_elements.push_back(added);
    growFrom(parent, delta);
    updateWellFormed(false);
    return true;
  }

  // Where the new line goes: after the line of `after` (or of the last child),
  // else before the parent's end tag, else at the end of the document.
  const int previous = after ? after : p.lastChild;
  std::size_t offset;
  if (previous) {
    const Element& prev = m_elements[static_cast<std::size_t>(previous)];
    offset = prev.start + prev.length;
  } else if (parent != 0) {
    offset = p.start + p.length - p.endTagLength;
  } else {
    offset = m_text.size();
  }
  std::string insertion;
  if (previous) {
    if (startsWith(m_text, offset, "\r\n")) offset += 2;
    else if (startsWith(m_text, offset, "\n")) offset += 1;
    else insertion = "\r\n";
  } else if (offset > 0 && m_text[offset - 1] != '\n') {
    insertion = "\r\n";
  }
  added.start = static_cast<std::uint32_t>(offset + insertion.size());
  insertion += element;
  insertion += "\r\n";
  m_text.insert(offset, insertion);

  added.prev = previous;
  if (previous) {
    Element& prev = m_elements[static_cast<std::size_t>(previous)];
    added.next = prev.next;
    if (prev.next) m_elements[static_cast<std::size_t>(prev.next)].prev = index;
    else p.lastChild = index;
    prev.next = index;
  } else {
    p.firstChild = p.lastChild = index;
  }
  m_elements.push_back(added);
  growFrom(index, static_cast<std::int64_t>(insertion.size()));
  updateWellFormed(false);
  return true;
}

void MarkupDocument::shiftSubtree(int index, std::int64_t delta) {
  std::vector<int> pending{index};
  while (!pending.empty()) {
    int i = pending.back();
    pending.pop_back();
    Element& e = m_elements[static_cast<std::size_t>(i)];
    e.start = static_cast<std::uint32_t>(e.start + delta);
    for (int c = e.firstChild; c != 0; c = m_elements[static_cast<std::size_t>(c)].next) pending.push_back(c);
  }
}

// Text of `delta` bytes was inserted inside or at the end of element `index`
// (whose own entry is already right): everything after it moves and every
// ancestor grows.
void MarkupDocument::growFrom(int index, std::int64_t delta) {
  for (int s = m_elements[static_cast<std::size_t>(index)].next; s != 0;
       s = m_elements[static_cast<std::size_t>(s)].next)
    shiftSubtree(s, delta);
  int a = m_elements[static_cast<std::size_t>(index)].parent;
  if (index == 0) return;
  while (true) {
    Element& e = m_elements[static_cast<std::size_t>(a)];
    e.length = static_cast<std::uint32_t>(e.length + delta);
    if (a == 0) break;
    for (int s = e.next; s != 0; s = m_elements[static_cast<std::size_t>(s)].next) shiftSubtree(s, delta);
    a = e.parent;
  }
}

}  // namespace trazmark
