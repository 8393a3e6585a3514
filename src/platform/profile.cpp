#include "platform/profile.h"

#include "core/files.h"
#include "core/paths.h"
#include "core/sjis.h"
#include "platform/os.h"

namespace rkv {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) { return SameNameNoCase(a, b); }

// "[name]" (blanks allowed around it) gives the name; anything else nothing.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

bool KeyOf(std::string_view line, std::string_view& key, std::string_view& value) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

std::string Unquote(std::string_view v) {
  v = UpToNul(v);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

}  // namespace

bool MakeDirs(std::string_view path) {
  if (path.empty() || DirExists(path)) return true;
  std::string parent = DirPart(path);
  if (!parent.empty() && parent != path && !MakeDirs(parent)) return false;
  return os::MakeDir(path) || DirExists(path);
}

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {
  std::optional<std::string> bytes = ReadWholeFile(path_);
  if (!bytes) return;
  std::string_view all = *bytes;
  size_t start = 0;
  while (start < all.size()) {
    size_t lf = all.find('\n', start);
    std::string_view line = all.substr(start, lf == std::string_view::npos ? all.npos : lf - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.emplace_back(line);
    if (lf == std::string_view::npos) break;
    start = lf + 1;
  }
}

ProfileFile::Found ProfileFile::Find(std::string_view section, std::string_view key) const {
  Found f;
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::string_view name;
    if (!SectionName(lines_[i], name)) continue;
    if (f.sectionLine != npos) {
      f.sectionEnd = i;
      return f;
    }
    if (EqualNoCase(name, section)) {
      f.sectionLine = i;
      f.sectionEnd = lines_.size();
    }
    continue;
  }
  return f;
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue, size_t bufferSize) const {
  std::string value(defaultValue);
  Found f = Find(section, key);
  if (f.sectionLine != npos) {
    for (size_t i = f.sectionLine + 1; i < f.sectionEnd; ++i) {
      std::string_view k, v;
      if (KeyOf(lines_[i], k, v) && EqualNoCase(k, key)) {
        // A value read into a C buffer ended at a NUL byte; writing cuts there too.
        value = std::string(UpToNul(Unquote(v)));
        break;
      }
    }
  }
  if (bufferSize == 0) return {};
  if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
  return value;
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const {
  Found f = Find(section, key);
  if (f.sectionLine == npos) return false;
  for (size_t i = f.sectionLine + 1; i < f.sectionEnd; ++i) {
    std::string_view k, v;
    if (KeyOf(lines_[i], k, v) && EqualNoCase(k, key)) return true;
  }
  return false;
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
  if (!HasKey(section, key)) return defaultValue;
  return ParseDecimal(GetString(section, key, "", 64));
}

std::vector<std::pair<std::string, std::string>> ProfileFile::Section(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> out;
  Found f = Find(section, "");
  if (f.sectionLine == npos) return out;
  for (size_t i = f.sectionLine + 1; i < f.sectionEnd; ++i) {
    std::string_view k, v;
    if (KeyOf(lines_[i], k, v) && !k.empty()) out.emplace_back(std::string(k), Unquote(v));
  }
  return out;
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  value = UpToNul(value);
  std::string line(key);
  line.push_back('=');
  // Blanks at either end would be trimmed on reading; quotes keep them.
  bool quote = !value.empty() && (IsSpace(value.front()) || IsSpace(value.back()) ||
                                  (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                                   value.back() == value.front()));
  if (quote) line.push_back('"');
  line.append(value);
  if (quote) line.push_back('"');

  Found f = Find(section, key);
  if (f.sectionLine == npos) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(line));
    return;
  }
  size_t lastContent = f.sectionLine;
  for (size_t i = f.sectionLine + 1; i < f.sectionEnd; ++i) {
    std::string_view k, v;
    if (KeyOf(lines_[i], k, v) && EqualNoCase(k, key)) {
      lines_[i] = std::move(line);
      return;
    }
    if (!Trim(lines_[i]).empty()) lastContent = i;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastContent + 1), std::move(line));
}

std::string ProfileFile::Text() const {
  std::string out;
  for (const auto& l : lines_) {
    out += l;
    out += "\r\n";
  }
  return out;
}

bool ProfileFile::Commit(std::string* error) {
  std::string dir = DirPart(path_);
  if (!dir.empty() && !MakeDirs(dir)) {
    if (error) *error = "cannot create " + dir + ": " + os::LastErrorText();
    return false;
  }
  return WriteFileAtomically(path_, Text(), error);
}

}  // namespace rkv
