// Text helpers of the stand-in: Windows path names, case folding, and the lines of the saved
// records (quoted fields; boxes, dialogs and process starts one per line). Internal to standin/.
#ifndef STANDIN_RECORDS_H
#define STANDIN_RECORDS_H

#include <string>
#include <vector>

#include "standin/machine.h"

namespace standin {
namespace internal {

// Splits a line into fields separated by spaces; a field in double quotes is unquoted (the
// escapes of Quote), other fields are taken as they stand.
std::vector<std::string> Fields(const std::string& line);

// The names of a Windows path between its backslashes (empty ones dropped).
std::vector<std::string> SplitPath(const std::string& path);
// ASCII letters made lower-case: names of keys, values, files and fault matches compare so.
std::string Lower(const std::string& text);

std::string BoxLine(const Box& box);
Box ParseBox(const std::vector<std::string>& fields);
std::string DialogLine(const Dialog& dialog);
Dialog ParseDialog(const std::vector<std::string>& fields);
std::string StartLine(const ProcessStart& start);
ProcessStart ParseStart(const std::vector<std::string>& fields);

}  // namespace internal
}  // namespace standin

#endif  // STANDIN_RECORDS_H
