// minizip counts each file's CRC and size and writes them back into its local header, and
// keeps every size and offset in 64 bits; zip64 asks it for the records a large archive needs.
// It writes through Windows' own file calls (iowin32): the C library's 64-bit seek of this
// MinGW runtime fails past 2 GiB, which zipOpen64's default file functions rely on.
#include "app/export/sets/stored_zip.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>

#include "runtime/core/windows_host.h"
// iowin32.h takes <windows.h> and zip.h's declarations as given.
#include <minizip/zip.h>
#include <minizip/iowin32.h>

namespace {

constexpr uLong utf8_names = 1u << 11;
// Made on Windows NTFS, version 4.5 (ZIP64): Info-ZIP's unzip reads the names of an MS-DOS
// host's entries as OEM text even where bit 11 says UTF-8.
constexpr uLong made_by_ntfs = 10u << 8 | 45u;
constexpr size_t copy_chunk = 1 << 20;

struct file_closer {
    void operator()(FILE* file) const { std::fclose(file); }
};
using file_handle = std::unique_ptr<FILE, file_closer>;

std::string bare_name(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

std::string utf8_of(const std::string& text) {
    if (text.empty()) return text;
    const int wide_length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(wide_length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &wide[0], wide_length);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, &out[0], length, nullptr, nullptr);
    return out;
}

zip_fileinfo stamped_now() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    zip_fileinfo info = {};
    // One field at a time: older minizip releases declare tm_zip's fields uInt, this one int.
    info.tmz_date.tm_sec = local->tm_sec;
    info.tmz_date.tm_min = local->tm_min;
    info.tmz_date.tm_hour = local->tm_hour;
    info.tmz_date.tm_mday = local->tm_mday;
    info.tmz_date.tm_mon = local->tm_mon;
    info.tmz_date.tm_year = local->tm_year + 1900;
    return info;
}

write_failure last_cause() { return failure_told(GetLastError()); }

write_failure add_file(zipFile archive, const std::string& path, const zip_fileinfo& info) {
    file_handle source(std::fopen(path.c_str(), "rb"));
    if (!source) return last_cause();
    const std::string name = utf8_of(bare_name(path));
    if (zipOpenNewFileInZip4_64(archive, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0, 0,
                                -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, made_by_ntfs,
                                utf8_names, 1) != ZIP_OK)
        return last_cause();
    std::unique_ptr<uint8_t[]> chunk(new uint8_t[copy_chunk]);
    for (size_t read; (read = std::fread(chunk.get(), 1, copy_chunk, source.get())) > 0;)
        if (zipWriteInFileInZip(archive, chunk.get(), unsigned(read)) != ZIP_OK) return last_cause();
    if (std::ferror(source.get())) return last_cause();
    return zipCloseFileInZip(archive) == ZIP_OK ? write_failure::none : last_cause();
}

}  // namespace

write_failure write_stored_zip(const std::string& archive, const std::vector<std::string>& files) {
    SetLastError(ERROR_SUCCESS);
    zlib_filefunc64_def windows_files;
    fill_win32_filefunc64A(&windows_files);
    zipFile zip = zipOpen2_64(archive.c_str(), APPEND_STATUS_CREATE, nullptr, &windows_files);
    if (!zip) return last_cause();
    const zip_fileinfo info = stamped_now();
    write_failure failure = write_failure::none;
    for (size_t i = 0; i < files.size() && failure == write_failure::none; ++i)
        failure = add_file(zip, files[i], info);
    if (zipClose(zip, nullptr) != ZIP_OK && failure == write_failure::none) failure = last_cause();
    if (failure != write_failure::none) std::remove(archive.c_str());
    return failure;
}
