#include "common/files.h"

#include <cerrno>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace omra::tools {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& reason) {
    throw std::runtime_error(path.string() + ": " + reason);
}

} // namespace

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        fail(path, "is a directory");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fail(path, std::strerror(errno));
    }
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    if (in.bad()) {
        fail(path, "read error");
    }
    return bytes;
}

AtomicFile::AtomicFile(std::filesystem::path target)
    : target_(std::move(target)), temporary_(target_.string() + ".partial") {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(target_, error);
    if (std::filesystem::is_directory(status)) {
        fail(target_, "is a directory");
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        fail(target_, "not a regular file; the output replaces a file, so name a file");
    }
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!out_) {
        fail(target_, std::strerror(errno));
    }
}

AtomicFile::~AtomicFile() {
    if (!committed_) {
        out_.close();
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void AtomicFile::commit() {
    out_.close();
    if (!out_) {
        fail(target_, "write error");
    }
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error) {
        fail(target_, error.message());
    }
    committed_ = true;
}

AtomicFolder::AtomicFolder(std::filesystem::path target)
    : target_(std::move(target)), temporary_(target_.string() + ".partial") {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(target_, error);
    if (std::filesystem::exists(status)) {
        if (!std::filesystem::is_directory(status)) {
            fail(target_, "not a folder; name a new or empty folder");
        }
        if (!std::filesystem::is_empty(target_, error)) {
            fail(target_, error ? error.message() : "not empty; name a new or empty folder");
        }
    }
    if (std::filesystem::exists(temporary_, error)) {
        fail(temporary_, "is in the way (left by an interrupted run?); remove it first");
    }
    if (!std::filesystem::create_directory(temporary_, error)) {
        fail(target_, error.message());
    }
}

AtomicFolder::~AtomicFolder() {
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove_all(temporary_, ignored);
    }
}

void AtomicFolder::commit() {
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error) {
        fail(target_, error.message());
    }
    committed_ = true;
}

void writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    AtomicFile file(path);
    file.stream().write(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<std::streamsize>(bytes.size()));
    file.commit();
}

} // namespace omra::tools
