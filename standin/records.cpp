// Text helpers: path names, case folding, quoted fields and the saved record lines.
#include "standin/records.h"

#include <cstdlib>

namespace standin {
namespace internal {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

long Number(const std::vector<std::string>& f, size_t i) {
  return i < f.size() ? std::strtol(f[i].c_str(), nullptr, 0) : 0;
}

std::string Text(const std::vector<std::string>& f, size_t i) { return i < f.size() ? f[i] : ""; }

}  // namespace

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

std::string Lower(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    std::string field;
    if (line[i] != '"') {
      while (i < line.size() && line[i] != ' ') field += line[i++];
      out.push_back(field);
      continue;
    }
    ++i;
    while (i < line.size() && line[i] != '"') {
      char c = line[i++];
      if (c != '\\' || i >= line.size()) {
        field += c;
        continue;
      }
      char e = line[i++];
      switch (e) {
        case 'n': field += '\n'; break;
        case 'r': field += '\r'; break;
        case 't': field += '\t'; break;
        case 'x': {
          int hi = i < line.size() ? HexDigit(line[i]) : -1;
          int lo = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
          if (hi < 0 || lo < 0) {
            field += 'x';
          } else {
            field += static_cast<char>(hi * 16 + lo);
            i += 2;
          }
          break;
        }
        default: field += e;  // \" and \\ and anything else stand for the character itself
      }
    }
    ++i;  // the closing quote
    out.push_back(field);
  }
  return out;
}

std::string BoxLine(const Box& b) {
  return Quote(b.caption) + " " + Quote(b.text) + " " + std::to_string(b.type) + " " +
         Quote(b.owner) + " " + std::to_string(b.answer);
}

Box ParseBox(const std::vector<std::string>& f) {
  return Box{Text(f, 0), Text(f, 1), static_cast<UINT>(Number(f, 2)), Text(f, 3),
             static_cast<int>(Number(f, 4))};
}

std::string DialogLine(const Dialog& d) {
  std::string line = std::to_string(d.templateId) + " " + Quote(d.caption) + " " +
                     (d.centred ? "1" : "0") + " " + std::to_string(d.focusId);
  for (const std::string& c : d.controls) line += " " + Quote(c);
  return line;
}

Dialog ParseDialog(const std::vector<std::string>& f) {
  Dialog d{static_cast<int>(Number(f, 0)), Text(f, 1), {}, Number(f, 2) != 0,
           static_cast<int>(Number(f, 3))};
  for (size_t i = 4; i < f.size(); ++i) d.controls.push_back(f[i]);
  return d;
}

std::string StartLine(const ProcessStart& s) {
  return Quote(s.application) + " " + Quote(s.commandLine) + " " + (s.inheritHandles ? "1" : "0") +
         " " + std::to_string(s.creationFlags) + " " + (s.environmentGiven ? "1" : "0") + " " +
         (s.directoryGiven ? "1" : "0") + " " + Quote(s.directory) + " " +
         (s.startupInfoPlain ? "1" : "0");
}

ProcessStart ParseStart(const std::vector<std::string>& f) {
  return ProcessStart{Text(f, 0),        Text(f, 1),        Number(f, 2) != 0,
                      static_cast<DWORD>(Number(f, 3)), Number(f, 4) != 0, Number(f, 5) != 0,
                      Text(f, 6),        Number(f, 7) != 0};
}

}  // namespace internal
}  // namespace standin
