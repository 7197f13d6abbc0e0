// A fresh temporary directory made the current directory for the life of the object, since the
// population file always lives in the current directory.
#pragma once

#include <filesystem>
#include <string>

namespace evo::test {

class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// The bytes of a file, empty when it does not exist.
std::string FileBytes(const std::filesystem::path& path);

// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// Writes bytes into an existing file from offset on, as another program would.
void OverwriteFileBytes(const std::filesystem::path& path, std::size_t offset,
                        const std::string& bytes);

}  // namespace evo::test
