#include "sampledata/data_set.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <stdexcept>

#include "engine/control_file.h"
#include "sampledata/this_computer.h"

namespace dv::sample {
namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string Fixed(std::string_view text, size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

void WriteWhole(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("could not write " + path.string());
}

}  // namespace

// ---- BlockFile

RecordBuilder& BlockFile::Block(int32_t n) {
    if (n < 0 || n >= static_cast<int32_t>(kMaxFileBytes / kBlock))
        throw std::out_of_range("no block " + std::to_string(n));
    return blocks_.try_emplace(n, static_cast<size_t>(kBlock)).first->second;
}

BlockFile& BlockFile::MinBlocks(int32_t blocks) {
    min_blocks_ = blocks;
    return *this;
}

int32_t BlockFile::BlockCount() const {
    const int32_t used = blocks_.empty() ? 0 : blocks_.rbegin()->first + 1;
    return std::max(used, min_blocks_);
}

std::string BlockFile::Bytes() const {
    std::string out(static_cast<size_t>(BlockCount()) * kBlock, '\0');
    for (const auto& [n, block] : blocks_)
        out.replace(static_cast<size_t>(n) * kBlock, kBlock, block.bytes());
    return out;
}

// ---- DataSetImage

std::string DataSetImage::DataPath(std::string_view name) const {
    return LinkShare() + "/" + directory + "/" + std::string(name);
}

const LogicalPlacement& DataSetImage::Logical(std::string_view name) const {
    for (const LogicalPlacement& p : logical)
        if (p.name == name) return p;
    throw std::out_of_range("the data set has no logical file " + std::string(name));
}

LogicalPlacement& DataSetImage::Logical(std::string_view name) {
    return const_cast<LogicalPlacement&>(std::as_const(*this).Logical(name));
}

const std::string& DataSetImage::File(const std::string& path) const {
    const auto it = files.find(path);
    if (it == files.end()) throw std::out_of_range("the data set has no file " + path);
    return it->second;
}

std::string& DataSetImage::File(const std::string& path) {
    return const_cast<std::string&>(std::as_const(*this).File(path));
}

int64_t DataSetImage::RecordOffset(std::string_view name, int32_t record) const {
    const LogicalPlacement& p = Logical(name);
    return static_cast<int64_t>(record) * p.record_length +
           static_cast<int64_t>(p.position) * kBlock;
}

int64_t DataSetImage::NodeOffset(std::string_view name, int32_t node) const {
    const LogicalPlacement& p = Logical(name);
    return (static_cast<int64_t>(p.position) + node) * kBlock;
}

void DataSetImage::Write(const std::filesystem::path& shares_root,
                         const std::filesystem::path& tmp_dir) const {
    std::filesystem::create_directories(shares_root / LinkShare() / directory);
    for (const auto& [path, bytes] : files) WriteWhole(shares_root / path, bytes);
    WriteWhole(tmp_dir / "tMRCatalog.ini", catalog_ini);
}

// ---- DataSetWriter

DataSetWriter::DataSetWriter(DataSetOptions options) : options_(std::move(options)) {
    if (options_.server.empty() || options_.directory.empty())
        throw std::invalid_argument("a data set needs a server and a data directory");
    file0_.MinBlocks(file0::kBlocks);
    file0_.Block(file0::kStoreBlock)
        .Raw(file0::kStoreNameAt, Fixed(options_.store_name, file0::kStoreNameSize));
    for (size_t i = 0; i < options_.unit_captions.size(); ++i)
        file0_.Block(file0::kUnitCaptionBlock)
            .Raw(file0::kUnitCaptionAt.at(i),
                 Fixed(options_.unit_captions[i], file0::kUnitCaptionSize));
    file0_.Block(file0::kOptionBlock).Raw(1, std::string(kBlock, 'N'));
}

DataSetWriter::Logical& DataSetWriter::Register(const std::string& name,
                                                const std::string& directory_file) {
    if (name.empty() || name.size() > static_cast<size_t>(kDirectoryNameSize))
        throw std::invalid_argument("a logical file name is 1 to 10 characters: " + name);
    if (Has(name)) throw std::invalid_argument("logical file " + name + " registered twice");
    if (directory_file.size() < 3)
        throw std::invalid_argument("directory file name too short: " + directory_file);
    for (const Logical& l : logical_)
        if (l.directory_file != directory_file &&
            ContainerName(l.directory_file) == ContainerName(directory_file))
            throw std::invalid_argument("directory files " + l.directory_file + " and " +
                                        directory_file + " would share one container");
    logical_.push_back(Logical{directory_file, nullptr, nullptr});
    return logical_.back();
}

RecordFileWriter& DataSetWriter::AddRecordFile(const std::string& name, int32_t record_length,
                                               const std::string& directory_file) {
    auto file = std::make_unique<RecordFileWriter>(name, record_length);
    RecordFileWriter& ref = *file;
    Register(name, directory_file).records = std::move(file);
    return ref;
}

IndexWriter& DataSetWriter::AddIndex(const std::string& name, int32_t key_length,
                                     const std::string& directory_file) {
    auto file = std::make_unique<IndexWriter>(name, key_length);
    IndexWriter& ref = *file;
    Register(name, directory_file).index = std::move(file);
    return ref;
}

RecordFileWriter& DataSetWriter::Records(std::string_view name) {
    for (Logical& l : logical_)
        if (l.records && l.records->name() == name) return *l.records;
    throw std::out_of_range("no record file " + std::string(name));
}

IndexWriter& DataSetWriter::Index(std::string_view name) {
    for (Logical& l : logical_)
        if (l.index && l.index->name() == name) return *l.index;
    throw std::out_of_range("no index file " + std::string(name));
}

bool DataSetWriter::Has(std::string_view name) const {
    return std::any_of(logical_.begin(), logical_.end(),
                       [&](const Logical& l) { return Upper(l.name()) == Upper(name); });
}

void DataSetWriter::AddLink(const std::string& link_name, const std::string& resolution) {
    extra_links_.emplace_back(link_name, resolution);
}

void DataSetWriter::SetOption(int32_t position, bool on) {
    file0_.Block(file0::kOptionBlock).Raw(position, on ? "Y" : "N");
}

void DataSetWriter::AddPlainFile(const std::string& name, std::string bytes) {
    if (name.empty() || name.find_first_of("/\\:") != std::string::npos)
        throw std::invalid_argument("a plain file is a bare name of the data directory: " + name);
    plain_files_.emplace_back(name, std::move(bytes));
}

DataSetImage DataSetWriter::Build() const {
    DataSetImage image;
    image.server = options_.server;
    image.directory = options_.directory;
    const std::string& dir = options_.directory;

    // Containers in the order their directory files first appear, block 0 of each left free.
    // The data directory always has DATAD1 and its container, empty or not.
    std::vector<std::string> directory_files = {"DATAD1"};
    for (const Logical& l : logical_)
        if (std::find(directory_files.begin(), directory_files.end(), l.directory_file) ==
            directory_files.end())
            directory_files.push_back(l.directory_file);

    std::string links;
    for (const std::string& directory_file : directory_files) {
        std::string container(kBlock, '\0');
        std::string entries;
        for (const Logical& l : logical_) {
            if (l.directory_file != directory_file) continue;
            LogicalPlacement p;
            p.name = l.name();
            p.directory_file = image.DataPath(directory_file);
            p.container = image.DataPath(ContainerName(directory_file));
            p.entry = static_cast<int32_t>(entries.size() / kDirectoryEntrySize);
            p.position = static_cast<int32_t>(container.size() / kBlock);
            std::string bytes;
            if (l.records) {
                p.file_type = 'L';
                p.record_length = l.records->record_length();
                p.last_record = l.records->LastRecord();
                bytes = l.records->Bytes();
            } else {
                BuiltIndex built = l.index->Build();
                p.file_type = 'I';
                p.record_length = kBlock;
                p.last_record = built.layout.last_record;
                p.index = std::move(built.layout);
                bytes = std::move(built.bytes);
            }
            bytes.resize((bytes.size() + kBlock - 1) / kBlock * kBlock, '\0');
            if (static_cast<int64_t>(container.size() + bytes.size()) > kMaxFileBytes)
                throw std::length_error("container " + p.container + " grows past 2 GB");
            container += bytes;
            entries += DirectoryEntry(p.Entry());
            links += LinksEntry(":" + dir + ":" + p.name, dir + ":" + directory_file);
            image.logical.push_back(std::move(p));
        }
        image.files[image.DataPath(directory_file)] = std::move(entries);
        image.files[image.DataPath(ContainerName(directory_file))] = std::move(container);
    }
    for (const auto& [name, resolution] : extra_links_) links += LinksEntry(name, resolution);
    image.files[image.LinkShare() + "/LINKSFILE"] = std::move(links);

    std::string ttymap;
    if (options_.terminals.empty()) {
        const ComputerIdentity me = ThisComputer();
        ttymap += TtymapLine("SVC-BAY-PC2", "3,vt100");
        if (!me.name.empty()) ttymap += TtymapLine(me.name, options_.terminal);
        if (!me.ipv4.empty()) ttymap += TtymapLine(me.ipv4, options_.terminal);
    } else {
        for (const TerminalLine& t : options_.terminals)
            ttymap += TtymapLine(t.computer, t.terminal);
    }
    image.files[image.LinkShare() + "/ttymap"] = std::move(ttymap);

    image.files[image.DataPath(file0::kName)] = file0_.Bytes();
    for (const auto& [name, bytes] : plain_files_) {
        const std::string path = image.DataPath(name);
        if (image.files.count(path) != 0)
            throw std::invalid_argument("plain file " + name + " clashes with another file");
        image.files[path] = bytes;
    }

    CatalogFields catalog;
    catalog.server = options_.server;
    catalog.directory = options_.directory;
    catalog.terminal_id = options_.terminal;
    catalog.customer_number = options_.customer_number;
    image.catalog_ini = CatalogIni(catalog);
    return image;
}

std::string PlainRecords(int32_t record_length, const std::vector<std::string>& records) {
    std::string out;
    out.reserve(records.size() * static_cast<size_t>(std::max(record_length, 0)));
    for (const std::string& r : records) {
        if (static_cast<int64_t>(r.size()) != record_length)
            throw std::invalid_argument("a plain record of " + std::to_string(r.size()) +
                                        " bytes, the file's records are " +
                                        std::to_string(record_length));
        out += r;
    }
    return out;
}

std::string ContainerName(std::string_view directory_file) {
    if (directory_file.size() < 2)
        throw std::invalid_argument("directory file name too short: " +
                                    std::string(directory_file));
    return std::string(directory_file.substr(0, directory_file.size() - 2)) + "DB";
}

}  // namespace dv::sample
