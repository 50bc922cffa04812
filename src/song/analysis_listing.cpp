#include "song/analysis_listing.h"

#include <cstring>

#include "text/format_mask.h"

namespace sonvela {
namespace {

constexpr size_t kPrefixLength = 9;
constexpr size_t kDrainBytes = size_t{1} << 20;
// A line this long (a SysEx dump of a third of a megabyte) gets its room exactly, with some to spare
// for the lines after it, instead of doubling a listing that may already be large.
constexpr size_t kLongLine = size_t{1} << 20;

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

// Starts a line of about `length` more bytes with its prefix and what was pending.
std::string& OpenLine(AnalysisListing& listing, size_t length, const ListingPrefix& prefix) {
  static const Mask kPrefixMask("##:##### ");
  length += kPrefixLength + listing.ListingPending.size();
  if (length >= kLongLine) listing.Lines.Reserve(length + length / 8 + kLongLine, 1);
  std::string& line = listing.Lines.Open();
  char prefixText[128];  // more than the prefix mask can lay out
  size_t prefixLength = kPrefixLength;
  if (prefix.storeEvent) {
    prefixLength = kPrefixMask.LayOutIntegers(prefixText, {prefix.analysedTrack, prefix.trackEventIndex + 1});
  } else {
    std::memset(prefixText, ' ', prefixLength);
  }
  line.append(prefixText, prefixLength);
  line += listing.ListingPending;
  return line;
}

void CloseLine(AnalysisListing& listing) {
  listing.Lines.Close();
  listing.ListingPending.clear();
  if (listing.Drain && listing.Lines.TextSize() >= kDrainBytes) {
    listing.Drain(listing.Lines);
    listing.Lines.Clear();
  }
}

}  // namespace

void ListingWrite(AnalysisListing& listing, std::string_view text, bool continuation,
                  const ListingPrefix& prefix) {
  if (continuation) {
    AppendFolded(listing.ListingPending, text);
    return;
  }
  std::string& line = OpenLine(listing, text.size(), prefix);
  if (!text.empty()) AppendFolded(line, text);
  CloseLine(listing);
}

void ListingWriteHexDump(AnalysisListing& listing, std::string_view text, std::string_view bytes,
                         const ListingPrefix& prefix) {
  std::string& line = OpenLine(listing, text.size() + 3 * bytes.size(), prefix);
  AppendFolded(line, text);
  constexpr char kDigits[] = "0123456789ABCDEF";
  const size_t at = line.size();
  line.resize(at + 3 * bytes.size());
  char* p = line.data() + at;
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    p[0] = kDigits[byte >> 4];
    p[1] = kDigits[byte & 0x0F];
    p[2] = ' ';
    p += 3;
  }
  CloseLine(listing);
}

}  // namespace sonvela
