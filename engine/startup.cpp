#include "engine/startup.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/error.h"
#include "engine/fill_cache.h"
#include "engine/limits.h"
#include "engine/logical.h"
#include "engine/numeric.h"
#include "engine/packed_text.h"
#include "engine/physical.h"
#include "engine/system.h"
#include "platform/file.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/share.h"
#include "platform/tempdir.h"

namespace dv {
namespace {

constexpr const char* kInitSource = "tMRDataEngine_Initialization";
constexpr const char* kSection = "Sendrake";

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

// The terminal map's text, or -10 when it can't be opened. A map that is there but can't be
// read says why after the dealer's text, so that a refused file does not read as a missing one.
std::string ReadTerminalMap(const std::string& server) {
    const std::string path = "\\\\" + server + "\\TMARLNK\\ttymap";
    // The main window's own engine, created next in the same start-up, reads what the first
    // one read, or learns why it could not: "+" and the text, or "-" and the reason.
    std::string answer = *RememberForLoad("ttymap\n" + path, [&] {
        ShareTextFailure failure;
        std::optional<std::string> text = ReadShareText(path, kInitSource, &failure);
        return std::optional<std::string>(text ? "+" + *text : "-" + failure.reason);
    });
    if (answer[0] == '-') {
        std::string description =
            "Terminal File 'ttymap' not found on drive \\\\" + server + "\\TMARLNK";
        if (answer.size() > 1)
            description += ": it is there but can't be read (" + answer.substr(1) + ")";
        throw BasicError(err::kFile, kInitSource, std::move(description));
    }
    answer.erase(0, 1);
    return answer;
}

// The setting a Linux user changes when a message names a place, as "NAME=value", or what
// stands in for it when it is unset.
std::string Setting(const char* name, const std::string& unset) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::string(name) + " is not set, so " + unset;
    return std::string(name) + "=" + value;
}

// Why the catalog settings file named no server: it is missing, can't be read, or has no value
// for the key.
std::string CatalogProblem(const std::string& path) {
    if (!platform::IsOrdinaryFile(path)) return "is missing";
    std::string text;
    if (const int e = platform::ReadWholeFile(path, text, kCatalogFileLimit); e != 0 && e != EFBIG)
        return "can't be read (" + std::string(std::strerror(e)) + ")";
    return "names none (key Server of section " + std::string(kSection) + ")";
}

// The line under the dealer's own text that tells where on this machine the file or share was
// looked for.
std::string CatalogHint() {
    const std::string folder = platform::TempDir();
    const std::string unreadable = platform::FolderReadFailure(folder);
    return "\nSearched the local folder " + folder + " (" + Setting("TMPDIR", "/tmp") + ")" +
           (unreadable.empty() ? "" : ": it is there but can't be read (" + unreadable + ")") + ".";
}
// The line under the "Connection Error" text: where the share was looked for (its local folder,
// or its server at its SMB address) and why it failed; or, with no server named, why the catalog
// settings gave none.
std::string ShareHint(const std::string& root, const std::string& server,
                      const platform::ShareCheck& check) {
    if (server.empty())
        return "\nNo server is named: the catalog settings file " + CatalogPath() + " " +
               CatalogProblem(CatalogPath()) + ".";
    std::string folder = platform::SharesRoot() + "/" + server + "/TMARLNK";
    if (!check.over_smb) {
        folder = platform::LocalPath(root).value_or(folder);
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    }
    const std::string mapping = " (" + Setting("DASHVANE_SHARES", "/mnt") +
                                ", which maps \\\\SERVER\\SHARE to <that folder>/SERVER/SHARE)";
    if (check.over_smb) {
        return "\nNo local folder " + folder + mapping +
               ", so the share TMARLNK was asked of the server " + server + " over SMB (" +
               check.place + "): " + check.reason + ".";
    }
    if (!check.reason.empty())
        return "\nSearched the local folder " + folder + mapping +
               ": it is there but can't be read (" + check.reason + ").";
    return "\nSearched the local folder " + folder + mapping + ".";
}

// Releases the global engine and the tables while the program exits, before the program-wide
// variables themselves go, whatever order the platform destroys them in.
void ReleaseAtExit() {
    mBusinessBasic.reset();
    mOpenFiles.reset();
    mLinks.reset();
    mLogicalFiles.reset();
}

}  // namespace

void ResetEngineState() {
    mBusinessBasic.reset();
    mOpenFiles.reset();
    mLinks.reset();
    mLogicalFiles.reset();
    mSystem.reset();
    mEpcInfo.reset();
    ResetAlphabet();
    FillCache::Drop();
    DropDirectoryScans();
    platform::ResetPathCache();
}

std::shared_ptr<cBusinessBasic> mBusinessBasic;

std::string CatalogPath() {
    return platform::JoinPath(platform::TempDir(), "tMRCatalog.ini");
}

std::optional<std::string> ReadShareText(std::string_view share_path, const char* source,
                                         ShareTextFailure* failure) {
    WholeShareFile file = ReadShareFileWhole(share_path, kShareTextLimit, source);
    if (file.too_large)
        throw TooLarge(err::kShareTextTooLarge, source, "Text file", share_path, kShareTextLimit);
    if (file.error != 0) {
        if (failure != nullptr && !IsMissingFile(file.error)) {
            failure->missing = false;
            failure->number = ErrorNumberOfErrno(file.error);
            failure->reason = platform::FailureReason(file.local, file.error);
        }
        return std::nullopt;
    }
    return std::move(file.bytes);
}

std::optional<std::vector<std::string>> ReadShareTextLines(std::string_view share_path,
                                                           const char* source,
                                                           ShareTextFailure* failure) {
    std::optional<std::string> text = ReadShareText(share_path, source, failure);
    if (!text) return std::nullopt;
    return TextLines(*text);
}

std::vector<std::string> TextLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

std::string TerminalFromMap(std::string_view ttymap, std::string_view computer_name,
                            std::string_view ip) {
    const std::string name = Upper(computer_name);
    for (const std::string& line : TextLines(ttymap)) {
        const std::vector<std::string> pieces = Split(line, " ", -1, 0);
        if (pieces.size() < 2) continue;
        if (Upper(pieces[0]) != name && pieces[0] != ip) continue;
        const std::vector<std::string> terminal = Split(pieces[1], ",", -1, 0);
        if (terminal.empty()) RaisePlatform(err::kSubscript, kInitSource);
        return terminal[0];
    }
    return "0";
}

void LoadCatalogSettings() {
    mEpcInfo = std::make_shared<cEpcInfo>();
    mSystem = std::make_shared<cSystem>();
    const std::string path = CatalogPath();
    if (!platform::IsOrdinaryFile(path)) {
        platform::ShowMessage("EpcError", "You are missing file: " + path +
                                              "    Are you running Tesmar Workstation?" +
                                              CatalogHint());
        return;
    }
    // One read of the file; every key comes from its text.
    std::string text;
    if (const int e = platform::ReadWholeFile(path, text, kCatalogFileLimit); e == EFBIG) {
        throw TooLarge(err::kCatalogTooLarge, "LoadCatalogSettings", "Catalog settings file", path,
                       kCatalogFileLimit);
    } else if (e != 0) {
        // There but not readable: its keys would all read as empty and the share check would
        // then blame a share of no server. Said here as the missing file is, and the start-up
        // ends the same way.
        platform::ShowMessage("EpcError", "The catalog settings file " + path + " can't be read (" +
                                              std::strerror(e) + ")." + CatalogHint());
        return;
    }
    auto value = [&](const char* key) { return platform::ProfileValue(text, kSection, key); };
    cEpcInfo& info = *mEpcInfo;
    info.Server = value("Server");
    info.DataShare = value("DataShare");
    info.CatalogShare = "\\\\" + info.Server + "\\" + value("CatalogShare") + "\\";
    info.Directory = value("Directory");
    info.TerminalID = value("TerminalID");
    const std::string customer = value("CustomerNumber");
    if (!customer.empty()) info.CustomerNumber = ParseLong(customer, "LoadCatalogSettings");
    mSystem->mUNCDrive = info.Server;
    mSystem->mDirectory = info.Directory;
    try {
        mBusinessBasic = std::make_shared<cBusinessBasic>();
    } catch (const BasicError& e) {
        if (e.number() == err::kNoObject) mBusinessBasic.reset();
    }
}

cBusinessBasic::cBusinessBasic() {
    static const bool release_registered = (std::atexit(ReleaseAtExit), true);
    (void)release_registered;
    ResetAlphabet();
    FillCache::Drop();  // nothing read through earlier tables is kept
    DropDirectoryScans();
    // Outside a load each creation resolves the data folder afresh; within one (the start-up
    // creates two engines) the folders listed and the share's real path are kept.
    if (FillCache::LoadNumber() == 0) platform::ResetPathCache();
    // The socket library needs no start-up here.
    if (!mSystem) RaisePlatform(err::kNoObject, kInitSource);
    cSystem& system = *mSystem;
    const std::string root = "\\\\" + system.mUNCDrive + "\\TMARLNK\\";
    // The main window's own engine, created next in the same start-up, takes the first one's
    // answer: empty for a valid share, else the line that says where it was looked for and why
    // it failed, so that both messages give the reason.
    const std::string failure = *RememberForLoad("share\n" + root, [&] {
        const platform::ShareCheck check = platform::CheckShare(root);
        return std::optional<std::string>(check.ok ? "" : ShareHint(root, system.mUNCDrive, check));
    });
    if (!failure.empty()) {
        platform::ShowMessage("Connection Error", "You are attempting to connect to: " + root +
                                                      " and this shows to be an invalid network "
                                                      "share" +
                                                      failure);
        RaisePlatform(err::kNoObject, kInitSource);
    }
    system.ComputerName = Trun(platform::ComputerName(), 1);
    system.IP = platform::DottedAddress(platform::OwnAddress(system.ComputerName));
    system.TerminalID = "0";
    const std::string map = ReadTerminalMap(system.mUNCDrive);
    system.TerminalID = TerminalFromMap(map, system.ComputerName, system.IP);
    mLinks = std::make_shared<cLinks>();
    mOpenFiles = std::make_shared<cOpenFiles>();
    mLogicalFiles = std::make_shared<cLogicalFiles>();
}

cBusinessBasic::~cBusinessBasic() {
    mOpenFiles.reset();  // closes every file still open
    mLinks.reset();
    mSystem.reset();
    mLogicalFiles.reset();
}

void cBusinessBasic::AllowWrites(bool allowed) {
    SetWritesAllowed(allowed);
}
bool cBusinessBasic::WritesAllowed() {
    return dv::WritesAllowed();
}

}  // namespace dv
