#include "song/analysis_listing.h"

#include <cstring>

#include "text/format_mask.h"

namespace sonvela {
namespace {

// Appends the text with every CR LF pair shown as "/".
void AppendFolded(std::string& out, std::string_view text) {
  while (true) {
    const size_t at = text.find("\r\n");
    if (at == std::string_view::npos) {
      out.append(text);
      return;
    }
    out.append(text.substr(0, at));
    out.push_back('/');
    text.remove_prefix(at + 2);
  }
}

}  // namespace

void ListingWrite(AnalysisListing& listing, std::string_view text, bool continuation,
                  const ListingPrefix& prefix) {
  if (continuation) {
    AppendFolded(listing.ListingPending, text);
    return;
  }
  static const Mask kPrefixMask("##:##### ");
  std::string& line = listing.Lines.Open();
  char prefixText[128];  // more than the prefix mask can lay out
  size_t prefixLength = 9;
  if (prefix.storeEvent) {
    prefixLength = kPrefixMask.LayOutIntegers(prefixText, {prefix.analysedTrack, prefix.trackEventIndex + 1});
  } else {
    std::memset(prefixText, ' ', prefixLength);
  }
  line.append(prefixText, prefixLength);
  line += listing.ListingPending;
  if (!text.empty()) AppendFolded(line, text);
  listing.Lines.Close();
  listing.ListingPending.clear();
}

}  // namespace sonvela
