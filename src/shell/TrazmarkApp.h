#pragma once
// The application object: finds the program's folder and its language file,
// creates the main frame and hands it the road list path.

#include <QStringList>
#include <QTranslator>
#include <memory>
#include <string>

namespace trazmark {

class CMainFrame;

class CTrazmarkApp {
 public:
  /// What the command line asks for.
  struct Options {
    std::string roadListPath;  ///< the text after the program name (and its options)
    std::string language;      ///< "--lang CODE": Language.CODE.xml; empty: Language.xml
    std::string screenshot;    ///< "--screenshot FILE": save a picture of the window and quit
    int openRoad = -1;         ///< "--open-road N": press road button N first (with --screenshot)
    int view = -1;             ///< "--view KIND": then show the data view of that kind (with --screenshot)
    int listMode = -1;         ///< "--list-mode N": the alignment view lists input (0), key points (1) or stakes (2), with its plan
    std::string press;         ///< "--press NAME": then click the view's button of that object name
    int slopeSteps = -1;       ///< "--slope-steps N": with --view 5, show the steps of slope N
    int selectRow = -1;        ///< "--select-row N": then select row N of the view's visible list, scrolled to the middle
    int editRow = -1;          ///< "--edit-row N": then open the edit dialog of row N of the view's list
    int deleteRow = -1;        ///< "--delete-row N": then delete row N of the view's list (its "deleteButton")
    bool editMenu = false;     ///< "--edit-menu": the Edit menu open in the picture
    int width = 0;             ///< "--size WxH": the window's size (with --screenshot)
    int height = 0;
    std::string planFile;      ///< "--plan-file FILE": load this curve file into the plan map (with --screenshot)
    std::string hover;         ///< "--hover X,Y": then move the mouse over that plan point (with --screenshot)
    std::string station;       ///< "--station S": then show the cross-section map at that station (with --screenshot)
    std::string earthwork;     ///< "--earthwork list|mass-haul": the earthwork list, or the mass-haul diagram (with --screenshot)
    int tables = -1;           ///< "--tables N": File → Tables showing table N (0 curve elements .. 4 superelevation)
    bool outOfDate = false;    ///< "--out-of-date": then report an edit of the view on show, as the view does (with --screenshot)
    std::string checkPoints;   ///< "--check-points FILE": File → Check survey points… on that file ("name,x,y,z") (with --screenshot)
    std::string checkReport;   ///< "--check-report FILE": then write the check's PDF report there (with --check-points)
    std::string zoomAt;        ///< "--zoom-at X,Y,N": last, N turns of the wheel over that plan point (with --screenshot)
  };
  /// Reads the options at the start of `arguments` (without the program
  /// name); the rest, joined by spaces, is the road list path as written.
  static Options parseArguments(const QStringList& arguments);

  /// The language file for `language` ("" or "zh": Language.xml, else
  /// Language.<language>.xml): beside the program, else in the installed data
  /// folder (<prefix>/share/trazmark); the path beside the program when none exists.
  static std::string findLanguageFile(const std::string& programFolder, const std::string& language);

  /// The toolkit's own texts (OK, Cancel, the file dialog) in `language`
  /// ("" or "zh": Chinese), from the translations installed with Qt; null
  /// for English, which the toolkit has built in, or when none is installed.
  static std::unique_ptr<QTranslator> loadToolkitTranslation(const std::string& language);

  CTrazmarkApp();
  ~CTrazmarkApp();

  /// Start-up: language file, the UI.xml copy where the program's folder is
  /// writable, the main frame with its road list path, shown.
  bool InitInstance(const QStringList& arguments);

  const std::string& programFolder() const { return programFolder_; }
  const std::string& languageFilePath() const { return languageFilePath_; }
  CMainFrame* mainFrame() const { return frame_.get(); }

 private:
  void takeScreenshot(const Options& options);

  std::string programFolder_;
  std::string languageFilePath_;
  std::unique_ptr<QTranslator> toolkitTranslator_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace trazmark
