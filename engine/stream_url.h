// Resource names as the stream and file functions understand them (engine internal).
#pragma once

#include <string>

struct ResourceName {
    bool embedded = false; // "incbin::" name, looked up in the registry
    std::string target;    // the registered name, or a file path with "/" separators
};

// Drops a leading "littleendian::" (every binary value is little-endian anyway) and splits off
// "incbin::". Backslashes in file paths become slashes; ".\x" stays a relative path.
ResourceName Url_Parse(const std::string& url);
std::string Url_FilePath(const std::string& path);
