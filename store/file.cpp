#include "store/file.h"

#include <algorithm>
#include <cctype>

namespace kpr {

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir == ".") return name;
  if (!name.empty() && name[0] == '/') return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

std::string DirName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

static bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string ResolvePath(FileSystem* fs, const std::string& dir, const std::string& name) {
  const std::string exact = JoinPath(dir, name);
  if (fs->Exists(exact)) return exact;
  // The name may carry a directory part of its own ("old/Inc3.dbf").
  const std::string full_dir = DirName(exact);
  const std::string base = BaseName(exact);
  std::vector<std::string> names;
  if (fs->ListDir(full_dir, &names).ok()) {
    std::sort(names.begin(), names.end());  // the same choice every time
    for (const auto& n : names) {
      if (EqualNoCase(n, base)) return JoinPath(full_dir, n);
    }
  }
  return exact;
}

Status ReadExact(File* file, uint64_t offset, size_t n, char* dst) {
  size_t got = 0;
  KPR_RETURN_IF_ERROR(file->Read(offset, n, dst, &got));
  if (got != n) {
    return Status::Corruption(file->path() + ": file ends early (wanted " + std::to_string(n) +
                              " bytes at offset " + std::to_string(offset) + ", found " +
                              std::to_string(got) + ")");
  }
  return Status::OK();
}

}  // namespace kpr
