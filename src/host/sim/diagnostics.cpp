// The virtual clock as a tick count, the recorded debugger output and the
// count of round-trip calls.
#include "host/sim/sim_internal.h"

namespace host::sim::detail {
void CountCall() { ++S().countedCalls; }

std::uint64_t NextFileVersion() {
    static std::uint64_t last = 0;
    return ++last;
}
}  // namespace host::sim::detail

namespace host {

DWORD TickCount() {
    sim::detail::CountCall();
    return static_cast<DWORD>(sim::detail::S().now);
}

void OutputDebugText(const std::string& text) { sim::detail::S().debugOutput.push_back(text); }

}  // namespace host

namespace host::sim {

std::uint64_t CountedCalls() { return detail::S().countedCalls; }

std::size_t LargestFileRead() { return detail::S().largestFileRead; }

const std::vector<std::string>& DebugOutput() { return detail::S().debugOutput; }

}  // namespace host::sim

#include "host/folder_stamps.h"

namespace host::fs {

// The sim keeps one write time for every folder: any file or folder that
// appears or goes moves them all.
std::vector<FolderStamp> SubfolderStamps(const std::string& path) {
    sim::detail::CountCall();
    std::vector<FolderStamp> out;
    for (std::string& name : ListSubfolders(path))
        out.push_back(FolderStamp{std::move(name), Stamp{sim::detail::S().treeVersion, 0}});
    return out;
}

}  // namespace host::fs
