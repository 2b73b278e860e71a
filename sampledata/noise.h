// Noise on demand: a built data set with every byte that no reader of the dealer's format decodes
// filled with bytes drawn from a seed. The dealer system leaves such bytes as it pleases (a
// field of its own, an old value, filler), so a reader that leans on one works on our sets and
// fails on a dealer's. A set with noise shows exactly what the same set without it shows.
//
// What gets noise, by the layouts the readers decode:
// - in every record, the positions its readers skip and the bytes past its last field; a record
//   whose status word says it is not in use (0 or below) keeps only that word and its free-chain
//   link; record zero keeps its status word and its three counts;
// - in every index, the header fields the walk does not read, the bytes after each node's
//   entries, nodes no walk reaches, the key bytes that only order keys (redrawn in their order,
//   so that every walk meets the keys as before) and, where the record an entry names is never
//   read, the entry's record number (any number above 0);
// - the directory entries' unused bytes and the filler after each name (drawn from the bytes a
//   trimmed name drops), the blocks of each container no logical file covers;
// - the per-document order files (their unread positions, line records of other kinds than the
//   part line, a tail shorter than a record), FILE0's blocks and positions no view reads and the
//   empty slots of its open shop-job table (any number below 1);
// - the text files: LINKSFILE's unread bytes and filler, further fields of the terminal map and
//   lines for other computers, other sections and keys of the catalog settings, the receivables
//   summary's header line and further pieces of its lines.
//
// AddNoise works on a set as it is built, before any damage: dashvane-sample --noise applies it
// first, so that each damage lands as it does without noise.
#pragma once

#include <cstdint>

#include "sampledata/data_set.h"

namespace dv::sample::noise {

// Fills the bytes above with bytes drawn from seed; the same seed gives the same bytes. A logical
// file of a layout it does not know raises std::invalid_argument.
void AddNoise(DataSetImage& image, uint64_t seed);

}  // namespace dv::sample::noise
