// An in-memory file system with Windows path rules: '\' or '/' separators,
// case-insensitive names, drive roots that always exist, folders that exist
// when created or when something exists below them.
#include <algorithm>
#include <cctype>
#include <map>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

// "C:/a//b\" -> "C:\a\b"; a drive root becomes "C:".
std::string Normalize(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '/') c = '\\';
        if (c == '\\' && !out.empty() && out.back() == '\\') continue;
        out.push_back(c);
    }
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

std::string Key(std::string_view path) { return Lower(Normalize(path)); }

bool IsDriveRoot(const std::string& key) {
    return key.size() == 2 && key[1] == ':' && std::isalpha(static_cast<unsigned char>(key[0]));
}

std::string ParentKey(const std::string& key) {
    const auto slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.size() > prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool FolderKeyExists(const std::string& key) {
    if (key.empty()) return false;
    if (IsDriveRoot(key)) return true;
    const State& s = S();
    if (s.folders.count(key)) return true;
    const std::string below = key + "\\";
    auto f = s.files.lower_bound(below);
    if (f != s.files.end() && StartsWith(f->first, below)) return true;
    auto d = s.folders.lower_bound(below);
    return d != s.folders.end() && StartsWith(d->first, below);
}

// NTFS lists names in the order of their upper-cased UTF-16 units.
bool NtfsLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

}  // namespace host::sim::detail

namespace host::fs {

using namespace sim::detail;

bool FileExists(const std::string& path) { return S().files.count(Key(path)) != 0; }

bool FolderExists(const std::string& path) { return FolderKeyExists(Key(path)); }

std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) {
    CountCall();
    auto it = S().files.find(Key(path));
    if (it == S().files.end()) return std::nullopt;
    std::string content = it->second.content.substr(0, maxBytes);
    S().largestFileRead = std::max(S().largestFileRead, content.size());
    return content;
}

bool WriteFileAtomic(const std::string& path, std::string_view content) {
    const std::string key = Key(path);
    if (key.empty() || IsDriveRoot(key) || FolderKeyExists(key)) return false;
    if (!FolderKeyExists(ParentKey(key))) return false;  // ERROR_PATH_NOT_FOUND
    auto& files = S().files;
    auto it = files.find(key);
    if (it == files.end()) {
        files.emplace(key, FileEntry{Normalize(path), std::string(content), NextFileVersion()});
        S().treeVersion = NextFileVersion();
    } else {
        it->second.content.assign(content);
        it->second.version = NextFileVersion();
    }
    return true;
}

bool DeleteFile(const std::string& path) {
    if (S().files.erase(Key(path)) == 0) return false;
    S().treeVersion = NextFileVersion();
    return true;
}

bool CreateFolder(const std::string& path) {
    const std::string key = Key(path);
    if (key.empty()) return false;
    if (S().files.count(key)) return false;  // a file of that name is in the way
    if (FolderKeyExists(key)) return true;
    if (!FolderKeyExists(ParentKey(key))) return false;  // one level at a time, as CreateDirectory
    S().folders.emplace(key, Normalize(path));
    S().treeVersion = NextFileVersion();
    return true;
}

namespace {

std::vector<std::string> ListEntries(const std::string& path, bool folders) {
    const std::string key = Key(path);
    if (!FolderKeyExists(key) || S().files.count(key)) return {};
    const std::string below = key + "\\";
    std::map<std::string, std::string> names;  // lower-case name -> name as first seen
    auto note = [&](const std::string& entryKey, const std::string& shown, bool isFolder) {
        if (!StartsWith(entryKey, below)) return;
        const std::string rest = entryKey.substr(below.size());
        const auto slash = rest.find('\\');
        // An entry deeper down makes its first part a folder here.
        const bool folderHere = slash != std::string::npos || isFolder;
        if (folderHere != folders) return;
        const std::string name = rest.substr(0, slash);
        const std::string shownRest = shown.size() >= entryKey.size() ? shown.substr(below.size()) : rest;
        names.emplace(name, shownRest.substr(0, name.size()));
    };
    for (const auto& [k, shown] : S().folders) note(k, shown, true);
    for (const auto& [k, file] : S().files) note(k, file.path, false);
    std::vector<std::string> out;
    for (const auto& [lower, shown] : names) out.push_back(shown);
    std::sort(out.begin(), out.end(), NtfsLess);
    return out;
}

}  // namespace

std::vector<std::string> ListSubfolders(const std::string& path) { return ListEntries(path, true); }

std::vector<std::string> ListFiles(const std::string& path) { return ListEntries(path, false); }

std::optional<Stamp> FileStamp(const std::string& path) {
    CountCall();
    const std::string key = Key(path);
    auto it = S().files.find(key);
    if (it != S().files.end()) return Stamp{it->second.version, it->second.content.size()};
    if (FolderKeyExists(key)) return Stamp{S().treeVersion, 0};
    return std::nullopt;
}

}  // namespace host::fs

namespace host::sim {

void PutFile(std::string path, std::string content) {
    using namespace detail;
    const std::string key = Key(path);
    if (key.empty()) return;
    if (!S().files.count(key)) S().treeVersion = NextFileVersion();
    S().files[key] = FileEntry{Normalize(path), std::move(content), NextFileVersion()};
}

}  // namespace host::sim
