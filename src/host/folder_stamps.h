// The sub-folders of a folder with their stamps, in one listing: cheaper than
// a stamp query per folder where each query is a round trip.
#pragma once

#include <string>
#include <vector>

#include "host/host.h"

namespace host::fs {

struct FolderStamp {
    std::string name;  // not a path
    Stamp stamp;
    bool operator==(const FolderStamp&) const = default;
};
// In the order the platform lists them (as ListSubfolders); empty when the
// folder does not exist.
std::vector<FolderStamp> SubfolderStamps(const std::string& path);

}  // namespace host::fs
