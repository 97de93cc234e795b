// Files and folders under Windows paths: whole-file reads, atomic
// replacement, case-insensitive names, sub-folder listing.
#include <algorithm>

#include "conformance/conformance.h"

namespace {

using namespace conformance;

const std::string kBase = "C:\\tillwick-conformance";

class ConformanceFiles : public Fixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(host::fs::CreateFolder(kBase));
        for (const char* name : {"a.ini", "b.ini"}) host::fs::DeleteFile(kBase + "\\" + name);
    }
};

TEST_F(ConformanceFiles, WrittenBytesReadBackExactlyAndReplaceWholly) {
    const std::string path = kBase + "\\a.ini";
    const std::string content("[General]\r\nKey=Value\r\n\0tail\xE9", 30);
    ASSERT_TRUE(host::fs::WriteFileAtomic(path, content));
    EXPECT_TRUE(host::fs::FileExists(path));
    EXPECT_FALSE(host::fs::FolderExists(path));
    EXPECT_EQ(host::fs::ReadFile(path), content);
    EXPECT_EQ(host::fs::ReadFile(path, 9), "[General]");  // a read with a cap stops there

    ASSERT_TRUE(host::fs::WriteFileAtomic(path, "short"));
    EXPECT_EQ(host::fs::ReadFile(path), "short");
    ASSERT_TRUE(host::fs::WriteFileAtomic(path, ""));
    EXPECT_EQ(host::fs::ReadFile(path), "");
}

TEST_F(ConformanceFiles, NamesAreCaseInsensitive) {
    ASSERT_TRUE(host::fs::WriteFileAtomic(kBase + "\\b.ini", "x"));
    EXPECT_TRUE(host::fs::FileExists(kBase + "\\B.INI"));
    EXPECT_TRUE(host::fs::FolderExists("c:\\TILLWICK-CONFORMANCE"));
    EXPECT_EQ(host::fs::ReadFile("C:\\Tillwick-Conformance\\B.ini"), "x");
    EXPECT_TRUE(host::fs::DeleteFile(kBase + "\\B.Ini"));
    EXPECT_FALSE(host::fs::FileExists(kBase + "\\b.ini"));
}

TEST_F(ConformanceFiles, MissingThingsFailWithoutSideEffects) {
    EXPECT_FALSE(host::fs::ReadFile(kBase + "\\missing.ini").has_value());
    EXPECT_FALSE(host::fs::DeleteFile(kBase + "\\missing.ini"));
    EXPECT_FALSE(host::fs::FileExists(kBase + "\\missing.ini"));
    // The atomic write creates the file only, never its folder.
    EXPECT_FALSE(host::fs::WriteFileAtomic(kBase + "\\no-such-folder\\x.ini", "x"));
    EXPECT_FALSE(host::fs::FolderExists(kBase + "\\no-such-folder"));
    EXPECT_FALSE(host::fs::CreateFolder(kBase + "\\no-such-folder\\deeper"));
    EXPECT_FALSE(host::fs::ReadFile(kBase).has_value());  // a folder is not a file
}

TEST_F(ConformanceFiles, FoldersAndFilesAreListedApartByNameWithoutDots) {
    const std::string root = kBase + "\\listing";
    ASSERT_TRUE(host::fs::CreateFolder(root));
    ASSERT_TRUE(host::fs::CreateFolder(root + "\\Groups"));
    ASSERT_TRUE(host::fs::CreateFolder(root + "\\Plugin"));
    EXPECT_TRUE(host::fs::CreateFolder(root + "\\Plugin"));  // already there: still fine
    ASSERT_TRUE(host::fs::WriteFileAtomic(root + "\\file.txt", "x"));
    ASSERT_TRUE(host::fs::WriteFileAtomic(root + "\\Groups\\News.cgp", "x"));

    auto names = host::fs::ListSubfolders(root);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Groups", "Plugin"}));
    EXPECT_TRUE(host::fs::ListSubfolders(root + "\\Groups").empty());
    EXPECT_TRUE(host::fs::ListSubfolders(kBase + "\\no-such-folder").empty());
    EXPECT_EQ(host::fs::ListFiles(root), std::vector<std::string>{"file.txt"});
    EXPECT_EQ(host::fs::ListFiles(root + "\\Groups"), std::vector<std::string>{"News.cgp"});
    EXPECT_TRUE(host::fs::ListFiles(root + "\\file.txt").empty());
    EXPECT_TRUE(host::fs::ListFiles(kBase + "\\no-such-folder").empty());
}

}  // namespace
