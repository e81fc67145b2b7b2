// The data file ("*.klv"): magic "KLVV0000", the cluster size, then the root folder record, depth first in
// pre-order, all numbers little-endian, counts and keys in a packed form (a byte count, then that many low
// bytes). Only names, file sizes, sort keys and the shape are stored; callers run RecomputeTotals after a
// read.
//
// Portable: the writer and reader take an ErrorReporter that receives the texts the user must see (the
// Win32 side, DataFileWin.h, shows them in a box with the caption "Error"). EncodeDataFile/DecodeDataFile
// are the same format on memory, for tests and the fuzzer.
//
// Reading never trusts the file: records are appended as they are actually read, never sized from declared
// counts; reading stops, keeping every complete record so far, at the end of the data, at a malformed field,
// or at a folder nested deeper than kMaxTreeDepth. The caller's tree and cluster size change only once the
// magic and the root record's own fields were read.
#pragma once

#include "model/DirInfo.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace model {

using ErrorReporter = std::function<void(const std::string& text)>;

inline constexpr std::string_view kDataFileMagic = "KLVV0000";

// Names are stored with a 16-bit length; the writer refuses longer ones and the reader takes every length.
inline constexpr std::size_t kMaxStoredNameLength = 65535;

// 512, 1024, ..., 65536: the cluster sizes a data file may carry (anything else reads as 0, unknown).
bool IsValidClusterSize(std::uint32_t value);

enum class DecodeResult {
    kComplete,     // the whole root record was read
    kDamaged,      // the data ended early, held a malformed field or nested too deep; what was read is kept
    kNotDataFile,  // wrong magic, or not even the root record's own fields: nothing changed
};

// Moves the finished file `from` over `to`, replacing it; false when the system refuses.
using FileReplacer = std::function<bool(const std::string& from, const std::string& to)>;
// std::rename: replaces the target in one step where the system allows it (POSIX).
bool ReplaceByRename(const std::string& from, const std::string& to);

// Writes the file's records one folder at a time, in the file's order, so that a writer need not hold the
// tree: the root's head first, then depth first in pre-order each folder's head followed by its files and
// then its subfolders, each with everything below it. A head carries the folder's counts, so a folder can
// be written as soon as its own listing is known. Bytes go to the sink in large pieces.
class DataFileWriter {
public:
    using Sink = std::function<bool(const char* data, std::size_t count)>;

    // Writes the magic and the cluster size.
    DataFileWriter(Sink sink, std::uint32_t clusterSize);

    // A folder's own record; exactly `files` File calls follow, then its `subfolders` folders.
    void Folder(std::string_view name, std::size_t files, std::size_t subfolders, std::int32_t sortKey = 0);
    void File(std::string_view name, std::uint64_t size, std::int32_t sortKey = 0);
    // `root` and everything below it, as one folder of the file.
    void Tree(const DirInfo& root);

    // False once a write failed or a name was longer than kMaxStoredNameLength; nothing is written after.
    bool ok() const noexcept { return ok_; }
    // Hands on what is buffered; ok() then.
    bool Finish();

private:
    void Put(const void* data, std::size_t count);
    void PutPacked(std::uint64_t value);
    void PutName(std::string_view name);

    Sink sink_;
    std::string buffer_;
    bool ok_ = true;
};

// Writes the folders of the file, on a writer whose magic and cluster size are written; true when the file
// is complete, false to abandon it.
using DataFileProducer = std::function<bool(DataFileWriter& writer)>;

// Whether anything (a file, a folder, a link even to nothing) has the name `path` (UTF-8); a name that
// cannot be looked up counts as taken.
bool PathTaken(const std::string& path);
using NameTaken = std::function<bool(const std::string& path)>;

// The temporary name beside `path` that the writer uses: path + ".part", or when something has that name
// path + ".1.part", ".2.part" and so on up to kMaxTemporaryNumber; empty when every one is taken.
inline constexpr int kMaxTemporaryNumber = 999;
std::string FreeTemporaryName(const std::string& path, const NameTaken& taken);

// Writes the whole file under a temporary name beside `path` (FreeTemporaryName, so that no file of the
// user's is overwritten) and only then replaces `path` with it, so a failed export (full disk, read-only
// target) never leaves a truncated file under the user's name and never damages an older file there.
// False when anything failed (an error was reported); the temporary file is removed then.
bool WriteDataFile(const std::string& path, std::uint32_t clusterSize, const DirInfo& root, const ErrorReporter& report,
                   const FileReplacer& replace = ReplaceByRename, const NameTaken& taken = PathTaken);
// The same for a file written while its folders are produced (a scan that streams them): a producer that
// abandons the file, or throws, leaves no temporary file, and abandoning reports nothing.
bool WriteDataFile(const std::string& path, std::uint32_t clusterSize, const DataFileProducer& produce,
                   const ErrorReporter& report, const FileReplacer& replace = ReplaceByRename,
                   const NameTaken& taken = PathTaken);

// Replaces `root` and `clusterSize` from the file; false when they were left untouched (an error was
// reported). A damaged file is read as far as it goes and reports nothing. The totals are left to the
// caller's RecomputeTotals.
bool ReadDataFile(const std::string& path, DirInfo& root, std::uint32_t& clusterSize, const ErrorReporter& report);
// The same, telling a damaged file from a whole one: kNotDataFile (reported) when nothing was read.
DecodeResult ReadDataFileWhole(const std::string& path, DirInfo& root, std::uint32_t& clusterSize,
                               const ErrorReporter& report);

// The file's bytes in memory; false only for a name longer than kMaxStoredNameLength.
bool EncodeDataFile(std::uint32_t clusterSize, const DirInfo& root, std::string& bytes);

// Parses file bytes; on kNotDataFile `root` and `clusterSize` are untouched.
DecodeResult DecodeDataFile(std::string_view bytes, DirInfo& root, std::uint32_t& clusterSize);

}  // namespace model
