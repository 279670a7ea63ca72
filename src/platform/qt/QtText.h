#pragma once
// The Qt boundary for texts: the program keeps its texts as byte strings in the
// ANSI code page, widgets speak QString.

#include <QString>
#include <string>

namespace trazmark {

/// An ANSI code page text as a QString.
QString toQt(const std::string& ansi);
/// A QString as an ANSI code page text; characters the page cannot hold
/// become '?'.
std::string fromQt(const QString& text);
/// A file name from a dialog or the file system as the program's path text.
std::string pathFromQt(const QString& path);
/// A path text of the program as a file name for Qt's file functions.
QString pathToQt(const std::string& path);

}  // namespace trazmark
