// Text lines of the machine's saved records: quoted fields, and the boxes, dialogs and process
// starts one per line. Internal to standin/.
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

std::string BoxLine(const Box& box);
Box ParseBox(const std::vector<std::string>& fields);
std::string DialogLine(const Dialog& dialog);
Dialog ParseDialog(const std::vector<std::string>& fields);
std::string StartLine(const ProcessStart& start);
ProcessStart ParseStart(const std::vector<std::string>& fields);

}  // namespace internal
}  // namespace standin

#endif  // STANDIN_RECORDS_H
