// The committed logo and icon are exactly what res/gen/make_art.py writes: rerunning the generator
// into a fresh folder reproduces them byte for byte.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<char> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

TEST(ResourceArt, GeneratorReproducesTheCommittedFiles) {
  if (std::system("python3 -c pass >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 not available";
  const std::filesystem::path out =
      std::filesystem::temp_directory_path() / ("resources_art_" + std::to_string(::getpid()));
  std::filesystem::remove_all(out);
  std::filesystem::create_directories(out);
  const std::string command = "python3 '" SETUP_SOURCE_DIR "/res/gen/make_art.py' '" +
                              out.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (const char* name : {"logo.bmp", "setup.ico"}) {
    SCOPED_TRACE(name);
    const std::vector<char> committed = ReadFile(std::filesystem::path(SETUP_SOURCE_DIR) / "res" / name);
    const std::vector<char> fresh = ReadFile(out / name);
    ASSERT_FALSE(committed.empty());
    EXPECT_EQ(fresh.size(), committed.size());
    EXPECT_TRUE(fresh == committed) << "res/" << name
                                    << " differs from the generator's output: rerun res/gen/make_art.py";
  }
  std::filesystem::remove_all(out);
}

}  // namespace
