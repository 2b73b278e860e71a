// The control file FILE0: the dealer system's block file of settings and small tables, read by
// block number (BlockReadFile; 512-byte blocks, block n at byte n x 512 of the file). Positions
// are 1-based inside a block, as the codec's Unpack takes them; an L is a signed 4-byte
// big-endian number. The views, the options and the sample writer all take FILE0's layout from
// here. The blocks this program reads, and what it reads in them:
//
//   block     position              content
//   --------  --------------------  ----------------------------------------------------------
//   1         151, 35 bytes         the store name, as stored (blank-padded)
//   4         433, 453, 473, 493,   the four unit captions of the unit detail
//             8 bytes each
//   301-325   128-byte sub-blocks   the saved-invoice directory: 4 sub-blocks per block; in
//             at 1, 129, 257, 385   each, bytes 1-4 are not part of it and 31 slots of an L
//                                   (an INVOL head record, 0 for an empty slot) follow from
//                                   byte 5; a sub-block of 124 zero bytes holds nothing
//   401       1-512                 the option flags, one "Y" or "N" each: 317 shows Billed
//                                   Warranties by request segment from the Open Shop Work
//                                   view's load, 320 from the main window's start
//   446       (n - 1) x 12 + 1      the name of call result n, 12 bytes as stored
//   450       432 + 15 x (n - 1)    the name of open sub-status n (1 to 5), 15 bytes as stored
//   451-458   4 x s + 1, s 0..127   the open shop-job table, jobs 0 to 999: job j in block
//                                   j \ 128 + 451, slot j mod 128, an L (its head INVOL
//                                   record, 0 or less for no job)
//   459-500   -                     not part of the table
//   501-571   4 x s + 1, s 0..127   the table, jobs 1000 to kLastJobNumber: block
//                                   (j - 999) \ 128 + 501, slot j mod 128
//
// Everything else in FILE0 is the dealer system's own; nothing here reads or writes it.
#pragma once

#include <array>
#include <cstdint>

namespace dv::file0 {

inline constexpr const char* kName = "FILE0";
inline constexpr int32_t kBlockSize = 512;
// The blocks a FILE0 holds at least: through the last block of the shop-job table.
inline constexpr int32_t kBlocks = 572;

// Block 1: the store name.
inline constexpr int32_t kStoreBlock = 1;
inline constexpr int32_t kStoreNameAt = 151;
inline constexpr int32_t kStoreNameSize = 35;

// Block 4: the unit captions.
inline constexpr int32_t kUnitCaptionBlock = 4;
inline constexpr std::array<int32_t, 4> kUnitCaptionAt = {433, 453, 473, 493};
inline constexpr int32_t kUnitCaptionSize = 8;

// Blocks 301-325: the saved-invoice directory.
inline constexpr int32_t kSavedFirstBlock = 301;
inline constexpr int32_t kSavedLastBlock = 325;
inline constexpr int32_t kSavedSubBlocks = 4;       // per block
inline constexpr int32_t kSavedSubBlockSize = 128;  // bytes
inline constexpr int32_t kSavedSlotsAt = 5;         // the first slot, inside a sub-block
inline constexpr int32_t kSavedSlots = 31;          // per sub-block, 4 bytes each
// The position in its block of slot k (0 to 30) of sub-block j (0 to 3).
constexpr int32_t SavedSlotAt(int32_t j, int32_t k) {
    return j * kSavedSubBlockSize + kSavedSlotsAt + 4 * k;
}

// Block 401: the option flags.
inline constexpr int32_t kOptionBlock = 401;
inline constexpr int32_t kOptionShopSegments = 317;      // read by the Open Shop Work view
inline constexpr int32_t kOptionWarrantySegments = 320;  // read by the main window

// Block 446: the call-result names.
inline constexpr int32_t kCallResultBlock = 446;
inline constexpr int32_t kCallResultSize = 12;
// The position of call result n's name (n from 1).
constexpr int32_t CallResultAt(int32_t n) {
    return (n - 1) * kCallResultSize + 1;
}

// Block 450: the names of the open sub-statuses "1" to "5".
inline constexpr int32_t kSubStatusBlock = 450;
inline constexpr int32_t kSubStatusSize = 15;
// The position of sub-status n's name (n from 1 to 5).
constexpr int32_t SubStatusAt(int32_t n) {
    return 432 + kSubStatusSize * (n - 1);
}

// Blocks 451-458 and 501-571: the open shop-job table.
inline constexpr int32_t kJobTableFirstBlock = 451;
inline constexpr int32_t kJobTableLowLastBlock = 458;    // jobs 0 to 999 end here
inline constexpr int32_t kJobTableHighFirstBlock = 501;  // jobs from 1000
inline constexpr int32_t kJobTableLastBlock = 571;
inline constexpr int32_t kJobSlots = 128;  // per block, 4 bytes each
// The highest job number the table holds, the last one block 571 takes.
inline constexpr int32_t kLastJobNumber = 999 + 70 * kJobSlots + 127;
// The block and the position of job j's slot (j from 0 to kLastJobNumber; callers check).
constexpr int32_t JobBlock(int32_t job) {
    return job < 1000 ? job / kJobSlots + kJobTableFirstBlock
                      : (job - 999) / kJobSlots + kJobTableHighFirstBlock;
}
constexpr int32_t JobSlotAt(int32_t job) {
    return (job % kJobSlots) * 4 + 1;
}

// Every table ends inside its block, and the job numbers fill the two ranges of the table.
static_assert(kStoreNameAt + kStoreNameSize - 1 <= kBlockSize);
static_assert(kUnitCaptionAt[3] + kUnitCaptionSize - 1 <= kBlockSize);
static_assert(SavedSlotAt(kSavedSubBlocks - 1, kSavedSlots - 1) + 3 == kBlockSize);
static_assert(CallResultAt(1) == 1 && SubStatusAt(5) + kSubStatusSize - 1 <= kBlockSize);
static_assert(JobSlotAt(kJobSlots - 1) + 3 == kBlockSize);
static_assert(JobBlock(999) == kJobTableLowLastBlock && JobBlock(1000) == kJobTableHighFirstBlock);
static_assert(JobBlock(kLastJobNumber) == kJobTableLastBlock &&
              JobBlock(kLastJobNumber + 1) == kJobTableLastBlock + 1);
static_assert(kBlocks == kJobTableLastBlock + 1);

}  // namespace dv::file0
