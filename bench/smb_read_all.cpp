// One pass over every file of a share over SMB, as a reader without the engine makes it: each
// file opened, read to its end with reads of 64 KiB and closed, through the same client
// (libsmbclient) and connection the program uses. tools/bench.sh --smb measures it beside the load.
//
//   smb_read_all SHARE_URL < LIST    LIST: one "SIZE RELATIVE_PATH" a line
//
// Prints the calls it made ("opens N closes N reads N bytes N") on standard output.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "platform/file_calls.h"
#include "platform/smb.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: smb_read_all SHARE_URL < LIST\n";
        return 2;
    }
    const std::string share = argv[1];
    dv::platform::ShareConnection& connection = dv::platform::CurrentShareConnection();
    std::string line;
    std::string buffer(65536, '\0');
    uint64_t opens = 0, reads = 0, bytes = 0, failed = 0;
    while (std::getline(std::cin, line)) {
        const size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;
        const int64_t size = std::stoll(line.substr(0, blank));
        std::unique_ptr<dv::platform::RemoteFile> file;
        ++opens;
        if (connection.Open(share + "/" + line.substr(blank + 1), file) != 0) {
            ++failed;
            continue;
        }
        int64_t done = 0;
        // Reads while bytes are left: a file read to its known end needs no read that gives 0.
        while (done < size) {
            size_t got = 0;
            ++reads;
            if (file->Read(done, buffer.size(), buffer.data(), got) != 0 || got == 0) break;
            done += static_cast<int64_t>(got);
            bytes += got;
        }
        file.reset();
    }
    std::cout << "opens " << opens << " closes " << opens - failed << " reads " << reads
              << " bytes " << bytes << "\n";
    if (failed != 0) std::cerr << failed << " files could not be opened\n";
    return failed == 0 ? 0 : 1;
}
