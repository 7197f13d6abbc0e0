// The data directory that a menu start keeps critter.dat in: where it is, that it is made and
// entered, and what is said when it cannot be made.
#include <gtest/gtest.h>

#include <QDir>
#include <filesystem>

#include "mainwin/working_directory.h"
#include "support/scoped_variable.h"
#include "support/temp_dir.h"

namespace evo::test {
namespace {

QByteArray Bytes(const std::filesystem::path& path) {
  return QByteArray::fromStdString(path.string());
}

TEST(DataDirectoryTest, IsMadeWithItsParentsAndEntered) {
  TempDirectory temp;
  const std::filesystem::path home = temp.Path() / "data home";
  ScopedVariable dataHome("XDG_DATA_HOME", Bytes(home));
  EXPECT_EQ(EnterDataDirectory(), QString());
  EXPECT_EQ(QDir::currentPath().toStdString(), (home / "evolution-simulation").string());
  // Entering it again, once it exists, is no failure.
  EXPECT_EQ(EnterDataDirectory(), QString());
}

TEST(DataDirectoryTest, RelativeOrEmptyDataHomeFallsBackToTheHomeFolder) {
  TempDirectory temp;
  ScopedVariable homeFolder("HOME", Bytes(temp.Path()));
  const std::filesystem::path expected = temp.Path() / ".local/share/evolution-simulation";
  for (const QByteArray& dataHome : {QByteArray("relative/data"), QByteArray()}) {
    ScopedVariable variable("XDG_DATA_HOME", dataHome);
    EXPECT_EQ(DataDirectory(), expected) << dataHome.constData();
  }
  ScopedVariable variable("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(EnterDataDirectory(), QString());
  EXPECT_EQ(std::filesystem::current_path(), expected);
  EXPECT_FALSE(std::filesystem::exists(temp.Path() / "relative"));
}

// A name that is no text in any encoding is the folder's name all the same.
TEST(DataDirectoryTest, IsNamedByTheBytesOfTheEnvironment) {
  TempDirectory temp;
  const std::filesystem::path home = temp.Path() / "data-\xff\xfe";
  ScopedVariable dataHome("XDG_DATA_HOME", Bytes(home));
  EXPECT_EQ(EnterDataDirectory(), QString());
  EXPECT_EQ(std::filesystem::current_path(), home / "evolution-simulation");
  EXPECT_TRUE(std::filesystem::is_directory(home / "evolution-simulation"));
}

TEST(DataDirectoryTest, ThatCannotBeMadeIsReportedWithTheSystemsReason) {
  TempDirectory temp;
  WriteFileBytes(temp.Path() / "file", "not a folder");
  ScopedVariable dataHome("XDG_DATA_HOME", Bytes(temp.Path() / "file"));
  EXPECT_EQ(EnterDataDirectory(), "Cannot create the data folder " +
                                      QString::fromStdString(temp.Path().string()) +
                                      "/file/evolution-simulation: Not a directory");
  EXPECT_EQ(QDir::currentPath().toStdString(), temp.Path().string());
}

}  // namespace
}  // namespace evo::test
