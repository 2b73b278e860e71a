#include "sampledata/formats.h"

#include <stdexcept>

namespace dv::sample {
namespace {

void CheckRange(const char* what, int64_t value, int64_t low, int64_t high) {
    if (value < low || value > high)
        throw std::invalid_argument(std::string(what) + " " + std::to_string(value) +
                                    " does not fit its field");
}

std::string Padded(std::string_view text, size_t width, char pad, const char* what) {
    if (text.size() > width)
        throw std::invalid_argument(std::string(what) + " \"" + std::string(text) +
                                    "\" is longer than " + std::to_string(width) + " bytes");
    std::string out(text);
    out.resize(width, pad);
    return out;
}

}  // namespace

void PutBE(std::string& data, int32_t position, int width, int64_t value) {
    if (position < 1 || static_cast<size_t>(position - 1 + width) > data.size())
        throw std::out_of_range("field at " + std::to_string(position) + " outside its buffer");
    uint64_t v = static_cast<uint64_t>(value);
    for (int i = width - 1; i >= 0; --i, v >>= 8)
        data[static_cast<size_t>(position - 1 + i)] = static_cast<char>(v & 0xFF);
}

uint32_t GetBE(std::string_view data, int32_t position, int width) {
    if (position < 1 || static_cast<size_t>(position - 1 + width) > data.size())
        throw std::out_of_range("field at " + std::to_string(position) + " outside its buffer");
    uint32_t v = 0;
    for (int i = 0; i < width; ++i)
        v = (v << 8) | static_cast<unsigned char>(data[static_cast<size_t>(position - 1 + i)]);
    return v;
}

std::string DirectoryEntry(const DirectoryEntryFields& f) {
    if (f.name.empty()) throw std::invalid_argument("a directory entry needs a name");
    CheckRange("flags", f.flags, 0, 0xFFFF);
    CheckRange("position", f.position, 0, 0xFFFFFF);
    CheckRange("record length", f.record_length, 0, 0xFFFF);
    CheckRange("last record", f.last_record, 0, INT32_MAX);
    if (f.name.size() > 6 && f.flags != 0)
        throw std::invalid_argument("name " + f.name + " overlaps the flags word; flags must be 0");
    std::string e(kDirectoryEntrySize, '\0');
    e.replace(0, kDirectoryNameSize, Padded(f.name, kDirectoryNameSize, '\0', "file name"));
    if (f.name.size() <= 6) PutBE(e, 7, 2, f.flags);
    PutBE(e, 11, 3, f.position);
    PutBE(e, 14, 2, f.record_length);
    e[15] = f.file_type;
    PutBE(e, 17, 4, f.last_record);
    return e;
}

std::string RecordZero(const RecordZeroFields& f) {
    CheckRange("status", f.status, INT16_MIN, INT16_MAX);
    std::string h(kRecordZeroSize, '\0');
    PutBE(h, 1, 2, f.status);
    PutBE(h, 3, 4, f.free_head);
    PutBE(h, 7, 4, f.high_used);
    PutBE(h, 11, 4, f.active_count);
    return h;
}

std::string IndexHeader(const IndexHeaderFields& f) {
    std::string b(kBlock, '\0');
    const int32_t values[] = {f.entry_size, f.entries_per_node, f.capacity, f.version, f.root,
                              f.fill,       f.header_value};
    for (int i = 0; i < 7; ++i) {
        CheckRange("index header field", values[i], 0, 0xFFFF);
        PutBE(b, 1 + 2 * i, 2, values[i]);
    }
    return b;
}

std::string IndexNode(const std::vector<std::pair<std::string, int32_t>>& entries,
                      int32_t next_leaf) {
    CheckRange("next leaf", next_leaf, 0, 0xFFFF);
    std::string node(kBlock, '\0');
    PutBE(node, 1, 2, static_cast<int64_t>(entries.size()));
    PutBE(node, 3, 2, next_leaf);
    size_t at = kNodeHeaderSize;
    for (const auto& [key, pointer] : entries) {
        if (at + key.size() + 4 > node.size())
            throw std::invalid_argument("index entries do not fit in one node");
        node.replace(at, key.size(), key);
        at += key.size();
        PutBE(node, static_cast<int32_t>(at + 1), 4, pointer);
        at += 4;
    }
    return node;
}

std::string EndMarkerKey(int32_t key_length) {
    return std::string(static_cast<size_t>(key_length), '\xFF');
}

std::string LinksEntry(std::string_view link_name, std::string_view resolution) {
    std::string e = " ";
    e += Padded(link_name, kLinkFieldSize, ' ', "link name");
    e += ' ';
    e += Padded(resolution, kLinkFieldSize, ' ', "link resolution");
    return e;
}

std::string TtymapLine(std::string_view computer, std::string_view terminal) {
    if (computer.empty() || terminal.empty() ||
        computer.find_first_of(" \t\r\n") != std::string_view::npos ||
        terminal.find_first_of(" \t\r\n") != std::string_view::npos)
        throw std::invalid_argument("a terminal-map field must be one word");
    std::string line(computer);
    line.append(computer.size() < 16 ? 16 - computer.size() : 1, ' ');
    line += terminal;
    line += '\n';
    return line;
}

std::string CatalogIni(const CatalogFields& f) {
    return "[Sendrake]\n"
           "Server=" +
           f.server + "\n" + "DataShare=" + f.data_share + "\n" +
           "CatalogShare=" + f.catalog_share + "\n" + "Directory=" + f.directory + "\n" +
           "TerminalID=" + f.terminal_id + "\n" + "CustomerNumber=" + f.customer_number + "\n";
}

}  // namespace dv::sample
