// Drives, Windows paths and the file calls: paths are made absolute against the working directory,
// their drive is looked up in the drives map, and each name is matched without regard to case
// against what exists in the host folder. A host file without any write permission bit is a
// read-only file (the bits are checked here, so that this holds when the tests run as root).
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <map>

#include "standin/machine.h"
#include "standin/records.h"

namespace standin {
namespace internal {
namespace {

const DWORD kErrorInvalidName = 123;
const DWORD kErrorDirectory = 267;
const DWORD kOpenAlways = 4;
const DWORD kTruncateExisting = 5;
const DWORD kFileAttributeArchive = 0x20;

DWORD g_lastError = 0;

// Sets the last error and gives back the call's failure result.
template <typename T>
T Refuse(DWORD error, T result) {
  SetLastErrorCode(error);
  return result;
}

struct Object {
  std::string what;  // "file C:\X\Y", "process ...", "thread ..."
  int fd = -1;
};

std::map<HANDLE, Object>& Objects() {
  static std::map<HANDLE, Object>* objects = new std::map<HANDLE, Object>;
  return *objects;
}

// Kernel handles keep growing across resets, so that a stale one never names a new object.
ULONG_PTR g_nextHandle = 0x1000;

HANDLE NextHandle() {
  HANDLE h = reinterpret_cast<HANDLE>(g_nextHandle);
  g_nextHandle += 4;
  return h;
}

bool IsDirectory(const std::string& host) {
  struct stat st;
  return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& host) {
  struct stat st;
  return stat(host.c_str(), &st) == 0;
}

bool IsReadOnly(const std::string& host) {
  struct stat st;
  return stat(host.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

std::string Parent(const std::string& host) {
  size_t slash = host.find_last_of('/');
  return slash == std::string::npos ? "." : host.substr(0, slash);
}

// The error for a path that does not exist: its folder exists (file not found) or not.
DWORD MissingError(const std::string& host) {
  return IsDirectory(Parent(host)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

// The name in folder that equals name without regard to case ("" when there is none).
std::string FindEntry(const std::string& folder, const std::string& name) {
  if (Exists(folder + "/" + name)) return name;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return "";
  std::string found;
  while (dirent* entry = readdir(dir)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

bool ValidName(const std::string& name) {
  for (unsigned char c : name) {
    if (c < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' ||
        c == '*') {
      return false;
    }
  }
  return true;
}

// The start of every call that works on a path: its fault switch (ERROR_ACCESS_DENIED), then the
// path mapped to the host. False, with the last error set, when the call must fail.
bool Enter(const char* function, LPCSTR path, std::string* host, std::string* full) {
  if (Fails(function, path != nullptr ? path : "")) return Refuse(ERROR_ACCESS_DENIED, false);
  if (path == nullptr || *path == '\0') return Refuse(ERROR_PATH_NOT_FOUND, false);
  DWORD error = 0;
  if (!MapPath(path, host, &error)) return Refuse(error, false);
  *full = FullPath(path);
  return true;
}

}  // namespace

void SetLastErrorCode(DWORD error) { g_lastError = error; }

std::string FullPath(const std::string& windowsPath) {
  std::string path = windowsPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  const std::string& cwd = M().currentDir;
  char cwdDrive = cwd.empty() ? 'C' : static_cast<char>(std::toupper(static_cast<unsigned char>(cwd[0])));
  std::string cwdRest = cwd.size() > 2 ? cwd.substr(2) : "\\";
  char drive = cwdDrive;
  std::string rest;
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
    drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    rest = path.substr(2);
    // "D:NAME" is relative to the working directory when it is on D:, else to D:'s root.
    if (rest.empty() || rest[0] != '\\') rest = (drive == cwdDrive ? cwdRest + "\\" : "\\") + rest;
  } else if (!path.empty() && path[0] == '\\') {
    rest = path;
  } else {
    rest = cwdRest + "\\" + path;
  }
  std::vector<std::string> parts;
  for (const std::string& part : SplitPath(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string full = std::string(1, drive) + ":\\";
  for (size_t i = 0; i < parts.size(); ++i) full += (i > 0 ? "\\" : "") + parts[i];
  return full;
}

bool MapPath(const std::string& windowsPath, std::string* hostPath, DWORD* error) {
  std::string full = FullPath(windowsPath);
  char drive = full[0];
  if (M().noMedium.count(drive) != 0) {  // the drive is there, mapped or not, but empty
    // Without SEM_FAILCRITICALERRORS Windows would stop the program with a system box here.
    if ((M().errorMode & SEM_FAILCRITICALERRORS) == 0) {
      Log(std::string("critical error box: drive ") + drive + ": not ready");
    }
    *error = ERROR_NOT_READY;
    return false;
  }
  auto it = M().drives.find(drive);
  if (it == M().drives.end()) {
    *error = ERROR_PATH_NOT_FOUND;
    return false;
  }
  std::string host = it->second;
  bool present = true;
  for (const std::string& part : SplitPath(full.substr(3))) {
    if (!ValidName(part)) {
      *error = kErrorInvalidName;
      return false;
    }
    std::string name = present ? FindEntry(host, part) : "";
    if (name.empty()) {
      present = false;
      name = part;
    }
    host += "/" + name;
  }
  *hostPath = host;
  return true;
}

void FilesReset() {
  for (auto& object : Objects()) {
    if (object.second.fd >= 0) close(object.second.fd);
  }
  Objects().clear();
  g_lastError = 0;
}

HANDLE NewObjectHandle(const std::string& what) {
  HANDLE h = NextHandle();
  Objects()[h] = Object{what, -1};
  return h;
}

}  // namespace internal
}  // namespace standin

using namespace standin::internal;

extern "C" {

DWORD WINAPI GetLastError(void) { return g_lastError; }

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
  std::string host, full;
  if (!Enter("CreateFileA", lpFileName, &host, &full)) return INVALID_HANDLE_VALUE;
  if (IsDirectory(host)) return Refuse(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
  if (!IsDirectory(Parent(host))) return Refuse(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
  bool existed = Exists(host);
  bool write = (dwDesiredAccess & GENERIC_WRITE) != 0;
  int flags = write ? ((dwDesiredAccess & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (dwCreationDisposition) {
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case CREATE_NEW:
      if (existed) return Refuse(ERROR_FILE_EXISTS, INVALID_HANDLE_VALUE);
      flags |= O_CREAT | O_EXCL;
      break;
    case OPEN_EXISTING:
      if (!existed) return Refuse(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
      break;
    case kOpenAlways: flags |= O_CREAT; break;
    case kTruncateExisting:
      if (!existed) return Refuse(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
      flags |= O_TRUNC;
      break;
    default:
      SetLastErrorCode(ERROR_INVALID_PARAMETER);
      return INVALID_HANDLE_VALUE;
  }
  if (existed && (write || (flags & O_TRUNC)) && IsReadOnly(host)) {
    SetLastErrorCode(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  int fd = open(host.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return Refuse(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
  if (!existed && (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY)) fchmod(fd, 0444);
  HANDLE h = NextHandle();
  Objects()[h] = Object{"file " + full, fd};
  if (flags & (O_CREAT | O_TRUNC)) Log((existed ? "file replace " : "file create ") + full);
  // Documented: an existing file opened by CREATE_ALWAYS or OPEN_ALWAYS sets ERROR_ALREADY_EXISTS.
  bool reportsExisting = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == kOpenAlways;
  SetLastErrorCode(existed && reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = 0;
  auto it = Objects().find(hFile);
  std::string what = it != Objects().end() ? it->second.what : "";
  if (Fails("WriteFile", what)) return Refuse(ERROR_ACCESS_DENIED, FALSE);
  if (it == Objects().end() || it->second.fd < 0) return Refuse(ERROR_INVALID_HANDLE, FALSE);
  const char* bytes = static_cast<const char*>(lpBuffer);
  DWORD done = 0;
  while (done < nNumberOfBytesToWrite) {
    ssize_t n = write(it->second.fd, bytes + done, nNumberOfBytesToWrite - done);
    if (n <= 0) {
      SetLastErrorCode(ERROR_ACCESS_DENIED);
      if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = done;
      return FALSE;
    }
    done += static_cast<DWORD>(n);
  }
  if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = done;
  return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
  auto it = Objects().find(hObject);
  std::string what = it != Objects().end() ? it->second.what : "";
  bool failed = Fails("CloseHandle", what);
  if (it == Objects().end()) return Refuse(ERROR_INVALID_HANDLE, FALSE);
  // A failing close still releases the handle: the fault is in what it reports.
  if (it->second.fd >= 0) close(it->second.fd);
  Objects().erase(it);
  if (failed) return Refuse(ERROR_ACCESS_DENIED, FALSE);
  return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
  std::string host, full;
  if (!Enter("DeleteFileA", lpFileName, &host, &full)) return FALSE;
  if (!Exists(host)) return Refuse(MissingError(host), FALSE);
  bool refused = IsDirectory(host) || IsReadOnly(host) || unlink(host.c_str()) != 0;
  if (refused) return Refuse(ERROR_ACCESS_DENIED, FALSE);
  Log("file delete " + full);
  return TRUE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
  std::string host, full;
  if (!Enter("GetFileAttributesA", lpFileName, &host, &full)) return INVALID_FILE_ATTRIBUTES;
  if (!Exists(host)) return Refuse(MissingError(host), INVALID_FILE_ATTRIBUTES);
  if (IsDirectory(host)) return FILE_ATTRIBUTE_DIRECTORY;
  return kFileAttributeArchive | (IsReadOnly(host) ? FILE_ATTRIBUTE_READONLY : 0);
}

BOOL WINAPI CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes) {
  std::string host, full;
  if (!Enter("CreateDirectoryA", lpPathName, &host, &full)) return FALSE;
  if (Exists(host)) return Refuse(ERROR_ALREADY_EXISTS, FALSE);
  // Only the last level is made.
  if (!IsDirectory(Parent(host))) return Refuse(ERROR_PATH_NOT_FOUND, FALSE);
  if (mkdir(host.c_str(), 0777) != 0) return Refuse(ERROR_ACCESS_DENIED, FALSE);
  Log("dir create " + full);
  return TRUE;
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName) {
  std::string host, full;
  if (!Enter("SetCurrentDirectoryA", lpPathName, &host, &full)) return FALSE;
  if (!Exists(host)) return Refuse(MissingError(host), FALSE);
  if (!IsDirectory(host)) return Refuse(kErrorDirectory, FALSE);
  M().currentDir = full;
  return TRUE;
}

// The documented rule of both: a buffer too small (or none) gets nothing and the result is the
// size needed, NUL included; else the text is copied and the result is its length.
static DWORD CopyOut(const std::string& text, char* buffer, DWORD size) {
  DWORD needed = static_cast<DWORD>(text.size()) + 1;
  if (buffer == nullptr || size < needed) return needed;
  for (size_t i = 0; i < text.size(); ++i) buffer[i] = text[i];
  buffer[text.size()] = '\0';
  return needed - 1;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  if (Fails("GetCurrentDirectoryA")) return Refuse(ERROR_ACCESS_DENIED, 0);
  return CopyOut(M().currentDir, lpBuffer, nBufferLength);
}

UINT WINAPI GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize) {
  if (Fails("GetWindowsDirectoryA")) return Refuse(ERROR_ACCESS_DENIED, 0);
  return CopyOut(M().windowsDir, lpBuffer, uSize);
}

}  // extern "C"
