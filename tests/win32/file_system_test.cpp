#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_file_system.h"

namespace quelor {
namespace {

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = std::wstring(temp) + L"quelor-fs-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount());
    ASSERT_TRUE(fs_.create_directory(folder_));
  }
  void TearDown() override {
    for (const wchar_t* name : {L"\\a.INI", L"\\big.bin", L"\\sub\\b.txt"}) DeleteFileW((folder_ + name).c_str());
    RemoveDirectoryW((folder_ + L"\\sub").c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  Win32FileSystem fs_;
  std::wstring folder_;
};

TEST_F(Win32FileSystemTest, WriteReadDelete) {
  const std::wstring path = folder_ + L"\\a.INI";
  const std::string bytes("Ver2.20\r\nC:\\\r\n\0\x7f\xff end\r\n", 23);
  EXPECT_FALSE(fs_.file_exists(path));
  ASSERT_TRUE(fs_.write_file(path, bytes));
  EXPECT_TRUE(fs_.file_exists(path));
  std::optional<std::string> back = fs_.read_file(path);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, bytes);
  EXPECT_TRUE(fs_.delete_file(path));
  EXPECT_FALSE(fs_.file_exists(path));
  EXPECT_FALSE(fs_.read_file(path).has_value());
  EXPECT_FALSE(fs_.delete_file(path));
}

TEST_F(Win32FileSystemTest, RewriteReplacesTheWholeFile) {
  const std::wstring path = folder_ + L"\\a.INI";
  ASSERT_TRUE(fs_.write_file(path, std::string(1000, 'x')));
  ASSERT_TRUE(fs_.write_file(path, "short"));
  EXPECT_EQ(fs_.read_file(path).value_or(""), "short");
  ASSERT_TRUE(fs_.write_file(path, ""));
  std::optional<std::string> empty = fs_.read_file(path);
  ASSERT_TRUE(empty.has_value());
  EXPECT_TRUE(empty->empty());
}

TEST_F(Win32FileSystemTest, LargeFileRoundTrip) {
  const std::wstring path = folder_ + L"\\big.bin";
  std::string bytes(300000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 131) ^ (i >> 8));
  ASSERT_TRUE(fs_.write_file(path, bytes));
  EXPECT_EQ(fs_.read_file(path).value_or(""), bytes);
}

TEST_F(Win32FileSystemTest, Folders) {
  EXPECT_TRUE(fs_.create_directory(folder_));  // existing folder: success
  EXPECT_FALSE(fs_.file_exists(folder_));      // a folder is not a file
  EXPECT_FALSE(fs_.create_directory(folder_ + L"\\missing\\child"));
  EXPECT_FALSE(fs_.write_file(folder_ + L"\\sub\\b.txt", "x"));
  ASSERT_TRUE(fs_.create_directory(folder_ + L"\\sub"));
  EXPECT_TRUE(fs_.write_file(folder_ + L"\\sub\\b.txt", "x"));
  EXPECT_TRUE(fs_.file_exists(folder_ + L"\\sub\\b.txt"));
}

TEST_F(Win32FileSystemTest, AFileBlocksAFolderOfTheSameName) {
  const std::wstring path = folder_ + L"\\a.INI";
  ASSERT_TRUE(fs_.write_file(path, "x"));
  EXPECT_FALSE(fs_.create_directory(path));
}

}  // namespace
}  // namespace quelor
