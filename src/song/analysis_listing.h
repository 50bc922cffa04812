#pragma once
// The analysis listing: one line per byte structure of the file, written while the reader decodes.
// A line is built from pieces; pieces written with continuation wait in ListingPending.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "text/line_list.h"

namespace sonvela {

struct AnalysisListing {
  LineList Lines;
  // The part of the next line written so far; it survives a load that ends in the middle of an event.
  std::string ListingPending;
  // When set, the lines are handed to it in blocks of about a megabyte as they are written, and not
  // kept: Lines then holds only the lines written since. For a consumer that streams the listing
  // instead of showing it whole.
  std::function<void(const LineList&)> Drain;
};

// Which prefix a line gets: "track:event " for the lines of a stored event, nine blanks otherwise.
struct ListingPrefix {
  bool storeEvent = false;
  int32_t analysedTrack = 0;
  int32_t trackEventIndex = 0;  // the index of the last stored event; the line shows the next one
};

void ListingWrite(AnalysisListing& listing, std::string_view text, bool continuation,
                  const ListingPrefix& prefix = {});

// Ends the line with `text` and then every byte as two hex digits and a blank: the line that pending
// `text` and the dump would give, without holding the dump of a large SysEx twice.
void ListingWriteHexDump(AnalysisListing& listing, std::string_view text, std::string_view bytes,
                         const ListingPrefix& prefix);

}  // namespace sonvela
