#include "base/KeyPath.h"

namespace quillet {

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string JoinKeyPath(std::string_view parent, std::string_view child) {
  std::string path(parent);
  if (!path.empty() && !child.empty()) path += '\\';
  path += child;
  return path;
}

}  // namespace quillet
