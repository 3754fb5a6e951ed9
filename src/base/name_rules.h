#pragma once
// Rules for Windows path texts ('\' and '/' both separate, ':' ends a drive).
#include <string>
#include <string_view>

namespace kembo {

bool IsPathDelimiter(char c);
// Everything up to and including the last separator or drive colon ("" if none).
std::string ExtractFilePath(std::string_view path);
// What follows the last separator or drive colon.
std::string ExtractFileName(std::string_view path);
// The extension with its dot (".bmp"), "" if the name has none; a dot in a folder name is not one.
std::string ExtractFileExt(std::string_view path);
// Replaces the extension (or appends one when there is none). ext includes its dot.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// Adds a '\' unless the text already ends in a separator.
std::string IncludeTrailingSeparator(std::string_view path);
std::string ExcludeTrailingSeparator(std::string_view path);
// Adds a '\' unless the text already ends in '\' or in a drive colon ("D:\", "D:" stay).
std::string AddTrailingSeparator(std::string_view path);

}  // namespace kembo
