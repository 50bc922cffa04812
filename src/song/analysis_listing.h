#pragma once
// The analysis listing: one line per byte structure of the file, written while the reader decodes.
// A line is built from pieces; pieces written with continuation wait in ListingPending.

#include <cstdint>
#include <string>
#include <string_view>

#include "text/line_list.h"

namespace sonvela {

struct AnalysisListing {
  LineList Lines;
  // The part of the next line written so far; it survives a load that ends in the middle of an event.
  std::string ListingPending;
};

// Which prefix a line gets: "track:event " for the lines of a stored event, nine blanks otherwise.
struct ListingPrefix {
  bool storeEvent = false;
  int32_t analysedTrack = 0;
  int32_t trackEventIndex = 0;  // the index of the last stored event; the line shows the next one
};

void ListingWrite(AnalysisListing& listing, std::string_view text, bool continuation,
                  const ListingPrefix& prefix = {});

}  // namespace sonvela
