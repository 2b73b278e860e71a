// The writer of a whole dealer data set: the link share of one data server with its terminal
// map, link table, data directory (directory files, containers, the control file FILE0 and
// plain files), and the catalog settings file for the temporary directory.
//
// Adding a subsystem's files
// --------------------------
// A subsystem registers its logical files on a DataSetWriter; the writer places them in a
// container, writes their directory entries and their LINKSFILE links (":D01:NAME" to
// "D01:DATAD1"), and lays out record zero and the index nodes. A few lines do it (the field
// positions below are only an illustration; take them from the record's layout):
//
//     // sampledata/parts_files.cpp, called from AddDemoFiles in demo_set.cpp
//     void AddPartsFiles(DataSetWriter& set, DemoPlan& plan) {
//         RecordFileWriter& lines = set.AddRecordFile("LINEL", 128);
//         IndexWriter& by_code = set.AddIndex("LINEI", 2);
//         for (int i = 0; i < plan.product_lines; ++i) {
//             RecordBuilder r = lines.NewRecord();
//             r.Bin(1, 'J', 1).Bin(3, 'C', 10 + i).Text(5, "HYDRAULICS", 20, TextSet::kNames);
//             const int32_t n = lines.Add(r);
//             by_code.Add(r.bytes().substr(2, 2), n);  // the key: bytes 3-4 of the record
//         }
//     }
//
// A test builds its own small set the same way: DataSetWriter set; register files; then
// DataSetImage image = set.Build(); optionally damage::...(image, ...); image.Write(shares,
// tmp); set DASHVANE_SHARES and TMPDIR to those folders and call LoadCatalogSettings().
// DataSetOptions::terminals fixes the terminal map; by default it maps this computer to 7.
//
// - Records are built with RecordBuilder (fields by 1-based position and type code), each of
//   the file's record length; bytes 1-2 are the status word, above 0 for a live record.
//   AddDeleted() adds a deleted record to the free chain; Spare(n) leaves n empty records.
// - Index keys are added in any order; the writer sorts them as unsigned bytes, appends the
//   end marker and bulk-loads the nodes. Fill(n) puts n entries in each node, to get several
//   leaves and levels from few keys in a test.
// - Files are placed in registration order; a file can be looked up again by name with
//   Records(name) or Index(name), so a later subsystem can add records to an earlier one's.
// - A third argument names another directory file ("PARTD1": container "PARTDB").
// - Control-file blocks: File0().Block(n) is a 512-byte RecordBuilder for block n; the writer
//   fills block 1 (store name at 151), block 4 (unit captions at 433, 453, 473, 493) and block
//   401 (option flags, all "N"; SetOption(position, true) writes "Y"). Blocks 301-325, 446,
//   450-458 and 501-571 are zero, left for the subsystems that fill them. Every block and
//   position comes from the layout in engine/control_file.h, the one the views read by.
// - Plain files of the data directory (per-document order files, text files):
//   AddPlainFile(name, bytes); PlainRecords(length, records) lays out a plain file of
//   fixed-length records whose record 0 is its first record.
// - The demo data set (demo_set.h) calls one such function per subsystem, in order; add the
//   new function there, with its counts per scale in DemoPlan.
//
// Build() lays the whole set out in memory as a DataSetImage; damage.h breaks an image on
// purpose; DataSetImage::Write puts it on disk with one write per file.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sampledata/formats.h"
#include "sampledata/index_writer.h"
#include "sampledata/record_builder.h"
#include "sampledata/record_file_writer.h"

namespace dv::sample {

// A file of 512-byte blocks read by block number, such as FILE0.
class BlockFile {
  public:
    // The block n (from 0), zero-filled when first asked for.
    RecordBuilder& Block(int32_t n);
    bool Has(int32_t n) const { return blocks_.count(n) != 0; }
    // The file is at least this many blocks long, whatever blocks were set.
    BlockFile& MinBlocks(int32_t blocks);
    int32_t BlockCount() const;
    std::string Bytes() const;

  private:
    std::map<int32_t, RecordBuilder> blocks_;
    int32_t min_blocks_ = 0;
};

// One line of the terminal map.
struct TerminalLine {
    std::string computer;  // computer name or dotted IPv4 address
    std::string terminal;  // the terminal number, optionally followed by "," and more
};

struct DataSetOptions {
    std::string server = "DS1";
    std::string directory = "D01";
    std::string store_name = "NORTHFIELD EQUIPMENT & SERVICE";
    std::array<std::string, 4> unit_captions = {"HOURS", "ENGINE", "COLOR", "KEY NO"};
    std::string customer_number = "40217";
    // The terminal this computer gets in the default terminal map and the catalog settings.
    std::string terminal = "7";
    // The terminal map's lines; empty: another workstation, then this computer's name and, when
    // it resolves, its IPv4 address, both mapped to `terminal`.
    std::vector<TerminalLine> terminals;
};

// Where one logical file of a built data set lies.
struct LogicalPlacement {
    std::string name;
    char file_type = 'L';
    std::string directory_file;  // path of the directory file, relative to the shares root
    std::string container;       // path of the container, relative to the shares root
    int32_t entry = 0;           // its entry in the directory file, from 0
    int32_t position = 0;        // first block in the container
    int32_t record_length = 0;
    int32_t last_record = 0;
    IndexLayout index;  // index files only

    // The fields of its directory entry (no flags).
    DirectoryEntryFields Entry() const {
        DirectoryEntryFields e;
        e.name = name;
        e.position = position;
        e.record_length = record_length;
        e.file_type = file_type;
        e.last_record = last_record;
        return e;
    }
};

// A data set laid out in memory: every file's bytes by path relative to the shares root
// ("DS1/TMARLNK/D01/FILE0"), and the catalog settings file.
class DataSetImage {
  public:
    std::string server;
    std::string directory;
    std::map<std::string, std::string> files;
    std::string catalog_ini;
    std::vector<LogicalPlacement> logical;

    // "DS1/TMARLNK" and "DS1/TMARLNK/D01/name".
    std::string LinkShare() const { return server + "/TMARLNK"; }
    std::string DataPath(std::string_view name) const;

    const LogicalPlacement& Logical(std::string_view name) const;
    LogicalPlacement& Logical(std::string_view name);
    // The bytes of a file; throws when the image has no such file.
    std::string& File(const std::string& path);
    const std::string& File(const std::string& path) const;

    // Byte offsets in the container: record n of a record file, node k of an index (0: header).
    int64_t RecordOffset(std::string_view name, int32_t record) const;
    int64_t NodeOffset(std::string_view name, int32_t node) const;

    // Writes every file under shares_root and tMRCatalog.ini into tmp_dir, creating folders.
    void Write(const std::filesystem::path& shares_root,
               const std::filesystem::path& tmp_dir) const;
};

class DataSetWriter {
  public:
    explicit DataSetWriter(DataSetOptions options = {});
    DataSetWriter(const DataSetWriter&) = delete;
    DataSetWriter& operator=(const DataSetWriter&) = delete;

    const DataSetOptions& options() const { return options_; }

    // Registers a logical file in the container of directory_file (default "DATAD1") and links
    // it; the references stay valid for the writer's life.
    RecordFileWriter& AddRecordFile(const std::string& name, int32_t record_length,
                                    const std::string& directory_file = "DATAD1");
    IndexWriter& AddIndex(const std::string& name, int32_t key_length,
                          const std::string& directory_file = "DATAD1");
    RecordFileWriter& Records(std::string_view name);
    IndexWriter& Index(std::string_view name);
    bool Has(std::string_view name) const;

    // A LINKSFILE entry of its own, written after the links of the registered files.
    void AddLink(const std::string& link_name, const std::string& resolution);

    BlockFile& File0() { return file0_; }
    // Writes "Y" or "N" at a position of the option block (block 401 of FILE0).
    void SetOption(int32_t position, bool on);

    // A plain file of the data directory.
    void AddPlainFile(const std::string& name, std::string bytes);

    DataSetImage Build() const;

  private:
    struct Logical {
        std::string directory_file;
        std::unique_ptr<RecordFileWriter> records;
        std::unique_ptr<IndexWriter> index;
        const std::string& name() const { return records ? records->name() : index->name(); }
    };
    Logical& Register(const std::string& name, const std::string& directory_file);

    DataSetOptions options_;
    std::vector<Logical> logical_;
    std::vector<std::pair<std::string, std::string>> extra_links_;
    std::vector<std::pair<std::string, std::string>> plain_files_;
    BlockFile file0_;
};

// The bytes of a plain file of fixed-length records (record 0 is the first record).
std::string PlainRecords(int32_t record_length, const std::vector<std::string>& records);

// The container of a directory file: its name with the last two characters replaced by "DB".
std::string ContainerName(std::string_view directory_file);

}  // namespace dv::sample
