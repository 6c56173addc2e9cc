#include "crosscheck/rc_pictures.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

constexpr size_t kFileHeaderSize = 14;  // "BM", size, reserved, offset: not part of a resource

}  // namespace

bool LoadScriptPictures(const std::string& scriptPath, FixtureResources& pictures) {
  std::ifstream script(scriptPath);
  if (!script) {
    std::fprintf(stderr, "cannot read %s\n", scriptPath.c_str());
    return false;
  }
  const std::string dir = scriptPath.substr(0, scriptPath.find_last_of('/') + 1);
  std::string line;
  int count = 0;
  while (std::getline(script, line)) {
    std::istringstream words(line);
    unsigned id = 0;
    std::string type, quoted;
    if (!(words >> id >> type >> quoted) || type != "BITMAP" || quoted.size() < 3) continue;
    const std::string path = dir + quoted.substr(1, quoted.size() - 2);
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), {});
    if (!file.is_open() || bytes.size() <= kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
      std::fprintf(stderr, "cannot read the picture %s\n", path.c_str());
      return false;
    }
    bytes.erase(bytes.begin(), bytes.begin() + kFileHeaderSize);
    pictures.Add(static_cast<uint16_t>(id), std::move(bytes));
    ++count;
  }
  if (count == 0) std::fprintf(stderr, "%s names no pictures\n", scriptPath.c_str());
  return count > 0;
}
