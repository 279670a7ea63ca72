// The road file: the whole data set of one road as an XML document. Every value
// is the text of a child element; containers are written in a fixed order and
// read by forward-only searches, so a missing container is skipped while the
// following ones are still found.

#include <string>
#include <unordered_map>
#include <vector>

#include "library/InputRoadLibrary.h"
#include "platform/TextFields.h"
#include "markup/MarkupDocument.h"

namespace trazmark {
namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
constexpr const char* kVersion = "1.0.1.1";
constexpr int kMaxChangeItems = Road_Section_Change::kItemCount;

std::string f4(double v) { return formatFixed(v, 4); }
std::string f3(double v) { return formatFixed(v, 3); }
std::string f12(double v) { return formatFixed(v, 12); }
std::string i(long long v) { return formatInt(v); }

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t at = text.find(sep, start);
    if (at == std::string::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

// ---- writing ----------------------------------------------------------------

class Writer {
 public:
  explicit Writer(MarkupDocument& doc) : doc_(doc) {}

  // Opens a container after the previous one and goes into it.
  void openContainer(const char* name) {
    doc_.addElement(name);
    doc_.enterElement();
  }
  void closeContainer() { doc_.leaveElement(); }
  void item(const char* name) { doc_.addElement(name); }
  void value(const char* name, const std::string& data) { doc_.addChildElement(name, data); }

 private:
  MarkupDocument& doc_;
};

void writeSuperItems(MarkupDocument& doc, Writer& w, const RecordList<Road_Super_Item>& items,
                     const char* itemName, bool widening) {
  for (const auto& item : items) {
    w.item(itemName);
    w.value("LeftRight", i(item.LeftRight));
    w.value("SectionName", item.SectionName);
    w.value("InSectionIndex", i(item.InSectionIndex));
    w.value("Value_Array", "");
    // The change points are children of Value_Array: step into the item.
    doc.enterElement();
    for (const auto& v : item.values) {
      doc.addChildElement("Value", f3(v.Mileage) + "|" + f3(widening ? v.Width : v.Slope) + "|" +
                                       i(v.Mode));
    }
    doc.leaveElement();
  }
}

void buildRoadDocument(const RoadDataSet& road, MarkupDocument& doc) {
  doc.setText(kDeclaration);
  doc.addElement("HEAD");
  doc.enterElement();
  doc.addElement("RoadLibrary");
  doc.enterElement();
  doc.addElement("Ver", kVersion);
  Writer w(doc);

  w.openContainer("Scisson");
  for (const auto& s : road.scissons) {
    w.item("Scisson_Item");
    w.value("Type", i(s.Type));
    w.value("Length", f4(s.Length));
    w.value("Before_mileage", f4(s.Before_mileage));
    w.value("After_mileage", f4(s.After_mileage));
  }
  w.closeContainer();

  w.openContainer("Flat_Curve");
  doc.addElement("FlatcurveType", i(road.FlatcurveType));
  if (road.FlatcurveType == kFlatcurveCrossPoints) {
    for (const auto& p : road.crossPoints) {
      w.item("CROSSPT");
      w.value("Name", p.point.Name);
      w.value("Dx", f4(p.point.X));
      w.value("Dy", f4(p.point.Y));
      w.value("CurveLength_Left", f4(p.CurveLength_Left));
      w.value("CurveLength_Right", f4(p.CurveLength_Right));
      w.value("Radius", f4(p.Radius));
      w.value("Mileage", f4(p.Mileage));
    }
  } else if (road.FlatcurveType == kFlatcurveElements) {
    for (const auto& e : road.elements) {
      w.item("ELEMENT");
      w.value("Type", i(e.Type));
      w.value("Dx", f4(e.point.X));
      w.value("Dy", f4(e.point.Y));
      w.value("Azimuth", f12(e.Azimuth));
      w.value("Length", f4(e.Length));
      w.value("Radius", f4(e.Radius));
      w.value("Mileage", f4(e.Mileage));
    }
  } else if (road.FlatcurveType == kFlatcurveLineElements) {
    for (const auto& e : road.lineElements) {
      w.item("LINEELEMENT");
      w.value("Dx", f4(e.point.X));
      w.value("Dy", f4(e.point.Y));
      w.value("Type", i(e.Type));
      w.value("Mileage", f4(e.Mileage));
      w.value("Deviation", i(e.Deviation));
      w.value("StartRadius", f4(e.StartRadius));
      w.value("EndRadius", f4(e.EndRadius));
      w.value("Length", f4(e.Length));
      w.value("Azimuth", f4(e.Azimuth));
    }
  }
  w.closeContainer();

  w.openContainer("Vertical_Curve");
  for (const auto& v : road.verticalCurves) {
    w.item("Curve_Item");
    w.value("Mileage", f3(v.Mileage));
    w.value("High", f3(v.High));
    w.value("Radius", f3(v.Radius));
    w.value("I1", f3(v.I1));
    w.value("I2", f3(v.I2));
    w.value("CurveL", f3(v.CurveL));
    w.value("InLength", f3(v.InLength));
    w.value("OutLength", f3(v.OutLength));
    w.value("CalMode", i(v.CalMode));
  }
  w.closeContainer();

  w.openContainer("Cross_Section");
  // The side is written from the list an item belongs to, whatever its own
  // field holds, so reading puts every item back on its side.
  auto writeSection = [&](const Road_Section_Item& s, const char* side) {
    w.item("Section");
    w.value("LeftOrRight", side);
    w.value("ModuleName", s.moduleName());
    w.value("Width", f3(s.Width));
    w.value("Slope", f3(s.Slope));
    w.value("Roadteeth", f3(s.Roadteeth));
  };
  for (const auto& s : road.leftSections) writeSection(s, "0");
  for (const auto& s : road.rightSections) writeSection(s, "1");
  w.closeContainer();

  w.openContainer("Change_Section");
  for (const auto& c : road.sectionChanges) {
    std::string value;
    for (int k = 0; k < kMaxChangeItems && c.items[k].hasName(); ++k) {
      value += c.items[k].moduleName() + "|" + i(c.items[k].LeftOrRight) + "|" +
               f3(c.items[k].Slope) + ";";
    }
    w.item("Section");
    w.value("Mileage", f3(c.Mileage));
    w.value("TypeChange", i(c.TypeChange));
    w.value("Value", value);
  }
  w.closeContainer();

  w.openContainer("Slope_Data");
  for (const auto& s : road.slopes) {
    w.item("Slope_Array");
    w.value("SlopeName", s.SlopeName);
    w.value("Type", i(s.Type));
    w.value("LeftRight", i(s.LeftRight));
    w.value("StartMileage", f3(s.StartMileage));
    w.value("EndMileage", f3(s.EndMileage));
  }
  // Items are stored apart from their slopes and join every slope of their
  // name when read. So for a later slope of a name already seen, an item is
  // written only when the earlier slopes of that name did not already write
  // an equal one: written for each of two slopes of one name, the items would
  // double with every open and save, and skipping the later slopes outright
  // would lose the items that only they hold.
  using ItemText = std::vector<std::string>;  // an item as written
  std::unordered_map<std::string, std::vector<ItemText>> writtenByName;
  for (const auto& s : road.slopes) {
    std::vector<ItemText>& written = writtenByName[s.SlopeName];
    std::vector<bool> matched(written.size(), false);
    std::vector<ItemText> added;
    for (std::size_t n = 0; n < s.items.size(); ++n) {
      const Road_Slope_Item& it = s.items[n];
      ItemText text{it.SlopeName, it.ItemName, i(it.Mode), f3(it.SlopeH), f3(it.SlopeScale), f3(it.Width)};
      // Slopes read from one file hold the same items in the same order: look
      // at the same place first, so that they cost no search.
      bool alreadyWritten = n < written.size() && !matched[n] && written[n] == text;
      if (alreadyWritten) matched[n] = true;
      for (std::size_t k = 0; k < written.size() && !alreadyWritten; ++k) {
        if (!matched[k] && written[k] == text) matched[k] = alreadyWritten = true;
      }
      if (alreadyWritten) continue;
      w.item("Slope_Item_Array");
      w.value("SlopeName", text[0]);
      w.value("ItemName", text[1]);
      w.value("Mode", text[2]);
      w.value("SlopeH", text[3]);
      w.value("SlopeScale", text[4]);
      w.value("Width", text[5]);
      added.push_back(std::move(text));
    }
    written.insert(written.end(), added.begin(), added.end());
  }
  w.closeContainer();

  w.openContainer("SuperHigh");
  writeSuperItems(doc, w, road.superHighs, "SuperHighItem", false);
  w.closeContainer();

  w.openContainer("Widen");
  writeSuperItems(doc, w, road.widens, "WidenItem", true);
  w.closeContainer();
}

// ---- reading ----------------------------------------------------------------

// Reads the children of the current item in the order they are asked for;
// each search continues after the child found before, so a child standing
// before one already found is not seen and a missing child keeps the default.
class ItemReader {
 public:
  explicit ItemReader(MarkupDocument& doc) : doc_(doc) {}

  bool text(const char* name, std::string& out) {
    if (!doc_.findChildElement(name)) return false;
    out = doc_.childData();
    return true;
  }
  void number(const char* name, double& out) {
    std::string t;
    if (text(name, t)) out = parseDecimal(t);
  }
  void integer(const char* name, int32_t& out) {
    std::string t;
    if (text(name, t)) out = parseInteger(t);
  }

 private:
  MarkupDocument& doc_;
};

void readScissons(MarkupDocument& doc, RoadDataSet& road) {
  ItemReader r(doc);
  while (doc.findElement("Scisson_Item")) {
    Scisson_Data s;
    r.integer("Type", s.Type);
    r.number("Length", s.Length);
    r.number("Before_mileage", s.Before_mileage);
    r.number("After_mileage", s.After_mileage);
    road.scissons.append(s);
  }
}

void readFlatCurve(MarkupDocument& doc, RoadDataSet& road) {
  ItemReader r(doc);
  if (doc.findElement("FlatcurveType")) road.FlatcurveType = parseInteger(doc.elementData());
  // All three lists are read whatever the method in force says.
  while (doc.findElement("CROSSPT")) {
    Road_CrossPoint p;
    r.text("Name", p.point.Name);
    r.number("Dx", p.point.X);
    r.number("Dy", p.point.Y);
    r.number("CurveLength_Left", p.CurveLength_Left);
    r.number("CurveLength_Right", p.CurveLength_Right);
    r.number("Radius", p.Radius);
    r.number("Mileage", p.Mileage);
    road.crossPoints.append(p);
  }
  while (doc.findElement("ELEMENT")) {
    Road_Element e;
    r.integer("Type", e.Type);
    r.number("Dx", e.point.X);
    r.number("Dy", e.point.Y);
    r.number("Azimuth", e.Azimuth);
    r.number("Length", e.Length);
    r.number("Radius", e.Radius);
    r.number("Mileage", e.Mileage);
    road.elements.append(e);
  }
  while (doc.findElement("LINEELEMENT")) {
    Road_LineElement e;
    r.number("Dx", e.point.X);
    r.number("Dy", e.point.Y);
    r.integer("Type", e.Type);
    r.number("Mileage", e.Mileage);
    r.integer("Deviation", e.Deviation);
    r.number("StartRadius", e.StartRadius);
    r.number("EndRadius", e.EndRadius);
    r.number("Length", e.Length);
    r.number("Azimuth", e.Azimuth);
    road.lineElements.append(e);
  }
}

void readVerticalCurves(MarkupDocument& doc, RoadDataSet& road) {
  ItemReader r(doc);
  while (doc.findElement("Curve_Item")) {
    CVerticalCurveCal v;
    r.number("Mileage", v.Mileage);
    r.number("High", v.High);
    r.number("Radius", v.Radius);
    r.number("I1", v.I1);
    r.number("I2", v.I2);
    r.number("CurveL", v.CurveL);
    r.number("InLength", v.InLength);
    r.number("OutLength", v.OutLength);
    r.integer("CalMode", v.CalMode);
    road.verticalCurves.append(v);
  }
}

void readCrossSection(MarkupDocument& doc, RoadDataSet& road) {
  ItemReader r(doc);
  while (doc.findElement("Section")) {
    Road_Section_Item s;
    std::string name;
    r.integer("LeftOrRight", s.LeftOrRight);
    if (r.text("ModuleName", name)) s.setModuleName(name);
    r.number("Width", s.Width);
    r.number("Slope", s.Slope);
    r.number("Roadteeth", s.Roadteeth);
    if (s.LeftOrRight == 0) road.leftSections.append(s);
    else if (s.LeftOrRight == 1) road.rightSections.append(s);
  }
}

void readChangeSections(MarkupDocument& doc, RoadDataSet& road) {
  ItemReader r(doc);
  while (doc.findElement("Section")) {
    Road_Section_Change c;
    std::string value;
    r.number("Mileage", c.Mileage);
    r.integer("TypeChange", c.TypeChange);
    r.text("Value", value);
    std::vector<std::string> pieces = split(value, ';');
    for (std::size_t k = 0; k < pieces.size() && k < static_cast<std::size_t>(kMaxChangeItems); ++k) {
      std::vector<std::string> fields = split(pieces[k], '|');
      Road_Section_Item& item = c.items[k];
      item.setModuleName(fields[0]);
      if (fields.size() > 1) item.LeftOrRight = parseInteger(fields[1]);
      if (fields.size() > 2) item.Slope = parseDecimal(fields[2]);
    }
    road.sectionChanges.append(c);
  }
}

void readSlopes(MarkupDocument& doc, RoadDataSet& road) {
  ItemReader r(doc);
  while (doc.findElement("Slope_Array")) {
    Road_Slope s;
    r.text("SlopeName", s.SlopeName);
    r.integer("Type", s.Type);
    r.integer("LeftRight", s.LeftRight);
    r.number("StartMileage", s.StartMileage);
    r.number("EndMileage", s.EndMileage);
    road.slopes.append(s);
  }
  std::vector<Road_Slope_Item> items;
  while (doc.findElement("Slope_Item_Array")) {
    Road_Slope_Item it;
    r.text("SlopeName", it.SlopeName);
    r.text("ItemName", it.ItemName);
    r.integer("Mode", it.Mode);
    r.number("SlopeH", it.SlopeH);
    r.number("SlopeScale", it.SlopeScale);
    r.number("Width", it.Width);
    items.push_back(it);
  }
  // Items join their slope by name, in file order; an item that matches no
  // slope is dropped. The items are grouped by name first so that a road with
  // thousands of slopes does not compare every item with every slope.
  std::unordered_map<std::string, std::vector<std::size_t>> itemsByName;
  for (std::size_t k = 0; k < items.size(); ++k) itemsByName[items[k].SlopeName].push_back(k);
  for (auto& s : road.slopes) {
    auto found = itemsByName.find(s.SlopeName);
    if (found == itemsByName.end()) continue;
    for (std::size_t k : found->second) s.items.append(items[k]);
  }
}

void readSuperItems(MarkupDocument& doc, RecordList<Road_Super_Item>& out, const char* itemName,
                    bool widening) {
  ItemReader r(doc);
  while (doc.findElement(itemName)) {
    Road_Super_Item item;
    r.integer("LeftRight", item.LeftRight);
    r.text("SectionName", item.SectionName);
    r.integer("InSectionIndex", item.InSectionIndex);
    if (doc.findChildElement("Value_Array")) {
      item.values.clear();
      doc.enterElement();
      while (doc.findChildElement("Value")) {
        std::vector<std::string> fields = split(doc.childData(), '|');
        Road_Super_Value v;
        v.Mileage = parseDecimal(fields[0]);
        if (fields.size() > 1) (widening ? v.Width : v.Slope) = parseDecimal(fields[1]);
        if (fields.size() > 2) v.Mode = parseInteger(fields[2]);
        item.values.append(v);
      }
      doc.leaveElement();
    }
    out.append(item);
  }
}

// Finds the next container after the last one found and reads it.
template <class ReadFn>
void readContainer(MarkupDocument& doc, const char* name, ReadFn read) {
  if (!doc.findElement(name)) return;
  doc.enterElement();
  read();
  doc.leaveElement();
}

}  // namespace

bool CInputRoadLibrary::writeRoadFile(const std::string& path) const {
  MarkupDocument doc;
  buildRoadDocument(*this, doc);
  return doc.saveFile(path);
}

bool CInputRoadLibrary::readRoadFile(const std::string& path) {
  MarkupDocument doc;
  if (!doc.loadFile(path)) return false;
  doc.resetPositions();
  if (!doc.findElement("HEAD")) return false;
  doc.enterElement();
  if (!doc.findElement("RoadLibrary")) return false;
  doc.enterElement();

  // Read into a fresh set and take it only once the whole file has been read.
  RoadDataSet road;
  readContainer(doc, "Scisson", [&] { readScissons(doc, road); });
  readContainer(doc, "Flat_Curve", [&] { readFlatCurve(doc, road); });
  readContainer(doc, "Vertical_Curve", [&] { readVerticalCurves(doc, road); });
  readContainer(doc, "Cross_Section", [&] { readCrossSection(doc, road); });
  readContainer(doc, "Change_Section", [&] { readChangeSections(doc, road); });
  readContainer(doc, "Slope_Data", [&] { readSlopes(doc, road); });
  readContainer(doc, "SuperHigh", [&] { readSuperItems(doc, road.superHighs, "SuperHighItem", false); });
  readContainer(doc, "Widen", [&] { readSuperItems(doc, road.widens, "WidenItem", true); });
  static_cast<RoadDataSet&>(*this) = std::move(road);
  return true;
}

}  // namespace trazmark
