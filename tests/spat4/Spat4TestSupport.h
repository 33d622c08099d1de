#pragma once

#include "SampleWriter.h"
#include "Spat4Folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace spat4::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        static std::atomic<int> counter{0};
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("spat4-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::filesystem::path u8path(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline void writeBytes(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string shiftJis(std::string_view utf8)
{
    auto bytes = sample::shiftJisOf(utf8);
    if (auto *e = std::get_if<sample::SampleError>(&bytes)) {
        ADD_FAILURE() << e->message;
        return {};
    }
    return std::get<std::string>(bytes);
}

inline std::string sampleBytes(const sample::SampleFile &file)
{
    auto bytes = sample::sampleFileBytes(file);
    if (auto *e = std::get_if<sample::SampleError>(&bytes)) {
        ADD_FAILURE() << e->message;
        return {};
    }
    return std::get<std::string>(bytes);
}

// A listing held in memory that counts how often it was asked for.
class FakeFolder : public Spat4Folder {
public:
    explicit FakeFolder(std::vector<FolderEntry> entries) : entries_(std::move(entries)) {}
    static FakeFolder named(const std::vector<std::string> &names)
    {
        std::vector<FolderEntry> entries;
        for (const std::string &n : names)
            entries.push_back({n, std::filesystem::path("/nonexistent") / n});
        return FakeFolder(entries);
    }
    std::vector<FolderEntry> list() const override
    {
        ++listings;
        return entries_;
    }
    mutable int listings = 0;

private:
    std::vector<FolderEntry> entries_;
};

} // namespace spat4::test
