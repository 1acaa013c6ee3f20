#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace omra::tools {

// The whole file. Throws std::runtime_error "PATH: reason" when it cannot be read.
std::vector<std::uint8_t> readFile(const std::filesystem::path& path);

// An output file written through a temporary file beside the target, which replaces the
// target only on `commit`; destroyed uncommitted (a failed or interrupted run: see
// stop_signals.h), it removes the temporary, so a failed run never leaves a half-written file
// under the target's name or beside it. A target that exists and is not a
// regular file (a folder, a device, a pipe) is refused up front: renaming over it would replace
// it rather than write into it. Throws std::runtime_error "PATH: reason" on failure.
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::ofstream& stream() { return out_; }
    const std::filesystem::path& target() const { return target_; }
    // Where the bytes are until the commit.
    const std::filesystem::path& temporary() const { return temporary_; }
    // Closes the temporary, checks that every write reached it and renames it into place.
    void commit();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::ofstream out_;
    bool committed_ = false;
};

// A folder filled under a temporary name beside the target, which becomes the target on
// `commit`; destroyed uncommitted, it is removed with everything in it. The target must be new
// or an empty folder: replacing a folder that holds files would lose them. Throws
// std::runtime_error "PATH: reason" on failure.
class AtomicFolder {
public:
    explicit AtomicFolder(std::filesystem::path target);
    ~AtomicFolder();
    AtomicFolder(const AtomicFolder&) = delete;
    AtomicFolder& operator=(const AtomicFolder&) = delete;

    // Where the folder's files go until the commit.
    const std::filesystem::path& path() const { return temporary_; }
    void commit();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    bool committed_ = false;
};

// Writes `bytes` through an AtomicFile.
void writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace omra::tools
